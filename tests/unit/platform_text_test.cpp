// The ANSI text functions, the code page of each language and the
// conversion of UTF-16 texts into the ANSI code pages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32_api.h"

namespace {

// A UTF-16 text in the platform's unit type.
std::basic_string<WideUnit> Wide(std::u16string_view text) {
    return std::basic_string<WideUnit>(text.begin(), text.end());
}

std::string Convert(UINT code_page, std::u16string_view text) {
    const auto wide = Wide(text);
    char out[64];
    std::memset(out, 'X', sizeof out);
    const int n = WideCharToMultiByte(code_page, 0, wide.c_str(), -1, out, sizeof out, nullptr, nullptr);
    if (n <= 0) return "<failed>";
    EXPECT_EQ(out[n - 1], '\0');
    return std::string(out, static_cast<size_t>(n - 1));
}

TEST(AnsiText, CopyWithLimitCutsAndTerminates) {
    char out[8];
    std::memset(out, 'X', sizeof out);
    lstrcpynA(out, "ENGLISHMAN", 5);
    EXPECT_STREQ(out, "ENGL");
    EXPECT_EQ(out[5], 'X');
    lstrcpynA(out, "EN", 5);
    EXPECT_STREQ(out, "EN");
}

TEST(AnsiText, CompareLengthConcatenateAndUpperCase) {
    EXPECT_EQ(lstrcmpA("EN", "EN"), 0);
    EXPECT_NE(lstrcmpA("EN", "EN "), 0);
    EXPECT_NE(lstrcmpA("EN", "en"), 0);
    EXPECT_EQ(lstrlenA("Tray 3"), 6);
    char text[16] = "Tray ";
    lstrcatA(text, "3");
    EXPECT_STREQ(text, "Tray 3");
    char code[] = "jp-Fi9";
    CharUpperA(code);
    EXPECT_STREQ(code, "JP-FI9");
}

std::string CodePageOf(LCID language) {
    char value[16] = {};
    const int length = GetLocaleInfoA(language, LOCALE_IDEFAULTANSICODEPAGE, nullptr, 0);
    EXPECT_GT(length, 1);
    EXPECT_EQ(GetLocaleInfoA(language, LOCALE_IDEFAULTANSICODEPAGE, value, sizeof value), length);
    return value;
}

TEST(LocaleInfo, AnsiCodePageOfEveryLanguage) {
    for (LCID language : {0x0406u, 0x0407u, 0x0409u, 0x040Au, 0x040Bu, 0x040Cu, 0x0410u, 0x0413u, 0x0414u,
                          0x0416u, 0x041Du}) {
        EXPECT_EQ(CodePageOf(language), "1252") << std::hex << language;
    }
    for (LCID language : {0x0405u, 0x040Eu, 0x0415u}) EXPECT_EQ(CodePageOf(language), "1250") << language;
    EXPECT_EQ(CodePageOf(0x0411u), "932");
}

TEST(CodePage, NonAsciiTextsReachTheirCodePages) {
    EXPECT_EQ(Convert(1252, u"Gr\u00f6\u00dfe \u00e9t\u00e9"), "Gr\xf6\xdf" "e \xe9t\xe9");
    EXPECT_EQ(Convert(1250, u"\u0141\u00f3d\u017a"), "\xa3\xf3" "d\x9f");
    EXPECT_EQ(Convert(932, u"\u7d19\u8a70\u307e\u308a"), "\x8e\x86\x8b\x6c\x82\xdc\x82\xe8");
    EXPECT_EQ(Convert(CP_UTF8, u"\u00e9"), "\xc3\xa9");
}

TEST(CodePage, CharactersTheCodePageCannotHoldBecomeQuestionMarks) {
    EXPECT_EQ(Convert(1252, u"a\u7d19b"), "a?b");
    EXPECT_EQ(Convert(932, u"x\u0416y"), "x\x84\x47y");  // Cyrillic is in code page 932
    EXPECT_EQ(Convert(1250, u"\u7d19"), "?");
}

TEST(CodePage, SizeQueryAndTooSmallBuffer) {
    const auto wide = Wide(u"\u7d19\u8a70");  // four bytes in code page 932, plus the terminator
    EXPECT_EQ(WideCharToMultiByte(932, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr), 5);
    char out[8];
    std::memset(out, 'X', sizeof out);
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(932, 0, wide.c_str(), -1, out, 4, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    for (int i = 4; i < 8; ++i) EXPECT_EQ(out[i], 'X') << "byte written past the capacity at " << i;
    // A counted text converts without a terminator.
    EXPECT_EQ(WideCharToMultiByte(932, 0, wide.c_str(), 1, out, sizeof out, nullptr, nullptr), 2);

    // The same rules for a text of ASCII characters alone, in every code page.
    const auto ascii = Wide(u"Tray 2");
    for (UINT code_page : {1250u, 1252u, 932u, 65001u}) {
        EXPECT_EQ(WideCharToMultiByte(code_page, 0, ascii.c_str(), -1, nullptr, 0, nullptr, nullptr), 7) << code_page;
        std::memset(out, 'X', sizeof out);
        SetLastError(0);
        EXPECT_EQ(WideCharToMultiByte(code_page, 0, ascii.c_str(), -1, out, 6, nullptr, nullptr), 0) << code_page;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER)) << code_page;
        for (int i = 6; i < 8; ++i) EXPECT_EQ(out[i], 'X') << "byte written past the capacity at " << i;
        EXPECT_EQ(WideCharToMultiByte(code_page, 0, ascii.c_str(), -1, out, 7, nullptr, nullptr), 7) << code_page;
        EXPECT_STREQ(out, "Tray 2") << code_page;
        EXPECT_EQ(WideCharToMultiByte(code_page, 0, ascii.c_str(), 4, out, sizeof out, nullptr, nullptr), 4);
    }
}

}  // namespace
