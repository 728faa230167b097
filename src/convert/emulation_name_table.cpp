// Printer-management emulation names -> emulation codes.
#include "convert/pm_tables.h"

namespace tb58::convert {

const CodeByNameRow kEmulationNames[] = {
    {"WEXA", 1},
    {"TZMO", 15},
    {"Adobe PostScript 3", 2},
    {"PCL5c", 18},
    {"VX-GL/2", 12},
    {"ESC/P", 4},
    {"IBM5577", 7},
    {"PC-PR201H", 3},
    {"TIFF", 13},
    {"PCL 5e Emulation", 16},
    {"PCL 6 Emulation", 17},
    {"PCL XL Emulation", 17},
    {"PCL 5c Emulation", 18},
    {nullptr, 0},
};

}  // namespace tb58::convert
