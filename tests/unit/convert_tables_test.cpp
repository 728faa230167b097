// The printer-management tables, swept row by row through the rules that
// use them: every paper dimension row with its tolerance, every media bit,
// every device code, every tray, bin and emulation name.  The expected rows
// are written out here a second time, so that a slip in either copy shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "Tb58Wk31Codes.h"
#include "convert/device_name_tables.h"
#include "convert/pm_info_to_prn_info_ex.h"
#include "convert/pm_tables.h"
#include "convert/tray_node.h"
#include "frame/localized_string.h"
#include "support/chain_reader.h"
#include "support/language_guard.h"
#include "support/pm_info_builder.h"
#include "support/test_record.h"

namespace {

using namespace tb58;
using namespace tb58::convert;
using test::ChainNodes;
using test::PMListOf;
using test::TestRecord;

constexpr uint32_t kNone = 0xFFFFFFFFu;

struct Paper {
    uint32_t dimension1;
    uint32_t dimension2;
    uint32_t code;
};

const Paper kExpectedPapers[] = {
    {1189, 841, 90}, {841, 594, 91},  {594, 841, 88},  {594, 420, 72},  {420, 594, 86},  {420, 297, 5},
    {297, 420, 4},   {1030, 728, 92}, {728, 515, 93},  {515, 728, 89},  {515, 364, 73},  {364, 515, 87},
    {364, 257, 7},   {257, 364, 6},   {297, 210, 9},   {210, 297, 8},   {257, 182, 11},  {182, 257, 10},
    {210, 148, 13},  {148, 210, 12},  {148, 105, 17},  {105, 148, 16},  {182, 128, 15},  {128, 182, 14},
    {148, 100, 34},  {431, 279, 58},  {279, 431, 57},  {355, 215, 21},  {215, 355, 20},  {279, 215, 23},
    {215, 279, 22},  {215, 139, 27},  {139, 215, 26},  {266, 184, 25},  {184, 266, 24},  {330, 203, 60},
    {330, 215, 62},  {330, 209, 28},  {241, 104, 53},  {104, 241, 79},  {190, 98, 52},   {98, 190, 80},
    {229, 162, 31},  {162, 229, 81},  {162, 114, 33},  {114, 162, 82},  {220, 110, 32},  {110, 220, 83},
    {390, 267, 64},  {267, 195, 66},  {195, 267, 65},  {457, 304, 69},  {148, 100, 34},  {148, 200, 71},
    {200, 148, 70},  {558, 431, 75},  {kNone, 841, 257}, {kNone, 594, 258}, {kNone, 420, 259},
    {kNone, 297, 260}, {kNone, 210, 261}, {kNone, 728, 270}, {kNone, 515, 271}, {kNone, 364, 272},
    {kNone, 257, 273}, {kNone, 0, 2},
};

TEST(PaperSizeTable, HoldsTheRowsInSearchOrder) {
    ASSERT_EQ(std::size(kExpectedPapers), kPaperDimensionRows);
    for (size_t i = 0; i < kPaperDimensionRows; ++i) {
        EXPECT_EQ(kPaperDimensions[i].dimension1, kExpectedPapers[i].dimension1) << "row " << i;
        EXPECT_EQ(kPaperDimensions[i].dimension2, kExpectedPapers[i].dimension2) << "row " << i;
        EXPECT_EQ(kPaperDimensions[i].code, kExpectedPapers[i].code) << "row " << i;
    }
}

TEST(PaperSizeTable, EveryRowMatchesItsDimensionsWithinTwoMillimetres) {
    for (const Paper& paper : kExpectedPapers) {
        if (paper.dimension2 == 0) continue;  // the end row
        const bool has_width = paper.dimension1 != kNone;
        for (int32_t d1 : {-2, 0, 2}) {
            for (int32_t d2 : {-2, 0, 2}) {
                const uint32_t width = has_width ? paper.dimension1 + static_cast<uint32_t>(d1) : kNone;
                EXPECT_EQ(PaperSizeCode(width, paper.dimension2 + static_cast<uint32_t>(d2), 0), paper.code)
                    << paper.dimension1 << "x" << paper.dimension2 << " off by " << d1 << "," << d2;
            }
        }
        // Three millimetres off is no longer this size.
        EXPECT_NE(PaperSizeCode(paper.dimension1, paper.dimension2 + 3, 0), paper.code)
            << paper.dimension1 << "x" << paper.dimension2;
        if (has_width) {
            EXPECT_NE(PaperSizeCode(paper.dimension1 - 3, paper.dimension2, 0), paper.code)
                << paper.dimension1 << "x" << paper.dimension2;
        }
    }
}

TEST(PaperSizeTable, SpecialCases) {
    EXPECT_EQ(PaperSizeCode(210, 297, 0), 8u);
    EXPECT_EQ(PaperSizeCode(211, 299, 0), 8u);
    EXPECT_EQ(PaperSizeCode(213, 297, 0), 2u);  // no row: the end row's code
    EXPECT_EQ(PaperSizeCode(210, kNone, 0), 41u);
    EXPECT_EQ(PaperSizeCode(kNone, kNone, 0), 41u);
    // The any-size attribute wins over every dimension, but only when the
    // attribute word is supplied.
    EXPECT_EQ(PaperSizeCode(210, 297, 0x100), 2u);
    EXPECT_EQ(PaperSizeCode(210, kNone, 0x100), 2u);
    EXPECT_EQ(PaperSizeCode(210, 297, kNone), 8u);
    EXPECT_EQ(PaperSizeCode(210, kNone, kNone), 41u);
    // A missing width matches only the rows made for it, exactly.
    EXPECT_EQ(PaperSizeCode(kNone, 299, 0), 260u);
    EXPECT_EQ(PaperSizeCode(kNone, 100, 0), 2u);
    // Unsigned bounds near 0 and 0xFFFFFFFF match nothing rather than everything.
    EXPECT_EQ(PaperSizeCode(1, 297, 0), 2u);
    EXPECT_EQ(PaperSizeCode(0xFFFFFFFEu, 297, 0), 2u);
    EXPECT_EQ(PaperSizeCode(0, 0, 0), 2u);
}

TEST(PaperLevel, StateBits) {
    const struct {
        uint32_t state;
        uint32_t level;
    } cases[] = {
        {kNone, 100}, {0, 100},      {0x2, 0},     {0x10, 0},    {0x12, 0},   {0x302, 0}, {0x100, 10},
        {0x300, 10},  {0x200, 25},   {0xE00, 25},  {0x400, 50},  {0xC00, 50}, {0x800, 75}, {0x1, 100},
        {0x1000, 100}, {0xFFFFFFFEu, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(PaperLevel(c.state), c.level) << std::hex << c.state;
}

struct ValueCode {
    uint32_t value;
    uint32_t code;
};

const ValueCode kExpectedMediaBits[] = {
    {0x1, 1},       {0x2, 2},       {0x4, 5},        {0x8, 9},        {0x10, 10},      {0x20, 11},
    {0x40, 12},     {0x80, 13},     {0x100, 14},     {0x200, 15},     {0x400, 8},      {0x800, 3},
    {0x1000, 6},    {0x2000, 18},   {0x4000, 19},    {0x8000, 20},    {0x10000, 21},   {0x80000, 22},
    {0x100000, 23}, {0x200000, 24}, {0x400000, 25},  {0x20000, 4},    {0x40000, 35},
};

const ValueCode kExpectedSecondMediaBits[] = {
    {0x2, 26},     {0x4, 27},     {0x8, 28},     {0x10, 29},     {0x20, 30},     {0x40, 31},     {0x80, 32},
    {0x100, 33},   {0x200, 34},   {0x400, 17},   {0x800, 7},     {0x1000, 36},   {0x2000, 37},   {0x4000, 38},
    {0x8000, 39},  {0x10000, 40}, {0x20000, 41}, {0x40000, 42},  {0x100000, 43}, {0x200000, 44}, {0x400000, 45},
};

TEST(MediaCodes, EveryMediaBitInBothForms) {
    for (const ValueCode& row : kExpectedMediaBits) {
        EXPECT_EQ(MediaCode(row.value, false, nullptr, nullptr), row.code) << std::hex << row.value;
        EXPECT_EQ(MediaCode(row.value, true, nullptr, nullptr), row.code) << std::hex << row.value;
    }
    // Bits without a row, and combinations, give 0.
    for (uint32_t bit : {0x0u, 0x3u, 0x1000000u, 0x80000000u}) {
        EXPECT_EQ(MediaCode(bit, false, nullptr, nullptr), 0u) << std::hex << bit;
    }
}

TEST(MediaCodes, EverySecondMediaBitOfFormA) {
    for (const ValueCode& row : kExpectedSecondMediaBits) {
        EXPECT_EQ(MediaCode(PMINFO_MEDIA_SECOND, true, &row.value, nullptr), row.code) << std::hex << row.value;
        // Form B has no second media bit: bit 23 is looked up as it is (no row).
        EXPECT_EQ(MediaCode(PMINFO_MEDIA_SECOND, false, &row.value, nullptr), 0u) << std::hex << row.value;
    }
    const uint32_t first_table_only = 0x1;
    EXPECT_EQ(MediaCode(PMINFO_MEDIA_SECOND, true, &first_table_only, nullptr), 0u);
    // A second media bit that is not supplied finds nothing.
    EXPECT_EQ(MediaCode(PMINFO_MEDIA_SECOND, true, nullptr, nullptr), 0u);
    EXPECT_EQ(MediaCode(PMINFO_MEDIA_SECOND | 0x1, true, static_cast<const uint32_t*>(PMINFO_NOT_SUPPLIED_POINTER),
                        nullptr),
              0u);
}

TEST(MediaCodes, WithoutMediaBitTheNameGivesNoCode) {
    EXPECT_EQ(MediaCode(kNone, true, nullptr, "Plain"), 0u);
    EXPECT_EQ(MediaCode(kNone, false, nullptr, nullptr), 0u);
    EXPECT_EQ(MediaCode(kNone, true, nullptr, test::kAllOnesText), 0u);
}

const ValueCode kExpectedDeviceCodes[] = {
    {637, 4},   {638, 104}, {639, 41},  {640, 16},  {642, 1},   {643, 6},   {644, 38},  {645, 115},
    {646, 114}, {647, 21},  {648, 8},   {649, 22},  {652, 12},  {653, 132}, {654, 133}, {655, 134},
    {656, 113}, {657, 137}, {658, 138}, {659, 142}, {660, 139}, {661, 3},
};

TEST(DeviceCodes, EveryDeviceCodeBecomesItsOption) {
    PMListOf<PMOptionEntry> options;
    for (const ValueCode& row : kExpectedDeviceCodes) options.Add(test::Option(row.value));
    for (uint32_t unknown : {641u, 0u, 662u, kNone}) options.Add(test::Option(unknown));
    PMInfoMachine info{};
    info.pOptions = options.list();
    TestRecord record;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_OPTIONS, record.get()), 0u);
    const auto nodes = ChainNodes(record->pDeviceInfo);
    ASSERT_EQ(nodes.size(), std::size(kExpectedDeviceCodes) + 4);
    EXPECT_EQ(record->nDeviceInfo, nodes.size());
    for (size_t i = 0; i < std::size(kExpectedDeviceCodes); ++i) {
        EXPECT_EQ(nodes[i]->wOptionCode, kExpectedDeviceCodes[i].code) << kExpectedDeviceCodes[i].value;
    }
    for (size_t i = std::size(kExpectedDeviceCodes); i < nodes.size(); ++i) EXPECT_EQ(nodes[i]->wOptionCode, 0u);
}

struct NameCode {
    const char* name;
    uint32_t code;
    uint32_t string_id;
};

const NameCode kExpectedTrays[] = {
    {"Tray 1", 3, 5000}, {"Tray 2", 4, 5001}, {"Tray 3", 5, 5002},          {"Tray 4", 6, 5003},
    {"Bypass Tray", 1, 5004}, {"LCT", 11, 5005}, {"Interposer Tray", 101, 0},
};

const NameCode kExpectedBins[] = {
    {"Copy Tray", 3, 5006},
    {"Mailbox Tray 1", 7, 5007},
    {"Mailbox Tray 2", 8, 5008},
    {"Mailbox Tray 3", 9, 5009},
    {"Mailbox Tray 4", 10, 5010},
    {"Mailbox Tray 5", 11, 5011},
    {"Mailbox Tray 6", 12, 5012},
    {"Mailbox Tray 7", 13, 5013},
    {"Mailbox Tray 8", 14, 5014},
    {"Mailbox Tray 9", 15, 5015},
    {"Finisher Upper Tray", 5, 5016},
    {"Finisher Shift Tray", 4, 5017},
    {"Finisher Shift Tray 1", 4, 5018},
    {"Finisher Shift Tray 2", 27, 5019},
    {"Finisher Booklet Tray", 27, 5020},
    {"Booklet Processor Tray", 22, 5021},
};

// Properties of the name tables that a wrong row breaks: a name found by
// look-up is its own row (no earlier row shadows it), a display name exists
// in every language, every tray of the public codes has a name, and every
// code a name gives is one of the public codes.
TEST(DeviceNameTables, EveryRowIsReachableNamedInEveryLanguageAndCodedPublicly) {
    const std::set<uint32_t> tray_codes = {TB58_TRAY_BYPASS, TB58_TRAY_1, TB58_TRAY_2,         TB58_TRAY_3,
                                           TB58_TRAY_4,      TB58_TRAY_LCT, TB58_TRAY_INTERPOSER};
    std::set<uint32_t> bin_codes = {TB58_BIN_COPY_TRAY, TB58_BIN_FINISHER_SHIFT, TB58_BIN_FINISHER_UPPER,
                                    TB58_BIN_BOOKLET_PROCESSOR, TB58_BIN_FINISHER_BOOKLET};
    for (uint32_t bin = TB58_BIN_MAILBOX_1; bin <= TB58_BIN_MAILBOX_9; ++bin) bin_codes.insert(bin);
    std::set<uint32_t> named_trays;
    using Table = std::pair<const DeviceNameRow*, const std::set<uint32_t>*>;
    for (const auto& [rows, codes] : {Table{kTrayNames, &tray_codes}, Table{kOutBinNames, &bin_codes}}) {
        for (const DeviceNameRow* row = rows; row->name != nullptr; ++row) {
            EXPECT_EQ(FindDeviceName(rows, row->name), row) << row->name;
            EXPECT_EQ(codes->count(row->code), 1u) << row->name;
            if (rows == kTrayNames) named_trays.insert(row->code);
            if (row->string_id == 0) continue;
            for (LANGID language : {0x0406, 0x0407, 0x0409, 0x040A, 0x040B, 0x040C, 0x0410, 0x0411, 0x0413, 0x0414,
                                    0x0415, 0x0416, 0x041D}) {
                test::LanguageGuard guard(language);
                char text[128] = {};
                EXPECT_EQ(frame::LoadLocalizedString(row->string_id, text, sizeof text), 0u) << row->name;
                EXPECT_NE(text[0], '\0') << row->name << " " << language;
            }
        }
    }
    EXPECT_EQ(named_trays, tray_codes);
    // The end rows give the codes of a name not in the table.
    EXPECT_EQ(FindDeviceName(kTrayNames, "Tray 5")->code, 0u);
    EXPECT_EQ(FindDeviceName(kOutBinNames, "Mailbox Tray 10")->code, 255u);
}

TEST(DeviceNameTables, EveryTrayNameGivesItsTrayCodeInBothForms) {
    PMListOf<PMTrayEntryA> form_a;
    PMListOf<PMTrayEntryB> form_b;
    for (const NameCode& tray : kExpectedTrays) {
        form_a.Add(test::TrayA(tray.name));
        form_b.Add(test::TrayB(tray.name));
    }
    for (const char* unknown : {"tray 1", "Tray 1 ", "Tray 5", ""}) form_a.Add(test::TrayA(unknown));
    form_a.Add(test::TrayA(nullptr));
    form_b.Add(test::TrayB(test::kAllOnesText));
    PMInfoMachine info{};
    info.pTraysA = form_a.list();
    info.pTraysB = form_b.list();
    TestRecord record;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_TRAYS_A | PMINFO_MACHINE_TRAYS_B, record.get()), 0u);
    const auto nodes = ChainNodes(record->pTrayInfo);
    const size_t trays = std::size(kExpectedTrays);
    ASSERT_EQ(nodes.size(), 2 * trays + 6);
    for (size_t i = 0; i < trays; ++i) {
        EXPECT_EQ(nodes[i]->wTrayCode, kExpectedTrays[i].code) << kExpectedTrays[i].name;
        EXPECT_EQ(nodes[trays + 5 + i]->wTrayCode, kExpectedTrays[i].code) << kExpectedTrays[i].name;
    }
    for (size_t i = trays; i < trays + 5; ++i) EXPECT_EQ(nodes[i]->wTrayCode, 0u);
    EXPECT_EQ(nodes.back()->wTrayCode, 0u);
}

