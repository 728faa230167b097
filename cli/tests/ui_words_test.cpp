// The word catalog: complete in every display language, each text in its
// language's code page, the same places as English, and every reply word
// the printer sends known.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "base/reply_words.h"
#include "base/terminal_text.h"
#include "base/ui_word_rows.h"
#include "base/ui_words.h"

namespace tb58mon {
namespace {

// The code points of UTF-8 text; nullopt for text that is not UTF-8.
std::optional<std::vector<char32_t>> CodePoints(std::string_view text) {
    std::vector<char32_t> points;
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const size_t length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return std::nullopt;
        char32_t point = length == 1 ? byte : byte & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            point = (point << 6) | (next & 0x3F);
        }
        points.push_back(point);
        i += length;
    }
    return points;
}

// "{a} and {b}" -> {"a", "b"}
std::multiset<std::string> Places(std::string_view text) {
    std::multiset<std::string> places;
    for (size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
        const size_t close = text.find('}', open);
        if (close != std::string_view::npos) places.insert(std::string(text.substr(open + 1, close - open - 1)));
    }
    return places;
}

// Every text of the catalog with where it stands, for the checks that walk
// the whole of it.
struct CatalogText {
    std::string where;  // "health_error/JP"
    size_t column;
    std::string_view text;
    std::string_view english;
};

std::vector<CatalogText> AllTexts() {
    std::vector<CatalogText> all;
    const auto add = [&](std::string_view name, const WordTexts& texts) {
        for (size_t c = 0; c < kCatalogLanguages; ++c) {
            all.push_back({std::string(name) + "/" + std::string(LanguageRows()[c].code), c, texts[c], texts[0]});
        }
    };
    for (const UiWordRow& row : UiWordRows()) add(row.key, row.text);
    for (const ReplyWordRow& row : MediaWordRows()) add(row.word, row.text);
    for (const ReplyWordRow& row : BinStateWordRows()) add(row.word, row.text);
    return all;
}

// The characters a code page has: every byte, and for 932 every lead byte
// with every trail byte, converted.  A pair the code page lacks becomes a
// replacement character, which is in the set anyway.
std::set<char32_t> CodePageCharacters(uint32_t code_page) {
    std::set<char32_t> characters;
    const auto add = [&](const std::string& bytes) {
        for (char32_t point : CodePoints(AnsiToUtf8(bytes, code_page)).value_or(std::vector<char32_t>{})) {
            characters.insert(point);
        }
    };
    std::string singles;
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        const bool lead = code_page == 932 && ((byte >= 0x81 && byte <= 0x9F) || byte >= 0xE0);
        if (!lead) singles += static_cast<char>(byte);
        if (!lead) singles += ' ';
    }
    add(singles);
    if (code_page == 932) {
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (lead > 0x9F && lead < 0xE0) continue;
            std::string pairs;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                pairs += static_cast<char>(lead);
                pairs += static_cast<char>(trail);
                pairs += ' ';  // the next pair starts afresh after a pair the code page lacks
            }
            add(pairs);
        }
    }
    characters.erase(U'?');
    characters.erase(U'\uFFFD');
    return characters;
}

TEST(UiWords, TheCatalogHasARowForEveryWordAndEveryLanguage) {
    ASSERT_EQ(UiWordRows().size(), static_cast<size_t>(WordId::kCount));
    std::set<std::string_view> keys;
    for (size_t i = 0; i < UiWordRows().size(); ++i) {
        const UiWordRow& row = UiWordRows()[i];
        EXPECT_EQ(static_cast<size_t>(row.id), i) << row.key;
        EXPECT_TRUE(keys.insert(row.key).second) << "two words named " << row.key;
        EXPECT_TRUE(!row.key.empty() && std::all_of(row.key.begin(), row.key.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        })) << row.key;
        EXPECT_EQ(FindWordId(row.key), row.id);
        EXPECT_EQ(WordKey(row.id), row.key);
    }
    EXPECT_EQ(FindWordId("no_such_word"), std::nullopt);
    // The columns are the languages the monitor offers, in its order.
    ASSERT_EQ(LanguageCodes().size(), kCatalogLanguages);
    for (size_t c = 0; c < kCatalogLanguages; ++c) EXPECT_EQ(LanguageRows()[c].code, LanguageCodes()[c]);
}

