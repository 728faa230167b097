// The catalog's words (base/ui_words.h) as the status page takes them: one
// JSON object per language, embedded in the page beside the fleet's data.
//
//   {"language": "JP", "tag": "ja",
//    "words": {"page_title": "...", "health_error": "...", ...},
//    "media": {"PLAIN": "..."}, "bin_states": {...}, "paper_sizes": {...},
//    "languages": [{"code": "EN", "name": "English"}, ...]}
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tb58mon {

// The object for lang (a LanguageCodes() code); made once per language.
std::shared_ptr<const std::string> PageWordsJson(std::string_view lang);

}  // namespace tb58mon
