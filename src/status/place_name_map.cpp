// Place id -> place name.  Searched in row order, which is also the order in
// which a list of several places names them (the copy tray comes before the
// finisher trays).
#include "status/string_maps.h"

namespace tb58::status {

const frame::StringIdMap kPlaceNameMap[] = {
    {1, 3000},
    {2, 3001},
    {3, 3002},
    {4, 3003},
    {5, 3004},
    {6, 3005},
    {7, 3006},
    {34, 3033},
    {8, 3007},
    {9, 3008},
    {10, 3009},
    {11, 3010},
    {12, 3011},
    {13, 3012},
    {14, 3013},
    {15, 3014},
    {16, 3015},
    {17, 3016},
    {18, 3017},
    {19, 3018},
    {20, 3019},
    {21, 3020},
    {22, 3021},
    {23, 3022},
    {24, 3023},
    {25, 3024},
    {26, 3025},
    {27, 3026},
    {28, 3027},
    {29, 3028},
    {30, 3029},
    {31, 3030},
    {32, 3031},
    {33, 3032},
    {35, 3034},
    {frame::kStringIdMapEnd, 0},
};

}  // namespace tb58::status
