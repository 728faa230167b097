// The drawing of every picture.  Each function draws one unit or marker in
// composite coordinates onto a canvas whose origin is the position the
// composition tables give it.
#pragma once

#include "raster.h"

namespace bitmapgen {

// Main body: the whole canvas, background and floor included.
void DrawMainBody(Canvas& canvas, bool fourth_tray);

// Options.
void DrawLct(Canvas& canvas);
void DrawInterposer(Canvas& canvas, int dx);
void DrawCopyTray(Canvas& canvas);
void DrawMailbox(Canvas& canvas);
void DrawZFold(Canvas& canvas);

// Finishers (device 21, 38, 115, 114); with_bridge draws the variant that
// joins the booklet processor.
void DrawFinisher21(Canvas& canvas, bool with_bridge);
void DrawFinisher38(Canvas& canvas, bool with_bridge);
void DrawFinisher115(Canvas& canvas, bool with_bridge);
void DrawFinisher114(Canvas& canvas, bool with_bridge);
void DrawFinisherBesideBookletProcessor(Canvas& canvas);
void DrawBookletProcessor(Canvas& canvas);

// Whole-picture overlays.
void DrawCaution(Canvas& canvas);
void DrawService(Canvas& canvas);
void DrawPowerOff(Canvas& canvas);

// Markers: number 1 to 29.
void DrawMarker(Canvas& canvas, int number);

}  // namespace bitmapgen
