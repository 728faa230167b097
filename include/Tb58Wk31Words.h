/*
 * The words of this printer family's PJL replies and the codes the library
 * stores for them, and the classes of engine status codes a monitor acts
 * on, written once as lists for the library's tables and any caller's.
 * Each list calls X once per row, in the library's table order:
 *
 *   word lists:       X(word, code)
 *   trays, bins, options, punch units, roles: the columns named above each
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

/* Input trays, in the order the record lists them:
 *   X(name, presence, state, size, quantity, media, code, english)
 * name: the tray's word in the special-tray answers (front cover, slip sheet,
 * chapter trays) and in a simulated printer's scenarios; presence: its item
 * under IN TRAYS of INFO CONFIG; state, size, quantity, media: the INQUIRE
 * variables of its lock state, paper size, paper quantity and media ("": not
 * asked); code: its tray code (TrayInfoNode.wTrayCode); english: the name
 * PatGetDeviceName takes. */
#define TB58_TRAY_WORDS(X) \
    X("TRAY1", "INTRAY1", "INTRAY1", "INTRAY1SIZE", "INTRAY1QUANT", "INTRAY1MEDIA", TB58_TRAY_1, "Tray 1") \
    X("TRAY2", "INTRAY2", "INTRAY2", "INTRAY2SIZE", "INTRAY2QUANT", "INTRAY2MEDIA", TB58_TRAY_2, "Tray 2") \
    X("TRAY3", "INTRAY3", "INTRAY3", "INTRAY3SIZE", "INTRAY3QUANT", "INTRAY3MEDIA", TB58_TRAY_3, "Tray 3") \
    X("TRAY4", "INTRAY4", "INTRAY4", "INTRAY4SIZE", "INTRAY4QUANT", "INTRAY4MEDIA", TB58_TRAY_4, "Tray 4") \
    X("LCT", "INTRAYLCT", "INTRAYLCT", "INTRAYLCTSIZE", "INTRAYLCTQUANT", "INTRAYLCTMEDIA", TB58_TRAY_LCT, "LCT") \
    X("BYPASS", "INTRAYMANUAL", "INTRAYMULTI", "INTRAYMSIZE", "", "INTRAYMMEDIA", TB58_TRAY_BYPASS, "Bypass Tray") \
    X("INSERTER", "INTRAYINSERTER", "", "INTRAYINSERTERSIZE", "", "", TB58_TRAY_INTERPOSER, "Interposer Tray")

/* The special tray roles: X(variable, attribute, role), the INQUIRE variable
 * whose answer names the tray, the tray attribute bit it sets, the role in
 * words. */
#define TB58_SPECIAL_TRAY_ROLES(X) \
    X("FRONTCOVERPRINTTRAY", TRAY_ATTR_FRONT_COVER, "front cover") \
    X("SLIPSHEETPRINTTRAY", TRAY_ATTR_SLIP_SHEET, "slip sheet") \
    X("CHAPTERPRINTTRAY1", TRAY_ATTR_CHAPTER, "chapter") \
    X("CHAPTERPRINTTRAY2", TRAY_ATTR_CHAPTER, "chapter") \
    X("BACKCOVERPRINTTRAY", TRAY_ATTR_BACK_COVER, "back cover")

/* Output bins: X(entry, code, english, english_two_shift), the bin's line
 * under INFO OUTBINSTATUS ("": the printer has none), its bin code, the name
 * PatGetDeviceName takes, and that name where the finisher with two shift
 * trays is installed ("": the same). */
#define TB58_BIN_WORDS(X) \
    X("UPPER", TB58_BIN_COPY_TRAY, "Copy Tray", "") \
    X("OPTIONALOUTPUTBIN1", TB58_BIN_MAILBOX_1, "Mailbox Tray 1", "") \
    X("OPTIONALOUTPUTBIN2", TB58_BIN_MAILBOX_1 + 1, "Mailbox Tray 2", "") \
    X("OPTIONALOUTPUTBIN3", TB58_BIN_MAILBOX_1 + 2, "Mailbox Tray 3", "") \
    X("OPTIONALOUTPUTBIN4", TB58_BIN_MAILBOX_1 + 3, "Mailbox Tray 4", "") \
    X("OPTIONALOUTPUTBIN5", TB58_BIN_MAILBOX_1 + 4, "Mailbox Tray 5", "") \
    X("OPTIONALOUTPUTBIN6", TB58_BIN_MAILBOX_1 + 5, "Mailbox Tray 6", "") \
    X("OPTIONALOUTPUTBIN7", TB58_BIN_MAILBOX_1 + 6, "Mailbox Tray 7", "") \
    X("OPTIONALOUTPUTBIN8", TB58_BIN_MAILBOX_1 + 7, "Mailbox Tray 8", "") \
    X("OPTIONALOUTPUTBIN9", TB58_BIN_MAILBOX_1 + 8, "Mailbox Tray 9", "") \
    X("FINISHERPROOF", TB58_BIN_FINISHER_UPPER, "Finisher Upper Tray", "") \
    X("FINISHERSHIFT", TB58_BIN_FINISHER_SHIFT, "Finisher Shift Tray", "Finisher Shift Tray 1") \
    X("FINISHERBOOKLET", TB58_BIN_FINISHER_BOOKLET, "Finisher Booklet Tray", "Finisher Shift Tray 2") \
    X("", TB58_BIN_BOOKLET_PROCESSOR, "Booklet Processor Tray", "")

