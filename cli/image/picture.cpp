#include "image/picture.h"

#include <Tb58Wk31Platform.h>

#include <algorithm>
#include <cstdio>

#include "base/cli_error.h"

namespace tb58mon {

std::string RopName(uint32_t rop) {
    switch (rop) {
        case TB58_ROP_SRCCOPY: return "SRCCOPY";
        case TB58_ROP_SRCAND: return "SRCAND";
        case TB58_ROP_SRCPAINT: return "SRCPAINT";
        default: break;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(rop));
    return hex;
}

Picture DrawLayers(const std::vector<Layer>& layers, const BitmapSource& source) {
    // The canvas is the main body's, widened to the left for units placed
    // at negative x.
    int64_t left = 0;
    std::vector<const Image*> images;
    for (const Layer& layer : layers) {
        images.push_back(&source(layer.name));
        left = std::min<int64_t>(left, layer.x);
    }
    // Positions come from the library's tables; a canvas beyond a few
    // thousand pixels means a broken description.
    constexpr int64_t kMaxWidth = 4096;
    if (kBodyWidth - left > kMaxWidth) throw Failure("the picture's layers span more than 4096 pixels");
    Picture picture;
    picture.origin_x = static_cast<int32_t>(-left);
    picture.origin_y = 0;
    Image& canvas = picture.image;
    canvas.width = static_cast<int32_t>(kBodyWidth - left);
    canvas.height = kBodyHeight;
    canvas.pixels.assign(static_cast<size_t>(canvas.width) * canvas.height, kBackground);

    for (size_t i = 0; i < layers.size(); ++i) {
        const Layer& layer = layers[i];
        const Image& image = *images[i];
        if (layer.rop != TB58_ROP_SRCCOPY && layer.rop != TB58_ROP_SRCAND && layer.rop != TB58_ROP_SRCPAINT) {
            throw Failure("layer " + layer.name + " has an unknown raster operation " + RopName(layer.rop));
        }
        // The part of the bitmap that lies on the canvas.
        const int64_t x0 = int64_t{layer.x} + picture.origin_x;
        const int64_t y0 = int64_t{layer.y} + picture.origin_y;
        const int64_t first_x = std::max<int64_t>(0, -x0);
        const int64_t first_y = std::max<int64_t>(0, -y0);
        const int64_t end_x = std::min<int64_t>(image.width, canvas.width - x0);
        const int64_t end_y = std::min<int64_t>(image.height, canvas.height - y0);
        if (first_x >= end_x || first_y >= end_y) continue;
        for (int64_t y = first_y; y < end_y; ++y) {
            uint32_t* row = &canvas.pixels[static_cast<size_t>((y0 + y) * canvas.width + x0)];
            const uint32_t* src = &image.pixels[static_cast<size_t>(y * image.width)];
            for (int64_t x = first_x; x < end_x; ++x) {
                switch (layer.rop) {
                    case TB58_ROP_SRCCOPY: row[x] = src[x]; break;
                    case TB58_ROP_SRCAND: row[x] &= src[x]; break;
                    default: row[x] |= src[x]; break;
                }
            }
        }
    }
    return picture;
}

const Image& ModuleBitmaps::Get(const std::string& name) {
    const auto found = loaded_.find(name);
    if (found != loaded_.end()) return found->second;
    return loaded_.emplace(name, LoadModuleBitmap(name)).first->second;
}

}  // namespace tb58mon
