// Reply words to codes, as the printer's PJL replies spell them.
#include "pjl/reply_value_tables.h"

#include "Tb58Wk31Codes.h"

namespace tb58::pjl {
namespace {

constexpr auto kMemoryUsage = MakeCodeByNameTable({{"USER", 2}, {"PAGE", 1}}, 0);
constexpr auto kImageRotation = MakeCodeByNameTable({{"POSSIBLE", 1}, {"IMPOSSIBLE", 2}}, 0);
constexpr auto kEmulationVersions = MakeCodeByNameTable(
    {{"FIRMWARE", kFirmwareVersion},
     {"TZMO", TB58_EMULATION_TZMO},
     {"PCL", TB58_EMULATION_PCL5C},
     {"POSTSCRIPT", TB58_EMULATION_POSTSCRIPT},
     {"WEXA", TB58_EMULATION_WEXA},
     {"Q55", TB58_EMULATION_IBM5577},
     {"QTIFF", TB58_EMULATION_TIFF},
     {"PCLXL", TB58_EMULATION_PCLXL}},
    0);
constexpr auto kPaperSizes = MakeCodeByNameTable(
    {{"A3", 5},          {"A4SRT", 9},        {"A4LONG", 8},        {"A5SRT", 13},       {"A5LONG", 12},
     {"A6", 17},         {"JISB4", 7},        {"JISB5SRT", 11},     {"JISB5LONG", 10},   {"JISB6", 15},
     {"JPOST", 34},      {"LEDGER", 58},      {"LEGAL", 21},        {"LETTERSRT", 23},   {"LETTERLONG", 22},
     {"HALFLETTERS", 27}, {"HALFLETTERL", 26}, {"EXECUTIVES", 25},  {"EXECUTIVEL", 24},  {"FGL", 60},
     {"FOOLSCAP", 62},   {"FOLIO", 28},       {"CUSTOM", 2},        {"A3WIDE", 69}},
    0);
constexpr auto kPaperQuantities =
    MakeCodeByNameTable({{"END", 0}, {"1/5", 20}, {"2/5", 40}, {"3/5", 60}, {"4/5", 80}, {"FULL", 100}}, 0);
constexpr auto kSpecialTrays = MakeCodeByNameTable(
    {{"TRAY1", TB58_TRAY_1},
     {"TRAY2", TB58_TRAY_2},
     {"TRAY3", TB58_TRAY_3},
     {"TRAY4", TB58_TRAY_4},
     {"LCT", TB58_TRAY_LCT},
     {"BYPASS", TB58_TRAY_BYPASS},
     {"INSERTER", TB58_TRAY_INTERPOSER}},
    0);

constexpr auto kMemoryUsageIndex = IndexCodeByName(kMemoryUsage);
constexpr auto kImageRotationIndex = IndexCodeByName(kImageRotation);
constexpr auto kEmulationVersionsIndex = IndexCodeByName(kEmulationVersions);
constexpr auto kPaperSizesIndex = IndexCodeByName(kPaperSizes);
constexpr auto kPaperQuantitiesIndex = IndexCodeByName(kPaperQuantities);
constexpr auto kSpecialTraysIndex = IndexCodeByName(kSpecialTrays);

}  // namespace

constinit const CodeByNameIndex kMemoryUsageCodes = kMemoryUsageIndex.View();
constinit const CodeByNameIndex kImageRotationCodes = kImageRotationIndex.View();
constinit const CodeByNameIndex kEmulationVersionCodes = kEmulationVersionsIndex.View();
constinit const CodeByNameIndex kPaperSizeCodes = kPaperSizesIndex.View();
constinit const CodeByNameIndex kPaperQuantityLevels = kPaperQuantitiesIndex.View();
constinit const CodeByNameIndex kSpecialTrayCodes = kSpecialTraysIndex.View();

// Punch units by the keywords the printer lists for them.
const PunchRow kPunchTable[] = {
    {{"JP2", nullptr, nullptr, nullptr, nullptr}, TB58_OPTION_PUNCH_JP2},
    {{"JP2", "US3", nullptr, nullptr, nullptr}, TB58_OPTION_PUNCH_JP2_US3},
    {{"US2", "US3", nullptr, nullptr, nullptr}, TB58_OPTION_PUNCH_US2_US3},
    {{"JP2", "EU4", nullptr, nullptr, nullptr}, TB58_OPTION_PUNCH_JP2_EU4},
    {{"NEU4", nullptr, nullptr, nullptr, nullptr}, TB58_OPTION_PUNCH_NEU4},
    {{"EU4", nullptr, nullptr, nullptr, nullptr}, TB58_OPTION_PUNCH_EU4},
    {{"US2", nullptr, nullptr, nullptr, nullptr}, TB58_OPTION_PUNCH_US2},
    {{"US3", nullptr, nullptr, nullptr, nullptr}, TB58_OPTION_PUNCH_US3},
    {{nullptr, nullptr, nullptr, nullptr, nullptr}, 0},
};

}  // namespace tb58::pjl
