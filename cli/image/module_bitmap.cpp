// Module bitmaps for the picture: PatLoadDIBitmap hands out the packed
// device-independent bitmap as it lies in the module (info header, colour
// table, RLE8 pixels), without its size; the size follows from the header.
// The pixels are decoded by the caller kit's decoder (Tb58Wk31Dib.hpp).
#include <Tb58Wk31Dib.hpp>
#include <Tb58Wk31Platform.h>

#include "base/cli_error.h"
#include "library/library_calls.h"
#include "image/picture.h"

namespace tb58mon {

Image LoadModuleBitmap(const std::string& name) {
    const auto* dib = static_cast<const uint8_t*>(PatLoadDIBitmap(name.c_str()));
    if (dib == nullptr) throw CallFailed("PatLoadDIBitmap(\"" + name + "\")");
    const size_t size = tb58dib::PackedDibSize(dib);
    tb58dib::DibLayout layout{};
    if (!tb58dib::ReadDibLayout(dib, size, &layout)) {
        throw Failure("bitmap " + name + " from PatLoadDIBitmap is not a bitmap this program can decode");
    }
    Image image;
    image.width = layout.width;
    image.height = layout.height;
    image.pixels.resize(static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height));
    if (!tb58dib::DecodeDibPixels(dib, size, layout, image.pixels.data())) {
        throw Failure("bitmap " + name + " from PatLoadDIBitmap has pixel data shorter than its header says");
    }
    return image;
}

}  // namespace tb58mon
