#include "serve/event_routes.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "base/terminal_text.h"
#include "events/event_json.h"
#include "events/event_queries.h"

namespace tb58mon {
namespace {

constexpr int64_t kDefaultLimit = 100;
constexpr int64_t kMostLimit = 1000;
constexpr int64_t kDefaultHours = 24;
constexpr int64_t kMostHours = 168;
constexpr size_t kMostSpansPerPrinter = 1000;  // /history.json, per printer

std::string Dump(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

HttpReply JsonText(std::string body) {
    HttpReply reply;
    reply.content_type = "application/json; charset=utf-8";
    reply.headers = {{"X-Content-Type-Options", "nosniff"}, {"Cache-Control", "no-store"}};
    reply.body = std::move(body);
    return reply;
}

HttpReply BadParameter(std::string_view name, const std::string& why) {
    return ErrorReply(400, "the parameter " + std::string(name) + " " + why);
}

// The value of a parameter given at most once; a reply when it was given twice.
struct Parameter {
    const std::string* value = nullptr;
    std::optional<HttpReply> error;
};

Parameter Find(const HttpRequest& request, std::string_view name) {
    Parameter found;
    for (const auto& [key, value] : request.query) {
        if (key != name) continue;
        if (found.value != nullptr) return {nullptr, BadParameter(name, "is given twice")};
        found.value = &value;
    }
    return found;
}

// A whole number from first to last; nullopt for anything else (a sign,
// a space, too many digits).
std::optional<int64_t> Number(const std::string& text, int64_t first, int64_t last) {
    if (text.empty() || text.size() > 19 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < first || value > last) return std::nullopt;
    return value;
}

bool IsName(std::string_view name) {
    return !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
               c == '-';
    });
}

bool InFleet(const RouteSources& sources, std::string_view name) {
    const auto snapshot = sources.snapshot ? sources.snapshot() : nullptr;
    if (snapshot == nullptr) return false;
    return std::any_of(snapshot->printers.begin(), snapshot->printers.end(),
                       [&](const auto& view) { return view->name == name; });
}

HttpReply Unavailable() { return ErrorReply(503, "the event history cannot be read now (see the service's output)"); }

// The query of /events.json, or the 400 of its first bad parameter.
std::optional<HttpReply> ReadQuery(const HttpRequest& request, std::string_view fixed_printer, EventQuery& query) {
    if (fixed_printer.empty()) {
        const Parameter printer = Find(request, "printer");
        if (printer.error) return printer.error;
        if (printer.value != nullptr) {
            if (!IsName(*printer.value)) return BadParameter("printer", "is not a printer name");
            query.printer = *printer.value;
        }
    } else {
        query.printer = std::string(fixed_printer);
    }
    const Parameter since = Find(request, "since");
    if (since.error) return since.error;
    if (since.value != nullptr) {
        query.since = ParseRfcTime(*since.value);
        if (!query.since) return BadParameter("since", "is not an RFC 3339 time such as 2026-12-10T12:00:00Z");
    }
    const Parameter before = Find(request, "before");
    if (before.error) return before.error;
    if (before.value != nullptr) {
        query.before = Number(*before.value, 1, INT64_MAX);
        if (!query.before) return BadParameter("before", "is not an event id (1 to 9223372036854775807)");
    }
    const Parameter limit = Find(request, "limit");
    if (limit.error) return limit.error;
    if (limit.value != nullptr) {
        const auto value = Number(*limit.value, 1, kMostLimit);
        if (!value) return BadParameter("limit", "is not a number from 1 to 1000");
        query.limit = *value;
    }
    return std::nullopt;
}

// The link to the page before the last event given.
std::string NextLink(const EventQuery& query, std::string_view fixed_printer, int64_t last_id,
                     const HttpRequest& request) {
    std::string link =
        fixed_printer.empty() ? "/events.json?" : "/printers/" + std::string(fixed_printer) + "/events.json?";
    if (fixed_printer.empty() && query.printer) link += "printer=" + *query.printer + "&";
    if (query.since) link += "since=" + RfcTime(*query.since) + "&";
    link += "before=" + std::to_string(last_id) + "&limit=" + std::to_string(query.limit);
    const Parameter lang = Find(request, "lang");
    if (lang.value != nullptr) link += "&lang=" + LanguageCode(*lang.value);
    return link;
}

}  // namespace

