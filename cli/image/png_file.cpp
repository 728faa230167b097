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

namespace {

std::vector<uint8_t> RgbBytes(const Image& image) {
    std::vector<uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (uint32_t pixel : image.pixels) {
        rgb.push_back(static_cast<uint8_t>(pixel >> 16));
        rgb.push_back(static_cast<uint8_t>(pixel >> 8));
        rgb.push_back(static_cast<uint8_t>(pixel));
    }
    return rgb;
}

png_image PngHeader(const Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    return png;
}

}  // namespace

std::string EncodePng(const Image& image) {
    const std::vector<uint8_t> rgb = RgbBytes(image);
    png_image png = PngHeader(image);
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&png, nullptr, &size, 0, rgb.data(), 0, nullptr) == 0) {
        png_image_free(&png);
        throw Failure("cannot encode the picture as PNG");
    }
    std::string bytes(size, '\0');
    png = PngHeader(image);
    if (png_image_write_to_memory(&png, bytes.data(), &size, 0, rgb.data(), 0, nullptr) == 0) {
        png_image_free(&png);
        throw Failure("cannot encode the picture as PNG");
    }
    bytes.resize(size);
    return bytes;
}

void WritePng(const std::string& path, const Image& image) {
    const std::vector<uint8_t> rgb = RgbBytes(image);
    png_image png = PngHeader(image);
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

std::string EncodePng(const Image&) { throw Failure("this build has no PNG library"); }

#endif

}  // namespace tb58mon
