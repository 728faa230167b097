// Printer-management emulation names -> emulation codes.
#include "convert/pm_tables.h"

#include "Tb58Wk31Codes.h"

namespace tb58::convert {

const CodeByNameRow kEmulationNames[] = {
    {"WEXA", TB58_EMULATION_WEXA},
    {"TZMO", TB58_EMULATION_TZMO},
    {"Adobe PostScript 3", TB58_EMULATION_POSTSCRIPT},
    {"PCL5c", TB58_EMULATION_PCL5C},
    {"VX-GL/2", TB58_EMULATION_VX_GL2},
    {"ESC/P", TB58_EMULATION_ESCP},
    {"IBM5577", TB58_EMULATION_IBM5577},
    {"PC-PR201H", TB58_EMULATION_PC_PR201H},
    {"TIFF", TB58_EMULATION_TIFF},
    {"PCL 5e Emulation", TB58_EMULATION_PCL5E},
    {"PCL 6 Emulation", TB58_EMULATION_PCLXL},
    {"PCL XL Emulation", TB58_EMULATION_PCLXL},
    {"PCL 5c Emulation", TB58_EMULATION_PCL5C},
    {nullptr, 0},
};

}  // namespace tb58::convert
