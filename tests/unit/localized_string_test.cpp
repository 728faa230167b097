// Loading string resources by id: the English texts, the ids without text,
// cutting to the caller's capacity, and the failure codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Tb58Wk31.h"
#include "frame/localized_string.h"
#include "platform/platform_traits.h"
#include "platform/win32_api.h"
#include "support/allocation_switch.h"
#include "support/language_guard.h"

namespace {

using tb58::test::AllocationSwitchGuard;

using tb58::frame::LoadLocalizedString;
using tb58::test::LanguageGuard;

struct IdAndText {
    uint32_t id;
    const char* text;
};

constexpr IdAndText kEnglishTexts[] = {
#include "unit/english_texts.inc"
};

std::string Load(uint32_t id, int32_t capacity = 512) {
    std::string buffer(static_cast<size_t>(capacity) + 8, 'X');
    const uint32_t result = LoadLocalizedString(id, buffer.data(), capacity);
    EXPECT_EQ(result, 0u) << "id " << id;
    for (size_t i = static_cast<size_t>(capacity); i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], 'X') << "written past the capacity, id " << id;
    }
    return buffer.c_str();
}

TEST(LocalizedString, EveryEnglishTextLoadsExactly) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(std::size(kEnglishTexts), 343u);
    for (const auto& row : kEnglishTexts) EXPECT_EQ(Load(row.id), row.text) << "id " << row.id;
}

TEST(LocalizedString, SeparatorAndReady) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(Load(3500), ", ");
    EXPECT_EQ(Load(1000), "Operational");
}

TEST(LocalizedString, IdsWithoutTextLoadAsTheEmptyText) {
    LanguageGuard guard(0x0409);
    for (uint32_t id : {1500u, 2500u, 2088u, 2093u, 2094u}) {
        char text[16] = "junk";
        EXPECT_EQ(LoadLocalizedString(id, text, sizeof text), 0u) << id;
        EXPECT_STREQ(text, "") << id;
    }
}

TEST(LocalizedString, DefaultLanguageIsTheProcessLanguage) {
    // The tests run with a neutral process locale, which stands for English.
    LanguageGuard guard(0x0400);
    EXPECT_EQ(Load(1001), "No Response from Machine");
}

TEST(LocalizedString, LanguagesWithoutTableUseThePlatformsSubstitute) {
    for (LANGID language : {LANGID{0x0405}, LANGID{0x040E}}) {
        LanguageGuard guard(language);
        if (tb58::platform::kSubstitutesResourceLanguage) {
            EXPECT_EQ(Load(3012), "Front Cover") << std::hex << language;
        } else {
            char text[16] = "junk";
            EXPECT_EQ(LoadLocalizedString(3012, text, sizeof text), TB58_ERROR_NOT_FOUND);
            EXPECT_STREQ(text, "");
        }
    }
}

TEST(LocalizedString, LongTextIsCutToTheCapacityAndTerminated) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(Load(1000, 5), "Oper");
    EXPECT_EQ(Load(1000, 11), "Operationa");
    EXPECT_EQ(Load(1000, 12), "Operational");
    EXPECT_EQ(Load(1000, 1), "");
}

TEST(LocalizedString, UnknownIdIsNotFound) {
    LanguageGuard guard(0x0409);
    char text[16] = "junk";
    EXPECT_EQ(LoadLocalizedString(60000, text, sizeof text), TB58_ERROR_NOT_FOUND);
    EXPECT_STREQ(text, "");
}

TEST(LocalizedString, NoBufferIsInvalid) {
    char text[4] = "abc";
    EXPECT_EQ(LoadLocalizedString(1000, nullptr, 16), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(LoadLocalizedString(1000, text, 0), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_STREQ(text, "abc");
}

TEST(LocalizedString, LanguageWithoutCodePageIsUnknownLocale) {
    LanguageGuard guard(0x0436);  // Afrikaans: Windows knows its code page, the platform layer does not
    char text[16];
    EXPECT_EQ(LoadLocalizedString(1000, text, sizeof text),
              tb58::platform::kSubstitutesResourceLanguage ? TB58_ERROR_UNKNOWN_LOCALE : TB58_ERROR_NOT_FOUND);
}

TEST(LocalizedString, FailedWorkAllocationsAreNotFound) {
    LanguageGuard guard(0x0409);
    AllocationSwitchGuard switch_guard;
    char text[16];
    for (int allowed : {0, 1}) {  // the code-page text, then the work text
        tb58::platform::FailAllocationAfter(allowed);
        EXPECT_EQ(LoadLocalizedString(1000, text, sizeof text), TB58_ERROR_NOT_FOUND) << allowed;
    }
    tb58::platform::FailAllocationAfter(-1);
    EXPECT_EQ(LoadLocalizedString(1000, text, sizeof text), 0u);
}

// Cutting a converted text never splits a double-byte character.
TEST(ConvertToCodePage, DoubleByteTextIsCutAtACharacterBoundary) {
    const std::u16string source = u"\u7d19\u8a70\u307e\u308a";  // 8 bytes in code page 932
    const std::basic_string<WideUnit> wide(source.begin(), source.end());
    char out[16];
    for (int capacity = 1; capacity <= 10; ++capacity) {
        std::memset(out, 'X', sizeof out);
        tb58::frame::ConvertToCodePage(932, wide.c_str(), static_cast<int>(wide.size()), out, capacity);
        const size_t length = std::strlen(out);
        EXPECT_EQ(length % 2, 0u) << "capacity " << capacity;
        EXPECT_LE(length + 1, static_cast<size_t>(capacity));
        EXPECT_EQ(length, static_cast<size_t>(((capacity - 1) / 2) * 2 > 8 ? 8 : ((capacity - 1) / 2) * 2));
        EXPECT_EQ(out[capacity], 'X');
    }
}

TEST(ConvertToCodePage, SurrogatePairsAreNotSplit) {
    const std::u16string source = u"a\U0001F600";  // one character in two units
    const std::basic_string<WideUnit> wide(source.begin(), source.end());
    char out[8];
    tb58::frame::ConvertToCodePage(CP_UTF8, wide.c_str(), static_cast<int>(wide.size()), out, 4);
    EXPECT_STREQ(out, "a");
    tb58::frame::ConvertToCodePage(CP_UTF8, wide.c_str(), static_cast<int>(wide.size()), out, 6);
    EXPECT_STREQ(out, "a\xf0\x9f\x98\x80");
}

}  // namespace
