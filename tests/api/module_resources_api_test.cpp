// The module's own resources through the library: the version record, the
// peripheral profiles, the (absent) palette, and every bitmap of the status
// picture, loaded as a caller loads them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Tb58Wk31Platform.h"
#include "support/bitmap_names.h"
#include "support/bitmap_pixels.h"

namespace {

using tb58::test::BitmapPixels;
using tb58::test::HasMask;
using tb58::test::PictureNames;
using tb58::test::ReadBitmapPixels;

TEST(ModuleResourcesApi, VersionRecord) {
    // A larger record keeps its size field and the bytes after the first 32.
    uint32_t words[10];
    std::memset(words, 0xAB, sizeof words);
    words[0] = sizeof words;
    auto* info = reinterpret_cast<DllVersionInfo*>(words);
    ASSERT_EQ(PatGetDllVersion(info), 1);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(info->dwSize, sizeof words);
    EXPECT_EQ(info->dwFileVersion, 0x01010500u);  // 1.1.5.0
    EXPECT_EQ(info->dwFixedVersion1, 0x02000100u);
    EXPECT_EQ(info->dwFixedVersion2, 0x03060000u);
    for (uint32_t reserved : info->dwReserved) EXPECT_EQ(reserved, 0u);
    EXPECT_EQ(words[8], 0xABABABABu);
    EXPECT_EQ(words[9], 0xABABABABu);

    DllVersionInfo exact{};
    exact.dwSize = 32;
    EXPECT_EQ(PatGetDllVersion(&exact), 1);
    EXPECT_EQ(exact.dwFileVersion, 0x01010500u);
}

TEST(ModuleResourcesApi, VersionRecordTooSmallIsUntouched) {
    DllVersionInfo info;
    std::memset(&info, 0x5C, sizeof info);
    info.dwSize = 31;
    EXPECT_EQ(PatGetDllVersion(&info), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(info.dwFileVersion, 0x5C5C5C5Cu);
    EXPECT_EQ(PatGetDllVersion(nullptr), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

TEST(ModuleResourcesApi, PeripheralProfiles) {
    struct Column {
        uint32_t kind;
        uint32_t values[5];
    };
    const Column columns[] = {
        {1, {0x00020000u, 3, 3, 2, 0}},
        {2, {0x00020000u, 3, 3, 0, 0}},
        {8, {0x00020000u, 3, 3, 0, 0}},
        {0x8000, {0x00020000u, 3, 66, 0, 0}},
        {0x80010001u, {0x00020000u, 3, 3, 2, 0}},  // only the low half counts
    };
    for (const Column& column : columns) {
        PeripheralProfile profile;
        std::memset(&profile, 0xEE, sizeof profile);
        uint32_t size = 64;
        ASSERT_EQ(PatGetPeripheralProfile(column.kind, &profile, &size), 1) << column.kind;
        EXPECT_EQ(GetLastError(), 0u);
        EXPECT_EQ(size, 20u);
        EXPECT_EQ(std::memcmp(profile.dwValue, column.values, sizeof column.values), 0) << column.kind;
    }
}

TEST(ModuleResourcesApi, PeripheralProfileFailuresStillReportTheSize) {
    PeripheralProfile profile{};
    for (uint32_t kind : {4u, 16u, 0u}) {
        uint32_t size = 20;
        EXPECT_EQ(PatGetPeripheralProfile(kind, &profile, &size), 0) << kind;
        EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
        EXPECT_EQ(size, 20u);
    }
    uint32_t size = 19;
    EXPECT_EQ(PatGetPeripheralProfile(1, &profile, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, 20u);
    EXPECT_EQ(PatGetPeripheralProfile(1, nullptr, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatGetPeripheralProfile(1, &profile, nullptr), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

TEST(ModuleResourcesApi, ThisModelHasNoPalette) {
    uint32_t size = 0;
    EXPECT_EQ(PatGetPalette(nullptr, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_NO_PALETTE);
    EXPECT_EQ(size, 0u);
    uint32_t words[4] = {};
    size = sizeof words;
    EXPECT_EQ(PatGetPalette(reinterpret_cast<PaletteInfo*>(words), &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_NO_PALETTE);
    EXPECT_EQ(PatGetPalette(nullptr, &size), 0);  // a capacity without a record
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatGetPalette(reinterpret_cast<PaletteInfo*>(words), nullptr), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

// ---- Bitmaps ------------------------------------------------------------------

bool IsMarker(const std::string& name) { return name.rfind("BM_POINT_", 0) == 0; }

struct DibHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bits;
    uint32_t compression;
};

DibHeader HeaderOf(const void* dib) {
    DibHeader header{};
    const auto* bytes = static_cast<const char*>(dib);
    std::memcpy(&header.size, bytes, 4);
    std::memcpy(&header.width, bytes + 4, 4);
    std::memcpy(&header.height, bytes + 8, 4);
    std::memcpy(&header.planes, bytes + 12, 2);
    std::memcpy(&header.bits, bytes + 14, 2);
    std::memcpy(&header.compression, bytes + 16, 4);
    return header;
}

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

TEST(ModuleBitmapsApi, MainBodyAsStored) {
    const void* dib = PatLoadDIBitmap("BM_BASE1");
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    const DibHeader header = HeaderOf(dib);
    EXPECT_EQ(header.size, 40u);
    EXPECT_EQ(header.width, 320);
    EXPECT_EQ(header.height, 200);
    EXPECT_EQ(header.planes, 1);
    EXPECT_EQ(header.bits, 8);
    EXPECT_EQ(header.compression, kRle8);
    // The same data on every call: it belongs to the module.
    EXPECT_EQ(PatLoadDIBitmap("BM_BASE1"), dib);
}

TEST(ModuleBitmapsApi, UnknownAndNullNames) {
    SetLastError(0);
    EXPECT_EQ(PatLoadDIBitmap("BM_NOSUCH"), nullptr);
    EXPECT_EQ(GetLastError(), 1814u);  // ERROR_RESOURCE_NAME_NOT_FOUND
    SetLastError(0);
    EXPECT_EQ(PatLoadBitmap("BM_NOSUCH"), nullptr);
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_EQ(PatLoadDIBitmap(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatLoadBitmap(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

TEST(ModuleBitmapsApi, HandleIsReleasedOnce) {
    void* bitmap = PatLoadBitmap("BM_CAUTION");
    ASSERT_NE(bitmap, nullptr);
    BITMAP description{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof description, &description), static_cast<int32_t>(sizeof description));
    EXPECT_EQ(description.bmWidth, 320);
    EXPECT_EQ(description.bmHeight, 200);
    EXPECT_NE(DeleteObject(bitmap), 0);
    EXPECT_EQ(DeleteObject(bitmap), 0);
}

// Every picture and its mask: stored as RLE8, sized as its role says, and
// paired: the mask is pure black (opaque) or white (transparent), the
// picture black wherever the mask is transparent, and something is opaque.
TEST(ModuleBitmapsApi, EveryPictureLoadsWithItsMask) {
    for (const std::string& name : PictureNames()) {
        SCOPED_TRACE(name);
        const void* dib = PatLoadDIBitmap(name.c_str());
        ASSERT_NE(dib, nullptr);
        const DibHeader header = HeaderOf(dib);
        EXPECT_EQ(header.size, 40u);
        EXPECT_EQ(header.bits, 8);
        EXPECT_EQ(header.compression, kRle8);
        if (IsMarker(name)) {
            EXPECT_GE(header.width, 33);
            EXPECT_LE(header.width, 116);
            EXPECT_GE(header.height, 54);
            EXPECT_LE(header.height, 133);
        } else {
            EXPECT_EQ(header.width, 320);
            EXPECT_EQ(header.height, 200);
        }

        void* picture_handle = PatLoadBitmap(name.c_str());
        ASSERT_NE(picture_handle, nullptr);
        const BitmapPixels picture = ReadBitmapPixels(picture_handle);
        EXPECT_NE(DeleteObject(picture_handle), 0);
        ASSERT_EQ(picture.width, header.width);
        ASSERT_EQ(picture.height, header.height);
        ASSERT_FALSE(picture.pixels.empty());
        if (!HasMask(name)) {
            EXPECT_EQ(PatLoadDIBitmap((name + "_B").c_str()), nullptr);
            continue;
        }

        const void* mask_dib = PatLoadDIBitmap((name + "_B").c_str());
        ASSERT_NE(mask_dib, nullptr);
        const DibHeader mask_header = HeaderOf(mask_dib);
        EXPECT_EQ(mask_header.compression, kRle8);
        EXPECT_EQ(mask_header.bits, 8);
        void* mask_handle = PatLoadBitmap((name + "_B").c_str());
        ASSERT_NE(mask_handle, nullptr);
        const BitmapPixels mask = ReadBitmapPixels(mask_handle);
        EXPECT_NE(DeleteObject(mask_handle), 0);
        ASSERT_EQ(mask.width, picture.width);
        ASSERT_EQ(mask.height, picture.height);
        ASSERT_EQ(mask.pixels.size(), picture.pixels.size());
        size_t opaque = 0;
        size_t stray = 0;
        size_t neither = 0;
        for (size_t i = 0; i < mask.pixels.size(); ++i) {
            if (mask.pixels[i] == kBlack) {
                ++opaque;
            } else if (mask.pixels[i] == kWhite) {
                stray += picture.pixels[i] != kBlack;
            } else {
                ++neither;
            }
        }
        EXPECT_EQ(neither, 0u) << "mask pixels neither black nor white";
        EXPECT_EQ(stray, 0u) << "picture pixels not black where the mask is transparent";
        EXPECT_GT(opaque, 0u);
    }
}

}  // namespace
