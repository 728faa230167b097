// Keyword sets: every word is found under its number, and no other text is,
// however close: one byte changed anywhere (also in the middle of a word
// longer than the hash reads), one byte more or less, the empty text.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/code_by_name.h"
#include "core/keyword_set.h"
#include "pjl/common_dispatch_rows.h"
#include "pjl/dispatch_index.h"
#include "pjl/reply_dispatch.h"

namespace {

using tb58::KeywordSet;

constexpr std::string_view kWords[] = {
    "INFO",  "INQUIRE", "INTRAY1SIZE", "INTRAY2SIZE", "A", "AB", "ABC", "OPTIONALOUTPUTBIN1", "OPTIONALOUTPUTBIN2",
    "OUTTRAYFINISHVOLE", "OUTTRAYFINISHVOLEA", "A LONG KEYWORD THAT DIFFERS IN THE MIDDLE X ONLY",
    "A LONG KEYWORD THAT DIFFERS IN THE MIDDLE Y ONLY",
};
constexpr auto kSet = tb58::MakeKeywordSet<6>(kWords);

template <size_t Capacity, unsigned Bits>
void ExpectOnlyItsWordsFound(const KeywordSet<Capacity, Bits>& set) {
    for (size_t i = 0; i < set.count; ++i) {
        const std::string word(set.words[i]);
        ASSERT_EQ(set.Find(word), i + 1) << word;
        EXPECT_EQ(set.View().Find(word), i + 1) << word;
        for (size_t at = 0; at < word.size(); ++at) {
            for (const int delta : {1, -1, 0x20, 0x80}) {
                std::string changed = word;
                changed[at] = static_cast<char>(changed[at] + delta);
                if (set.FindConstant(changed) != 0) continue;  // another word of the set
                EXPECT_EQ(set.Find(changed), 0u) << word << " changed at " << at;
            }
        }
        for (const std::string& close_text : {word + " ", word + word.back(), word.substr(0, word.size() - 1),
                                              word.substr(1), std::string(1, '\0') + word}) {
            if (set.FindConstant(close_text) != 0) continue;
            EXPECT_EQ(set.Find(close_text), 0u) << "'" << close_text << "'";
        }
    }
    EXPECT_EQ(set.Find(""), 0u);
}

TEST(KeywordSet, FindsEachWordAndNoTextCloseToOne) {
    EXPECT_EQ(kSet.count, std::size(kWords));
    ExpectOnlyItsWordsFound(kSet);
}

TEST(KeywordSet, ReadsTheTextNotBeyondIt) {
    // The text is a view into a longer buffer: what follows it does not count.
    const std::string buffer = "INTRAY1SIZEX";
    EXPECT_EQ(kSet.Find(std::string_view(buffer).substr(0, 11)), kSet.FindConstant("INTRAY1SIZE"));
    EXPECT_EQ(kSet.Find(std::string_view(buffer).substr(0, 4)), 0u);  // "INTR"
    EXPECT_EQ(kSet.Find(std::string_view(buffer).substr(0, 2)), 0u);  // "IN"
}

// A name table read through its index answers as the table read row by row:
// the first row of a name counts, any other text gives the default.
TEST(KeywordSet, IndexedNameTableAnswersAsTheTable) {
    constexpr auto kTable = tb58::MakeCodeByNameTable({{"A4", 1}, {"A3", 2}, {"A4", 3}, {"LETTERLONG", 4}}, 99);
    constexpr auto kIndex = tb58::IndexCodeByName(kTable);
    const tb58::CodeByNameIndex index = kIndex.View();
    for (const std::string_view text : {"A4", "A3", "LETTERLONG", "LETTERLONG ", "A", "", "a4", "A4\0"}) {
        EXPECT_EQ(index.Lookup(text), tb58::LookupCodeByName(text, kTable)) << text;
    }
    EXPECT_EQ(index.Lookup("A4"), 1u);
    EXPECT_EQ(index.Lookup("B5"), 99u);
}

// The dispatch index's keywords are every text its rows name, and a path is
// found only with each of its keywords at its own level.
TEST(KeywordSet, DispatchKeywordsAndPathsStayApart) {
    using namespace tb58::pjl;
    const std::span<const PjlDispatchRow> common(kCommonDispatchRows);
    for (const std::span<const PjlDispatchRow> table : {kModelDispatchRows, common}) {
        for (const PjlDispatchRow& row : table) {
            for (size_t level = 0; level < kPathLevels; ++level) {
                if (!row.path[level].empty()) {
                    ASSERT_NE(kModelDispatchIndex.keywords.Find(row.path[level]), 0u) << row.path[level];
                }
                // The same path with this level's text one byte off, or moved
                // to the next level, names no row.
                std::string off(row.path[level]);
                if (off.empty()) continue;
                off.back() = '#';
                std::string_view levels[kPathLevels];
                for (size_t at = 0; at < kPathLevels; ++at) levels[at] = row.path[at];
                levels[level] = off;
                EXPECT_EQ(kModelDispatchIndex.Find(levels), nullptr) << off;
                if (level + 1 < kPathLevels && row.path[level + 1].empty()) {
                    levels[level] = "";
                    levels[level + 1] = row.path[level];
                    EXPECT_EQ(kModelDispatchIndex.Find(levels), nullptr) << row.path[level] << " one level down";
                }
            }
        }
    }
}

}  // namespace