TEST(UiWords, EveryTextIsThereAndPlainUtf8) {
    for (const CatalogText& entry : AllTexts()) {
        EXPECT_FALSE(entry.text.empty()) << entry.where << " is missing";
        if (entry.text.empty()) continue;
        EXPECT_NE(entry.text.front(), ' ') << entry.where;
        EXPECT_NE(entry.text.back(), ' ') << entry.where;
        const auto points = CodePoints(entry.text);
        ASSERT_TRUE(points.has_value()) << entry.where << " is not UTF-8";
        for (char32_t point : *points) {
            EXPECT_FALSE(point < 0x20 || (point >= 0x7F && point < 0xA0)) << entry.where << " holds a control character";
        }
    }
}

TEST(UiWords, EveryLanguageHasThePlacesOfEnglish) {
    for (const CatalogText& entry : AllTexts()) {
        EXPECT_EQ(Places(entry.text), Places(entry.english)) << entry.where << ": " << entry.text;
    }
    for (const std::string_view place : {"{n}", "{label}", "{value}", "{text}", "{tray}", "{level}", "{day}", "{size}"}) {
        const bool used = std::any_of(UiWordRows().begin(), UiWordRows().end(),
                                      [&](const UiWordRow& row) { return row.text[0].find(place) != std::string_view::npos; });
        EXPECT_TRUE(used) << place;
    }
}

TEST(UiWords, EveryTextFitsItsLanguagesCodePage) {
    std::map<uint32_t, std::set<char32_t>> code_pages;
    for (const CatalogText& entry : AllTexts()) {
        const uint32_t code_page = CodePageOfLanguage(LanguageRows()[entry.column].code);
        auto [page, fresh] = code_pages.try_emplace(code_page);
        if (fresh) page->second = CodePageCharacters(code_page);
        for (char32_t point : CodePoints(entry.text).value_or(std::vector<char32_t>{})) {
            EXPECT_TRUE(page->second.count(point)) << entry.where << ": U+" << std::hex << static_cast<uint32_t>(point)
                                                  << " is not in code page " << std::dec << code_page;
        }
    }
    // The check itself tells the code pages apart.
    EXPECT_TRUE(code_pages.at(1250).count(U'\u0151'));   // o with double acute (Hungarian)
    EXPECT_FALSE(code_pages.at(1252).count(U'\u0151'));
    EXPECT_TRUE(code_pages.at(932).count(U'\u7D19'));    // 紙
    EXPECT_FALSE(code_pages.at(932).count(U'\u7EB8'));   // its simplified form
}

TEST(UiWords, JapaneseReadsAsJapanese) {
    const auto japanese = [](std::string_view text) {
        const auto points = CodePoints(text).value_or(std::vector<char32_t>{});
        return std::any_of(points.begin(), points.end(), [](char32_t p) { return p >= 0x3000; });
    };
    for (const CatalogText& entry : AllTexts()) {
        if (LanguageRows()[entry.column].code == "JP") {
            EXPECT_TRUE(japanese(entry.text)) << entry.where << ": " << entry.text;
        }
    }
    for (const PaperSizeRow& row : PaperSizeRows()) {
        if (row.name == WordId::kCount && row.feed == WordId::kCount) continue;  // A3, B4 (JIS): no words
        EXPECT_TRUE(japanese(ReplyWordText(ReplyWordKind::kPaperSize, row.word, "JP"))) << row.word;
    }
}

TEST(UiWords, NoLanguageIsMostlyEnglish) {
    // Some words are the same (Toner, Status, Letter); a column that is
    // mostly English was not translated.
    std::vector<size_t> same(kCatalogLanguages, 0);
    size_t rows = 0;
    for (const CatalogText& entry : AllTexts()) {
        if (entry.column == 0) ++rows;
        if (entry.text == entry.english) ++same[entry.column];
    }
    for (size_t c = 1; c < kCatalogLanguages; ++c) {
        EXPECT_LT(same[c] * 100, rows * 30) << LanguageRows()[c].code << ": " << same[c] << " of " << rows;
    }
}

TEST(UiWords, EveryReplyWordOfThePrinterIsKnownAndNoOther) {
    const std::pair<ReplyWordKind, std::span<const WordCode>> kinds[] = {
        {ReplyWordKind::kMedia, MediaTable()},
        {ReplyWordKind::kBinState, BinStateTable()},
        {ReplyWordKind::kPaperSize, PaperSizeTable()},
    };
    for (const auto& [kind, table] : kinds) {
        EXPECT_EQ(KnownReplyWords(kind).size(), table.size());
        for (const WordCode& row : table) {
            for (std::string_view lang : LanguageCodes()) {
                EXPECT_FALSE(ReplyWordText(kind, row.word, lang).empty()) << row.word << "/" << lang;
            }
        }
        for (std::string_view word : KnownReplyWords(kind)) EXPECT_NE(FindWord(table, word), nullptr) << word;
    }
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kMedia, "NOSUCHMEDIA", "DE"), "");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kMedia, "plain", "DE"), "");  // as the printer sends it only
}

