// The value tables of the reply handlers: reply words to codes.
#pragma once

#include "core/code_by_name.h"

namespace tb58::pjl {

// Each finds a reply word's code in one probe, or gives its table's
// default code.
extern const CodeByNameIndex kMemoryUsageCodes;
extern const CodeByNameIndex kImageRotationCodes;
extern const CodeByNameIndex kEmulationVersionCodes;
extern const CodeByNameIndex kPaperSizeCodes;
extern const CodeByNameIndex kPaperQuantityLevels;
extern const CodeByNameIndex kSpecialTrayCodes;
extern const CodeByNameIndex kMediaNameCodes;  // reply_media_names.cpp

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
