#include "serve/page_words.h"

#include <vector>

#include "base/terminal_text.h"
#include "base/ui_words.h"
#include "report/record_report.h"

namespace tb58mon {
namespace {

Json ReplyWords(ReplyWordKind kind, std::string_view lang) {
    Json words = Json::object();
    for (std::string_view word : KnownReplyWords(kind)) words[std::string(word)] = ReplyWordText(kind, word, lang);
    return words;
}

std::string MakeWords(std::string_view lang) {
    Json json;
    json["language"] = std::string(lang);
    json["tag"] = std::string(LanguageTag(lang));
    Json words = Json::object();
    for (size_t i = 0; i < static_cast<size_t>(WordId::kCount); ++i) {
        const auto id = static_cast<WordId>(i);
        words[std::string(WordKey(id))] = std::string(UiWord(id, lang));
    }
    json["words"] = std::move(words);
    json["media"] = ReplyWords(ReplyWordKind::kMedia, lang);
    json["bin_states"] = ReplyWords(ReplyWordKind::kBinState, lang);
    json["paper_sizes"] = ReplyWords(ReplyWordKind::kPaperSize, lang);
    Json languages = Json::array();
    for (std::string_view code : LanguageCodes()) {
        languages.push_back({{"code", std::string(code)}, {"name", std::string(LanguageName(code))}});
    }
    json["languages"] = std::move(languages);
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

std::shared_ptr<const std::string> PageWordsJson(std::string_view lang) {
    static const std::vector<std::shared_ptr<const std::string>> all = [] {
        std::vector<std::shared_ptr<const std::string>> made;
        for (std::string_view code : LanguageCodes()) made.push_back(std::make_shared<const std::string>(MakeWords(code)));
        return made;
    }();
    const std::string code = LanguageCode(lang);
    for (size_t i = 0; i < LanguageCodes().size(); ++i) {
        if (LanguageCodes()[i] == code) return all[i];
    }
    return all.front();
}

}  // namespace tb58mon
