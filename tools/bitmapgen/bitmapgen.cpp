// bitmapgen: draws the module's 98 status picture bitmaps (50 pictures and
// the masks of all but the two main body pictures) and writes them as
// RLE8 bitmap files.
//
//   tb58_bitmapgen OUTPUT_FOLDER
//
// The output is the same on every run: resources/bitmaps/ holds it, and a
// test checks that it is up to date.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "pictures.h"
#include "scene.h"

namespace {

using namespace bitmapgen;

struct Picture {
    std::string name;
    int x, y;                               // where the composition tables place it
    bool has_mask;
    std::function<void(Canvas&)> draw;
};

// Markers are as large as what they show, at least 33 x 54 and at most
// 116 x 133 pixels.
constexpr int kMarkerMinWidth = 33, kMarkerMinHeight = 54;
constexpr int kMarkerMaxWidth = 116, kMarkerMaxHeight = 133;

std::vector<Picture> Pictures() {
    auto full = [](std::function<void(Canvas&)> draw) { return draw; };
    std::vector<Picture> pictures = {
        {"BM_BASE1", 0, 0, false, [](Canvas& c) { DrawMainBody(c, true); }},
        {"BM_BASE2", 0, 0, false, [](Canvas& c) { DrawMainBody(c, false); }},
        {"BM_CAUTION", 0, 0, true, full(DrawCaution)},
        {"BM_EXTER", 0, 0, true, full(DrawCopyTray)},
        {"BM_FIN1A", 0, 0, true, [](Canvas& c) { DrawFinisher21(c, false); }},
        {"BM_FIN1B", 0, 0, true, [](Canvas& c) { DrawFinisher21(c, true); }},
        {"BM_FIN2A", scene::kFinisher38PictureX, 0, true, [](Canvas& c) { DrawFinisher38(c, false); }},
        {"BM_FIN2B", scene::kFinisher38PictureX, 0, true, [](Canvas& c) { DrawFinisher38(c, true); }},
        {"BM_FIN3A", 0, 0, true, [](Canvas& c) { DrawFinisher115(c, false); }},
        {"BM_FIN3B", 0, 0, true, [](Canvas& c) { DrawFinisher115(c, true); }},
        {"BM_FIN4A", 0, 0, true, [](Canvas& c) { DrawFinisher114(c, false); }},
        {"BM_FIN4B", 0, 0, true, [](Canvas& c) { DrawFinisher114(c, true); }},
        {"BM_FIN5B", 0, 0, true, full(DrawFinisherBesideBookletProcessor)},
        {"BM_INSER", 0, 0, true, [](Canvas& c) { DrawInterposer(c, 0); }},
        {"BM_INSERZ", 0, 0, true, [](Canvas& c) { DrawInterposer(c, -scene::kZFoldWidth); }},
        {"BM_LCT", 0, 0, true, full(DrawLct)},
        {"BM_MAILBOX", 0, 0, true, full(DrawMailbox)},
        {"BM_PLOCK", scene::kBookletProcessorPictureX, 0, true, full(DrawBookletProcessor)},
    };
    // Each marker at the first position the tables give it.
    const int marker_positions[29][2] = {
        {28, 68}, {153, 124}, {153, 122}, {113, 69}, {146, 60}, {150, 17}, {150, 42}, {248, 84},
        {129, 12}, {54, 51}, {93, 65}, {86, 44}, {74, 71}, {248, 105}, {90, 29}, {126, 28},
        {80, 64}, {81, 62}, {68, 64}, {81, 39}, {54, 66}, {47, 60}, {40, 62}, {116, 52},
        {116, 95}, {81, 59}, {58, 47}, {57, 73}, {-6, 79}};
    for (int n = 1; n <= 29; ++n) {
        pictures.push_back({"BM_POINT_" + std::to_string(n), marker_positions[n - 1][0], marker_positions[n - 1][1],
                            true, [n](Canvas& c) { DrawMarker(c, n); }});
    }
    pictures.push_back({"BM_POWEROFF", 0, 0, true, full(DrawPowerOff)});
    pictures.push_back({"BM_SERVICE", 0, 0, true, full(DrawService)});
    pictures.push_back({"BM_ZORI", 0, 0, true, full(DrawZFold)});
    return pictures;
}

bool IsMarker(const Picture& picture) { return picture.name.rfind("BM_POINT_", 0) == 0; }

// Draws a marker with room around it, checks that nothing lies left of or
// above its position, and sizes it to what it shows.
Canvas DrawMarkerPicture(const Picture& picture) {
    constexpr int kMargin = 8;
    Canvas wide(kMarkerMaxWidth + 2 * kMargin, kMarkerMaxHeight + 2 * kMargin, picture.x - kMargin,
                picture.y - kMargin);
    picture.draw(wide);
    const Rect bounds = wide.CoveredBounds();
    if (bounds.x1 < bounds.x0 || bounds.x0 < kMargin || bounds.y0 < kMargin ||
        bounds.x1 - kMargin >= kMarkerMaxWidth || bounds.y1 - kMargin >= kMarkerMaxHeight) {
        std::cerr << picture.name << ": the marker does not fit its place\n";
        std::exit(1);
    }
    const int width = std::max(kMarkerMinWidth, bounds.x1 - kMargin + 1);
    const int height = std::max(kMarkerMinHeight, bounds.y1 - kMargin + 1);
    Canvas canvas(width, height, picture.x, picture.y);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            if (wide.Opaque(column + kMargin, row + kMargin)) {
                canvas.Set(picture.x + column, picture.y + row, wide.Pixel(column + kMargin, row + kMargin));
            }
        }
    }
    return canvas;
}

void Write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::cerr << path.string() << ": cannot write\n";
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tb58_bitmapgen OUTPUT_FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const Picture& picture : Pictures()) {
        Canvas canvas = IsMarker(picture) ? DrawMarkerPicture(picture)
                                          : Canvas(scene::kCanvasWidth, scene::kCanvasHeight, picture.x, picture.y);
        if (!IsMarker(picture)) picture.draw(canvas);
        Write(folder / (picture.name + ".bmp"), PictureFile(canvas));
        if (picture.has_mask) Write(folder / (picture.name + "_B.bmp"), MaskFile(canvas));
    }
    return 0;
}
