#include "platform/packed_dib.h"

#include <cstring>

namespace tb58::platform {
namespace {

constexpr uint32_t kInfoHeaderSize = 40;

uint16_t Word(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

uint32_t Dword(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

// A colour table entry (blue, green, red, reserved) as 0x00RRGGBB.
uint32_t Colour(const uint8_t* entry) {
    return static_cast<uint32_t>(entry[0]) | (static_cast<uint32_t>(entry[1]) << 8) |
           (static_cast<uint32_t>(entry[2]) << 16);
}

// Writes count pixels of colour at row y (counted from the bottom), from
// column x on, clipped to the bitmap.
void PutRun(uint32_t* out, const DibLayout& layout, int64_t x, int64_t y, int64_t count, uint32_t colour) {
    if (y < 0 || y >= layout.height || x >= layout.width) return;
    uint32_t* row = out + static_cast<size_t>(layout.height - 1 - y) * static_cast<size_t>(layout.width);
    const int64_t end = x + count < layout.width ? x + count : layout.width;
    for (int64_t i = x < 0 ? 0 : x; i < end; ++i) row[i] = colour;
}

void DecodeRle8(const uint8_t* data, size_t size, const DibLayout& layout, const uint32_t* colours,
                uint32_t* out) {
    auto colour_of = [&](uint8_t index) { return index < layout.colours ? colours[index] : 0u; };
    size_t at = layout.bits;
    int64_t x = 0;
    int64_t y = 0;
    while (at + 2 <= size && y < layout.height) {
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count != 0) {  // a run of one colour
            PutRun(out, layout, x, y, count, colour_of(value));
            x += count;
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                ++y;
                break;
            case 1:  // end of bitmap
                return;
            case 2:  // move right and up
                if (at + 2 > size) return;
                x += data[at];
                y += data[at + 1];
                at += 2;
                break;
            default: {  // value literal pixels, padded to a 16-bit boundary
                const size_t padded = (static_cast<size_t>(value) + 1) & ~size_t{1};
                if (at + value > size) return;
                for (uint8_t i = 0; i < value; ++i) PutRun(out, layout, x + i, y, 1, colour_of(data[at + i]));
                x += value;
                at += padded;
                break;
            }
        }
    }
}

bool DecodeUncompressed(const uint8_t* data, size_t size, const DibLayout& layout, const uint32_t* colours,
                        uint32_t* out) {
    const uint64_t stride = ((uint64_t{layout.bits_per_pixel} * static_cast<uint64_t>(layout.width) + 31) / 32) * 4;
    if (layout.bits > size || stride * static_cast<uint64_t>(layout.height) > size - layout.bits) return false;
    const size_t bytes_per_pixel = layout.bits_per_pixel / 8;
    for (int32_t stored = 0; stored < layout.height; ++stored) {
        const uint8_t* row = data + layout.bits + static_cast<size_t>(stored) * stride;
        const int32_t y = layout.top_down ? stored : layout.height - 1 - stored;
        uint32_t* target = out + static_cast<size_t>(y) * static_cast<size_t>(layout.width);
        for (int32_t x = 0; x < layout.width; ++x) {
            const uint8_t* pixel = row + static_cast<size_t>(x) * bytes_per_pixel;
            if (layout.bits_per_pixel == 8) {
                target[x] = *pixel < layout.colours ? colours[*pixel] : 0u;
            } else {
                target[x] = Colour(pixel);
            }
        }
    }
    return true;
}

}  // namespace

bool ReadDibLayout(const uint8_t* data, size_t size, DibLayout* out) {
    if (data == nullptr || size < kInfoHeaderSize) return false;
    const uint32_t header_size = Dword(data);
    if (header_size < kInfoHeaderSize || header_size > size) return false;
    const auto width = static_cast<int32_t>(Dword(data + 4));
    const auto height = static_cast<int32_t>(Dword(data + 8));
    const uint16_t planes = Word(data + 12);
    const uint16_t bits_per_pixel = Word(data + 14);
    const uint32_t compression = Dword(data + 16);
    const uint32_t colours_used = Dword(data + 32);
    if (planes != 1 || width <= 0 || height == 0 || height == INT32_MIN) return false;
    DibLayout layout{};
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    layout.top_down = height < 0;
    layout.bits_per_pixel = bits_per_pixel;
    layout.compression = compression;
    if (uint64_t{static_cast<uint32_t>(layout.width)} * static_cast<uint32_t>(layout.height) > kMaxDibPixels) {
        return false;
    }
    if (bits_per_pixel == 8) {
        if (compression != kDibRgb && compression != kDibRle8) return false;
        if (compression == kDibRle8 && layout.top_down) return false;  // compressed bitmaps are bottom-up
        if (colours_used > 256) return false;
        layout.colours = colours_used == 0 ? 256 : colours_used;
    } else if (bits_per_pixel == 24 || bits_per_pixel == 32) {
        if (compression != kDibRgb) return false;
        layout.colours = colours_used;  // an optional table that the pixels do not use
        if (layout.colours > 256) return false;
    } else {
        return false;
    }
    layout.colour_table = header_size;
    layout.bits = header_size + size_t{layout.colours} * 4;
    if (layout.bits > size) return false;
    *out = layout;
    return true;
}

bool DecodeDibPixels(const uint8_t* data, size_t size, const DibLayout& layout, uint32_t* out) {
    uint32_t colours[256] = {};
    for (uint32_t i = 0; i < layout.colours && i < 256; ++i) colours[i] = Colour(data + layout.colour_table + i * 4);
    std::memset(out, 0, static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height) * sizeof(uint32_t));
    if (layout.compression == kDibRle8) {
        DecodeRle8(data, size, layout, colours, out);
        return true;
    }
    return DecodeUncompressed(data, size, layout, colours, out);
}

}  // namespace tb58::platform
