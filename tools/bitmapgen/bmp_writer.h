// Writing pictures and masks as 8-bit RLE8 bitmap files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "palette.h"
#include "raster.h"

namespace bitmapgen {

// The RLE8 form of rows of colour indices (row 0 = the top row), stored
// bottom row first: each row in runs of one colour and literal stretches,
// ended by an end-of-line mark, the last by the end-of-bitmap mark.
std::vector<uint8_t> EncodeRle8(const std::vector<uint8_t>& indices, int width, int height);

// A bitmap file (file header, BITMAPINFOHEADER, colour table, RLE8 bits).
std::vector<uint8_t> BitmapFile(const std::vector<uint8_t>& indices, int width, int height,
                                const std::vector<Rgb>& colours);

// The picture: its colours where it covers the canvas, black elsewhere.
std::vector<uint8_t> PictureFile(const Canvas& canvas);

// The mask: black where the picture covers the canvas (opaque), white
// elsewhere (transparent).
std::vector<uint8_t> MaskFile(const Canvas& canvas);

}  // namespace bitmapgen
