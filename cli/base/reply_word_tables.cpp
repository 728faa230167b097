// The reply words of this printer family and the codes the library stores
// for them (the same words and codes the library's reply tables hold).
#include "base/reply_words.h"

#include <algorithm>

namespace tb58mon {
namespace {

constexpr TrayWords kTrays[] = {
    {"TRAY1", "INTRAY1", "INTRAY1", "INTRAY1SIZE", "INTRAY1QUANT", "INTRAY1MEDIA", 3, "Tray 1"},
    {"TRAY2", "INTRAY2", "INTRAY2", "INTRAY2SIZE", "INTRAY2QUANT", "INTRAY2MEDIA", 4, "Tray 2"},
    {"TRAY3", "INTRAY3", "INTRAY3", "INTRAY3SIZE", "INTRAY3QUANT", "INTRAY3MEDIA", 5, "Tray 3"},
    {"TRAY4", "INTRAY4", "INTRAY4", "INTRAY4SIZE", "INTRAY4QUANT", "INTRAY4MEDIA", 6, "Tray 4"},
    {"LCT", "INTRAYLCT", "INTRAYLCT", "INTRAYLCTSIZE", "INTRAYLCTQUANT", "INTRAYLCTMEDIA", 11, "LCT"},
    {"BYPASS", "INTRAYMANUAL", "INTRAYMULTI", "INTRAYMSIZE", "", "INTRAYMMEDIA", 1, "Bypass Tray"},
    {"INSERTER", "INTRAYINSERTER", "", "INTRAYINSERTERSIZE", "", "", 101, "Interposer Tray"},
};

constexpr BinWords kBins[] = {
    {"UPPER", 3, "Copy Tray", ""},
    {"OPTIONALOUTPUTBIN1", 7, "Mailbox Tray 1", ""},
    {"OPTIONALOUTPUTBIN2", 8, "Mailbox Tray 2", ""},
    {"OPTIONALOUTPUTBIN3", 9, "Mailbox Tray 3", ""},
    {"OPTIONALOUTPUTBIN4", 10, "Mailbox Tray 4", ""},
    {"OPTIONALOUTPUTBIN5", 11, "Mailbox Tray 5", ""},
    {"OPTIONALOUTPUTBIN6", 12, "Mailbox Tray 6", ""},
    {"OPTIONALOUTPUTBIN7", 13, "Mailbox Tray 7", ""},
    {"OPTIONALOUTPUTBIN8", 14, "Mailbox Tray 8", ""},
    {"OPTIONALOUTPUTBIN9", 15, "Mailbox Tray 9", ""},
    {"FINISHERPROOF", 5, "Finisher Upper Tray", ""},
    {"FINISHERSHIFT", 4, "Finisher Shift Tray", "Finisher Shift Tray 1"},
    {"FINISHERBOOKLET", 27, "Finisher Booklet Tray", "Finisher Shift Tray 2"},
    {"", 22, "Booklet Processor Tray", ""},
};

// Options in the order of their codes.  The device codes are those of the
// option name map, so that PatGetDeviceName gives a localized name.
constexpr OptionWords kOptions[] = {
    {1, "DUPLEX", "Duplex unit", 0},
    {3, "DISK", "Hard disk", 0},
    {4, "", "Auto document feeder", 637},
    {6, "OUTTRAYSTANDARD", "Standard output tray", 0},
    {8, "OUTTRAYMAILBOX", "Mailbox", 648},
    {12, "", "Punch unit (JP2)", 0},
    {16, "INTRAYMANUAL", "Manual feed tray", 0},
    {21, "OUTTRAYFINISHVOLEA", "Finisher", 647},
    {22, "OUTTRAYBOOKLETB", "Booklet processor", 649},
    {38, "OUTTRAYBOOKLET", "Finisher with two shift trays", 644},
    {41, "INTRAYINSERTER", "Interposer", 639},
    {104, "INTRAYLCT", "Large capacity tray", 638},
    {113, "OUTTRAYZFOLD", "Z-folding unit", 656},
    {114, "OUTTRAYFINISHVOLE", "Finisher", 646},
    {115, "OUTTRAYBOOKLETA", "Finisher with booklet tray", 645},
    {132, "", "Punch unit (US2, US3)", 0},
    {133, "", "Punch unit (JP2, EU4)", 0},
    {134, "", "Punch unit (NEU4)", 0},
    {137, "", "Punch unit (US2)", 0},
    {138, "", "Punch unit (US3)", 0},
    {139, "", "Punch unit (JP2, US3)", 0},
    {142, "", "Punch unit (EU4)", 0},
};

constexpr SpecialTrayWords kSpecialTrays[] = {
    {"FRONTCOVERPRINTTRAY", 0x4, "front cover"},
    {"SLIPSHEETPRINTTRAY", 0x8, "slip sheet"},
    {"CHAPTERPRINTTRAY1", 0x20, "chapter"},
    {"CHAPTERPRINTTRAY2", 0x20, "chapter"},
    {"BACKCOVERPRINTTRAY", 0x200, "back cover"},
};

constexpr WordCode kPaperSizes[] = {
    {"A3", 5},          {"A4SRT", 9},        {"A4LONG", 8},       {"A5SRT", 13},      {"A5LONG", 12},
    {"A6", 17},         {"JISB4", 7},        {"JISB5SRT", 11},    {"JISB5LONG", 10},  {"JISB6", 15},
    {"JPOST", 34},      {"LEDGER", 58},      {"LEGAL", 21},       {"LETTERSRT", 23},  {"LETTERLONG", 22},
    {"HALFLETTERS", 27}, {"HALFLETTERL", 26}, {"EXECUTIVES", 25}, {"EXECUTIVEL", 24}, {"FGL", 60},
    {"FOOLSCAP", 62},   {"FOLIO", 28},       {"CUSTOM", 2},       {"A3WIDE", 69},
};

constexpr WordCode kPaperQuantities[] = {
    {"END", 0}, {"1/5", 20}, {"2/5", 40}, {"3/5", 60}, {"4/5", 80}, {"FULL", 100},
};

constexpr WordCode kMedia[] = {
    {"PLAIN", 1},         {"RECYCLED", 2},
    {"SPECIAL", 5},       {"THICK", 6},
    {"THICK2", 17},       {"THIN", 20},
    {"TABSTOCK", 8},      {"TRANSPARENCY", 3},
    {"COLOR", 9},         {"LETTERHEAD", 10},
    {"PREPRINTED", 11},   {"PREPUNCHED", 12},
    {"LABELS", 13},       {"BOND", 14},
    {"CARDSTOCK", 15},    {"THICKDUPLEXBACKSIDE", 19},
    {"PLAINDUPLEXBACKSIDE", 18}, {"USED", 35},
    {"USERCOLOR1", 22},   {"USERCOLOR2", 23},
    {"JPOST", 24},        {"JPOSTDUPLEXBACKSIDE", 25},
    {"YELLOW", 26},       {"GREEN", 27},
    {"BLUE", 28},         {"PURPLE", 29},
    {"IVORY", 30},        {"ORANGE", 31},
    {"PINK", 32},         {"RED", 33},
    {"GRAY", 34},         {"TRANSLUCENT", 4},
    {"GLOSSY", 21},       {"FILM", 7},
    {"ENVELOPE", 36},     {"INKJETJPOST", 37},
    {"HGPLAIN", 38},      {"THICK3", 39},
    {"SPECIAL2", 40},     {"SPECIAL3", 41},
    {"MIDDLETHICK", 42},  {"COATED", 43},
    {"THICKDUPLEXBACKSIDE2", 44}, {"THICKDUPLEXBACKSIDE3", 45},
};

constexpr WordCode kBinStates[] = {{"READY", 0}, {"PAPEREXIST", 1}, {"FULL", 2}};

constexpr WordCode kEmulationVersions[] = {
    {"FIRMWARE", 0xFFFFFFFFu}, {"TZMO", 15}, {"PCL", 18},   {"POSTSCRIPT", 2},
    {"WEXA", 1},               {"Q55", 7},   {"QTIFF", 13}, {"PCLXL", 17},
};

constexpr WordCode kEmulationNames[] = {
    {"WEXA", 1},     {"PostScript", 2}, {"PC-PR201H", 3}, {"ESC/P", 4},  {"IBM5577", 7},          {"VX-GL/2", 12},
    {"TIFF", 13},    {"TZMO", 15},      {"PCL 5e", 16},   {"PCL 6 / PCL XL", 17}, {"PCL 5c", 18},
};

constexpr WordCode kMemoryUsage[] = {{"USER", 2}, {"PAGE", 1}};
constexpr WordCode kImageRotation[] = {{"POSSIBLE", 1}, {"IMPOSSIBLE", 2}};

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
