// PNG files through libpng's simplified writer (8-bit RGB).  Builds without
// the PNG library compile the stub at the end: they write BMP files only.
#include <cstdint>
#include <vector>

#include "base/cli_error.h"
#include "image/image_files.h"

#ifdef TB58MON_HAVE_PNG
#include <png.h>
#endif

namespace tb58mon {

#ifdef TB58MON_HAVE_PNG

bool PngAvailable() { return true; }

void WritePng(const std::string& path, const Image& image) {
    std::vector<uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (uint32_t pixel : image.pixels) {
        rgb.push_back(static_cast<uint8_t>(pixel >> 16));
        rgb.push_back(static_cast<uint8_t>(pixel >> 8));
        rgb.push_back(static_cast<uint8_t>(pixel));
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr) == 0) {
        const std::string message = png.message;
        png_image_free(&png);
        throw Failure("cannot write " + path + ": " + message);
    }
}

#else

bool PngAvailable() { return false; }

void WritePng(const std::string& path, const Image&) {
    throw Failure("cannot write " + path + ": this build has no PNG library");
}

#endif

}  // namespace tb58mon
