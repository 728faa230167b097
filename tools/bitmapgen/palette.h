// The colours of the status pictures.  Every picture carries this colour
// table; masks carry black and white only.  Index 0 is black: a picture is
// black wherever its mask is transparent.
#pragma once

#include <cstdint>

namespace bitmapgen {

struct Rgb {
    uint8_t r, g, b;
};

enum Colour : uint8_t {
    kBlack = 0,
    kWhite,
    kOutline,        // edges of every part
    kBody,           // cabinets
    kBodyShade,      // recessed panels, lower bands
    kBodyDark,       // plinths, seams
    kTrim,           // hinges, brackets
    kAccent,         // the family's blue stripe
    kAccentLight,    // displays
    kPaper,
    kPaperEdge,
    kGlass,          // openings, the contact glass
    kFloor,
    kFloorShadow,
    kHandle,
    kMarker,         // the markers' orange
    kMarkerDark,
    kMarkerLight,
    kCaution,        // caution yellow
    kSymbolDark,     // symbols drawn on yellow or white
    kService,        // service red
    kServiceDark,
    kDim,            // the power-off dimming
    kLed,            // a lit lamp
    kTonerYellow,
    kTonerMagenta,
    kTonerCyan,
    kTonerBlack,
    kColourCount
};

inline constexpr Rgb kPalette[kColourCount] = {
    {0, 0, 0},        // kBlack
    {255, 255, 255},  // kWhite
    {72, 80, 92},     // kOutline
    {236, 238, 242},  // kBody
    {214, 219, 226},  // kBodyShade
    {182, 189, 199},  // kBodyDark
    {150, 158, 170},  // kTrim
    {38, 104, 184},   // kAccent
    {168, 206, 240},  // kAccentLight
    {254, 254, 250},  // kPaper
    {206, 206, 196},  // kPaperEdge
    {92, 108, 128},   // kGlass
    {242, 243, 246},  // kFloor
    {214, 217, 223},  // kFloorShadow
    {104, 112, 124},  // kHandle
    {255, 132, 0},    // kMarker
    {200, 62, 0},     // kMarkerDark
    {255, 214, 128},  // kMarkerLight
    {255, 202, 0},    // kCaution
    {40, 40, 44},     // kSymbolDark
    {214, 40, 36},    // kService
    {138, 18, 16},    // kServiceDark
    {70, 74, 82},     // kDim
    {52, 190, 96},    // kLed
    {248, 208, 32},   // kTonerYellow
    {212, 36, 120},   // kTonerMagenta
    {0, 158, 222},    // kTonerCyan
    {44, 44, 48},     // kTonerBlack
};

}  // namespace bitmapgen
