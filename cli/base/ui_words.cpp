#include "base/ui_words.h"

#include <algorithm>
#include <vector>

#include "base/terminal_text.h"
#include "base/ui_word_rows.h"

namespace tb58mon {
namespace {

// The column of lang in the tables; English's for a language not offered.
size_t Column(std::string_view lang) {
    const std::string code = LanguageCode(lang);
    const auto languages = LanguageRows();
    for (size_t i = 0; i < languages.size(); ++i) {
        if (languages[i].code == code) return i;
    }
    return 0;
}

const ReplyWordRow* FindRow(std::span<const ReplyWordRow> rows, std::string_view word) {
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const ReplyWordRow& r) { return r.word == word; });
    return row == rows.end() ? nullptr : &*row;
}

std::string PaperSizeText(std::string_view word, size_t column) {
    const auto rows = PaperSizeRows();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const PaperSizeRow& r) { return r.word == word; });
    if (row == rows.end()) return {};
    const std::string_view size =
        row->name == WordId::kCount ? row->plain_name : UiWordRows()[static_cast<size_t>(row->name)].text[column];
    if (row->feed == WordId::kCount) return std::string(size);
    return FillWord(UiWordRows()[static_cast<size_t>(row->feed)].text[column], {{"size", size}});
}

template <typename Row, typename Word>
std::vector<std::string_view> WordsOf(std::span<const Row> rows, Word word) {
    std::vector<std::string_view> words;
    for (const Row& row : rows) words.push_back(word(row));
    return words;
}

}  // namespace

std::string_view UiWord(WordId id, std::string_view lang) {
    const size_t index = static_cast<size_t>(id);
    if (index >= UiWordRows().size()) return {};
    return UiWordRows()[index].text[Column(lang)];
}

std::string_view WordKey(WordId id) {
    const size_t index = static_cast<size_t>(id);
    return index < UiWordRows().size() ? UiWordRows()[index].key : std::string_view();
}

std::optional<WordId> FindWordId(std::string_view key) {
    for (const UiWordRow& row : UiWordRows()) {
        if (row.key == key) return row.id;
    }
    return std::nullopt;
}

std::string ReplyWordText(ReplyWordKind kind, std::string_view word, std::string_view lang) {
    const size_t column = Column(lang);
    switch (kind) {
        case ReplyWordKind::kMedia:
        case ReplyWordKind::kBinState: {
            const ReplyWordRow* row = FindRow(kind == ReplyWordKind::kMedia ? MediaWordRows() : BinStateWordRows(), word);
            return row == nullptr ? std::string() : std::string(row->text[column]);
        }
        case ReplyWordKind::kPaperSize: return PaperSizeText(word, column);
    }
    return {};
}

std::span<const std::string_view> KnownReplyWords(ReplyWordKind kind) {
    static const auto media = WordsOf(MediaWordRows(), [](const ReplyWordRow& r) { return r.word; });
    static const auto bin_states = WordsOf(BinStateWordRows(), [](const ReplyWordRow& r) { return r.word; });
    static const auto paper_sizes = WordsOf(PaperSizeRows(), [](const PaperSizeRow& r) { return r.word; });
    switch (kind) {
        case ReplyWordKind::kMedia: return media;
        case ReplyWordKind::kBinState: return bin_states;
        case ReplyWordKind::kPaperSize: return paper_sizes;
    }
    return {};
}

std::string FillWord(std::string_view pattern,
                     std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string text;
    text.reserve(pattern.size());
    size_t at = 0;
    while (at < pattern.size()) {
        const size_t open = pattern.find('{', at);
        const size_t close = open == std::string_view::npos ? open : pattern.find('}', open);
        if (close == std::string_view::npos) break;
        const std::string_view name = pattern.substr(open + 1, close - open - 1);
        const auto value =
            std::find_if(values.begin(), values.end(), [&](const auto& pair) { return pair.first == name; });
        text.append(pattern.substr(at, open - at));
        if (value == values.end()) {
            text.append(pattern.substr(open, close - open + 1));
        } else {
            text.append(value->second);
        }
        at = close + 1;
    }
    text.append(pattern.substr(std::min(at, pattern.size())));
    return text;
}

std::string_view LanguageTag(std::string_view lang) { return LanguageRows()[Column(lang)].tag; }
std::string_view LanguageName(std::string_view lang) { return LanguageRows()[Column(lang)].name; }

}  // namespace tb58mon
