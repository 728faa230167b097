// This model's reply paths: tray inquiries and presence, special trays,
// output bins and installed options.  Searched in this order; the paths of
// INTRAYMANUAL, INTRAYLCT and INTRAYINSERTER under IN TRAYS stand twice, so
// that tray presence runs first and the installed option second.
#include <span>

#include "Tb58Wk31Codes.h"
#include "pjl/common_dispatch_rows.h"
#include "pjl/dispatch_index.h"
#include "pjl/reply_dispatch.h"
#include "pjl/reply_handlers.h"

namespace tb58::pjl {

namespace {

constexpr PjlDispatchRow kRows[] = {
    // Tray state inquiries; values are tray codes (Tb58Wk31Codes.h).
    {{"INQUIRE", "INTRAY1", "", "", ""}, HandleTrayState, TB58_TRAY_1},
    {{"INQUIRE", "INTRAY2", "", "", ""}, HandleTrayState, TB58_TRAY_2},
    {{"INQUIRE", "INTRAY3", "", "", ""}, HandleTrayState, TB58_TRAY_3},
    {{"INQUIRE", "INTRAY4", "", "", ""}, HandleTrayState, TB58_TRAY_4},
    {{"INQUIRE", "INTRAYLCT", "", "", ""}, HandleTrayState, TB58_TRAY_LCT},
    {{"INQUIRE", "INTRAYMULTI", "", "", ""}, HandleTrayState, TB58_TRAY_BYPASS},
    // Tray paper size inquiries.
    {{"INQUIRE", "INTRAY1SIZE", "", "", ""}, HandleTrayPaperSize, TB58_TRAY_1},
    {{"INQUIRE", "INTRAY2SIZE", "", "", ""}, HandleTrayPaperSize, TB58_TRAY_2},
    {{"INQUIRE", "INTRAY3SIZE", "", "", ""}, HandleTrayPaperSize, TB58_TRAY_3},
    {{"INQUIRE", "INTRAY4SIZE", "", "", ""}, HandleTrayPaperSize, TB58_TRAY_4},
    {{"INQUIRE", "INTRAYLCTSIZE", "", "", ""}, HandleTrayPaperSize, TB58_TRAY_LCT},
    {{"INQUIRE", "INTRAYMSIZE", "", "", ""}, HandleTrayPaperSize, TB58_TRAY_BYPASS},
    {{"INQUIRE", "INTRAYINSERTERSIZE", "", "", ""}, HandleTrayPaperSize, TB58_TRAY_INTERPOSER},
    // Tray paper quantity inquiries.
    {{"INQUIRE", "INTRAY1QUANT", "", "", ""}, HandleTrayQuantity, TB58_TRAY_1},
    {{"INQUIRE", "INTRAY2QUANT", "", "", ""}, HandleTrayQuantity, TB58_TRAY_2},
    {{"INQUIRE", "INTRAY3QUANT", "", "", ""}, HandleTrayQuantity, TB58_TRAY_3},
    {{"INQUIRE", "INTRAY4QUANT", "", "", ""}, HandleTrayQuantity, TB58_TRAY_4},
    {{"INQUIRE", "INTRAYLCTQUANT", "", "", ""}, HandleTrayQuantity, TB58_TRAY_LCT},
    // Tray media type inquiries.
    {{"INQUIRE", "INTRAY1MEDIA", "", "", ""}, HandleTrayMediaType, TB58_TRAY_1},
    {{"INQUIRE", "INTRAY2MEDIA", "", "", ""}, HandleTrayMediaType, TB58_TRAY_2},
    {{"INQUIRE", "INTRAY3MEDIA", "", "", ""}, HandleTrayMediaType, TB58_TRAY_3},
    {{"INQUIRE", "INTRAY4MEDIA", "", "", ""}, HandleTrayMediaType, TB58_TRAY_4},
    {{"INQUIRE", "INTRAYLCTMEDIA", "", "", ""}, HandleTrayMediaType, TB58_TRAY_LCT},
    {{"INQUIRE", "INTRAYMMEDIA", "", "", ""}, HandleTrayMediaType, TB58_TRAY_BYPASS},
    // Trays present, listed under IN TRAYS.
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAY1", ""}, HandleTrayPresence, TB58_TRAY_1},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAY2", ""}, HandleTrayPresence, TB58_TRAY_2},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAY3", ""}, HandleTrayPresence, TB58_TRAY_3},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAY4", ""}, HandleTrayPresence, TB58_TRAY_4},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYLCT", ""}, HandleTrayPresence, TB58_TRAY_LCT},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYMANUAL", ""}, HandleTrayPresence, TB58_TRAY_BYPASS},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYINSERTER", ""}, HandleTrayPresence, TB58_TRAY_INTERPOSER},
    // Special tray roles; values are tray attribute bits.
    {{"INQUIRE", "FRONTCOVERPRINTTRAY", "", "", ""}, HandleSpecialTray, TRAY_ATTR_FRONT_COVER},
    {{"INQUIRE", "SLIPSHEETPRINTTRAY", "", "", ""}, HandleSpecialTray, TRAY_ATTR_SLIP_SHEET},
    {{"INQUIRE", "CHAPTERPRINTTRAY1", "", "", ""}, HandleSpecialTray, TRAY_ATTR_CHAPTER},
    {{"INQUIRE", "CHAPTERPRINTTRAY2", "", "", ""}, HandleSpecialTray, TRAY_ATTR_CHAPTER},
    {{"INQUIRE", "BACKCOVERPRINTTRAY", "", "", ""}, HandleSpecialTray, TRAY_ATTR_BACK_COVER},
    // Output bin states; values are bin codes.
    {{"INFO", "OUTBINSTATUS", "UPPER", "", ""}, HandleOutBinStatus, TB58_BIN_COPY_TRAY},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN1", "", ""}, HandleOutBinStatus, TB58_BIN_MAILBOX_1},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN2", "", ""}, HandleOutBinStatus, TB58_BIN_MAILBOX_1 + 1},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN3", "", ""}, HandleOutBinStatus, TB58_BIN_MAILBOX_1 + 2},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN4", "", ""}, HandleOutBinStatus, TB58_BIN_MAILBOX_1 + 3},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN5", "", ""}, HandleOutBinStatus, TB58_BIN_MAILBOX_1 + 4},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN6", "", ""}, HandleOutBinStatus, TB58_BIN_MAILBOX_1 + 5},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN7", "", ""}, HandleOutBinStatus, TB58_BIN_MAILBOX_1 + 6},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN8", "", ""}, HandleOutBinStatus, TB58_BIN_MAILBOX_1 + 7},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN9", "", ""}, HandleOutBinStatus, TB58_BIN_MAILBOX_1 + 8},
    {{"INFO", "OUTBINSTATUS", "FINISHERPROOF", "", ""}, HandleOutBinStatus, TB58_BIN_FINISHER_UPPER},
    {{"INFO", "OUTBINSTATUS", "FINISHERSHIFT", "", ""}, HandleOutBinStatus, TB58_BIN_FINISHER_SHIFT},
    {{"INFO", "OUTBINSTATUS", "FINISHERBOOKLET", "", ""}, HandleOutBinStatus, TB58_BIN_FINISHER_BOOKLET},
    // Installed options; values are option codes.
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYMANUAL", ""}, HandleInstalledOption, TB58_OPTION_MANUAL_FEED_TRAY},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYLCT", ""}, HandleInstalledOption, TB58_OPTION_LCT},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYINSERTER", ""}, HandleInstalledOption, TB58_OPTION_INTERPOSER},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYSTANDARD", ""}, HandleInstalledOption, TB58_OPTION_STANDARD_OUTPUT_TRAY},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYFINISHVOLE", ""}, HandleInstalledOption, TB58_OPTION_FINISHER},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYFINISHVOLEA", ""}, HandleInstalledOption, TB58_OPTION_FINISHER_A},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYBOOKLETA", ""}, HandleInstalledOption, TB58_OPTION_FINISHER_BOOKLET},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYMAILBOX", ""}, HandleInstalledOption, TB58_OPTION_MAILBOX},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYBOOKLET", ""}, HandleInstalledOption, TB58_OPTION_FINISHER_TWO_SHIFT},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYZFOLD", ""}, HandleInstalledOption, TB58_OPTION_Z_FOLDING_UNIT},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYBOOKLETB", ""}, HandleInstalledOption, TB58_OPTION_BOOKLET_PROCESSOR},
    {{"INFO", "CONFIG", "DUPLEX", "", ""}, HandleInstalledOption, TB58_OPTION_DUPLEX},
    {{"INFO", "CONFIG", "DISK", "", ""}, HandleInstalledOption, TB58_OPTION_DISK},
};

constexpr auto kIndex = MakeDispatchIndex(kRows, kCommonDispatchRows);

}  // namespace

const std::span<const PjlDispatchRow> kModelDispatchRows = kRows;

constinit const PjlDispatchIndex kModelDispatchIndex = kIndex.View();

}  // namespace tb58::pjl
