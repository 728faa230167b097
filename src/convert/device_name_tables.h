// The English names of the input trays and output bins, as printer
// management reports them: each with its tray or bin code (used when a
// PMInfo is converted) and the string id of its display name (used by
// PatGetDeviceName; 0 when the name has no display text).
#pragma once

#include <cstdint>

namespace tb58::convert {

struct DeviceNameRow {
    const char* name;    // nullptr in the end row
    uint32_t code;       // the default code in the end row
    uint32_t string_id;  // 0: no display text
};

// Ended by a row with a null name, whose code is the default code.
extern const DeviceNameRow kTrayNames[];    // default code 0
extern const DeviceNameRow kOutBinNames[];  // default code 255

// The first row whose name equals name exactly (case-sensitive), or the end
// row when none does.  name must not be null.
const DeviceNameRow* FindDeviceName(const DeviceNameRow* rows, const char* name);

}  // namespace tb58::convert
