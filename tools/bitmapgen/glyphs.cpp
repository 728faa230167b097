#include "glyphs.h"

#include <cmath>

namespace bitmapgen {
namespace {

Rect Grown(Rect r, int by) { return {r.x0 - by, r.y0 - by, r.x1 + by, r.y1 + by}; }

// The pixels of region and every pixel next to one of them.
Region Halo(Region region) {
    return [region](double x, double y) {
        return region(x, y) || region(x - 1, y) || region(x + 1, y) || region(x, y - 1) || region(x, y + 1);
    };
}

}  // namespace

void HighlightFrame(Canvas& canvas, Rect target) {
    const Colour rings[] = {kMarkerDark, kMarker, kMarkerLight};
    for (int ring = 0; ring < 3; ++ring) {
        const Rect outer = Grown(target, 2 - ring);
        const Rect inner = Grown(target, 1 - ring);
        const Region outer_region = RectRegion(outer, 3 - ring);
        const Region inner_region = RectRegion(inner, 2 - ring > 0 ? 2 - ring : 0);
        Paint(canvas, outer, [&](double x, double y) { return outer_region(x, y) && !inner_region(x, y); },
              rings[ring]);
    }
}

void Arrow(Canvas& canvas, int tip_x, int tip_y, Direction direction, int length) {
    // The arrow pointing left with its tip at the origin, in pixel-corner
    // units: head 11 long and 13 high, shaft 5 high.
    const double head = 11, half_head = 6.5, half_shaft = 2.5;
    const std::vector<Point> left = {{0, 0},
                                     {head, -half_head},
                                     {head, -half_shaft},
                                     {double(length), -half_shaft},
                                     {double(length), half_shaft},
                                     {head, half_shaft},
                                     {head, half_head}};
    std::vector<Point> points;
    const double cx = tip_x + 0.5, cy = tip_y + 0.5;
    for (const Point& p : left) {
        switch (direction) {
            case Direction::kLeft: points.push_back({cx + p.x, cy + p.y}); break;
            case Direction::kRight: points.push_back({cx - p.x, cy + p.y}); break;
            case Direction::kDownLeft: {
                // Rotated so that it comes from the upper right.
                const double c = std::sqrt(0.5);
                points.push_back({cx + c * (p.x - p.y), cy - c * (p.x + p.y)});
                break;
            }
        }
    }
    const Rect bounds{tip_x - length - 2, tip_y - length - 2, tip_x + length + 2, tip_y + length + 2};
    const Region shape = PolygonRegion(points);
    Paint(canvas, bounds, Halo(shape), kWhite);
    Paint(canvas, bounds, shape, kMarker, kMarkerDark);
}

void HighlightRing(Canvas& canvas, int cx, int cy, double outer_radius) {
    const double x = cx + 0.5, y = cy + 0.5;
    const Rect bounds{cx - int(outer_radius) - 2, cy - int(outer_radius) - 2, cx + int(outer_radius) + 2,
                      cy + int(outer_radius) + 2};
    Paint(canvas, bounds, Halo(RingRegion(x, y, outer_radius, outer_radius - 4)), kWhite);
    Paint(canvas, bounds, RingRegion(x, y, outer_radius, outer_radius - 4), kMarker, kMarkerDark);
}

}  // namespace bitmapgen
