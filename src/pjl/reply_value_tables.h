// The value tables of the reply handlers: reply words to codes.
#pragma once

#include "Tb58Wk31Words.h"
#include "core/code_by_name.h"

#include <string_view>

namespace tb58::pjl {

// Each finds a reply word's code in one probe, or gives its table's
// default code.
extern const CodeByNameIndex kMemoryUsageCodes;
extern const CodeByNameIndex kImageRotationCodes;
extern const CodeByNameIndex kEmulationVersionCodes;
extern const CodeByNameIndex kPaperSizeCodes;
extern const CodeByNameIndex kPaperQuantityLevels;
extern const CodeByNameIndex kSpecialTrayCodes;
extern const CodeByNameIndex kMediaNameCodes;

// "FIRMWARE" in the emulation versions: the system version, not an emulation.
constexpr uint32_t kFirmwareVersion = TB58_FIRMWARE_VERSION;

// A row of a code-by-name table from a word list of Tb58Wk31Words.h.
#define TB58_CODE_BY_NAME_ROW(word, code) {word, code},

// An output bin state word's code (TB58_BIN_STATE_WORDS); any other word
// reads as ready.
uint16_t BinStateCode(std::string_view word);

constexpr size_t kPunchKeywords = 5;

// A punch unit's keywords (empty slots last) and its option code; ended by a
// row whose first slot is null.
struct PunchRow {
    const char* keywords[kPunchKeywords];
    uint16_t option;
};

extern const PunchRow kPunchTable[];

}  // namespace tb58::pjl
