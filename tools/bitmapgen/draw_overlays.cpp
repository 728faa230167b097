// Whole-picture overlays: a symbol in the free top-right corner of the
// canvas, and for power-off a dimming of the whole picture.
#include <cmath>

#include "pictures.h"
#include "scene.h"

namespace bitmapgen {

using namespace scene;

namespace {

constexpr double kBadgeX = 292.5;  // the symbols' centre
constexpr double kBadgeY = 30.5;

Region Grow(const Region& region) {
    return [region](double x, double y) {
        return region(x, y) || region(x - 1, y) || region(x + 1, y) || region(x, y - 1) || region(x, y + 1);
    };
}

// A bar of the given half-width from (x0, y0) to (x1, y1).
Region Bar(double x0, double y0, double x1, double y1, double half_width) {
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
        if (t < 0 || t > 1) return false;
        const double px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= half_width * half_width;
    };
}

const Rect kBadgeBounds{262, 0, 319, 60};

}  // namespace

void DrawCaution(Canvas& canvas) {
    const Region triangle = PolygonRegion({{kBadgeX, 5}, {kBadgeX + 26, 51}, {kBadgeX - 26, 51}});
    Paint(canvas, kBadgeBounds, Grow(Grow(triangle)), kWhite);
    Paint(canvas, kBadgeBounds, Grow(triangle), kSymbolDark);
    Paint(canvas, kBadgeBounds, triangle, kCaution, kCaution);
    // The exclamation mark.
    Paint(canvas, kBadgeBounds, Bar(kBadgeX, 21, kBadgeX, 36, 2.5), kSymbolDark);
    Disc(canvas, kBadgeX, 43, 2.6, kSymbolDark, kSymbolDark);
}

void DrawService(Canvas& canvas) {
    const Region disc = DiscRegion(kBadgeX, kBadgeY, 23);
    Paint(canvas, kBadgeBounds, Grow(disc), kWhite);
    Paint(canvas, kBadgeBounds, disc, kService, kServiceDark);
    // A spanner: the handle, and the head with its open jaw.
    const Region handle = Bar(kBadgeX - 11, kBadgeY + 11, kBadgeX + 3, kBadgeY - 3, 3.2);
    const Region head = DiscRegion(kBadgeX + 6, kBadgeY - 6, 8);
    const Region jaw = [](double x, double y) {
        // a slot cut into the head from its upper right
        const double u = (x - (kBadgeX + 6)) + (y - (kBadgeY - 6));     // across the slot
        const double v = (x - (kBadgeX + 6)) - (y - (kBadgeY - 6));     // along the slot, outwards
        return std::fabs(u) <= 4.2 && v >= -1;
    };
    Paint(canvas, kBadgeBounds, [&](double x, double y) { return (handle(x, y) || head(x, y)) && !jaw(x, y); },
          kWhite);
}

void DrawPowerOff(Canvas& canvas) {
    // The dimming: every other pixel in a checkerboard over the machine's
    // rows, so that everything shows through at half strength.
    for (int y = 0; y < kCanvasHeight; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
            if ((x + y) % 2 == 0) canvas.Set(x, y, kDim);
        }
    }
    const Region disc = DiscRegion(kBadgeX, kBadgeY, 23);
    Paint(canvas, kBadgeBounds, Grow(disc), kWhite);
    Paint(canvas, kBadgeBounds, disc, kDim, kSymbolDark);
    // The power symbol: a ring open at the top, and a bar through the gap.
    const Region ring = [](double x, double y) {
        const double dx = x - kBadgeX, dy = y - (kBadgeY + 2);
        const double d = dx * dx + dy * dy;
        return d <= 13.5 * 13.5 && d >= 9.5 * 9.5 && !(dy < 0 && std::fabs(dx) < 6.5);
    };
    Paint(canvas, kBadgeBounds, ring, kWhite);
    Paint(canvas, kBadgeBounds, Bar(kBadgeX, kBadgeY - 15, kBadgeX, kBadgeY + 1, 2.2), kWhite);
}

}  // namespace bitmapgen
