// The bitmap decoder of the caller kit, which the platform layer uses too:
// RLE8 escapes, clipping, damaged data and headers it refuses, the size of
// a DIB handed out without one; and for every bitmap of the module, the
// decoder's pixels against those of LoadBitmapA (GDI's on Windows).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frame/module_instance.h"
#include "platform/packed_dib.h"
#include "platform/win32_api.h"
#include "support/bitmap_names.h"
#include "support/bitmap_pixels.h"

namespace {

using namespace tb58::platform;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kBlack = 0;

// A packed DIB: 40-byte header, colour table (red, green, blue), bits.
std::vector<uint8_t> Dib(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                         const std::vector<uint8_t>& data, uint32_t colours = 3) {
    std::vector<uint8_t> dib(40, 0);
    auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) dib[at + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    put(0, 40, 4);
    put(4, static_cast<uint32_t>(width), 4);
    put(8, static_cast<uint32_t>(height), 4);
    put(12, 1, 2);
    put(14, bits, 2);
    put(16, compression, 4);
    put(32, colours, 4);
    const uint8_t table[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};  // blue, green, red, 0 each
    dib.insert(dib.end(), table, table + 4 * std::min<uint32_t>(colours, 3));
    for (uint32_t i = 3; i < colours; ++i) dib.insert(dib.end(), {9, 9, 9, 0});
    dib.insert(dib.end(), data.begin(), data.end());
    return dib;
}

// Decodes, or returns an empty vector when the header is refused.
std::vector<uint32_t> Decode(const std::vector<uint8_t>& dib, size_t size = SIZE_MAX) {
    if (size == SIZE_MAX) size = dib.size();
    DibLayout layout{};
    if (!ReadDibLayout(dib.data(), size, &layout)) return {};
    // One guard value past the end shows any write beyond the pixels.
    std::vector<uint32_t> pixels(static_cast<size_t>(layout.width) * layout.height + 1, 0xDEADBEEF);
    if (!DecodeDibPixels(dib.data(), size, layout, pixels.data())) return {};
    EXPECT_EQ(pixels.back(), 0xDEADBEEFu);
    pixels.pop_back();
    return pixels;
}

TEST(BitmapDecode, Rle8Escapes) {
    // 4 x 3, bottom row first: a run, a literal of three (padded), end of
    // line; a delta of (1, 1) to the top row; a run of two; end of bitmap.
    const std::vector<uint8_t> bits = {2, 0, 0, 3, 1, 2, 0, 0, 0, 0, 0, 2, 1, 1, 2, 2, 0, 1};
    EXPECT_EQ(Decode(Dib(4, 3, 8, kDibRle8, bits)),
              (std::vector<uint32_t>{kBlack, kBlue, kBlue, kBlack,    // top row: skipped, run of two
                                     kBlack, kBlack, kBlack, kBlack,  // middle row: nothing
                                     kRed, kRed, kGreen, kBlue}));    // bottom row: the literal cut at the width
}

TEST(BitmapDecode, Rle8ClipsAndStopsSafely) {
    // Runs past the width, rows past the height, a delta far away.
    const std::vector<uint8_t> wild = {255, 1, 0, 0, 3, 2, 0, 0, 3, 2, 0, 1};
    EXPECT_EQ(Decode(Dib(2, 2, 8, kDibRle8, wild)), (std::vector<uint32_t>{kBlue, kBlue, kGreen, kGreen}));
    EXPECT_EQ(Decode(Dib(2, 2, 8, kDibRle8, {0, 2, 200, 200, 3, 2, 0, 1})),
              (std::vector<uint32_t>{kBlack, kBlack, kBlack, kBlack}));
    // A literal longer than the data, and data ending without its mark.
    EXPECT_EQ(Decode(Dib(2, 1, 8, kDibRle8, {0, 9, 1, 2})), (std::vector<uint32_t>{kBlack, kBlack}));
    EXPECT_EQ(Decode(Dib(2, 1, 8, kDibRle8, {1, 2})), (std::vector<uint32_t>{kBlue, kBlack}));
    EXPECT_EQ(Decode(Dib(2, 1, 8, kDibRle8, {0, 2})), (std::vector<uint32_t>{kBlack, kBlack}));  // delta cut off
    // An index beyond the colour table is black.
    EXPECT_EQ(Decode(Dib(2, 1, 8, kDibRle8, {2, 7, 0, 1})), (std::vector<uint32_t>{kBlack, kBlack}));
}

TEST(BitmapDecode, UncompressedRows) {
    // 8 bits, rows padded to 4 bytes, bottom-up and top-down.
    const std::vector<uint8_t> rows = {0, 1, 2, 0, 2, 2, 2, 0};
    EXPECT_EQ(Decode(Dib(3, 2, 8, kDibRgb, rows)),
              (std::vector<uint32_t>{kBlue, kBlue, kBlue, kRed, kGreen, kBlue}));
    EXPECT_EQ(Decode(Dib(3, -2, 8, kDibRgb, rows)),
              (std::vector<uint32_t>{kRed, kGreen, kBlue, kBlue, kBlue, kBlue}));
    // 24 bits: blue, green, red per pixel.
    EXPECT_EQ(Decode(Dib(1, 1, 24, kDibRgb, {0x30, 0x20, 0x10, 0}, 0)), (std::vector<uint32_t>{0x102030}));
    // Rows that the data does not hold are refused.
    EXPECT_TRUE(Decode(Dib(3, 3, 8, kDibRgb, rows)).empty());
}

// The caller kit's measure of a packed DIB handed out without its size:
// the header's image size, else the rows of an uncompressed bitmap.
TEST(BitmapDecode, PackedDibSizeFromTheHeader) {
    const std::vector<uint8_t> eight = Dib(5, 2, 8, kDibRgb, std::vector<uint8_t>(16, 1));  // rows of 8 bytes
    EXPECT_EQ(tb58dib::PackedDibSize(eight.data()), eight.size());
    const std::vector<uint8_t> bottom_up = Dib(3, -2, 24, kDibRgb, std::vector<uint8_t>(24, 7), 0);
    EXPECT_EQ(tb58dib::PackedDibSize(bottom_up.data()), bottom_up.size());
    // RLE8: the header's image size, here set to the bits' length.
    std::vector<uint8_t> rle = Dib(4, 1, 8, kDibRle8, {4, 0, 0, 1});
    rle[20] = 4;
    EXPECT_EQ(tb58dib::PackedDibSize(rle.data()), rle.size());
    // Eight bits without a colour count: a table of 256 entries.
    std::vector<uint8_t> full = eight;
    std::memset(full.data() + 32, 0, 4);
    EXPECT_EQ(tb58dib::PackedDibSize(full.data()), 40u + 256u * 4u + 16u);
    // Over 1 GiB, or nothing: 0.
    const std::vector<uint8_t> huge = Dib(0x7FFFFFFF, 0x7FFFFFFF, 32, kDibRgb, {});
    EXPECT_EQ(tb58dib::PackedDibSize(huge.data()), 0u);
    EXPECT_EQ(tb58dib::PackedDibSize(nullptr), 0u);
}

TEST(BitmapDecode, RefusedHeaders) {
    const std::vector<uint8_t> bits = {1, 0, 0, 1};
    EXPECT_FALSE(Decode(Dib(1, 1, 8, kDibRle8, bits)).empty());
    EXPECT_TRUE(Decode(Dib(0, 1, 8, kDibRle8, bits)).empty());
    EXPECT_TRUE(Decode(Dib(-1, 1, 8, kDibRle8, bits)).empty());
    EXPECT_TRUE(Decode(Dib(1, 0, 8, kDibRle8, bits)).empty());
    EXPECT_TRUE(Decode(Dib(1, -1, 8, kDibRle8, bits)).empty());       // compressed rows are bottom-up
    EXPECT_TRUE(Decode(Dib(1, 1, 16, kDibRgb, bits)).empty());
    EXPECT_TRUE(Decode(Dib(1, 1, 8, 2, bits)).empty());               // RLE4 is not an 8-bit form
    EXPECT_TRUE(Decode(Dib(1, 1, 8, kDibRle8, bits, 257)).empty());
    EXPECT_TRUE(Decode(Dib(70000, 70000, 8, kDibRle8, bits)).empty());  // too large
    std::vector<uint8_t> two_planes = Dib(1, 1, 8, kDibRle8, bits);
    two_planes[12] = 2;
    EXPECT_TRUE(Decode(two_planes).empty());
    // The header or the colour table cut off.
    const std::vector<uint8_t> dib = Dib(1, 1, 8, kDibRle8, bits);
    EXPECT_TRUE(Decode(dib, 39).empty());
    EXPECT_TRUE(Decode(dib, 40 + 11).empty());
    std::vector<uint8_t> short_header = dib;
    short_header[0] = 12;
    EXPECT_TRUE(Decode(short_header).empty());
}

// For every bitmap of the module, the pixels of LoadBitmapA match the
// decoder's reading of the stored data.  On Windows this holds the
// decoder, and the generator's RLE8 data, to the system's own decoding.
TEST(BitmapDecode, ModuleBitmapsDecodeAsTheSystemDecodesThem) {
    HMODULE module = tb58::frame::ModuleInstance();
    for (const std::string& name : tb58::test::BitmapNames()) {
        SCOPED_TRACE(name);
        HRSRC resource = FindResourceA(module, name.c_str(), RT_BITMAP);
        ASSERT_NE(resource, nullptr);
        const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, resource)));
        const size_t size = SizeofResource(module, resource);
        DibLayout layout{};
        ASSERT_TRUE(ReadDibLayout(data, size, &layout));
        std::vector<uint32_t> decoded(static_cast<size_t>(layout.width) * layout.height);
        ASSERT_TRUE(DecodeDibPixels(data, size, layout, decoded.data()));

        HBITMAP bitmap = LoadBitmapA(module, name.c_str());
        ASSERT_NE(bitmap, nullptr);
        const tb58::test::BitmapPixels loaded = tb58::test::ReadBitmapPixels(bitmap);
        EXPECT_NE(DeleteObject(bitmap), 0);
        ASSERT_EQ(loaded.width, layout.width);
        ASSERT_EQ(loaded.height, layout.height);
        size_t differing = 0;
        for (size_t i = 0; i < decoded.size(); ++i) differing += loaded.pixels[i] != decoded[i];
        EXPECT_EQ(differing, 0u);
    }
}

TEST(BitmapDecode, LoadBitmapOfAMissingName) {
    SetLastError(0);
    EXPECT_EQ(LoadBitmapA(tb58::frame::ModuleInstance(), "BM_NOSUCH"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

}  // namespace
