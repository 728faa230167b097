// Choosing the display language: the codes of the locale table, their
// spellings, rejected codes, and concurrent changes of the language.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Tb58Wk31.h"
#include "frame/display_language.h"
#include "frame/localized_string.h"
#include "support/language_guard.h"

namespace {

using tb58::frame::CurrentLanguage;
using tb58::test::LanguageGuard;

struct CodeAndLanguage {
    const char* code;
    LANGID language;
};

constexpr CodeAndLanguage kAccepted[] = {
    {"JP", 0x0411}, {"EN", 0x0409}, {"DE", 0x0407}, {"FR", 0x040C}, {"IT", 0x0410},
    {"ES", 0x040A}, {"NL", 0x0413}, {"SV", 0x041D}, {"DA", 0x0406}, {"NO", 0x0414},
    {"CS", 0x0405}, {"HU", 0x040E}, {"PT", 0x0416}, {"PL", 0x0415}, {"FI", 0x040B},
};

TEST(SetLocale, LanguageStartsAsTheUsersDefault) {
    EXPECT_EQ(tb58::frame::kDefaultLanguage, 0x0400);
}

TEST(SetLocale, EveryCodeOfTheTableSelectsItsLanguage) {
    LanguageGuard guard(0x0400);
    for (const auto& row : kAccepted) {
        SetLastError(0xDEAD);
        EXPECT_EQ(PatSetLocale(row.code), 1) << row.code;
        EXPECT_EQ(GetLastError(), 0u) << row.code;
        EXPECT_EQ(CurrentLanguage(), row.language) << row.code;
    }
}

TEST(SetLocale, CaseDoesNotMatter) {
    LanguageGuard guard(0x0409);
    for (const char* code : {"jp", "Jp", "jP"}) {
        EXPECT_EQ(PatSetLocale(code), 1) << code;
        EXPECT_EQ(CurrentLanguage(), 0x0411) << code;
        tb58::frame::SetCurrentLanguage(0x0409);
    }
}

TEST(SetLocale, UnknownCodesLeaveTheLanguageInForce) {
    LanguageGuard guard(0x0407);
    for (const char* code : {"EN ", "ENG", "ENGLISH", "", "E", "XX", "ENXXXXXXXXXXXXXXXXXXXXXXXXX", "CZ", "JA"}) {
        SetLastError(0);
        EXPECT_EQ(PatSetLocale(code), 0) << code;
        EXPECT_EQ(GetLastError(), TB58_ERROR_UNKNOWN_LOCALE) << code;
        EXPECT_EQ(CurrentLanguage(), 0x0407) << code;
    }
}

TEST(SetLocale, OnlyTheFirstNineCharactersAreCompared) {
    LanguageGuard guard(0x0409);
    // A long code is cut after nine characters, so it can never equal a
    // two-letter code, and whatever follows the ninth character is ignored.
    const std::string long_code(5000, 'A');
    EXPECT_EQ(PatSetLocale(long_code.c_str()), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_UNKNOWN_LOCALE);
    EXPECT_EQ(CurrentLanguage(), 0x0409);
}

TEST(SetLocale, NullCodeIsInvalid) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(PatSetLocale(nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(CurrentLanguage(), 0x0409);
}

TEST(SetLocale, CodeTextIsNotChanged) {
    LanguageGuard guard(0x0409);
    char code[] = "de";
    EXPECT_EQ(PatSetLocale(code), 1);
    EXPECT_STREQ(code, "de");
}

// One thread switches the language back and forth while others load texts:
// every load must see one whole language and give a complete text.
TEST(SetLocale, ChangingTheLanguageWhileOtherThreadsLoadTexts) {
    LanguageGuard guard(0x0409);
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([&] {
            char text[64];
            for (int i = 0; i < 300; ++i) {
                // Where the platform finds no table for a language, the
                // text is absent; it is never a partial text.  The separator
                // is ", " in English and German, the ideographic comma in
                // Japanese.
                const uint32_t result = tb58::frame::LoadLocalizedString(3500, text, sizeof text);
                const bool whole = std::strcmp(text, ", ") == 0 || std::strcmp(text, "\x81\x41") == 0;
                if (!(result == 0 && whole) && !(result == TB58_ERROR_NOT_FOUND && text[0] == '\0')) {
                    ++bad;
                }
                const LANGID language = CurrentLanguage();
                if (language != 0x0409 && language != 0x0407 && language != 0x0411) ++bad;
            }
        });
    }
    std::thread writer([&] {
        const char* codes[] = {"EN", "DE", "JP"};
        for (int i = 0; !stop.load(); ++i) PatSetLocale(codes[i % 3]);
    });
    for (auto& reader : readers) reader.join();
    stop = true;
    writer.join();
    EXPECT_EQ(bad.load(), 0);
}

}  // namespace