HttpReply EventsReply(const HttpRequest& request, const RouteSources& sources, std::string_view lang,
                      std::string_view fixed_printer) {
    if (!fixed_printer.empty() && !InFleet(sources, fixed_printer)) {
        return ErrorReply(404, "no printer named '" + std::string(fixed_printer) + "'");
    }
    EventQuery query;
    query.limit = kDefaultLimit;
    if (auto error = ReadQuery(request, fixed_printer, query)) return std::move(*error);
    if (!sources.read_events) return Unavailable();
    EventQuery one_more = query;
    ++one_more.limit;
    std::vector<PrinterEvent> events;
    if (!sources.read_events([&](sqlite3* db) { events = QueryEvents(db, one_more); })) return Unavailable();
    const bool more = static_cast<int64_t>(events.size()) > query.limit;
    if (more) events.resize(static_cast<size_t>(query.limit));
    Json json;
    json["language"] = std::string(lang);
    json["events"] = EventsJson(events, lang);
    json["next"] = more ? Json(NextLink(query, fixed_printer, events.back().id, request)) : Json(nullptr);
    return JsonText(Dump(json));
}

HttpReply HistoryReply(const HttpRequest& request, const RouteSources& sources, int64_t now) {
    const Parameter hours = Find(request, "hours");
    if (hours.error) return std::move(*hours.error);
    int64_t span_hours = kDefaultHours;
    if (hours.value != nullptr) {
        const auto value = Number(*hours.value, 1, kMostHours);
        if (!value) return BadParameter("hours", "is not a number from 1 to 168");
        span_hours = *value;
    }
    if (!sources.read_events) return Unavailable();
    const int64_t from = now - span_hours * 3600;
    std::map<std::string, std::vector<HealthSpan>> spans;
    if (!sources.read_events([&](sqlite3* db) { spans = QuerySpans(db, from, now); })) return Unavailable();
    Json printers = Json::array();
    const auto snapshot = sources.snapshot ? sources.snapshot() : nullptr;
    for (const auto& view : snapshot ? snapshot->printers : std::vector<std::shared_ptr<const PrinterView>>{}) {
        // A printer that flaps all day keeps its newest spans; "omitted"
        // says how many older ones the answer leaves out.
        const std::vector<HealthSpan>& all = spans[view->name];
        const size_t omitted = all.size() > kMostSpansPerPrinter ? all.size() - kMostSpansPerPrinter : 0;
        Json list = Json::array();
        for (const HealthSpan& span : std::span(all).subspan(omitted)) {
            list.push_back({{"health", std::string(HealthLabel(span.health))},
                            {"from", RfcTime(std::max(span.began, from))},
                            {"to", span.ended ? Json(RfcTime(std::min(*span.ended, now))) : Json(nullptr)},
                            {"codes", span.codes}});
        }
        Json printer{{"name", view->name}, {"spans", std::move(list)}};
        if (omitted > 0) printer["omitted"] = omitted;
        printers.push_back(std::move(printer));
    }
    Json json;
    json["from"] = RfcTime(from);
    json["to"] = RfcTime(now);
    json["printers"] = std::move(printers);
    return JsonText(Dump(json));
}

std::shared_ptr<const std::string> RecentEventsText(const RecentEvents* recent, std::string_view printer,
                                                    std::string_view lang) {
    static const auto kNone = std::make_shared<const std::string>("[]");
    const auto list = recent != nullptr ? recent->Of(printer) : nullptr;
    if (list == nullptr) return kNone;
    return list->json.Get(lang, [&] { return EventsJsonText(list->events, lang); });
}

}  // namespace tb58mon
