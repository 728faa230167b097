// Option device code (printer-management) -> option name.
#include "status/string_maps.h"

namespace tb58::status {

const frame::StringIdMap kOptionNameMap[] = {
    {637, 4000},
    {638, 4001},
    {639, 4002},
    {644, 4003},
    {645, 4004},
    {646, 4005},
    {647, 4006},
    {648, 4007},
    {656, 4008},
    {664, 4009},
    {666, 4010},
    {667, 4011},
    {669, 4012},
    {649, 4013},
    {frame::kStringIdMapEnd, 0},
};

}  // namespace tb58::status
