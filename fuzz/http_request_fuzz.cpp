// The status service's router (cli/serve/http_router.cpp) on requests as a
// client sends them, over a small fleet of sim: printers run through one
// cycle, with an event store in a temporary folder that holds their events
// (so the history routes read a real database).  The input: a byte of switches (the Host rule, the default
// language), then the method, the path, the query and the header lines,
// separated by NUL bytes; the query is split at '&' and '=', the header
// lines at '\n' and their first ':'.  Whatever the request, the router
// must not throw, must never answer 500 (its sources do not fail here),
// must give JSON wherever it says so, and no header may hold a line break.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "sample_fleet.h"
#include "events/event_store.h"
#include "events/view_observation.h"
#include "serve/http_router.h"

namespace {

using tb58mon::HttpFields;

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t from = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, from)) {
        parts.push_back(text.substr(from, at - from));
        from = at + 1;
    }
    parts.push_back(text.substr(from));
    return parts;
}

HttpFields Fields(std::string_view text, char separator, char assign) {
    HttpFields fields;
    if (text.empty()) return fields;
    for (std::string_view part : Split(text, separator)) {
        const size_t at = part.find(assign);
        if (at == std::string_view::npos) {
            fields.emplace_back(std::string(part), "");
        } else {
            fields.emplace_back(std::string(part.substr(0, at)), std::string(part.substr(at + 1)));
        }
    }
    return fields;
}

char g_store_folder[] = "/tmp/tb58mon-fuzz-XXXXXX";

extern "C" void RemoveStoreFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_store_folder, ignored);
}

// The store of the fleet's events: made once, never destroyed (its writer
// thread idles until the process ends); its folder is removed at exit.
tb58mon::EventStore* FleetEvents(const tb58mon::FleetSnapshot& fleet) {
    if (mkdtemp(g_store_folder) == nullptr) std::abort();
    std::atexit(RemoveStoreFolder);
    const std::string folder = g_store_folder;
    tb58mon::EventStoreOptions options;
    options.directory = folder;
    auto* store = new tb58mon::EventStore(options);
    for (int round = 0; round < 3; ++round) {
        for (const auto& view : fleet.printers) {
            tb58mon::PrinterObservation seen = tb58mon::ObservationOfView(*view, 0);
            seen.time = 1796904000 + 600 * round;
            if (round == 1) seen.health = tb58mon::PrinterHealth::kNoResponse;
            store->Observe(view->name, view->uri, seen);
        }
    }
    store->Flush();
    return store;
}

const tb58mon::RouteSources& Sources() {
    static const tb58mon::RouteSources sources = [] {
        tb58::fuzz::UseOwnModule();
        const auto fleet = tb58mon::test::SampleFleet();
        tb58mon::EventStore* store = FleetEvents(*fleet);
        tb58mon::RouteSources made;
        made.snapshot = [fleet] { return fleet; };
        made.metrics = [] { return std::string("tb58_printer_up{printer=\"ready\"} 1\n"); };
        made.read_events = [store](const std::function<void(sqlite3*)>& read) { return store->Read(read); };
        made.recent_events = [store] { return store->Recent(); };
        return made;
    }();
    return sources;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const tb58mon::RouteSources& sources = Sources();
    tb58mon::RouterOptions options;
    const uint8_t switches = data[0];
    options.hosts = tb58mon::HostRuleFor((switches & 1) ? "127.0.0.1" : "0.0.0.0",
                                         (switches & 2) ? std::vector<std::string>{"printers.example"}
                                                        : std::vector<std::string>{});
    options.default_lang = (switches & 4) ? "JP" : "EN";

    const auto parts = Split(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), '\0');
    tb58mon::HttpRequest request;
    request.method = parts.size() > 0 ? std::string(parts[0]) : "GET";
    request.path = parts.size() > 1 ? std::string(parts[1]) : "/";
    request.query = Fields(parts.size() > 2 ? parts[2] : "", '&', '=');
    request.headers = Fields(parts.size() > 3 ? parts[3] : "", '\n', ':');

    const tb58mon::HttpReply reply = tb58mon::RouteRequest(request, sources, options);
    if (reply.status < 200 || reply.status >= 500) std::abort();
    if (reply.content_type.starts_with("application/json") && !tb58mon::Json::accept(reply.body)) std::abort();
    for (const auto& [name, value] : reply.headers) {
        if (name.find_first_of("\r\n") != std::string::npos || value.find_first_of("\r\n") != std::string::npos) {
            std::abort();
        }
    }
    if (reply.content_type.find_first_of("\r\n") != std::string::npos) std::abort();
    return 0;
}
