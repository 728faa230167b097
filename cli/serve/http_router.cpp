#include "serve/http_router.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "base/terminal_text.h"
#include "serve/event_routes.h"
#include "serve/status_page.h"

namespace tb58mon {
namespace {

constexpr size_t kLongestQuote = 64;
constexpr std::string_view kJsonType = "application/json; charset=utf-8";
// The page's script and styles are its own; pictures and data come from
// this service only, and no other site may frame it.
constexpr std::string_view kPagePolicy =
    "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; img-src 'self'; "
    "connect-src 'self'; frame-ancestors 'none'; base-uri 'none'; form-action 'none'";

// JSON that is valid whatever bytes a client sent: invalid UTF-8 becomes
// U+FFFD instead of an exception.
std::string DumpJson(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

HttpReply Reply(unsigned status, std::string_view content_type, std::string body) {
    HttpReply reply;
    reply.status = status;
    reply.content_type = std::string(content_type);
    reply.headers = {{"X-Content-Type-Options", "nosniff"}};
    reply.body = std::move(body);
    return reply;
}

HttpReply Error(unsigned status, const std::string& message) {
    HttpReply reply = Reply(status, kJsonType, DumpJson(Json{{"error", message}}));
    reply.headers.emplace_back("Cache-Control", "no-store");
    return reply;
}

HttpReply JsonReply(const Json& json) {
    HttpReply reply = Reply(200, kJsonType, DumpJson(json));
    reply.headers.emplace_back("Cache-Control", "no-store");
    return reply;
}

// What a client sent, for an error message: at most 64 bytes of it.
std::string Quote(std::string_view text) {
    if (text.size() <= kLongestQuote) return "'" + std::string(text) + "'";
    return "'" + std::string(text.substr(0, kLongestQuote)) + "...'";
}

bool SameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::vector<const std::string*> Headers(const HttpRequest& request, std::string_view name) {
    std::vector<const std::string*> values;
    for (const auto& [key, value] : request.headers) {
        if (SameLetters(key, name)) values.push_back(&value);
    }
    return values;
}

bool IsPrinterName(std::string_view name) {
    return !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
               c == '-';
    });
}

std::shared_ptr<const PrinterView> FindPrinter(const FleetSnapshot& snapshot, std::string_view name) {
    for (const auto& view : snapshot.printers) {
        if (view->name == name) return view;
    }
    return nullptr;
}

// The language of a request: its first ?lang=, else the service's default.
// Empty when ?lang= names no language the monitor offers.
std::string RequestLanguage(const HttpRequest& request, const RouterOptions& options) {
    for (const auto& [name, value] : request.query) {
        if (name == "lang") return LanguageCode(value);
    }
    return options.default_lang;
}

HttpReply LanguageError(const HttpRequest& request) {
    std::string asked;
    for (const auto& [name, value] : request.query) {
        if (name == "lang") {
            asked = value;
            break;
        }
    }
    std::string known;
    for (std::string_view language : LanguageCodes()) known += (known.empty() ? "" : " ") + std::string(language);
    return Error(400, "unknown language " + Quote(asked) + " in the parameter lang (known: " + known + ")");
}

// A request the service refuses before it looks at the path, if any.
std::optional<HttpReply> Refusal(const HttpRequest& request, const RouterOptions& options) {
    if (request.headers.size() > kMostHeaderLines) {
        return Error(431, "more than " + std::to_string(kMostHeaderLines) + " header lines");
    }
    size_t target = request.path.size();
    for (const auto& [name, value] : request.query) target += name.size() + value.size() + 2;
    if (target > kLongestTarget) return Error(414, "a path and query over " + std::to_string(kLongestTarget / 1024) + " KiB");
    const auto hosts = Headers(request, "Host");
    if (hosts.size() > 1) return Error(400, "more than one Host header");
    if (!hosts.empty() && !HostAllowed(*hosts.front(), options.hosts)) {
        return Error(421, "this service does not answer for the host " + Quote(*hosts.front()));
    }
    for (const std::string* length : Headers(request, "Content-Length")) {
        const bool digits = !length->empty() && std::all_of(length->begin(), length->end(), [](char c) {
            return c >= '0' && c <= '9';
        });
        if (!digits) return Error(400, "a Content-Length that is not a number");
        const size_t first = length->find_first_not_of('0');
        if (first != std::string::npos && (length->size() - first > 6 || std::stoul(length->substr(first)) > kLargestBody)) {
            return Error(413, "a request body over " + std::to_string(kLargestBody / 1024) + " KiB");
        }
    }
    if (request.method != "GET" && request.method != "HEAD") {
        HttpReply reply = Error(405, "only GET is served");
        reply.headers.emplace_back("Allow", "GET, HEAD");
        return reply;
    }
    return std::nullopt;
}

HttpReply PrinterReply(const HttpRequest& request, const RouteSources& sources, const RouterOptions& options,
                       std::string_view name, bool picture) {
    const auto snapshot = sources.snapshot();
    const auto view = snapshot ? FindPrinter(*snapshot, name) : nullptr;
    if (view == nullptr) return Error(404, "no printer named '" + std::string(name) + "'");
    if (picture) {
        if (view->png == nullptr) return Error(404, "no picture of '" + std::string(name) + "' yet");
        HttpReply reply = Reply(200, "image/png", *view->png);
        reply.headers.emplace_back("Cache-Control", "no-cache");
        return reply;
    }
    const std::string lang = RequestLanguage(request, options);
    if (lang.empty()) return LanguageError(request);
    return JsonReply(PrinterJson(*view, lang, true));
}

HttpReply FleetReply(const HttpRequest& request, const RouteSources& sources, const RouterOptions& options,
                     bool page) {
    const std::string lang = RequestLanguage(request, options);
    if (lang.empty()) return LanguageError(request);
    const auto snapshot = sources.snapshot();
    const auto recent = sources.recent_events ? sources.recent_events() : nullptr;
    std::string fleet = FleetJsonText(snapshot ? *snapshot : FleetSnapshot{}, lang, recent.get());
    if (!page) {
        HttpReply reply = Reply(200, kJsonType, std::move(fleet));
        reply.headers.emplace_back("Cache-Control", "no-store");
        return reply;
    }
    HttpReply reply = Reply(200, "text/html; charset=utf-8", StatusPageHtml(fleet, lang));
    reply.headers.emplace_back("Cache-Control", "no-store");
    reply.headers.emplace_back("Content-Security-Policy", std::string(kPagePolicy));
    return reply;
}

HttpReply Route(const HttpRequest& request, const RouteSources& sources, const RouterOptions& options) {
    if (auto refusal = Refusal(request, options)) return std::move(*refusal);
    const std::string_view path = request.path;
    if (path == "/") return FleetReply(request, sources, options, true);
    if (path == "/printers.json") return FleetReply(request, sources, options, false);
    if (path == "/healthz") return Reply(200, "text/plain", "ok\n");
    if (path == "/metrics") {
        return Reply(200, "text/plain; version=0.0.4; charset=utf-8", sources.metrics ? sources.metrics() : "");
    }
    if (path == "/history.json") {
        return HistoryReply(request, sources,
                            std::chrono::duration_cast<std::chrono::seconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count());
    }
    constexpr std::string_view kPrinters = "/printers/";
    constexpr std::string_view kEvents = "/events.json";
    const bool printer_events = path.size() > kPrinters.size() + kEvents.size() && path.starts_with(kPrinters) &&
                                path.ends_with(kEvents);
    if (path == kEvents || printer_events) {
        const std::string_view name =
            path == kEvents ? std::string_view() : path.substr(kPrinters.size(), path.size() - kPrinters.size() - kEvents.size());
        if (path != kEvents && !IsPrinterName(name)) return Error(404, "no such page: " + Quote(path));
        const std::string lang = RequestLanguage(request, options);
        if (lang.empty()) return LanguageError(request);
        return EventsReply(request, sources, lang, name);
    }
    if (path.starts_with(kPrinters)) {
        const std::string_view file = path.substr(kPrinters.size());
        for (const bool picture : {false, true}) {
            const std::string_view suffix = picture ? ".png" : ".json";
            if (!file.ends_with(suffix)) continue;
            const std::string_view name = file.substr(0, file.size() - suffix.size());
            if (IsPrinterName(name)) return PrinterReply(request, sources, options, name, picture);
        }
    }
    return Error(404, "no such page: " + Quote(path));
}

}  // namespace

