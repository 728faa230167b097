// The peripheral profiles, one per function kind, in the order 1, 2, 8,
// 0x8000.
#include "frame/peripheral_profiles.h"

namespace tb58::frame {

constinit const PeripheralProfileRow kPeripheralProfiles[] = {
    {0x0001, {0x00020000u, 3, 3, 2, 0}},
    {0x0002, {0x00020000u, 3, 3, 0, 0}},
    {0x0008, {0x00020000u, 3, 3, 0, 0}},
    {0x8000, {0x00020000u, 3, 66, 0, 0}},
    {0, {}},
};

}  // namespace tb58::frame
