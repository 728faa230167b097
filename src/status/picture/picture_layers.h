// The layers of the status picture, drawn from the lowest number up: the
// main body and each unit on a layer of its own, then the markers that
// point at a part (100-212; the layout rules move or drop some of them),
// then the overlays of one presentation and of both.
#pragma once

#include <cstdint>

namespace tb58::status {

enum Layer : uint8_t {
    kLayerMainBody = 1,
    kLayerLct = 10,
    kLayerInterposer = 20,
    kLayerCopyTray = 30,
    kLayerMailbox = 40,
    kLayerZFold = 50,
    kLayerFinisher = 60,
    kLayerBookletProcessor = 70,
    // Markers of trays 1-3: with Tray 4 installed, and without it.
    kLayerTray1Marker = 108,
    kLayerTray2Marker = 110,
    kLayerTray3Marker = 112,
    kLayerTray1MarkerWithoutTray4 = 208,
    kLayerTray2MarkerWithoutTray4 = 210,
    kLayerTray3MarkerWithoutTray4 = 212,
    kLayerInterposerCoverMarker = 120,
    kLayerInterposerTrayMarker = 122,  // also the copy tray's marker
    kLayerFinisherCoverMarker = 152,   // the finisher's cover beside the interposer
    kLayerFinisherMarker1 = 154,       // finisher markers 1-5 are 154-162
    kLayerFinisherMarker2 = 156,
    kLayerFinisherMarker3 = 158,
    kLayerFinisherMarker4 = 160,
    kLayerFinisherMarker5 = 162,
    kLayerBookletProcessorMarker = 180,
    kLayerNormalOnly = 246,     // kept for the normal presentation only
    kLayerAlternateOnly = 248,  // kept for the alternate presentation only
    kLayerOverlay = 250,        // power off, caution, service call
};

}  // namespace tb58::status
