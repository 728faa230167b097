// BMP files: a 14-byte file header, a 40-byte info header and 24-bit pixels
// (blue, green, red), bottom row first, each row padded to 4 bytes.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/cli_error.h"
#include "image/image_files.h"

namespace tb58mon {
namespace {

void Put16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::string EncodeBmp(const Image& image) {
    const uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t bits = stride * static_cast<uint32_t>(image.height);
    constexpr uint32_t kHeaders = 14 + 40;
    std::string out;
    out.reserve(kHeaders + bits);
    out.push_back('B');
    out.push_back('M');
    Put32(out, kHeaders + bits);  // file size
    Put32(out, 0);                // reserved
    Put32(out, kHeaders);         // offset of the pixels
    Put32(out, 40);               // info header size
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height));  // positive: bottom row first
    Put16(out, 1);                // planes
    Put16(out, 24);               // bits per pixel
    Put32(out, 0);                // no compression
    Put32(out, bits);
    Put32(out, 2835);             // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int32_t y = image.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < image.width; ++x) {
            const uint32_t pixel = image.At(x, y);
            out.push_back(static_cast<char>(pixel & 0xFF));
            out.push_back(static_cast<char>((pixel >> 8) & 0xFF));
            out.push_back(static_cast<char>((pixel >> 16) & 0xFF));
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < stride; ++pad) out.push_back('\0');
    }
    return out;
}

void WriteBmp(const std::string& path, const Image& image) {
    const std::string out = EncodeBmp(image);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw Failure("cannot write " + path + ": " + std::strerror(errno));
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) throw Failure("cannot write " + path + ": " + std::strerror(errno));
}

}  // namespace tb58mon
