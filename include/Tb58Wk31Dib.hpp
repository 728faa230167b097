/*
 * Decoding the packed device-independent bitmaps the library hands out
 * (PatLoadDIBitmap: info header, colour table, pixel bits, as the module's
 * RT_BITMAP resource holds them) into 32-bit pixels, header-only, for
 * callers that draw the status picture themselves:
 *
 *   const void* dib = PatLoadDIBitmap("BM_BASE1");
 *   const size_t size = tb58dib::PackedDibSize(dib);
 *   tb58dib::DibLayout layout;
 *   if (dib != nullptr && tb58dib::ReadDibLayout(static_cast<const uint8_t*>(dib), size, &layout)) {
 *       std::vector<uint32_t> pixels(size_t(layout.width) * size_t(layout.height));
 *       tb58dib::DecodeDibPixels(static_cast<const uint8_t*>(dib), size, layout, pixels.data());
 *   }
 *
 * The library's own bitmap services on Linux decode with the same code.
 */
#ifndef TB58WK31_DIB_HPP
#define TB58WK31_DIB_HPP

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tb58dib {

// What the decoder needs from the header, checked against the data size.
struct DibLayout {
    int32_t width;             // pixels, > 0
    int32_t height;            // pixels, > 0
    bool top_down;             // rows stored top row first (uncompressed only)
    uint16_t bits_per_pixel;   // 8, 24 or 32
    uint32_t compression;      // kDibRgb or kDibRle8
    uint32_t colours;          // entries of the colour table
    size_t colour_table;       // offset of the colour table
    size_t bits;               // offset of the pixel bits
};

constexpr uint32_t kDibRgb = 0;
constexpr uint32_t kDibRle8 = 1;

// The largest bitmap decoded (in pixels), so that sizes never overflow.
constexpr uint64_t kMaxDibPixels = 1u << 24;

namespace detail {

constexpr uint32_t kInfoHeaderSize = 40;

inline uint16_t Word(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

inline uint32_t Dword(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

// A colour table entry (blue, green, red, reserved) as 0x00RRGGBB.
inline uint32_t Colour(const uint8_t* entry) {
    return static_cast<uint32_t>(entry[0]) | (static_cast<uint32_t>(entry[1]) << 8) |
           (static_cast<uint32_t>(entry[2]) << 16);
}

// Writes count pixels of colour at row y (counted from the bottom), from
// column x on, clipped to the bitmap.
inline void PutRun(uint32_t* out, const DibLayout& layout, int64_t x, int64_t y, int64_t count, uint32_t colour) {
    if (y < 0 || y >= layout.height || x >= layout.width) return;
    uint32_t* row = out + static_cast<size_t>(layout.height - 1 - y) * static_cast<size_t>(layout.width);
    const int64_t end = x + count < layout.width ? x + count : layout.width;
    for (int64_t i = x < 0 ? 0 : x; i < end; ++i) row[i] = colour;
}

inline void DecodeRle8(const uint8_t* data, size_t size, const DibLayout& layout, const uint32_t* colours,
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

inline bool DecodeUncompressed(const uint8_t* data, size_t size, const DibLayout& layout, const uint32_t* colours,
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

}  // namespace detail

// Reads and checks the header of a packed DIB of size bytes.  Supported:
// a BITMAPINFOHEADER (or a larger header version) with one plane and 8 bits
// per pixel uncompressed or RLE8, or 24 or 32 bits uncompressed.  False for
// anything else, or when the header or colour table does not lie within
// size bytes.
inline bool ReadDibLayout(const uint8_t* data, size_t size, DibLayout* out) {
    if (data == nullptr || size < detail::kInfoHeaderSize) return false;
    const uint32_t header_size = detail::Dword(data);
    if (header_size < detail::kInfoHeaderSize || header_size > size) return false;
    const auto width = static_cast<int32_t>(detail::Dword(data + 4));
    const auto height = static_cast<int32_t>(detail::Dword(data + 8));
    const uint16_t planes = detail::Word(data + 12);
    const uint16_t bits_per_pixel = detail::Word(data + 14);
    const uint32_t compression = detail::Dword(data + 16);
    const uint32_t colours_used = detail::Dword(data + 32);
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

// Decodes the pixels into out (width * height values, top row first), each
// 0x00RRGGBB.  Pixels that RLE8 data skips (delta moves, early line or
// bitmap ends) stay black, as do colour indices beyond the colour table.
// Never reads past size bytes nor writes past the width * height values.
// False when the uncompressed bits do not lie within size bytes.
inline bool DecodeDibPixels(const uint8_t* data, size_t size, const DibLayout& layout, uint32_t* out) {
    uint32_t colours[256] = {};
    for (uint32_t i = 0; i < layout.colours && i < 256; ++i) colours[i] = detail::Colour(data + layout.colour_table + i * 4);
    std::memset(out, 0, static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height) * sizeof(uint32_t));
    if (layout.compression == kDibRle8) {
        detail::DecodeRle8(data, size, layout, colours, out);
        return true;
    }
    return detail::DecodeUncompressed(data, size, layout, colours, out);
}

// The number of bytes of the packed DIB at dib (PatLoadDIBitmap hands out
// no size): header, colour table and pixel bits as the header gives them
// (an uncompressed bitmap whose image size field is 0 is measured by its
// rows).  0 for a null dib or a size over 1 GiB.  Reads the first 36 bytes
// of dib.
inline size_t PackedDibSize(const void* dib) {
    if (dib == nullptr) return 0;
    const auto* at = static_cast<const uint8_t*>(dib);
    const uint32_t header = detail::Dword(at);
    const auto width = static_cast<int32_t>(detail::Dword(at + 4));
    const auto height = static_cast<int32_t>(detail::Dword(at + 8));
    const uint32_t bits_per_pixel = detail::Word(at + 14);
    const uint32_t compression = detail::Dword(at + 16);
    uint64_t image = detail::Dword(at + 20);
    const uint32_t used = detail::Dword(at + 32);
    const uint64_t colours = used != 0 ? used : bits_per_pixel <= 8 ? (uint64_t{1} << bits_per_pixel) : 0;
    if (image == 0 && compression == kDibRgb && width > 0) {
        const uint64_t rows = static_cast<uint64_t>(height < 0 ? -int64_t{height} : int64_t{height});
        image = ((uint64_t{bits_per_pixel} * static_cast<uint64_t>(width) + 31) / 32) * 4 * rows;
    }
    const uint64_t size = uint64_t{header} + colours * 4 + image;
    return size > (uint64_t{1} << 30) ? 0 : static_cast<size_t>(size);
}

}  // namespace tb58dib

#endif /* TB58WK31_DIB_HPP */
