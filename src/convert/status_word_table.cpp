// Status word bits -> engine status codes, per function kind.  The
// no-response condition (-254) is never suppressed.
#include "convert/pm_tables.h"

namespace tb58::convert {

const StatusWordRow kStatusWordConditions[] = {
    {1, 0x08000000, -254, false},
    {1, 0x00000080, 10003, true},
    {1, 0x00400000, 10023, true},
    {8, 0x08000000, -254, false},
    {8, 0x00000008, 10003, true},
    {8, 0x00200004, 510023, true},
    {2, 0x08000000, -254, false},
    {2, 0x00200100, 410023, true},
    {kValueTableEnd, 0, 0, false},
};

}  // namespace tb58::convert
