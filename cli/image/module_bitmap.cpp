// Module bitmaps for the picture: PatLoadDIBitmap hands out the packed
// device-independent bitmap as it lies in the module (info header, colour
// table, RLE8 pixels), without its size; the size follows from the header.
// The pixels are decoded by the same decoder the library's platform layer
// uses.
#include <Tb58Wk31Platform.h>

#include <cstring>

#include "base/cli_error.h"
#include "library/library_calls.h"
#include "image/picture.h"
#include "platform/packed_dib.h"

namespace tb58mon {
namespace {

uint32_t Dword(const uint8_t* at) {
    uint32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;  // little-endian, as on every platform this program builds for
}

// The number of bytes of a packed DIB: header, colour table, pixel bits.
// 0 when the header does not say (an uncompressed bitmap whose image size
// field is 0 is measured by its rows).
size_t PackedDibSize(const uint8_t* dib) {
    const uint32_t header = Dword(dib);
    const auto width = static_cast<int32_t>(Dword(dib + 4));
    const auto height = static_cast<int32_t>(Dword(dib + 8));
    const uint32_t bits_per_pixel = Dword(dib + 12) >> 16;
    const uint32_t compression = Dword(dib + 16);
    uint64_t image = Dword(dib + 20);
    const uint32_t used = Dword(dib + 32);
    const uint64_t colours = used != 0 ? used : bits_per_pixel <= 8 ? (1u << bits_per_pixel) : 0;
    if (image == 0 && compression == tb58::platform::kDibRgb && width > 0) {
        const uint64_t rows = static_cast<uint64_t>(height < 0 ? -int64_t{height} : int64_t{height});
        image = ((uint64_t{bits_per_pixel} * static_cast<uint64_t>(width) + 31) / 32) * 4 * rows;
    }
    const uint64_t size = uint64_t{header} + colours * 4 + image;
    return size > (uint64_t{1} << 30) ? 0 : static_cast<size_t>(size);
}

}  // namespace

Image LoadModuleBitmap(const std::string& name) {
    const auto* dib = static_cast<const uint8_t*>(PatLoadDIBitmap(name.c_str()));
    if (dib == nullptr) throw CallFailed("PatLoadDIBitmap(\"" + name + "\")");
    const size_t size = PackedDibSize(dib);
    tb58::platform::DibLayout layout{};
    if (!tb58::platform::ReadDibLayout(dib, size, &layout)) {
        throw Failure("bitmap " + name + " from PatLoadDIBitmap is not a bitmap this program can decode");
    }
    Image image;
    image.width = layout.width;
    image.height = layout.height;
    image.pixels.resize(static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height));
    if (!tb58::platform::DecodeDibPixels(dib, size, layout, image.pixels.data())) {
        throw Failure("bitmap " + name + " from PatLoadDIBitmap has pixel data shorter than its header says");
    }
    return image;
}

}  // namespace tb58mon
