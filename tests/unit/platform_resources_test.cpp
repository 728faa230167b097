// Resource lookup with language substitution, and the module's version
// resource read through the version functions.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "frame/module_instance.h"
#include "support/bitmap_names.h"
#include "platform/platform_traits.h"
#include "platform/win32_api.h"

namespace {

HMODULE Module() { return tb58::frame::ModuleInstance(); }

// String index (id & 15) of a string block, as UTF-16.
std::u16string StringOfBlock(HRSRC resource, int index) {
    const auto* units = static_cast<const WORD*>(LockResource(LoadResource(Module(), resource)));
    if (units == nullptr) return u"<none>";
    size_t at = 0;
    for (int skip = 0; skip < index; ++skip) at += 1 + units[at];
    return std::u16string(units + at + 1, units + at + 1 + units[at]);
}

TEST(Resources, StringBlockInTheExactLanguage) {
    // Block 63 holds ids 992-1007; id 1000 is its ninth string.
    HRSRC block = FindResourceExA(Module(), RT_STRING, MAKEINTRESOURCEA(63), 0x0409);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(SizeofResource(Module(), block), 32u);
    EXPECT_EQ(StringOfBlock(block, 8), u"Operational");
}

TEST(Resources, LanguagesWithoutATableAreSubstitutedWhereThePlatformDoes) {
    // Czech, Hungarian and English (United Kingdom) have no string tables.
    for (WORD language : {WORD{0x0405}, WORD{0x040E}, WORD{0x0809}}) {
        HRSRC block = FindResourceExA(Module(), RT_STRING, MAKEINTRESOURCEA(188), language);
        if (!tb58::platform::kSubstitutesResourceLanguage) {
            EXPECT_EQ(block, nullptr) << std::hex << language;
            continue;
        }
        ASSERT_NE(block, nullptr) << std::hex << language;
        EXPECT_EQ(StringOfBlock(block, 8), u"Tray 1");  // block 188 holds ids 2992-3007
    }
}

TEST(Resources, NoLanguageFindsTheProcessLanguage) {
    // The tests run with a neutral process locale, which stands for English.
    HRSRC block = FindResourceExA(Module(), RT_STRING, MAKEINTRESOURCEA(188), 0x0400);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(StringOfBlock(block, 8), u"Tray 1");
}

// Every picture and its mask is found by its name in any case, and names
// between them, before the first or after the last are not.
TEST(Resources, EveryBitmapIsFoundByNameInAnyCase) {
    for (const std::string& name : tb58::test::PictureNames()) {
        std::vector<std::string> spellings = {name, name + "_B"};
        if (!tb58::test::HasMask(name)) spellings.pop_back();
        for (std::string spelling : spellings) {
            EXPECT_NE(FindResourceA(Module(), spelling.c_str(), RT_BITMAP), nullptr) << spelling;
            for (char& c : spelling) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            EXPECT_NE(FindResourceA(Module(), spelling.c_str(), RT_BITMAP), nullptr) << spelling;
        }
    }
    for (const char* missing : {"A", "BM_", "BM_BASE", "BM_BASE1_C", "BM_POINT_30", "BM_ZORI_C", "ZZ"}) {
        SetLastError(0);
        EXPECT_EQ(FindResourceA(Module(), missing, RT_BITMAP), nullptr) << missing;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND)) << missing;
    }
}

// Every string block of the English table is found in each of the module's
// languages, whatever their order in the module.
TEST(Resources, EveryStringBlockIsFoundInEveryTableLanguage) {
    const HRSRC english_first = FindResourceExA(Module(), RT_STRING, MAKEINTRESOURCEA(63), 0x0409);
    ASSERT_NE(english_first, nullptr);
    for (WORD language : {WORD{0x0409}, WORD{0x0411}, WORD{0x0407}, WORD{0x040C}, WORD{0x0415}}) {
        for (int block = 1; block < 400; ++block) {
            const bool in_english = FindResourceExA(Module(), RT_STRING, MAKEINTRESOURCEA(block), 0x0409) != nullptr;
            const bool here = FindResourceExA(Module(), RT_STRING, MAKEINTRESOURCEA(block), language) != nullptr;
            EXPECT_EQ(here, in_english) << "block " << block << " language " << std::hex << language;
        }
    }
}

TEST(Resources, MissingBlockIsNotFound) {
    SetLastError(0);
    EXPECT_EQ(FindResourceExA(Module(), RT_STRING, MAKEINTRESOURCEA(4000), 0x0409), nullptr);
    EXPECT_NE(GetLastError(), 0u);
}

TEST(VersionResource, ModuleCarriesFileVersion1150) {
    char path[260];
    const DWORD length = GetModuleFileNameA(Module(), path, sizeof path);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> data(size);
    ASSERT_EQ(GetFileVersionInfoA(path, 0, size, data.data()), TRUE);
    void* value = nullptr;
    UINT value_length = 0;
    ASSERT_EQ(VerQueryValueA(data.data(), "\\", &value, &value_length), TRUE);
    ASSERT_GE(value_length, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, value, sizeof info);
    EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(info.dwFileVersionLS, 0x00050000u);
}

TEST(VersionResource, MissingFileHasNone) {
    SetLastError(0);
    EXPECT_EQ(GetFileVersionInfoSizeA("no-such-file-anywhere.dll", nullptr), 0u);
    EXPECT_NE(GetLastError(), 0u);
}

TEST(ModuleFile, LongPathIsCutAndTerminated) {
    char path[260];
    const DWORD length = GetModuleFileNameA(Module(), path, sizeof path);
    ASSERT_GT(length, 4u);
    char small[4];
    std::memset(small, 'X', sizeof small);
    EXPECT_EQ(GetModuleFileNameA(Module(), small, sizeof small), 4u);
    EXPECT_EQ(std::memcmp(small, path, 3), 0);
}

}  // namespace
