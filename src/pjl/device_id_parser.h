// Reading an IEEE 1284 device ID ("KEY:value;" fields) into the printer
// information record: maker, model, description, command sets, engine
// status with the printer state, counter and supplies.
#pragma once

#include <cstdint>
#include <string_view>

#include "Tb58Wk31PrnInfoEx.h"
#include "core/code_by_name.h"

namespace tb58::pjl {

// A read position in a device ID; the text ends at its first zero byte or at
// the end of the view.
struct FieldCursor {
    const char* position;
    const char* end;
    bool AtEnd() const { return position >= end; }
};

FieldCursor MakeFieldCursor(std::string_view text);

// Copies characters into destination until one of the delimiters, the end
// of the text, or capacity - 1 characters; terminates destination (capacity
// > 0) and moves past the copied characters and then one byte more unless
// at the end (a delimiter is consumed; a field cut by the capacity loses
// the one character after the cut).
void SplitField(FieldCursor& cursor, char* destination, size_t capacity, std::string_view delimiters);

// Returns 0, or ERROR_NOT_ENOUGH_MEMORY when the maker name or the
// description could not be stored (what came before stays).
uint32_t ParseDeviceId(PrnInfoEx& record, std::string_view text);

// This model's tables: command sets (none), model names (none; default 255),
// supply ids (none before the end mark).
extern const CodeByNameRow* const kCommandSetCodes;
extern const CodeByNameRow* const kModelNameCodes;
extern const uint16_t kSupplyIds[];
constexpr uint16_t kSupplyIdsEnd = 0xFFFF;

}  // namespace tb58::pjl
