// A picture under construction: colour indices and, for every pixel, whether
// the picture covers it.  Drawing takes coordinates of the composite canvas
// (the main body picture's 320 x 200); the canvas's origin says where its
// own top-left pixel lies there.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "palette.h"

namespace bitmapgen {

// Pixels x0..x1, y0..y1, inclusive.
struct Rect {
    int x0, y0, x1, y1;
};

// A vertex on pixel corners: (x, y) is the top-left corner of pixel (x, y).
struct Point {
    double x, y;
};

class Canvas {
public:
    Canvas(int width, int height, int origin_x, int origin_y);

    int width() const { return width_; }
    int height() const { return height_; }
    int origin_x() const { return origin_x_; }
    int origin_y() const { return origin_y_; }

    // Paints one pixel (composite coordinates); outside the canvas it is dropped.
    void Set(int x, int y, Colour colour);
    bool Covered(int x, int y) const;
    Colour At(int x, int y) const;

    // The colour of pixel (column, row) of the canvas itself, and whether
    // the picture covers it.
    Colour Pixel(int column, int row) const { return static_cast<Colour>(index_[Offset(column, row)]); }
    bool Opaque(int column, int row) const { return opaque_[Offset(column, row)] != 0; }

    // The smallest rectangle of covered pixels, in canvas coordinates;
    // x1 < x0 when nothing is covered.
    Rect CoveredBounds() const;

private:
    size_t Offset(int column, int row) const { return static_cast<size_t>(row) * width_ + column; }
    int width_, height_, origin_x_, origin_y_;
    std::vector<uint8_t> index_;
    std::vector<uint8_t> opaque_;
};

// A region: whether the pixel whose centre is (x, y) lies inside.
using Region = std::function<bool(double x, double y)>;

Region RectRegion(Rect r, int radius = 0);
Region PolygonRegion(std::vector<Point> points);
Region DiscRegion(double cx, double cy, double r);
Region RingRegion(double cx, double cy, double outer, double inner);

// Paints the pixels of region within bounds: those on its edge (a
// 4-neighbour lies outside) in outline, the others in fill.  An outline of
// kBlack paints the edge in fill as well.
void Paint(Canvas& canvas, Rect bounds, const Region& region, Colour fill, Colour outline = kBlack);

void FillRect(Canvas& canvas, Rect r, Colour colour);
// An outlined panel with rounded corners.
void Panel(Canvas& canvas, Rect r, Colour fill, Colour outline = kOutline, int radius = 0);
void Polygon(Canvas& canvas, const std::vector<Point>& points, Colour fill, Colour outline = kOutline);
void Disc(Canvas& canvas, double cx, double cy, double r, Colour fill, Colour outline = kOutline);
void HLine(Canvas& canvas, int x0, int x1, int y, Colour colour);
void VLine(Canvas& canvas, int x, int y0, int y1, Colour colour);

}  // namespace bitmapgen
