// This model's reply paths: tray inquiries and presence, special trays,
// output bins and installed options.  Searched in this order; the paths of
// INTRAYMANUAL, INTRAYLCT and INTRAYINSERTER under IN TRAYS stand twice, so
// that tray presence runs first and the installed option second.
#include <span>

#include "pjl/common_dispatch_rows.h"
#include "pjl/dispatch_index.h"
#include "pjl/reply_dispatch.h"
#include "pjl/reply_handlers.h"

namespace tb58::pjl {

namespace {

constexpr PjlDispatchRow kRows[] = {
    // Tray state inquiries; values are tray codes.
    {{"INQUIRE", "INTRAY1", "", "", ""}, HandleTrayState, 3},
    {{"INQUIRE", "INTRAY2", "", "", ""}, HandleTrayState, 4},
    {{"INQUIRE", "INTRAY3", "", "", ""}, HandleTrayState, 5},
    {{"INQUIRE", "INTRAY4", "", "", ""}, HandleTrayState, 6},
    {{"INQUIRE", "INTRAYLCT", "", "", ""}, HandleTrayState, 11},
    {{"INQUIRE", "INTRAYMULTI", "", "", ""}, HandleTrayState, 1},
    // Tray paper size inquiries.
    {{"INQUIRE", "INTRAY1SIZE", "", "", ""}, HandleTrayPaperSize, 3},
    {{"INQUIRE", "INTRAY2SIZE", "", "", ""}, HandleTrayPaperSize, 4},
    {{"INQUIRE", "INTRAY3SIZE", "", "", ""}, HandleTrayPaperSize, 5},
    {{"INQUIRE", "INTRAY4SIZE", "", "", ""}, HandleTrayPaperSize, 6},
    {{"INQUIRE", "INTRAYLCTSIZE", "", "", ""}, HandleTrayPaperSize, 11},
    {{"INQUIRE", "INTRAYMSIZE", "", "", ""}, HandleTrayPaperSize, 1},
    {{"INQUIRE", "INTRAYINSERTERSIZE", "", "", ""}, HandleTrayPaperSize, 101},
    // Tray paper quantity inquiries.
    {{"INQUIRE", "INTRAY1QUANT", "", "", ""}, HandleTrayQuantity, 3},
    {{"INQUIRE", "INTRAY2QUANT", "", "", ""}, HandleTrayQuantity, 4},
    {{"INQUIRE", "INTRAY3QUANT", "", "", ""}, HandleTrayQuantity, 5},
    {{"INQUIRE", "INTRAY4QUANT", "", "", ""}, HandleTrayQuantity, 6},
    {{"INQUIRE", "INTRAYLCTQUANT", "", "", ""}, HandleTrayQuantity, 11},
    // Tray media type inquiries.
    {{"INQUIRE", "INTRAY1MEDIA", "", "", ""}, HandleTrayMediaType, 3},
    {{"INQUIRE", "INTRAY2MEDIA", "", "", ""}, HandleTrayMediaType, 4},
    {{"INQUIRE", "INTRAY3MEDIA", "", "", ""}, HandleTrayMediaType, 5},
    {{"INQUIRE", "INTRAY4MEDIA", "", "", ""}, HandleTrayMediaType, 6},
    {{"INQUIRE", "INTRAYLCTMEDIA", "", "", ""}, HandleTrayMediaType, 11},
    {{"INQUIRE", "INTRAYMMEDIA", "", "", ""}, HandleTrayMediaType, 1},
    // Trays present, listed under IN TRAYS.
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAY1", ""}, HandleTrayPresence, 3},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAY2", ""}, HandleTrayPresence, 4},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAY3", ""}, HandleTrayPresence, 5},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAY4", ""}, HandleTrayPresence, 6},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYLCT", ""}, HandleTrayPresence, 11},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYMANUAL", ""}, HandleTrayPresence, 1},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYINSERTER", ""}, HandleTrayPresence, 101},
    // Special tray roles; values are tray attribute bits.
    {{"INQUIRE", "FRONTCOVERPRINTTRAY", "", "", ""}, HandleSpecialTray, 0x4},
    {{"INQUIRE", "SLIPSHEETPRINTTRAY", "", "", ""}, HandleSpecialTray, 0x8},
    {{"INQUIRE", "CHAPTERPRINTTRAY1", "", "", ""}, HandleSpecialTray, 0x20},
    {{"INQUIRE", "CHAPTERPRINTTRAY2", "", "", ""}, HandleSpecialTray, 0x20},
    {{"INQUIRE", "BACKCOVERPRINTTRAY", "", "", ""}, HandleSpecialTray, 0x200},
    // Output bin states; values are bin codes.
    {{"INFO", "OUTBINSTATUS", "UPPER", "", ""}, HandleOutBinStatus, 3},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN1", "", ""}, HandleOutBinStatus, 7},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN2", "", ""}, HandleOutBinStatus, 8},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN3", "", ""}, HandleOutBinStatus, 9},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN4", "", ""}, HandleOutBinStatus, 10},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN5", "", ""}, HandleOutBinStatus, 11},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN6", "", ""}, HandleOutBinStatus, 12},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN7", "", ""}, HandleOutBinStatus, 13},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN8", "", ""}, HandleOutBinStatus, 14},
    {{"INFO", "OUTBINSTATUS", "OPTIONALOUTPUTBIN9", "", ""}, HandleOutBinStatus, 15},
    {{"INFO", "OUTBINSTATUS", "FINISHERPROOF", "", ""}, HandleOutBinStatus, 5},
    {{"INFO", "OUTBINSTATUS", "FINISHERSHIFT", "", ""}, HandleOutBinStatus, 4},
    {{"INFO", "OUTBINSTATUS", "FINISHERBOOKLET", "", ""}, HandleOutBinStatus, 27},
    // Installed options; values are option codes.
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYMANUAL", ""}, HandleInstalledOption, 16},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYLCT", ""}, HandleInstalledOption, 104},
    {{"INFO", "CONFIG", "IN TRAYS", "INTRAYINSERTER", ""}, HandleInstalledOption, 41},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYSTANDARD", ""}, HandleInstalledOption, 6},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYFINISHVOLE", ""}, HandleInstalledOption, 114},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYFINISHVOLEA", ""}, HandleInstalledOption, 21},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYBOOKLETA", ""}, HandleInstalledOption, 115},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYMAILBOX", ""}, HandleInstalledOption, 8},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYBOOKLET", ""}, HandleInstalledOption, 38},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYZFOLD", ""}, HandleInstalledOption, 113},
    {{"INFO", "CONFIG", "OUT TRAYS", "OUTTRAYBOOKLETB", ""}, HandleInstalledOption, 22},
    {{"INFO", "CONFIG", "DUPLEX", "", ""}, HandleInstalledOption, 1},
    {{"INFO", "CONFIG", "DISK", "", ""}, HandleInstalledOption, 3},
};

constexpr auto kIndex = MakeDispatchIndex(kRows, kCommonDispatchRows);

}  // namespace

const std::span<const PjlDispatchRow> kModelDispatchRows = kRows;

const PjlDispatchIndex kModelDispatchIndex = kIndex.View();

}  // namespace tb58::pjl
