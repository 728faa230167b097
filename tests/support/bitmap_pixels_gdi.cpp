// Windows: the pixels of a screen bitmap, asked from GDI as a 32-bit
// top-down DIB.
#include <windows.h>

#include "support/bitmap_pixels.h"

namespace tb58::test {

BitmapPixels ReadBitmapPixels(void* bitmap) {
    BitmapPixels out;
    BITMAP description{};
    if (GetObjectA(bitmap, sizeof description, &description) != sizeof description) return out;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = description.bmWidth;
    format.bmiHeader.biHeight = -description.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(description.bmWidth) * description.bmHeight);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, static_cast<HBITMAP>(bitmap), 0, static_cast<UINT>(description.bmHeight),
                               pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != description.bmHeight) return out;
    for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;
    out.width = description.bmWidth;
    out.height = description.bmHeight;
    out.pixels = std::move(pixels);
    return out;
}

}  // namespace tb58::test
