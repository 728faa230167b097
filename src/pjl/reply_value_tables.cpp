// Reply words to codes, as the printer's PJL replies spell them (the word
// lists of Tb58Wk31Words.h).
#include "pjl/reply_value_tables.h"

#include "Tb58Wk31Codes.h"

namespace tb58::pjl {
namespace {

constexpr auto kMemoryUsage = MakeCodeByNameTable({TB58_MEMORY_USAGE_WORDS(TB58_CODE_BY_NAME_ROW)}, 0);
constexpr auto kImageRotation = MakeCodeByNameTable({TB58_IMAGE_ROTATION_WORDS(TB58_CODE_BY_NAME_ROW)}, 0);
constexpr auto kEmulationVersions = MakeCodeByNameTable({TB58_EMULATION_VERSION_WORDS(TB58_CODE_BY_NAME_ROW)}, 0);
constexpr auto kPaperSizes = MakeCodeByNameTable({TB58_PAPER_SIZE_WORDS(TB58_CODE_BY_NAME_ROW)}, 0);
constexpr auto kPaperQuantities = MakeCodeByNameTable({TB58_PAPER_QUANTITY_WORDS(TB58_CODE_BY_NAME_ROW)}, 0);
constexpr auto kSpecialTrays = MakeCodeByNameTable({TB58_SPECIAL_TRAY_WORDS(TB58_CODE_BY_NAME_ROW)}, 0);
constexpr auto kMediaNames = MakeCodeByNameTable({TB58_MEDIA_WORDS(TB58_CODE_BY_NAME_ROW)}, 0);

constexpr auto kMemoryUsageIndex = IndexCodeByName(kMemoryUsage);
constexpr auto kImageRotationIndex = IndexCodeByName(kImageRotation);
constexpr auto kEmulationVersionsIndex = IndexCodeByName(kEmulationVersions);
constexpr auto kPaperSizesIndex = IndexCodeByName(kPaperSizes);
constexpr auto kPaperQuantitiesIndex = IndexCodeByName(kPaperQuantities);
constexpr auto kSpecialTraysIndex = IndexCodeByName(kSpecialTrays);
constexpr auto kMediaNamesIndex = IndexCodeByName(kMediaNames);

}  // namespace

constinit const CodeByNameIndex kMemoryUsageCodes = kMemoryUsageIndex.View();
constinit const CodeByNameIndex kImageRotationCodes = kImageRotationIndex.View();
constinit const CodeByNameIndex kEmulationVersionCodes = kEmulationVersionsIndex.View();
constinit const CodeByNameIndex kPaperSizeCodes = kPaperSizesIndex.View();
constinit const CodeByNameIndex kPaperQuantityLevels = kPaperQuantitiesIndex.View();
constinit const CodeByNameIndex kSpecialTrayCodes = kSpecialTraysIndex.View();
constinit const CodeByNameIndex kMediaNameCodes = kMediaNamesIndex.View();

uint16_t BinStateCode(std::string_view word) {
#define TB58_BIN_STATE_IF(text, code) \
    if (word == text) return code;
    TB58_BIN_STATE_WORDS(TB58_BIN_STATE_IF)
#undef TB58_BIN_STATE_IF
    return TB58_BIN_STATE_READY;
}

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
