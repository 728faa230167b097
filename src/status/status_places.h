// The places a status text names (the place list of "%s" in a message):
// trays, covers, bins and toner colours.  The status code tables give each
// entry its place; the place name map orders and names them.
#pragma once

#include <cstdint>

namespace tb58::status {

enum Place : int32_t {
    kNoPlace = 0,  // the entry names no place
    kPlaceTray1 = 1,
    kPlaceTray2 = 2,
    kPlaceTray3 = 3,
    kPlaceTray4 = 4,
    kPlaceLct = 5,
    kPlaceBypassTray = 6,
    kPlaceInterposer = 7,
    kPlaceFinisherUpperTray = 8,
    kPlaceFinisherShiftTray1 = 9,
    kPlaceFinisherShiftTray2 = 10,
    kPlaceFinisherShiftTray = 11,
    kPlaceFinisherBookletTray = 12,
    kPlaceFrontCover = 13,
    kPlaceFinisherFrontCover = 14,
    kPlaceInterposerCover = 15,
    kPlaceLctCover = 16,
    kPlaceAdfCover = 17,
    kPlaceMailboxRightCover = 18,
    kPlaceZFoldUpperCover = 19,
    kPlaceZFoldInternalUnit = 20,
    kPlaceMailboxTray1 = 21,  // mailbox trays 1-9 are 21-29
    kPlaceMailboxTray2 = 22,
    kPlaceMailboxTray3 = 23,
    kPlaceMailboxTray4 = 24,
    kPlaceMailboxTray5 = 25,
    kPlaceMailboxTray6 = 26,
    kPlaceMailboxTray7 = 27,
    kPlaceMailboxTray8 = 28,
    kPlaceMailboxTray9 = 29,
    kPlaceYellow = 30,
    kPlaceMagenta = 31,
    kPlaceCyan = 32,
    kPlaceBlack = 33,
    kPlaceCopyTray = 34,
    kPlaceBookletProcessor = 35,
};

}  // namespace tb58::status
