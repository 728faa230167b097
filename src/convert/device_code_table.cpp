// Printer-management device codes -> option codes of pDeviceInfo.
#include "convert/pm_tables.h"

namespace tb58::convert {

const CodeByValueRow kDeviceCodes[] = {
    {637, 4},
    {638, 104},
    {639, 41},
    {640, 16},
    {642, 1},
    {643, 6},
    {644, 38},
    {645, 115},
    {646, 114},
    {647, 21},
    {648, 8},
    {649, 22},
    {652, 12},
    {653, 132},
    {654, 133},
    {655, 134},
    {656, 113},
    {657, 137},
    {658, 138},
    {659, 142},
    {660, 139},
    {661, 3},
    {kValueTableEnd, 0},
};

}  // namespace tb58::convert