TEST(DeviceNameTables, EveryBinNameGivesItsBinCode) {
    PMListOf<PMOutBinEntry> bins;
    for (const NameCode& bin : kExpectedBins) bins.Add(test::OutBin(bin.name));
    bins.Add(test::OutBin("Mailbox Tray 10"));
    bins.Add(test::OutBin(nullptr));
    PMInfoMachine info{};
    info.pOutBins = bins.list();
    TestRecord record;
    ASSERT_EQ(ConvertMachine(info, PMINFO_MACHINE_OUTBINS, record.get()), 0u);
    const auto nodes = ChainNodes(record->pOutBinInfo);
    ASSERT_EQ(nodes.size(), std::size(kExpectedBins) + 2);
    for (size_t i = 0; i < std::size(kExpectedBins); ++i) {
        EXPECT_EQ(nodes[i]->wBinCode, kExpectedBins[i].code) << kExpectedBins[i].name;
    }
    EXPECT_EQ(nodes[nodes.size() - 2]->wBinCode, 255u);
    EXPECT_EQ(nodes.back()->wBinCode, 255u);
}

TEST(EmulationNames, EveryNameGivesItsCode) {
    const struct {
        const char* name;
        uint16_t code;
    } expected[] = {
        {"WEXA", 1},          {"TZMO", 15},           {"Adobe PostScript 3", 2}, {"PCL5c", 18},
        {"VX-GL/2", 12},      {"ESC/P", 4},           {"IBM5577", 7},            {"PC-PR201H", 3},
        {"TIFF", 13},         {"PCL 5e Emulation", 16}, {"PCL 6 Emulation", 17},  {"PCL XL Emulation", 17},
        {"PCL 5c Emulation", 18}, {"PCL 5C Emulation", 0}, {"Q55", 0},            {nullptr, 0},
    };
    PMListOf<PMEmulEntry> emulations;
    for (const auto& row : expected) emulations.Add(test::Emulation(row.name, nullptr));
    PMInfoPrinter info{};
    info.pEmulations = emulations.list();
    TestRecord record;
    ASSERT_EQ(ConvertPrinter(info, PMINFO_EMULATIONS, false, record.get()), 0u);
    const auto nodes = ChainNodes(record->pLoadedEmul);
    ASSERT_EQ(nodes.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(nodes[i]->wEmulCode, expected[i].code) << (expected[i].name ? expected[i].name : "(none)");
        EXPECT_STREQ(nodes[i]->szVersion, "");
    }
}