TEST(UiWords, LooksUpByLanguageInAnyCase) {
    EXPECT_EQ(UiWord(WordId::kToner, "JP"), "トナー");
    EXPECT_EQ(UiWord(WordId::kToner, "jp"), "トナー");
    EXPECT_EQ(UiWord(WordId::kToner, "FI"), "Väriaine");
    EXPECT_EQ(UiWord(WordId::kPageTitle, "EN"), "Printer fleet");
    EXPECT_EQ(UiWord(WordId::kPageTitle, "XX"), "Printer fleet");
    EXPECT_EQ(UiWord(WordId::kPageTitle, ""), "Printer fleet");
    EXPECT_EQ(UiWord(WordId::kCount, "DE"), "");
    EXPECT_EQ(UiWord(WordId::kHealthNoResponse, "de"), "Keine Antwort");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kMedia, "PLAIN", "JP"), "普通紙");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kBinState, "PAPEREXIST", "DE"), "Papier vorhanden");
    EXPECT_EQ(LanguageTag("JP"), "ja");
    EXPECT_EQ(LanguageTag("no"), "nb");
    EXPECT_EQ(LanguageTag("PT"), "pt-BR");
    EXPECT_EQ(LanguageTag("??"), "en");
    EXPECT_EQ(LanguageName("JP"), "日本語");
    EXPECT_EQ(LanguageName("cs"), "Čeština");
}

TEST(UiWords, PaperSizesInWords) {
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kPaperSize, "A4LONG", "DE"), "A4, lange Kante zuerst");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kPaperSize, "A4SRT", "EN"), "A4, short edge first");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kPaperSize, "LETTERSRT", "JP"), "レター（短辺送り）");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kPaperSize, "HALFLETTERL", "FR"), "Demi-lettre, bord long en premier");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kPaperSize, "JPOST", "JP"), "はがき");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kPaperSize, "A3", "PL"), "A3");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kPaperSize, "JISB4", "JP"), "B4 (JIS)");
    EXPECT_EQ(ReplyWordText(ReplyWordKind::kPaperSize, "A4", "EN"), "");  // no such reply word
    // Each word's feed is the one its name says.
    for (const PaperSizeRow& row : PaperSizeRows()) {
        const bool short_edge = row.word.ends_with("SRT") || row.word == "HALFLETTERS" || row.word == "EXECUTIVES";
        const bool long_edge = row.word.ends_with("LONG") || row.word == "HALFLETTERL" || row.word == "EXECUTIVEL";
        EXPECT_EQ(row.feed == WordId::kPaperShortEdgeFirst, short_edge) << row.word;
        EXPECT_EQ(row.feed == WordId::kPaperLongEdgeFirst, long_edge) << row.word;
    }
}

TEST(UiWords, FillWordPutsValuesInOnce) {
    EXPECT_EQ(FillWord("{n} min ago", {{"n", "5"}}), "5 min ago");
    EXPECT_EQ(FillWord("vor {n} min", {{"n", "12"}}), "vor 12 min");
    EXPECT_EQ(FillWord("{label}: {value}", {{"value", "3"}, {"label", "Fehler"}}), "Fehler: 3");
    // A value is never read as a pattern, and a place without a value stays.
    EXPECT_EQ(FillWord("{text}: began", {{"text", "{n} {text}"}, {"n", "x"}}), "{n} {text}: began");
    EXPECT_EQ(FillWord("{tray}: {level}", {{"tray", "Tray 1"}}), "Tray 1: {level}");
    EXPECT_EQ(FillWord("{n}/{n}", {{"n", "7"}}), "7/7");
    // Braces that are no place.
    EXPECT_EQ(FillWord("a { b", {{"b", "x"}}), "a { b");
    EXPECT_EQ(FillWord("a } {b", {{"b", "x"}}), "a } {b");
    EXPECT_EQ(FillWord("{}", {{"", "x"}}), "x");
    EXPECT_EQ(FillWord("", {{"n", "1"}}), "");
    EXPECT_EQ(FillWord("{n}", {{"n", ""}}), "");
}

}  // namespace
}  // namespace tb58mon
