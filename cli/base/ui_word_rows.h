// The rows of the word catalog (ui_words.h): one text per display language,
// in the order of LanguageCodes().  The tables are data; ui_words.cpp looks
// them up, and the tests walk them whole.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "base/ui_words.h"

namespace tb58mon {

// EN, JP, DE, FR, IT, ES, NL, SV, DA, NO, CS, HU, PT, PL, FI.
constexpr size_t kCatalogLanguages = 15;
using WordTexts = std::array<std::string_view, kCatalogLanguages>;

struct UiWordRow {
    WordId id;
    std::string_view key;
    WordTexts text;
};

struct ReplyWordRow {
    std::string_view word;  // as the printer sends it
    WordTexts text;
};

// A paper size word: its size in words (a named paper, or a text that is
// the same in every language) and the feed direction, if the word has one.
struct PaperSizeRow {
    std::string_view word;
    WordId name;                 // WordId::kCount: plain_name holds the size
    std::string_view plain_name;  // "A4", "B5 (JIS)"
    WordId feed;                 // kPaperShortEdgeFirst, kPaperLongEdgeFirst, or kCount
};

struct LanguageRow {
    std::string_view code;  // as LanguageCodes() gives it
    std::string_view tag;   // BCP 47
    std::string_view name;  // in the language itself
};

std::span<const UiWordRow> UiWordRows();          // in the order of WordId
std::span<const ReplyWordRow> MediaWordRows();
std::span<const ReplyWordRow> BinStateWordRows();
std::span<const PaperSizeRow> PaperSizeRows();
std::span<const LanguageRow> LanguageRows();      // in the order of LanguageCodes()

}  // namespace tb58mon
