// The reply words of this printer family and the codes the library stores
// for them: the word lists of Tb58Wk31Words.h, which the library's reply
// tables are made from too, and the monitor's own rows of the trays, bins
// and options a simulated printer answers with.
#include "base/reply_words.h"

#include <Tb58Wk31Words.h>

#include <algorithm>

namespace tb58mon {
namespace {

#define TB58_WORD_CODE_ROW(word, code) {word, code},

constexpr TrayWords kTrays[] = {
    {"TRAY1", "INTRAY1", "INTRAY1", "INTRAY1SIZE", "INTRAY1QUANT", "INTRAY1MEDIA", TB58_TRAY_1, "Tray 1"},
    {"TRAY2", "INTRAY2", "INTRAY2", "INTRAY2SIZE", "INTRAY2QUANT", "INTRAY2MEDIA", TB58_TRAY_2, "Tray 2"},
    {"TRAY3", "INTRAY3", "INTRAY3", "INTRAY3SIZE", "INTRAY3QUANT", "INTRAY3MEDIA", TB58_TRAY_3, "Tray 3"},
    {"TRAY4", "INTRAY4", "INTRAY4", "INTRAY4SIZE", "INTRAY4QUANT", "INTRAY4MEDIA", TB58_TRAY_4, "Tray 4"},
    {"LCT", "INTRAYLCT", "INTRAYLCT", "INTRAYLCTSIZE", "INTRAYLCTQUANT", "INTRAYLCTMEDIA", TB58_TRAY_LCT, "LCT"},
    {"BYPASS", "INTRAYMANUAL", "INTRAYMULTI", "INTRAYMSIZE", "", "INTRAYMMEDIA", TB58_TRAY_BYPASS, "Bypass Tray"},
    {"INSERTER", "INTRAYINSERTER", "", "INTRAYINSERTERSIZE", "", "", TB58_TRAY_INTERPOSER, "Interposer Tray"},
};

constexpr BinWords kBins[] = {
    {"UPPER", TB58_BIN_COPY_TRAY, "Copy Tray", ""},
    {"OPTIONALOUTPUTBIN1", TB58_BIN_MAILBOX_1, "Mailbox Tray 1", ""},
    {"OPTIONALOUTPUTBIN2", TB58_BIN_MAILBOX_1 + 1, "Mailbox Tray 2", ""},
    {"OPTIONALOUTPUTBIN3", TB58_BIN_MAILBOX_1 + 2, "Mailbox Tray 3", ""},
    {"OPTIONALOUTPUTBIN4", TB58_BIN_MAILBOX_1 + 3, "Mailbox Tray 4", ""},
    {"OPTIONALOUTPUTBIN5", TB58_BIN_MAILBOX_1 + 4, "Mailbox Tray 5", ""},
    {"OPTIONALOUTPUTBIN6", TB58_BIN_MAILBOX_1 + 5, "Mailbox Tray 6", ""},
    {"OPTIONALOUTPUTBIN7", TB58_BIN_MAILBOX_1 + 6, "Mailbox Tray 7", ""},
    {"OPTIONALOUTPUTBIN8", TB58_BIN_MAILBOX_1 + 7, "Mailbox Tray 8", ""},
    {"OPTIONALOUTPUTBIN9", TB58_BIN_MAILBOX_1 + 8, "Mailbox Tray 9", ""},
    {"FINISHERPROOF", TB58_BIN_FINISHER_UPPER, "Finisher Upper Tray", ""},
    {"FINISHERSHIFT", TB58_BIN_FINISHER_SHIFT, "Finisher Shift Tray", "Finisher Shift Tray 1"},
    {"FINISHERBOOKLET", TB58_BIN_FINISHER_BOOKLET, "Finisher Booklet Tray", "Finisher Shift Tray 2"},
    {"", TB58_BIN_BOOKLET_PROCESSOR, "Booklet Processor Tray", ""},
};

// Options in the order of their codes.  The device codes are those of the
// option name map, so that PatGetDeviceName gives a localized name.
constexpr OptionWords kOptions[] = {
    {TB58_OPTION_DUPLEX, "DUPLEX", "Duplex unit", 0},
    {TB58_OPTION_DISK, "DISK", "Hard disk", 0},
    {TB58_OPTION_ADF, "", "Auto document feeder", 637},
    {TB58_OPTION_STANDARD_OUTPUT_TRAY, "OUTTRAYSTANDARD", "Standard output tray", 0},
    {TB58_OPTION_MAILBOX, "OUTTRAYMAILBOX", "Mailbox", 648},
    {TB58_OPTION_PUNCH_JP2, "", "Punch unit (JP2)", 0},
    {TB58_OPTION_MANUAL_FEED_TRAY, "INTRAYMANUAL", "Manual feed tray", 0},
    {TB58_OPTION_FINISHER_A, "OUTTRAYFINISHVOLEA", "Finisher", 647},
    {TB58_OPTION_BOOKLET_PROCESSOR, "OUTTRAYBOOKLETB", "Booklet processor", 649},
    {TB58_OPTION_FINISHER_TWO_SHIFT, "OUTTRAYBOOKLET", "Finisher with two shift trays", 644},
    {TB58_OPTION_INTERPOSER, "INTRAYINSERTER", "Interposer", 639},
    {TB58_OPTION_LCT, "INTRAYLCT", "Large capacity tray", 638},
    {TB58_OPTION_Z_FOLDING_UNIT, "OUTTRAYZFOLD", "Z-folding unit", 656},
    {TB58_OPTION_FINISHER, "OUTTRAYFINISHVOLE", "Finisher", 646},
    {TB58_OPTION_FINISHER_BOOKLET, "OUTTRAYBOOKLETA", "Finisher with booklet tray", 645},
    {TB58_OPTION_PUNCH_US2_US3, "", "Punch unit (US2, US3)", 0},
    {TB58_OPTION_PUNCH_JP2_EU4, "", "Punch unit (JP2, EU4)", 0},
    {TB58_OPTION_PUNCH_NEU4, "", "Punch unit (NEU4)", 0},
    {TB58_OPTION_PUNCH_US2, "", "Punch unit (US2)", 0},
    {TB58_OPTION_PUNCH_US3, "", "Punch unit (US3)", 0},
    {TB58_OPTION_PUNCH_JP2_US3, "", "Punch unit (JP2, US3)", 0},
    {TB58_OPTION_PUNCH_EU4, "", "Punch unit (EU4)", 0},
};

constexpr SpecialTrayWords kSpecialTrays[] = {
    {"FRONTCOVERPRINTTRAY", TRAY_ATTR_FRONT_COVER, "front cover"},
    {"SLIPSHEETPRINTTRAY", TRAY_ATTR_SLIP_SHEET, "slip sheet"},
    {"CHAPTERPRINTTRAY1", TRAY_ATTR_CHAPTER, "chapter"},
    {"CHAPTERPRINTTRAY2", TRAY_ATTR_CHAPTER, "chapter"},
    {"BACKCOVERPRINTTRAY", TRAY_ATTR_BACK_COVER, "back cover"},
};

constexpr WordCode kPaperSizes[] = {TB58_PAPER_SIZE_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kPaperQuantities[] = {TB58_PAPER_QUANTITY_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kMedia[] = {TB58_MEDIA_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kBinStates[] = {TB58_BIN_STATE_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kEmulationVersions[] = {TB58_EMULATION_VERSION_WORDS(TB58_WORD_CODE_ROW)};

constexpr WordCode kEmulationNames[] = {
    {"WEXA", TB58_EMULATION_WEXA},     {"PostScript", TB58_EMULATION_POSTSCRIPT}, {"PC-PR201H", TB58_EMULATION_PC_PR201H}, {"ESC/P", TB58_EMULATION_ESCP},  {"IBM5577", TB58_EMULATION_IBM5577},          {"VX-GL/2", TB58_EMULATION_VX_GL2},
    {"TIFF", TB58_EMULATION_TIFF},    {"TZMO", TB58_EMULATION_TZMO},      {"PCL 5e", TB58_EMULATION_PCL5E},   {"PCL 6 / PCL XL", TB58_EMULATION_PCLXL}, {"PCL 5c", TB58_EMULATION_PCL5C},
};

constexpr WordCode kMemoryUsage[] = {TB58_MEMORY_USAGE_WORDS(TB58_WORD_CODE_ROW)};
constexpr WordCode kImageRotation[] = {TB58_IMAGE_ROTATION_WORDS(TB58_WORD_CODE_ROW)};

constexpr std::string_view kPunchKeywords[] = {"JP2", "US2", "US3", "EU4", "NEU4"};

}  // namespace

std::span<const TrayWords> TrayTable() { return kTrays; }
std::span<const BinWords> BinTable() { return kBins; }
std::span<const OptionWords> OptionTable() { return kOptions; }
std::span<const SpecialTrayWords> SpecialTrayTable() { return kSpecialTrays; }
std::span<const WordCode> PaperSizeTable() { return kPaperSizes; }
std::span<const WordCode> PaperQuantityTable() { return kPaperQuantities; }
std::span<const WordCode> MediaTable() { return kMedia; }
std::span<const WordCode> BinStateTable() { return kBinStates; }
std::span<const WordCode> EmulationVersionTable() { return kEmulationVersions; }
std::span<const WordCode> EmulationNameTable() { return kEmulationNames; }
std::span<const WordCode> MemoryUsageTable() { return kMemoryUsage; }
std::span<const WordCode> ImageRotationTable() { return kImageRotation; }
std::span<const std::string_view> PunchKeywords() { return kPunchKeywords; }

const TrayWords* FindTrayByName(std::string_view name) {
    const auto* row = std::find_if(std::begin(kTrays), std::end(kTrays), [&](auto& t) { return t.name == name; });
    return row == std::end(kTrays) ? nullptr : row;
}

const TrayWords* FindTrayByCode(uint16_t code) {
    const auto* row = std::find_if(std::begin(kTrays), std::end(kTrays), [&](auto& t) { return t.code == code; });
    return row == std::end(kTrays) ? nullptr : row;
}

const BinWords* FindBinByEntry(std::string_view entry) {
    if (entry.empty()) return nullptr;
    const auto* row = std::find_if(std::begin(kBins), std::end(kBins), [&](auto& b) { return b.entry == entry; });
    return row == std::end(kBins) ? nullptr : row;
}

const BinWords* FindBinByCode(uint16_t code) {
    const auto* row = std::find_if(std::begin(kBins), std::end(kBins), [&](auto& b) { return b.code == code; });
    return row == std::end(kBins) ? nullptr : row;
}

const OptionWords* FindOptionByCode(uint16_t code) {
    const auto* row =
        std::find_if(std::begin(kOptions), std::end(kOptions), [&](auto& o) { return o.code == code; });
    return row == std::end(kOptions) ? nullptr : row;
}

const OptionWords* FindOptionByWord(std::string_view word) {
    if (word.empty()) return nullptr;
    const auto* row =
        std::find_if(std::begin(kOptions), std::end(kOptions), [&](auto& o) { return o.config_word == word; });
    return row == std::end(kOptions) ? nullptr : row;
}

const WordCode* FindWord(std::span<const WordCode> table, std::string_view word) {
    const auto row = std::find_if(table.begin(), table.end(), [&](auto& w) { return w.word == word; });
    return row == table.end() ? nullptr : &*row;
}

const WordCode* FindCode(std::span<const WordCode> table, uint32_t code) {
    const auto row = std::find_if(table.begin(), table.end(), [&](auto& w) { return w.code == code; });
    return row == table.end() ? nullptr : &*row;
}

}  // namespace tb58mon
