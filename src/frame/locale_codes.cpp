#include "frame/locale_codes.h"

namespace tb58::frame {

const LocaleCode kLocaleCodeTable[] = {
    {"JP", 0x11, 1},  // Japanese        0x0411
    {"EN", 0x09, 1},  // English         0x0409
    {"DE", 0x07, 1},  // German          0x0407
    {"FR", 0x0C, 1},  // French          0x040C
    {"IT", 0x10, 1},  // Italian         0x0410
    {"ES", 0x0A, 1},  // Spanish         0x040A
    {"NL", 0x13, 1},  // Dutch           0x0413
    {"SV", 0x1D, 1},  // Swedish         0x041D
    {"DA", 0x06, 1},  // Danish          0x0406
    {"NO", 0x14, 1},  // Norwegian       0x0414
    {"CS", 0x05, 1},  // Czech           0x0405 (no string table of its own)
    {"HU", 0x0E, 1},  // Hungarian       0x040E (no string table of its own)
    {"PT", 0x16, 1},  // Portuguese (Brazil) 0x0416
    {"PL", 0x15, 1},  // Polish          0x0415
    {"FI", 0x0B, 1},  // Finnish         0x040B
    {nullptr, 0, 0},
};

}  // namespace tb58::frame
