// The markers' shapes: a highlight frame around a part, an arrow, a ring.
#pragma once

#include "raster.h"

namespace bitmapgen {

// Three rings of orange around target: two outside it and one on its edge,
// so that the part itself looks lit.
void HighlightFrame(Canvas& canvas, Rect target);

enum class Direction { kLeft, kRight, kDownLeft };

// A bold arrow whose tip touches (tip_x, tip_y) (a pixel), pointing in
// direction, with a white halo.
void Arrow(Canvas& canvas, int tip_x, int tip_y, Direction direction, int length);

// A ring around the pixel (cx, cy).
void HighlightRing(Canvas& canvas, int cx, int cy, double outer_radius);

}  // namespace bitmapgen
