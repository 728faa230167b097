// Drawing the status picture: raster operations, the canvas, the module's
// bitmaps, and a marker drawn from the library's own layer list.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/cli_error.h"
#include "library/library_calls.h"
#include "image/picture.h"
#include "report/status_report.h"

namespace tb58mon {
namespace {

Image Filled(int32_t width, int32_t height, uint32_t colour) {
    return Image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
}

struct Bitmaps {
    std::map<std::string, Image> images;
    BitmapSource source() {
        return [this](const std::string& name) -> const Image& { return images.at(name); };
    }
};

TEST(DrawLayers, RasterOperationsCombineEachChannel) {
    Bitmaps bitmaps;
    bitmaps.images["BODY"] = Filled(kBodyWidth, kBodyHeight, 0x123456);
    // A mask: white keeps what lies below, black clears it.
    Image mask = Filled(4, 2, 0xFFFFFF);
    mask.pixels[1] = 0x000000;
    mask.pixels[2] = 0x00FF0F;
    bitmaps.images["MARK_B"] = mask;
    // The picture: black where transparent.
    Image mark = Filled(4, 2, 0x000000);
    mark.pixels[1] = 0xC08001;
    mark.pixels[2] = 0x0100F0;
    bitmaps.images["MARK"] = mark;
    const std::vector<Layer> layers = {
        {"BODY", 0, 0, TB58_ROP_SRCCOPY, 1},
        {"MARK_B", 10, 20, TB58_ROP_SRCAND, 100},
        {"MARK", 10, 20, TB58_ROP_SRCPAINT, 100},
    };
    const Picture picture = DrawLayers(layers, bitmaps.source());
    ASSERT_EQ(picture.image.width, kBodyWidth);
    ASSERT_EQ(picture.image.height, kBodyHeight);
    EXPECT_EQ(picture.image.At(10, 20), 0x123456u);                     // transparent
    EXPECT_EQ(picture.image.At(11, 20), 0xC08001u);                     // cleared, then painted
    EXPECT_EQ(picture.image.At(12, 20), (0x123456u & 0x00FF0Fu) | 0x0100F0u);  // per channel
    EXPECT_EQ(picture.image.At(9, 20), 0x123456u);
    EXPECT_EQ(picture.image.At(11, 22), 0x123456u);  // below the mark

    // SRCCOPY replaces whatever lies below.
    const Picture copied = DrawLayers({layers[0], {"MARK", 1, 1, TB58_ROP_SRCCOPY, 3}}, bitmaps.source());
    EXPECT_EQ(copied.image.At(1, 1), 0x000000u);
}

TEST(DrawLayers, TheCanvasWidensLeftAndCutsRightAndBottom) {
    Bitmaps bitmaps;
    bitmaps.images["BODY"] = Filled(kBodyWidth, kBodyHeight, 0x808080);
    bitmaps.images["UNIT"] = Filled(100, 50, 0x0000FF);
    const Picture left = DrawLayers({{"BODY", 0, 0, TB58_ROP_SRCCOPY, 1}, {"UNIT", -69, 10, TB58_ROP_SRCCOPY, 3}},
                                    bitmaps.source());
    EXPECT_EQ(left.image.width, kBodyWidth + 69);
    EXPECT_EQ(left.image.height, kBodyHeight);
    EXPECT_EQ(left.origin_x, 69);
    EXPECT_EQ(left.image.At(0, 10), 0x0000FFu);    // the unit's left edge
    EXPECT_EQ(left.image.At(0, 9), kBackground);   // nothing drawn there
    EXPECT_EQ(left.image.At(99, 10), 0x0000FFu);    // the unit, drawn over the body
    EXPECT_EQ(left.image.At(100, 10), 0x808080u);   // the body from there on
    EXPECT_EQ(left.image.At(68, 60), kBackground);  // left of the body, below the unit
    EXPECT_EQ(left.image.At(69, 60), 0x808080u);    // the body's origin

    // Beyond the right and bottom edges, and wholly outside: cut, no harm.
    const Picture cut = DrawLayers({{"BODY", 0, 0, TB58_ROP_SRCCOPY, 1},
                                    {"UNIT", 300, 180, TB58_ROP_SRCCOPY, 3},
                                    {"UNIT", 400, 0, TB58_ROP_SRCCOPY, 3},
                                    {"UNIT", 0, -60, TB58_ROP_SRCCOPY, 3},
                                    {"UNIT", 5, -30, TB58_ROP_SRCCOPY, 3}},
                                   bitmaps.source());
    EXPECT_EQ(cut.image.width, kBodyWidth);
    EXPECT_EQ(cut.image.height, kBodyHeight);
    EXPECT_EQ(cut.image.At(kBodyWidth - 1, kBodyHeight - 1), 0x0000FFu);
    EXPECT_EQ(cut.image.At(5, 19), 0x0000FFu);
    EXPECT_EQ(cut.image.At(5, 20), 0x808080u);

    // No layers: the bare canvas.
    const Picture empty = DrawLayers({}, bitmaps.source());
    EXPECT_EQ(empty.image.pixels, std::vector<uint32_t>(size_t{kBodyWidth} * kBodyHeight, kBackground));
}

TEST(DrawLayers, AnUnknownRasterOperationIsAnError) {
    Bitmaps bitmaps;
    bitmaps.images["BODY"] = Filled(2, 2, 0);
    try {
        DrawLayers({{"BODY", 0, 0, 0x00660046, 1}}, bitmaps.source());
        FAIL() << "drawn with an unknown raster operation";
    } catch (const CliError& e) {
        EXPECT_NE(std::string(e.what()).find("unknown raster operation 0x00660046"), std::string::npos) << e.what();
    }
}

TEST(ModuleBitmaps, DecodedFromTheModuleAndLoadedOnce) {
    ModuleBitmaps bitmaps;
    const Image& body = bitmaps.Get("BM_BASE1");
    EXPECT_EQ(body.width, kBodyWidth);
    EXPECT_EQ(body.height, kBodyHeight);
    EXPECT_EQ(body.pixels.size(), size_t{kBodyWidth} * kBodyHeight);
    // A picture is not all one colour.
    EXPECT_NE(std::count(body.pixels.begin(), body.pixels.end(), body.pixels.front()),
              static_cast<std::ptrdiff_t>(body.pixels.size()));
    const Image& marker = bitmaps.Get("BM_POINT_8");
    const Image& mask = bitmaps.Get("BM_POINT_8_B");
    EXPECT_EQ(marker.width, mask.width);
    EXPECT_EQ(marker.height, mask.height);
    EXPECT_LT(marker.width, kBodyWidth);
    // References stay valid while more bitmaps are loaded.
    for (const char* name : {"BM_BASE2", "BM_CAUTION", "BM_LCT", "BM_INSER", "BM_PLOCK", "BM_POWEROFF"}) {
        bitmaps.Get(name);
    }
    EXPECT_EQ(&bitmaps.Get("BM_BASE1"), &body);
    EXPECT_EQ(body.width, kBodyWidth);

    try {
        LoadModuleBitmap("BM_NO_SUCH_PICTURE");
        FAIL() << "a missing bitmap was loaded";
    } catch (const CliError& e) {
        EXPECT_NE(std::string(e.what()).find("PatLoadDIBitmap(\"BM_NO_SUCH_PICTURE\") failed"), std::string::npos)
            << e.what();
    }
}

// The library's layers for "tray 1 paper type mismatch" with four trays: a
// marker over the main body, which changes the pixels where it lies only.
TEST(ModuleBitmaps, AMarkerChangesThePictureWhereItLies) {
    OwnedRecord plain;
    OwnedRecord marked;
    for (uint16_t tray : {3, 4, 5, 6}) {
        plain.AddTray(tray);
        marked.AddTray(tray);
    }
    plain.AddEngineStatus(10001, "");  // ready: the main body alone
    marked.AddEngineStatus(46123, "");
    const std::vector<Layer> body_layers = PictureLayers(plain.get(), TB58_KIND_PRINTER);
    const std::vector<Layer> layers = PictureLayers(marked.get(), TB58_KIND_PRINTER);
    ASSERT_EQ(body_layers.size(), 1u);
    EXPECT_EQ(body_layers[0].name, "BM_BASE1");
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_EQ(layers[1].name, "BM_POINT_8_B");
    EXPECT_EQ(layers[1].rop, TB58_ROP_SRCAND);
    EXPECT_EQ(layers[2].name, "BM_POINT_8");
    EXPECT_EQ(layers[2].rop, TB58_ROP_SRCPAINT);

    ModuleBitmaps bitmaps;
    const BitmapSource source = [&](const std::string& name) -> const Image& { return bitmaps.Get(name); };
    const Picture body = DrawLayers(body_layers, source);
    const Picture picture = DrawLayers(layers, source);
    const Image& marker = bitmaps.Get("BM_POINT_8");
    size_t inside = 0;
    for (int32_t y = 0; y < kBodyHeight; ++y) {
        for (int32_t x = 0; x < kBodyWidth; ++x) {
            const bool in_marker = x >= layers[2].x && x < layers[2].x + marker.width && y >= layers[2].y &&
                                   y < layers[2].y + marker.height;
            if (body.image.At(x, y) == picture.image.At(x, y)) continue;
            ASSERT_TRUE(in_marker) << "changed at " << x << ", " << y << ": " << std::hex << body.image.At(x, y) << " -> " << picture.image.At(x, y);
            ++inside;
        }
    }
    EXPECT_GT(inside, 20u);
}

}  // namespace
}  // namespace tb58mon