TEST(StatusWordTable, EveryConditionOfEveryKind) {
    const struct {
        uint32_t kind;
        uint32_t word;
        bool suppress;
        std::vector<int32_t> codes;
    } cases[] = {
        {1, 0x08000000, false, {-254}},
        {1, 0x00000080, false, {10003}},
        {1, 0x00400000, false, {10023}},
        {1, 0x08400080, false, {-254, 10003, 10023}},
        {1, 0x08400080, true, {-254}},
        {1, 0x00200104, false, {}},
        {8, 0x08000000, false, {-254}},
        {8, 0x00000008, false, {10003}},
        {8, 0x00000004, false, {510023}},
        {8, 0x00200000, false, {510023}},
        {8, 0x08000008, false, {-254, 10003}},
        {8, 0x0820000C, true, {-254}},
        {2, 0x08000000, false, {-254}},
        {2, 0x00200000, false, {410023}},
        {2, 0x00000100, false, {410023}},
        {2, 0x08200100, true, {-254}},
        {2, 0x004000C8, false, {}},
        {2, kNone, false, {}},
        {1, kNone, false, {}},
    };
    for (const auto& c : cases) {
        TestRecord record;
        ApplyStatusWord(record.get(), c.word, c.kind, c.suppress);
        std::vector<int32_t> codes;
        for (const EngineStatusNode* node : ChainNodes(record->pEngineStatus)) {
            codes.push_back(node->dwCode);
            EXPECT_EQ(node->wCode, static_cast<uint16_t>(node->dwCode & 0xFFFF));
        }
        EXPECT_EQ(codes, c.codes) << "kind " << c.kind << " word " << std::hex << c.word;
        EXPECT_EQ(record->nEngineStatus, codes.size());
    }
}

}  // namespace
