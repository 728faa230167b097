// Texts made once per display language and kept with an immutable object
// (a printer's view, a printer's recent events): its JSON in each language a
// reader asked for.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tb58mon {

// The JSON text of a view in the languages asked so far, each made once: a
// view never changes, and making it takes the library lock.  A copy of a
// view starts without any.
class ViewJsonCache {
public:
    ViewJsonCache() = default;
    ViewJsonCache(const ViewJsonCache&) {}
    ViewJsonCache& operator=(const ViewJsonCache&) = delete;

    // The entry of lang, made by make when there is none yet.
    std::shared_ptr<const std::string> Get(std::string_view lang, const std::function<std::string()>& make) const;

private:
    mutable std::mutex lock_;
    mutable std::vector<std::pair<std::string, std::shared_ptr<const std::string>>> entries_;
};

}  // namespace tb58mon
