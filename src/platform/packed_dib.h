// Reading a packed device-independent bitmap (info header, colour table,
// pixel bits), as an RT_BITMAP resource holds it, into 32-bit pixels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tb58::platform {

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

// Reads and checks the header of a packed DIB of size bytes.  Supported:
// a BITMAPINFOHEADER (or a larger header version) with one plane and 8 bits
// per pixel uncompressed or RLE8, or 24 or 32 bits uncompressed.  False for
// anything else, or when the header or colour table does not lie within
// size bytes.
bool ReadDibLayout(const uint8_t* data, size_t size, DibLayout* out);

// Decodes the pixels into out (width * height values, top row first), each
// 0x00RRGGBB.  Pixels that RLE8 data skips (delta moves, early line or
// bitmap ends) stay black, as do colour indices beyond the colour table.
// Never reads past size bytes nor writes past the width * height values.
// False when the uncompressed bits do not lie within size bytes.
bool DecodeDibPixels(const uint8_t* data, size_t size, const DibLayout& layout, uint32_t* out);

}  // namespace tb58::platform
