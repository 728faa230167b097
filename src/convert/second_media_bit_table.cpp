// Printer-management second media bits (trays whose media bit has bit 23
// set) -> media codes.
#include "convert/pm_tables.h"

namespace tb58::convert {

const CodeByValueRow kSecondMediaBits[] = {
    {0x2, 26},
    {0x4, 27},
    {0x8, 28},
    {0x10, 29},
    {0x20, 30},
    {0x40, 31},
    {0x80, 32},
    {0x100, 33},
    {0x200, 34},
    {0x400, 17},
    {0x800, 7},
    {0x1000, 36},
    {0x2000, 37},
    {0x4000, 38},
    {0x8000, 39},
    {0x10000, 40},
    {0x20000, 41},
    {0x40000, 42},
    {0x100000, 43},
    {0x200000, 44},
    {0x400000, 45},
    {kValueTableEnd, 0},
};

}  // namespace tb58::convert
