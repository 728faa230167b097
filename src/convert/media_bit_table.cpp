// Printer-management media bits -> media codes.
#include "convert/pm_tables.h"

namespace tb58::convert {

const CodeByValueRow kMediaBits[] = {
    {0x1, 1},
    {0x2, 2},
    {0x4, 5},
    {0x8, 9},
    {0x10, 10},
    {0x20, 11},
    {0x40, 12},
    {0x80, 13},
    {0x100, 14},
    {0x200, 15},
    {0x400, 8},
    {0x800, 3},
    {0x1000, 6},
    {0x2000, 18},
    {0x4000, 19},
    {0x8000, 20},
    {0x10000, 21},
    {0x80000, 22},
    {0x100000, 23},
    {0x200000, 24},
    {0x400000, 25},
    {0x20000, 4},
    {0x40000, 35},
    {kValueTableEnd, 0},
};

}  // namespace tb58::convert