/* Installed options in the order of their codes:
 *   X(code, section, word, description, device_code)
 * the option code (DeviceInfoNode.wOptionCode); the INFO CONFIG section and
 * keyword that report it ("IN TRAYS", "OUT TRAYS", or "" for a keyword of its
 * own; word "": not reported over PJL); an English description; the
 * printer-management device code with a display name, or 0. */
#define TB58_OPTION_WORDS(X) \
    X(TB58_OPTION_DUPLEX, "", "DUPLEX", "Duplex unit", 0) \
    X(TB58_OPTION_DISK, "", "DISK", "Hard disk", 0) \
    X(TB58_OPTION_ADF, "", "", "Auto document feeder", 637) \
    X(TB58_OPTION_STANDARD_OUTPUT_TRAY, "OUT TRAYS", "OUTTRAYSTANDARD", "Standard output tray", 0) \
    X(TB58_OPTION_MAILBOX, "OUT TRAYS", "OUTTRAYMAILBOX", "Mailbox", 648) \
    X(TB58_OPTION_PUNCH_JP2, "", "", "Punch unit (JP2)", 0) \
    X(TB58_OPTION_MANUAL_FEED_TRAY, "IN TRAYS", "INTRAYMANUAL", "Manual feed tray", 0) \
    X(TB58_OPTION_FINISHER_A, "OUT TRAYS", "OUTTRAYFINISHVOLEA", "Finisher", 647) \
    X(TB58_OPTION_BOOKLET_PROCESSOR, "OUT TRAYS", "OUTTRAYBOOKLETB", "Booklet processor", 649) \
    X(TB58_OPTION_FINISHER_TWO_SHIFT, "OUT TRAYS", "OUTTRAYBOOKLET", "Finisher with two shift trays", 644) \
    X(TB58_OPTION_INTERPOSER, "IN TRAYS", "INTRAYINSERTER", "Interposer", 639) \
    X(TB58_OPTION_LCT, "IN TRAYS", "INTRAYLCT", "Large capacity tray", 638) \
    X(TB58_OPTION_Z_FOLDING_UNIT, "OUT TRAYS", "OUTTRAYZFOLD", "Z-folding unit", 656) \
    X(TB58_OPTION_FINISHER, "OUT TRAYS", "OUTTRAYFINISHVOLE", "Finisher", 646) \
    X(TB58_OPTION_FINISHER_BOOKLET, "OUT TRAYS", "OUTTRAYBOOKLETA", "Finisher with booklet tray", 645) \
    X(TB58_OPTION_PUNCH_US2_US3, "", "", "Punch unit (US2, US3)", 0) \
    X(TB58_OPTION_PUNCH_JP2_EU4, "", "", "Punch unit (JP2, EU4)", 0) \
    X(TB58_OPTION_PUNCH_NEU4, "", "", "Punch unit (NEU4)", 0) \
    X(TB58_OPTION_PUNCH_US2, "", "", "Punch unit (US2)", 0) \
    X(TB58_OPTION_PUNCH_US3, "", "", "Punch unit (US3)", 0) \
    X(TB58_OPTION_PUNCH_JP2_US3, "", "", "Punch unit (JP2, US3)", 0) \
    X(TB58_OPTION_PUNCH_EU4, "", "", "Punch unit (EU4)", 0)

/* Punch units by the keywords INFO CONFIG's PUNCH section lists for them,
 * in the order they are tried: X(first, second, option), second "" for a
 * unit of one keyword. */
#define TB58_PUNCH_UNIT_WORDS(X) \
    X("JP2", "", TB58_OPTION_PUNCH_JP2) X("JP2", "US3", TB58_OPTION_PUNCH_JP2_US3) \
    X("US2", "US3", TB58_OPTION_PUNCH_US2_US3) X("JP2", "EU4", TB58_OPTION_PUNCH_JP2_EU4) \
    X("NEU4", "", TB58_OPTION_PUNCH_NEU4) X("EU4", "", TB58_OPTION_PUNCH_EU4) \
    X("US2", "", TB58_OPTION_PUNCH_US2) X("US3", "", TB58_OPTION_PUNCH_US3)

/* Display names of the emulations: X(name, code). */
#define TB58_EMULATION_NAMES(X) \
    X("WEXA", TB58_EMULATION_WEXA) X("PostScript", TB58_EMULATION_POSTSCRIPT) \
    X("PC-PR201H", TB58_EMULATION_PC_PR201H) X("ESC/P", TB58_EMULATION_ESCP) X("IBM5577", TB58_EMULATION_IBM5577) \
    X("VX-GL/2", TB58_EMULATION_VX_GL2) X("TIFF", TB58_EMULATION_TIFF) X("TZMO", TB58_EMULATION_TZMO) \
    X("PCL 5e", TB58_EMULATION_PCL5E) X("PCL 6 / PCL XL", TB58_EMULATION_PCLXL) X("PCL 5c", TB58_EMULATION_PCL5C)

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
