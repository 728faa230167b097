/*
 * The words of this printer family's PJL replies and the codes the library
 * stores for them, and the classes of engine status codes a monitor acts
 * on, written once as lists for the library's tables and any caller's.
 * Each list calls X once per row, in the library's table order:
 *
 *   word lists:       X(word, code)
 *   code classes:     X(NAME, first, last), the codes first..last
 *
 * For example, a caller's table of paper sizes:
 *
 *   #define ROW(word, code) {word, code},
 *   static const struct { const char* word; unsigned code; } sizes[] = {TB58_PAPER_SIZE_WORDS(ROW)};
 */
#ifndef TB58WK31_WORDS_H
#define TB58WK31_WORDS_H

#include "Tb58Wk31Codes.h"

/* The version of the main program in the VERSION answer ("FIRMWARE"),
 * which has no emulation code. */
#define TB58_FIRMWARE_VERSION 0xFFFFFFFFu

/* Paper size words of the INQUIRE answers (TrayInfoNode.wPaperSize). */
#define TB58_PAPER_SIZE_WORDS(X) \
    X("A3", 5) X("A4SRT", 9) X("A4LONG", 8) X("A5SRT", 13) X("A5LONG", 12) \
    X("A6", 17) X("JISB4", 7) X("JISB5SRT", 11) X("JISB5LONG", 10) X("JISB6", 15) \
    X("JPOST", 34) X("LEDGER", 58) X("LEGAL", 21) X("LETTERSRT", 23) X("LETTERLONG", 22) \
    X("HALFLETTERS", 27) X("HALFLETTERL", 26) X("EXECUTIVES", 25) X("EXECUTIVEL", 24) X("FGL", 60) \
    X("FOOLSCAP", 62) X("FOLIO", 28) X("CUSTOM", 2) X("A3WIDE", 69)

/* Paper quantity words (TrayInfoNode.wPaperLevel, percent). */
#define TB58_PAPER_QUANTITY_WORDS(X) \
    X("END", 0) X("1/5", 20) X("2/5", 40) X("3/5", 60) X("4/5", 80) X("FULL", 100)

/* Media words of the tray media inquiry (TrayInfoNode.wMediaCode). */
#define TB58_MEDIA_WORDS(X) \
    X("PLAIN", 1) X("RECYCLED", 2) X("SPECIAL", 5) X("THICK", 6) X("THICK2", 17) X("THIN", 20) \
    X("TABSTOCK", 8) X("TRANSPARENCY", 3) X("COLOR", 9) X("LETTERHEAD", 10) X("PREPRINTED", 11) \
    X("PREPUNCHED", 12) X("LABELS", 13) X("BOND", 14) X("CARDSTOCK", 15) X("THICKDUPLEXBACKSIDE", 19) \
    X("PLAINDUPLEXBACKSIDE", 18) X("USED", 35) X("USERCOLOR1", 22) X("USERCOLOR2", 23) X("JPOST", 24) \
    X("JPOSTDUPLEXBACKSIDE", 25) X("YELLOW", 26) X("GREEN", 27) X("BLUE", 28) X("PURPLE", 29) X("IVORY", 30) \
    X("ORANGE", 31) X("PINK", 32) X("RED", 33) X("GRAY", 34) X("TRANSLUCENT", 4) X("GLOSSY", 21) X("FILM", 7) \
    X("ENVELOPE", 36) X("INKJETJPOST", 37) X("HGPLAIN", 38) X("THICK3", 39) X("SPECIAL2", 40) \
    X("SPECIAL3", 41) X("MIDDLETHICK", 42) X("COATED", 43) X("THICKDUPLEXBACKSIDE2", 44) \
    X("THICKDUPLEXBACKSIDE3", 45)

/* Output bin states of the OUTBINSTATUS lines (OutBinInfoNode.wState);
 * any other word reads as ready. */
#define TB58_BIN_STATE_WORDS(X) \
    X("READY", TB58_BIN_STATE_READY) X("PAPEREXIST", TB58_BIN_STATE_PAPER_EXIST) X("FULL", TB58_BIN_STATE_FULL)

/* Special tray answers (the front cover, slip sheet and chapter trays)
 * to tray codes. */
#define TB58_SPECIAL_TRAY_WORDS(X) \
    X("TRAY1", TB58_TRAY_1) X("TRAY2", TB58_TRAY_2) X("TRAY3", TB58_TRAY_3) X("TRAY4", TB58_TRAY_4) \
    X("LCT", TB58_TRAY_LCT) X("BYPASS", TB58_TRAY_BYPASS) X("INSERTER", TB58_TRAY_INTERPOSER)

/* The VERSION section's entries to emulation codes. */
#define TB58_EMULATION_VERSION_WORDS(X) \
    X("FIRMWARE", TB58_FIRMWARE_VERSION) X("TZMO", TB58_EMULATION_TZMO) X("PCL", TB58_EMULATION_PCL5C) \
    X("POSTSCRIPT", TB58_EMULATION_POSTSCRIPT) X("WEXA", TB58_EMULATION_WEXA) X("Q55", TB58_EMULATION_IBM5577) \
    X("QTIFF", TB58_EMULATION_TIFF) X("PCLXL", TB58_EMULATION_PCLXL)

/* Memory usage and image rotation words of INFO CONFIG. */
#define TB58_MEMORY_USAGE_WORDS(X) X("USER", 2) X("PAGE", 1)
#define TB58_IMAGE_ROTATION_WORDS(X) X("POSSIBLE", 1) X("IMPOSSIBLE", 2)

/* Engine status codes a monitor reads as the toner's state or as normal
 * operation, one code per colour where there are several (black, cyan,
 * magenta, yellow; the run-out codes cover the three colours). */
#define TB58_ENGINE_CODE_CLASSES(X) \
    X(TONER_LOW, 10072, 10075) X(TONER_RUN_OUT, 30013, 30015) X(NO_TONER, 40012, 40015) \
    X(READY, 10001, 10001) X(WARMING_UP, 10003, 10003) X(PRINTING, 10023, 10023) \
    X(ENERGY_SAVER, 10033, 10034)

#endif /* TB58WK31_WORDS_H */
