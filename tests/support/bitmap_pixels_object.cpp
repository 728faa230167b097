// Systems other than Windows: the library's bitmap objects carry their
// 32-bit pixels, top row first, in their BITMAP.
#include <cstring>

#include "Tb58Wk31Platform.h"
#include "support/bitmap_pixels.h"

namespace tb58::test {

BitmapPixels ReadBitmapPixels(void* bitmap) {
    BitmapPixels out;
    BITMAP description{};
    if (GetObjectA(bitmap, sizeof description, &description) != sizeof description || description.bmBits == nullptr ||
        description.bmBitsPixel != 32) {
        return out;
    }
    out.width = description.bmWidth;
    out.height = description.bmHeight;
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    for (int32_t row = 0; row < out.height; ++row) {
        std::memcpy(out.pixels.data() + static_cast<size_t>(row) * out.width,
                    static_cast<const char*>(description.bmBits) + static_cast<size_t>(row) * description.bmWidthBytes,
                    static_cast<size_t>(out.width) * sizeof(uint32_t));
    }
    for (uint32_t& pixel : out.pixels) pixel &= 0x00FFFFFFu;
    return out;
}

}  // namespace tb58::test
