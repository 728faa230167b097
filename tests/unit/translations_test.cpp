// The string tables of the display languages other than English: each holds
// every English id, converted without loss to the language's ANSI code page,
// with the same list slots and line structure as the English text, and short
// enough for the buffers the status texts are composed in.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "frame/localized_string.h"
#include "support/language_guard.h"

namespace {

using tb58::frame::LoadLocalizedString;
using tb58::test::LanguageGuard;

struct IdAndText {
    uint32_t id;
    const char* text;
};

constexpr IdAndText kEnglishTexts[] = {
#include "unit/english_texts.inc"
};

struct Language {
    LANGID id;
    const char* name;
};

constexpr Language kLanguages[] = {
    {0x0406, "Danish"},  {0x0407, "German"},  {0x040A, "Spanish"},    {0x040B, "Finnish"},
    {0x040C, "French"},  {0x0410, "Italian"}, {0x0411, "Japanese"},   {0x0413, "Dutch"},
    {0x0414, "Norwegian"}, {0x0415, "Polish"}, {0x0416, "Portuguese"}, {0x041D, "Swedish"},
};

constexpr LANGID kItalian = 0x0410;
constexpr LANGID kJapanese = 0x0411;

using Table = std::map<uint32_t, std::string>;

// Every English id of one language, as the library hands it out; a failed
// load is reported and leaves the id out.
Table LoadTable(const Language& language) {
    LanguageGuard guard(language.id);
    Table table;
    for (const auto& row : kEnglishTexts) {
        char buffer[1024];
        std::memset(buffer, 'X', sizeof buffer);
        const uint32_t result = LoadLocalizedString(row.id, buffer, sizeof buffer);
        EXPECT_EQ(result, 0u) << language.name << " id " << row.id;
        if (result == 0) table[row.id] = buffer;
    }
    return table;
}

// The tables are loaded once; every test reads them.
const std::map<LANGID, Table>& Tables() {
    static const std::map<LANGID, Table> tables = [] {
        std::map<LANGID, Table> all;
        for (const auto& language : kLanguages) all[language.id] = LoadTable(language);
        return all;
    }();
    return tables;
}

size_t Count(std::string_view text, std::string_view part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// Bytes a text of an id may take, its terminator excluded: a short status
// line, a long text that must leave room for a list of places inside 511
// bytes, or a name.
size_t ByteLimit(uint32_t id) {
    if (id < 2000) return 63;
    if (id < 3000) return 399;
    return 99;
}

// The Italian text of 2034 names the list of places after its last sentence.
size_t ExpectedSlots(LANGID language, uint32_t id, std::string_view english) {
    return Count(english, "%s") + (language == kItalian && id == 2034 ? 1 : 0);
}

TEST(Translations, EveryEnglishIdHasANonEmptyTextInEveryLanguage) {
    for (const auto& language : kLanguages) {
        const Table& table = Tables().at(language.id);
        EXPECT_EQ(table.size(), std::size(kEnglishTexts)) << language.name;
        for (const auto& [id, text] : table) EXPECT_FALSE(text.empty()) << language.name << " id " << id;
    }
}

TEST(Translations, StatusTextsAreNotLeftInEnglish) {
    // Names (3000 and up) such as "LCT" or "Magenta" may be spelled as in English.
    for (const auto& language : kLanguages) {
        const Table& table = Tables().at(language.id);
        for (const auto& row : kEnglishTexts) {
            if (row.id >= 3000 || !table.count(row.id)) continue;
            EXPECT_NE(table.at(row.id), row.text) << language.name << " id " << row.id;
        }
    }
}

TEST(Translations, ListSlotsAndLineBreaksFollowTheEnglishText) {
    for (const auto& language : kLanguages) {
        const Table& table = Tables().at(language.id);
        for (const auto& row : kEnglishTexts) {
            if (!table.count(row.id)) continue;
            const std::string& text = table.at(row.id);
            const std::string_view english = row.text;
            EXPECT_EQ(Count(text, "%s"), ExpectedSlots(language.id, row.id, english))
                << language.name << " id " << row.id << ": " << text;
            EXPECT_EQ(Count(text, "\n"), Count(english, "\n")) << language.name << " id " << row.id << ": " << text;
            if (english.find("\n%s") != std::string_view::npos) {
                EXPECT_NE(text.find("\n%s"), std::string::npos) << language.name << " id " << row.id;
            }
            if (EndsWith(english, "\n")) {
                EXPECT_TRUE(EndsWith(text, "\n")) << language.name << " id " << row.id;
            }
            // A stray '%' would be taken for a slot by whoever formats the text.
            EXPECT_EQ(Count(text, "%"), Count(text, "%s")) << language.name << " id " << row.id;
        }
    }
}

TEST(Translations, ItalianBookletStaplerTextEndsInTheListOfPlaces) {
    const std::string& text = Tables().at(kItalian).at(2034);
    EXPECT_TRUE(EndsWith(text, "%s")) << text;
}

TEST(Translations, EveryCharacterExistsInTheLanguagesCodePage) {
    // The conversion puts '?' for a character the code page lacks; no
    // English text has one, so no translation may either.  In code page 932
    // '?' is never the second byte of a double-byte character.
    for (const auto& language : kLanguages) {
        const Table& table = Tables().at(language.id);
        for (const auto& row : kEnglishTexts) {
            if (!table.count(row.id)) continue;
            ASSERT_EQ(std::strchr(row.text, '?'), nullptr);
            EXPECT_EQ(table.at(row.id).find('?'), std::string::npos)
                << language.name << " id " << row.id << ": " << table.at(row.id);
        }
    }
}

TEST(Translations, TextsFitTheBuffersTheyAreComposedIn) {
    for (const auto& language : kLanguages) {
        for (const auto& [id, text] : Tables().at(language.id)) {
            EXPECT_LE(text.size(), ByteLimit(id)) << language.name << " id " << id << ": " << text;
        }
    }
}

TEST(Translations, EqualEnglishTextsStayEqual) {
    std::map<std::string_view, uint32_t> first_id_of;
    for (const auto& row : kEnglishTexts) first_id_of.emplace(row.text, row.id);
    for (const auto& language : kLanguages) {
        const Table& table = Tables().at(language.id);
        for (const auto& row : kEnglishTexts) {
            const uint32_t first = first_id_of.at(row.text);
            if (first == row.id || !table.count(row.id) || !table.count(first)) continue;
            EXPECT_EQ(table.at(row.id), table.at(first)) << language.name << " ids " << first << " and " << row.id;
        }
    }
}

TEST(Translations, InputTrayAndOutputBinNamesMatchThePlaceNames) {
    // 5000-5020 name the same trays and bins as these place names.
    const std::pair<uint32_t, uint32_t> same[] = {
        {5000, 3000}, {5001, 3001}, {5002, 3002}, {5003, 3003}, {5004, 3005}, {5005, 3004},
        {5006, 3033}, {5007, 3020}, {5008, 3021}, {5009, 3022}, {5010, 3023}, {5011, 3024},
        {5012, 3025}, {5013, 3026}, {5014, 3027}, {5015, 3028}, {5016, 3007}, {5017, 3010},
        {5018, 3008}, {5019, 3009}, {5020, 3011},
    };
    for (const auto& language : kLanguages) {
        const Table& table = Tables().at(language.id);
        for (const auto& [bin, place] : same) {
            if (!table.count(bin) || !table.count(place)) continue;
            EXPECT_EQ(table.at(bin), table.at(place)) << language.name << " ids " << bin << " and " << place;
        }
    }
}

TEST(Translations, IdsWithoutTextLoadAsTheEmptyTextInEveryLanguage) {
    for (const auto& language : kLanguages) {
        LanguageGuard guard(language.id);
        for (uint32_t id : {1500u, 2500u, 2088u, 2093u, 2094u}) {
            char text[16] = "junk";
            EXPECT_EQ(LoadLocalizedString(id, text, sizeof text), 0u) << language.name << " id " << id;
            EXPECT_STREQ(text, "") << language.name << " id " << id;
        }
    }
}

TEST(Translations, SeparatorOfNamesInAList) {
    for (const auto& language : kLanguages) {
        EXPECT_EQ(Tables().at(language.id).at(3500), language.id == kJapanese ? "\x81\x41" : ", ") << language.name;
    }
}

TEST(Translations, TextsArriveInTheLanguagesCodePage) {
    const Table& japanese = Tables().at(kJapanese);
    EXPECT_EQ(japanese.at(3000), "\x83\x67\x83\x8c\x83\x43" "1");                 // Tray 1
    EXPECT_EQ(japanese.at(1066), "\x97\x70\x8e\x86\x82\xc8\x82\xb5");             // No Paper
    EXPECT_EQ(Tables().at(0x0415).at(3029), "\xaf\xf3\xb3ty");                    // Polish: Yellow
    EXPECT_EQ(Tables().at(0x0407).at(1001), "Keine Antwort vom Ger\xe4t");        // German: No Response...
}

}  // namespace