HttpReply RouteRequest(const HttpRequest& request, const RouteSources& sources, const RouterOptions& options) {
    try {
        return Route(request, sources, options);
    } catch (...) {
        // The cause goes to no client: it may hold internal detail.
        return Error(500, "internal error");
    }
}

HttpReply ErrorReply(unsigned status, const std::string& message) { return Error(status, message); }

std::string FleetJsonText(const FleetSnapshot& snapshot, std::string_view lang, const RecentEvents* recent) {
    std::vector<std::shared_ptr<const PrinterView>> printers = snapshot.printers;
    std::stable_sort(printers.begin(), printers.end(), [](const auto& a, const auto& b) {
        if (a->health != b->health) return a->health < b->health;
        return a->name < b->name;
    });
    std::string text = "{\"language\":" + DumpJson(Json(std::string(lang))) + ",\"printers\":[";
    for (size_t i = 0; i < printers.size(); ++i) {
        if (i != 0) text += ',';
        const auto printer = PrinterJsonText(*printers[i], lang);
        // The view's object, with its events as the last member.
        text.append(*printer, 0, printer->empty() ? 0 : printer->size() - 1);
        text += ",\"events\":";
        text += *RecentEventsText(recent, printers[i]->name, lang);
        text += '}';
    }
    text += "]}";
    return text;
}

}  // namespace tb58mon
