// The status picture drawn as a status monitor draws it: the layers of a
// BitmapInfo in array order on one RGB canvas, each with its raster
// operation (SRCCOPY copies, SRCAND and SRCPAINT combine bitwise per
// channel).  The layers place their pictures on the main body's 320 x 200
// canvas; units moved left of it (negative x) widen the canvas to the left,
// and what lies beyond the canvas's right or bottom edge is cut off (only
// the transparent margins of shifted pictures and markers reach there).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tb58mon {

// Pixels 0x00RRGGBB, top row first.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// One layer of a BitmapInfo, copied out of the library's description.
struct Layer {
    std::string name;
    int32_t x = 0;
    int32_t y = 0;
    uint32_t rop = 0;
    uint32_t layer = 0;
};

// The drawn picture and where the main body's origin lies on it.
struct Picture {
    Image image;
    int32_t origin_x = 0;
    int32_t origin_y = 0;
};

// The size of the main body picture, which the canvas always covers.
constexpr int32_t kBodyWidth = 320;
constexpr int32_t kBodyHeight = 200;

// The canvas colour where no layer has been drawn.
constexpr uint32_t kBackground = 0xFFFFFF;

using BitmapSource = std::function<const Image&(const std::string& name)>;

// Draws the layers in order; bitmaps come from source.  Throws CliError for
// a raster operation other than the three the library names.
Picture DrawLayers(const std::vector<Layer>& layers, const BitmapSource& source);

// "SRCCOPY", "SRCAND", "SRCPAINT", or the code in hexadecimal.
std::string RopName(uint32_t rop);

// A bitmap of the module, by name, from PatLoadDIBitmap; throws naming the
// call and its error when the module has no such bitmap.
Image LoadModuleBitmap(const std::string& name);

// Loads each module bitmap once; the references it hands out stay valid
// while it lives.
class ModuleBitmaps {
public:
    const Image& Get(const std::string& name);

private:
    std::map<std::string, Image> loaded_;
};

}  // namespace tb58mon
