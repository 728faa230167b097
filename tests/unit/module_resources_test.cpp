// The frame's resource workers: the palette copy for a model that has a
// palette, and the packing of file versions.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/dll_version.h"
#include "frame/palette.h"

namespace {

using namespace tb58::frame;

TEST(ModulePalette, CopiesEntriesOfAModelThatHasThem) {
    const PaletteEntry table[] = {{10, 20, 30, 0}, {40, 50, 60, 1}, {0, 0, 0, kPaletteEnd}};
    alignas(4) uint8_t bytes[16];
    std::memset(bytes, 0x77, sizeof bytes);
    auto* palette = reinterpret_cast<PaletteInfo*>(bytes);

    uint32_t size = 0;  // asking for the size
    EXPECT_EQ(CopyPalette(table, nullptr, &size), TB58_ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, 12u);
    size = 11;
    EXPECT_EQ(CopyPalette(table, palette, &size), TB58_ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(bytes[0], 0x77);  // nothing written

    size = 12;
    ASSERT_EQ(CopyPalette(table, palette, &size), 0u);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(palette->wVersion, 0x300);
    EXPECT_EQ(palette->wCount, 2);
    EXPECT_EQ(std::memcmp(bytes + 4, table, 8), 0);
    EXPECT_EQ(bytes[12], 0x77);  // nothing beyond the two entries

    const PaletteEntry none[] = {{0, 0, 0, kPaletteEnd}};
    size = 100;
    EXPECT_EQ(CopyPalette(none, palette, &size), TB58_ERROR_NO_PALETTE);
    EXPECT_EQ(CopyPalette(kModelPalette, palette, &size), TB58_ERROR_NO_PALETTE);
}

TEST(ModuleVersion, PackedOneComponentPerByte) {
    static_assert(PackFileVersion(0x00010001u, 0x00050000u) == 0x01010500u);  // 1.1.5.0
    static_assert(PackFileVersion(0x00020003u, 0x00040005u) == 0x02030405u);
    SUCCEED();
}

}  // namespace
