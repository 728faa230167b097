// The fixed peripheral profile of each function kind.
#pragma once

#include <cstdint>

namespace tb58::frame {

struct PeripheralProfileRow {
    uint32_t kind;         // function kind (low 16 bits of the argument); 0 ends the table
    uint32_t values[5];
};

extern const PeripheralProfileRow kPeripheralProfiles[];

// The row of a function kind (only its low 16 bits count), or null.
const PeripheralProfileRow* FindPeripheralProfile(uint32_t kind);

}  // namespace tb58::frame
