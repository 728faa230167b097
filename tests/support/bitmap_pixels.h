// The pixels of a bitmap handle made by PatLoadBitmap or LoadBitmapA, read
// the way a caller reads them: through GDI on Windows, through the
// handle's BITMAP elsewhere.
#pragma once

#include <cstdint>
#include <vector>

namespace tb58::test {

struct BitmapPixels {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // top row first, each 0x00RRGGBB; empty when unreadable
};

BitmapPixels ReadBitmapPixels(void* bitmap);

}  // namespace tb58::test
