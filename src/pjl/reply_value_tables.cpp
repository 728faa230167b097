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
// The special-tray answers name a tray by its word (TRAY1, LCT, ...).
#define TB58_TRAY_NAME_ROW(name, presence, state, size, quantity, media, code, english) {name, code},
constexpr auto kSpecialTrays = MakeCodeByNameTable({TB58_TRAY_WORDS(TB58_TRAY_NAME_ROW)}, 0);
#undef TB58_TRAY_NAME_ROW
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

// A keyword slot of a punch row: null where the list gives "".
constexpr const char* PunchSlot(const char* keyword) { return keyword[0] != '\0' ? keyword : nullptr; }

// Punch units by the keywords the printer lists for them.
#define TB58_PUNCH_ROW(first, second, option) {{PunchSlot(first), PunchSlot(second), nullptr, nullptr, nullptr}, option},
const PunchRow kPunchTable[] = {
    TB58_PUNCH_UNIT_WORDS(TB58_PUNCH_ROW)  //
    {{nullptr, nullptr, nullptr, nullptr, nullptr}, 0},
};
#undef TB58_PUNCH_ROW

}  // namespace tb58::pjl
