// Library texts in each language's ANSI code page, shown as UTF-8.
#include <gtest/gtest.h>

#include "base/terminal_text.h"

namespace tb58mon {
namespace {

TEST(TerminalText, CodePagesOfTheLanguages) {
    EXPECT_EQ(CodePageOfLanguage("JP"), 932u);
    EXPECT_EQ(CodePageOfLanguage("jp"), 932u);
    EXPECT_EQ(CodePageOfLanguage("PL"), 1250u);
    EXPECT_EQ(CodePageOfLanguage("hu"), 1250u);
    EXPECT_EQ(CodePageOfLanguage("CS"), 1250u);
    EXPECT_EQ(CodePageOfLanguage("DE"), 1252u);
    EXPECT_EQ(CodePageOfLanguage("EN"), 1252u);
}

TEST(TerminalText, ConvertsEachCodePageToUtf8) {
    EXPECT_EQ(AnsiToUtf8("Tray 3, Copy Tray", 1252), "Tray 3, Copy Tray");
    EXPECT_EQ(AnsiToUtf8("Brosch\xFCreneinheit", 1252), "Brosch\xC3\xBCreneinheit");
    EXPECT_EQ(AnsiToUtf8("\x80", 1252), "\xE2\x82\xAC");                   // the euro sign
    EXPECT_EQ(AnsiToUtf8("Podajnik \xB3", 1250), "Podajnik \xC5\x82");     // l with stroke
    EXPECT_EQ(AnsiToUtf8("\x83g\x83\x8C\x83""C3", 932), "\xE3\x83\x88\xE3\x83\xAC\xE3\x82\xA4" "3");  // トレイ3
    EXPECT_EQ(AnsiToUtf8("\xB1", 932), "\xEF\xBD\xB1");                    // half-width katakana A
    EXPECT_EQ(AnsiToUtf8("", 932), "");
}

TEST(TerminalText, BytesWithoutACharacterAreReplaced) {
    // A lead byte cut off at the end of a text, and a byte 1252 leaves undefined.
    const std::string cut = AnsiToUtf8("ab\x83", 932);
    EXPECT_EQ(cut.substr(0, 2), "ab");
    EXPECT_GT(cut.size(), 2u);
    EXPECT_EQ(AnsiToUtf8("a\x81z", 1252).front(), 'a');
    EXPECT_EQ(AnsiToUtf8("a\x81z", 1252).back(), 'z');
    // Long texts are converted whole (the conversion works in chunks).
    const std::string long_text(5000, '\xFC');
    std::string expected;
    for (int i = 0; i < 5000; ++i) expected += "\xC3\xBC";
    EXPECT_EQ(AnsiToUtf8(long_text, 1252), expected);
}

}  // namespace
}  // namespace tb58mon
