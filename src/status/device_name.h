// Display names of input trays, output bins and options in the current
// display language.
#pragma once

#include <cstdint>

namespace tb58::status {

// Size of the buffer in which a device name is composed.
constexpr int32_t kDeviceNameCapacity = 256;

// The name for selector 1 (value: an English input tray name), 2 (an
// English output bin name) or 3 (value points to an int32 device code);
// check is the check byte (0x97 for 1 and 2, 0x96 for 3).  out (capacity
// bytes, at least 1) is made the empty text first.
// Returns 0, ERROR_INVALID_PARAMETER (selector not 1-3, wrong check byte,
// null value, name not in the table or without display text), or the
// error of the option name or string load.
uint32_t GetDeviceNameText(uint32_t selector, const void* value, uint8_t check, char* out, int32_t capacity);

// The display name of an English tray (selector 1) or bin (selector 2) name,
// compared exactly with the name table's rows.  ERROR_INVALID_PARAMETER for
// another selector, a name not in the table or a row without display text.
uint32_t LoadTrayName(uint32_t selector, const char* name, char* out, int32_t capacity);

// The option name of a printer-management device code;
// TB58_ERROR_NOT_FOUND for a code without name.
uint32_t LoadOptionName(int32_t device_code, char* out, int32_t capacity);

}  // namespace tb58::status
