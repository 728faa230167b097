// Each printer's latest events, as the store publishes them after every
// batch: an immutable map a reader takes whole, like the poller's snapshot.
// A printer's list is a new object whenever it changes, so a text made of
// it (its JSON in a language) can be kept with it.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "events/printer_event.h"
#include "base/view_json_cache.h"

namespace tb58mon {

constexpr size_t kRecentEventCount = 5;

struct PrinterRecentEvents {
    std::vector<PrinterEvent> events;  // newest first, at most kRecentEventCount
    ViewJsonCache json;                // the events' JSON text, by language
};

struct RecentEvents {
    std::map<std::string, std::shared_ptr<const PrinterRecentEvents>, std::less<>> printers;

    // null when the printer has no events.
    std::shared_ptr<const PrinterRecentEvents> Of(std::string_view printer) const {
        const auto found = printers.find(printer);
        return found != printers.end() ? found->second : nullptr;
    }
};

}  // namespace tb58mon
