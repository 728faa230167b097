#include "raster.h"

#include <algorithm>
#include <cmath>

namespace bitmapgen {

Canvas::Canvas(int width, int height, int origin_x, int origin_y)
    : width_(width), height_(height), origin_x_(origin_x), origin_y_(origin_y),
      index_(static_cast<size_t>(width) * height, kBlack), opaque_(static_cast<size_t>(width) * height, 0) {}

void Canvas::Set(int x, int y, Colour colour) {
    const int column = x - origin_x_;
    const int row = y - origin_y_;
    if (column < 0 || row < 0 || column >= width_ || row >= height_) return;
    index_[Offset(column, row)] = colour;
    opaque_[Offset(column, row)] = 1;
}

bool Canvas::Covered(int x, int y) const {
    const int column = x - origin_x_;
    const int row = y - origin_y_;
    if (column < 0 || row < 0 || column >= width_ || row >= height_) return false;
    return opaque_[Offset(column, row)] != 0;
}

Colour Canvas::At(int x, int y) const {
    const int column = x - origin_x_;
    const int row = y - origin_y_;
    if (column < 0 || row < 0 || column >= width_ || row >= height_) return kBlack;
    return static_cast<Colour>(index_[Offset(column, row)]);
}

Rect Canvas::CoveredBounds() const {
    Rect bounds{width_, height_, -1, -1};
    for (int row = 0; row < height_; ++row) {
        for (int column = 0; column < width_; ++column) {
            if (!Opaque(column, row)) continue;
            bounds.x0 = std::min(bounds.x0, column);
            bounds.y0 = std::min(bounds.y0, row);
            bounds.x1 = std::max(bounds.x1, column);
            bounds.y1 = std::max(bounds.y1, row);
        }
    }
    return bounds;
}

Region RectRegion(Rect r, int radius) {
    return [r, radius](double x, double y) {
        if (x < r.x0 || x > r.x1 + 1 || y < r.y0 || y > r.y1 + 1) return false;
        if (radius <= 0) return true;
        // Corners are quarter circles of the given radius.
        const double left = r.x0 + radius;
        const double right = r.x1 + 1 - radius;
        const double top = r.y0 + radius;
        const double bottom = r.y1 + 1 - radius;
        const double cx = x < left ? left : (x > right ? right : x);
        const double cy = y < top ? top : (y > bottom ? bottom : y);
        const double dx = x - cx;
        const double dy = y - cy;
        return dx * dx + dy * dy <= double(radius) * radius;
    };
}

Region PolygonRegion(std::vector<Point> points) {
    return [points = std::move(points)](double x, double y) {
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            if ((a.y > y) != (b.y > y)) {
                const double cross = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
                // x lies left of the edge a-b at height y
                if ((b.y > a.y) ? cross > 0 : cross < 0) inside = !inside;
            }
        }
        return inside;
    };
}

Region DiscRegion(double cx, double cy, double r) {
    return [cx, cy, r](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Region RingRegion(double cx, double cy, double outer, double inner) {
    return [cx, cy, outer, inner](double x, double y) {
        const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d <= outer * outer && d > inner * inner;
    };
}

void Paint(Canvas& canvas, Rect bounds, const Region& region, Colour fill, Colour outline) {
    auto in = [&](int x, int y) { return region(x + 0.5, y + 0.5); };
    for (int y = bounds.y0; y <= bounds.y1; ++y) {
        for (int x = bounds.x0; x <= bounds.x1; ++x) {
            if (!in(x, y)) continue;
            const bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
            canvas.Set(x, y, edge && outline != kBlack ? outline : fill);
        }
    }
}

void FillRect(Canvas& canvas, Rect r, Colour colour) {
    for (int y = r.y0; y <= r.y1; ++y) {
        for (int x = r.x0; x <= r.x1; ++x) canvas.Set(x, y, colour);
    }
}

void Panel(Canvas& canvas, Rect r, Colour fill, Colour outline, int radius) {
    Paint(canvas, r, RectRegion(r, radius), fill, outline);
}

void Polygon(Canvas& canvas, const std::vector<Point>& points, Colour fill, Colour outline) {
    double x0 = points[0].x, x1 = points[0].x, y0 = points[0].y, y1 = points[0].y;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    const Rect bounds{static_cast<int>(std::floor(x0)) - 1, static_cast<int>(std::floor(y0)) - 1,
                      static_cast<int>(std::ceil(x1)) + 1, static_cast<int>(std::ceil(y1)) + 1};
    Paint(canvas, bounds, PolygonRegion(points), fill, outline);
}

void Disc(Canvas& canvas, double cx, double cy, double r, Colour fill, Colour outline) {
    const Rect bounds{static_cast<int>(std::floor(cx - r)) - 1, static_cast<int>(std::floor(cy - r)) - 1,
                      static_cast<int>(std::ceil(cx + r)) + 1, static_cast<int>(std::ceil(cy + r)) + 1};
    Paint(canvas, bounds, DiscRegion(cx, cy, r), fill, outline);
}

void HLine(Canvas& canvas, int x0, int x1, int y, Colour colour) { FillRect(canvas, {x0, y, x1, y}, colour); }

void VLine(Canvas& canvas, int x, int y0, int y1, Colour colour) { FillRect(canvas, {x, y0, x, y1}, colour); }

}  // namespace bitmapgen
