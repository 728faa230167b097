// Picture files: BMP on every build, PNG where the PNG library is linked;
// each read back byte by byte (BMP) or through libpng (PNG).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/cli_error.h"
#include "image/image_files.h"

#ifdef TB58MON_HAVE_PNG
#include <png.h>
#endif

namespace tb58mon {
namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    int c = 0;
    while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return bytes;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// A 3 x 2 image: rows of 9 bytes need 3 bytes of padding.
Image Sample() {
    return Image{3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x010203, 0xFFFFFF, 0x000000}};
}

int ExitCodeOf(const std::string& path) {
    try {
        CheckPictureFileName(path);
    } catch (const CliError& e) {
        return e.exit_code();
    }
    return 0;
}

TEST(ImageFiles, BmpIsBottomUpWithPaddedRows) {
    const std::string path = "tb58mon_test_sample.bmp";
    WritePicture(path, Sample());
    const std::vector<uint8_t> b = ReadBytes(path);
    std::remove(path.c_str());
    ASSERT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size());
    EXPECT_EQ(Le32(b, 10), 54u);
    EXPECT_EQ(Le32(b, 18), 3u);
    EXPECT_EQ(Le32(b, 22), 2u);
    EXPECT_EQ(b[28], 24);
    // The bottom row comes first: 0x010203 is stored blue, green, red.
    EXPECT_EQ((std::vector<uint8_t>(b.begin() + 54, b.begin() + 66)),
              (std::vector<uint8_t>{3, 2, 1, 255, 255, 255, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ((std::vector<uint8_t>(b.begin() + 66, b.begin() + 75)),
              (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0}));
}

TEST(ImageFiles, FileNamesChooseTheFormat) {
    EXPECT_EQ(ExitCodeOf("a.bmp"), 0);
    EXPECT_EQ(ExitCodeOf("dir/A.BMP"), 0);
    EXPECT_EQ(ExitCodeOf("a.gif"), kExitBadArguments);
    EXPECT_EQ(ExitCodeOf(".bmp"), kExitBadArguments);
    EXPECT_EQ(ExitCodeOf("status"), kExitBadArguments);
    EXPECT_EQ(ExitCodeOf("a.png"), PngAvailable() ? 0 : kExitBadArguments);
    EXPECT_EQ(DefaultPictureFile(), PngAvailable() ? "status.png" : "status.bmp");
    try {
        WritePicture("no/such/directory/status.bmp", Sample());
        FAIL() << "wrote into a missing directory";
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_code(), kExitFailure);
        EXPECT_NE(std::string(e.what()).find("cannot write no/such/directory/status.bmp"), std::string::npos);
    }
}

#ifdef TB58MON_HAVE_PNG
TEST(ImageFiles, PngReadsBackPixelForPixel) {
    const std::string path = "tb58mon_test_sample.png";
    WritePicture(path, Sample());
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&png, path.c_str()), 0) << png.message;
    png.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
    ASSERT_NE(png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr), 0) << png.message;
    std::remove(path.c_str());
    EXPECT_EQ(png.width, 3u);
    EXPECT_EQ(png.height, 2u);
    EXPECT_EQ(rgb, (std::vector<uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 255, 255, 255, 0, 0, 0}));
}
#endif

}  // namespace
}  // namespace tb58mon
