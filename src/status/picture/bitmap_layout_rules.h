// The configuration rules of the status picture: which trays and options
// change it, and how far the units behind an interposer or a Z-folding unit
// move.
#pragma once

#include <cstdint>

namespace tb58::status {

constexpr uint16_t kFourthTrayId = 6;           // tray identifier of Tray 4 in pTrayInfo
constexpr uint16_t kBookletProcessorDevice = 22;
constexpr uint16_t kInterposerDevice = 41;
constexpr uint16_t kZFoldDevice = 113;

// Fourth-tray rule: without Tray 4 the main body is drawn without it and
// the tray markers of the layers below are dropped; with it, those of the
// "without" layers are.
inline constexpr char kBodyWithoutFourthTray[] = "BM_BASE2";
constexpr uint8_t kMainBodyLayer = 1;
inline constexpr uint8_t kTrayMarkersWithFourthTray[] = {108, 110, 112};
inline constexpr uint8_t kTrayMarkersWithoutFourthTray[] = {208, 210, 212};

// Booklet rule: the finisher picture, whichever it was, becomes the one
// that joins the booklet processor.
inline constexpr char kFinisherBesideBookletProcessor[] = "BM_FIN5B";
constexpr uint8_t kFinisherLayer = 60;

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
    {20, false, true},   // interposer
    {60, true, true},    // finisher
    {120, false, true},  // interposer cover marker
    {122, false, true},  // interposer tray and copy tray markers
    {152, false, true},  // finisher cover marker placed beside the interposer
    {154, true, true},   // finisher markers
    {156, true, true},
    {158, true, true},
    {160, true, true},
    {162, true, true},
    {70, true, false},   // booklet processor
    {180, true, false},  // booklet processor marker
};

// Overlay rule: the layer kept for one presentation and dropped for the other.
constexpr uint8_t kNormalOnlyLayer = 246;
constexpr uint8_t kAlternateOnlyLayer = 248;

}  // namespace tb58::status
