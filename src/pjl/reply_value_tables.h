// The value tables of the reply handlers: reply words to codes.
#pragma once

#include "core/code_by_name.h"

namespace tb58::pjl {

// Each points at the first row of a table ended by its default row.
extern const CodeByNameRow* const kMemoryUsageCodes;
extern const CodeByNameRow* const kImageRotationCodes;
extern const CodeByNameRow* const kEmulationVersionCodes;
extern const CodeByNameRow* const kPaperSizeCodes;
extern const CodeByNameRow* const kPaperQuantityLevels;
extern const CodeByNameRow* const kSpecialTrayCodes;
extern const CodeByNameRow* const kMediaNameCodes;  // reply_media_names.cpp

// "FIRMWARE" in the emulation versions: the system version, not an emulation.
constexpr uint32_t kFirmwareVersion = 0xFFFFFFFFu;

constexpr size_t kPunchKeywords = 5;

// A punch unit's keywords (empty slots last) and its option code; ended by a
// row whose first slot is null.
struct PunchRow {
    const char* keywords[kPunchKeywords];
    uint16_t option;
};

extern const PunchRow kPunchTable[];

}  // namespace tb58::pjl
