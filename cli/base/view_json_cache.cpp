#include "base/view_json_cache.h"

namespace tb58mon {

std::shared_ptr<const std::string> ViewJsonCache::Get(std::string_view lang,
                                                      const std::function<std::string()>& make) const {
    const std::lock_guard<std::mutex> lock(lock_);
    for (const auto& [code, text] : entries_) {
        if (code == lang) return text;
    }
    auto text = std::make_shared<const std::string>(make());
    entries_.emplace_back(std::string(lang), text);
    return text;
}

}  // namespace tb58mon
