// Appending to fixed buffers: cut at the end, never half a double-byte
// character of code page 932.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "frame/bounded_text.h"
#include "support/language_guard.h"

namespace {

using tb58::frame::BoundedText;
using tb58::frame::CharacterPrefix;

// "紙詰まり" in code page 932: four double-byte characters.
const std::string kJapanese = "\x8e\x86\x8b\x6c\x82\xdc\x82\xe8";

TEST(CharacterPrefix, DoubleByteCharactersStayWhole) {
    for (size_t limit = 0; limit <= 9; ++limit) {
        const size_t taken = CharacterPrefix(kJapanese, limit, 932);
        EXPECT_EQ(taken, std::min<size_t>(limit / 2 * 2, 8)) << limit;
    }
    EXPECT_EQ(CharacterPrefix("a" + kJapanese, 2, 932), 1u);
    EXPECT_EQ(CharacterPrefix(kJapanese, 3, 1252), 3u);  // single-byte code pages cut anywhere
}

// Every byte value as the last byte before the cut: the lead bytes of code
// page 932 (0x81 to 0x9F, 0xE0 to 0xFC) are left out with their character,
// every other byte stays; the single-byte code pages keep every byte.
TEST(CharacterPrefix, EveryByteAtTheCutInEachCodePage) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const std::string text = std::string("a") + static_cast<char>(byte) + "\x40z";
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        EXPECT_EQ(CharacterPrefix(text, 2, 932), lead ? 1u : 2u) << std::hex << byte;
        // With room for the whole character it is taken.
        EXPECT_EQ(CharacterPrefix(text, 3, 932), 3u) << std::hex << byte;
        EXPECT_EQ(CharacterPrefix(text, 2, 1252), 2u) << std::hex << byte;
        EXPECT_EQ(CharacterPrefix(text, 2, 1250), 2u) << std::hex << byte;
    }
}

TEST(BoundedText, AppendCutsAndTerminatesAppendWholeRefuses) {
    char out[8];
    std::memset(out, 'X', sizeof out);
    BoundedText text(out, 6, 1252);
    EXPECT_TRUE(text.Append("abc"));
    EXPECT_FALSE(text.AppendWhole("def"));
    EXPECT_STREQ(out, "abc");
    EXPECT_FALSE(text.Append("defgh"));
    EXPECT_STREQ(out, "abcde");
    EXPECT_EQ(out[6], 'X');
    EXPECT_FALSE(text.Append("x"));
    EXPECT_EQ(text.length(), 5u);
}

TEST(BoundedText, JapaneseTextIsCutBeforeADoubleByteCharacter) {
    char out[8];
    BoundedText text(out, 6, 932);
    EXPECT_FALSE(text.Append("a" + kJapanese));
    EXPECT_EQ(std::string(out), "a\x8e\x86\x8b\x6c");
}

TEST(CurrentAnsiCodePage, FollowsTheDisplayLanguage) {
    tb58::test::LanguageGuard japanese(0x0411);
    EXPECT_EQ(tb58::frame::CurrentAnsiCodePage(), 932u);
    tb58::frame::SetCurrentLanguage(0x0415);
    EXPECT_EQ(tb58::frame::CurrentAnsiCodePage(), 1250u);
}

}  // namespace
