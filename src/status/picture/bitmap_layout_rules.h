// The configuration rules of the status picture: which trays and options
// change it, and how far the units behind an interposer or a Z-folding unit
// move.
#pragma once

#include <cstdint>

#include "Tb58Wk31Codes.h"
#include "status/picture/picture_layers.h"

namespace tb58::status {


// Fourth-tray rule: without Tray 4 the main body is drawn without it and
// the tray markers of the layers below are dropped; with it, those of the
// "without" layers are.
inline constexpr char kBodyWithoutFourthTray[] = "BM_BASE2";
inline constexpr uint8_t kTrayMarkersWithFourthTray[] = {kLayerTray1Marker, kLayerTray2Marker, kLayerTray3Marker};
inline constexpr uint8_t kTrayMarkersWithoutFourthTray[] = {kLayerTray1MarkerWithoutTray4, kLayerTray2MarkerWithoutTray4,
                                                           kLayerTray3MarkerWithoutTray4};

// Booklet rule: the finisher picture, whichever it was, becomes the one
// that joins the booklet processor.
inline constexpr char kFinisherBesideBookletProcessor[] = "BM_FIN5B";

// Offset rule: the widths by which the units left of the main body move
// when an interposer or a Z-folding unit stands between.
constexpr int32_t kInterposerWidth = 13;
constexpr int32_t kZFoldWidth = 30;

// A layer moves left by the interposer's width when by_interposer is set,
// plus the Z-folding unit's width when by_zfold is set.
struct LayerShift {
    uint8_t layer;
    bool by_interposer;
    bool by_zfold;
};

inline constexpr LayerShift kLayerShifts[] = {
    {kLayerInterposer, false, true},
    {kLayerFinisher, true, true},
    {kLayerInterposerCoverMarker, false, true},
    {kLayerInterposerTrayMarker, false, true},
    {kLayerFinisherCoverMarker, false, true},
    {kLayerFinisherMarker1, true, true},
    {kLayerFinisherMarker2, true, true},
    {kLayerFinisherMarker3, true, true},
    {kLayerFinisherMarker4, true, true},
    {kLayerFinisherMarker5, true, true},
    {kLayerBookletProcessor, true, false},
    {kLayerBookletProcessorMarker, true, false},
};

// Overlay rule: kLayerNormalOnly and kLayerAlternateOnly, each dropped for
// the other presentation.

}  // namespace tb58::status
