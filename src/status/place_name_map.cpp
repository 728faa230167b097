// Place id -> place name.  Searched in row order, which is also the order in
// which a list of several places names them (the copy tray comes before the
// finisher trays).
#include "status/status_places.h"
#include "status/string_maps.h"

namespace tb58::status {

const frame::StringIdMap kPlaceNameMap[] = {
    {kPlaceTray1, 3000},
    {kPlaceTray2, 3001},
    {kPlaceTray3, 3002},
    {kPlaceTray4, 3003},
    {kPlaceLct, 3004},
    {kPlaceBypassTray, 3005},
    {kPlaceInterposer, 3006},
    {kPlaceCopyTray, 3033},
    {kPlaceFinisherUpperTray, 3007},
    {kPlaceFinisherShiftTray1, 3008},
    {kPlaceFinisherShiftTray2, 3009},
    {kPlaceFinisherShiftTray, 3010},
    {kPlaceFinisherBookletTray, 3011},
    {kPlaceFrontCover, 3012},
    {kPlaceFinisherFrontCover, 3013},
    {kPlaceInterposerCover, 3014},
    {kPlaceLctCover, 3015},
    {kPlaceAdfCover, 3016},
    {kPlaceMailboxRightCover, 3017},
    {kPlaceZFoldUpperCover, 3018},
    {kPlaceZFoldInternalUnit, 3019},
    {kPlaceMailboxTray1, 3020},
    {kPlaceMailboxTray2, 3021},
    {kPlaceMailboxTray3, 3022},
    {kPlaceMailboxTray4, 3023},
    {kPlaceMailboxTray5, 3024},
    {kPlaceMailboxTray6, 3025},
    {kPlaceMailboxTray7, 3026},
    {kPlaceMailboxTray8, 3027},
    {kPlaceMailboxTray9, 3028},
    {kPlaceYellow, 3029},
    {kPlaceMagenta, 3030},
    {kPlaceCyan, 3031},
    {kPlaceBlack, 3032},
    {kPlaceBookletProcessor, 3034},
    {frame::kStringIdMapEnd, 0},
};

}  // namespace tb58::status
