// The status service's requests and answers as plain data: the HTTP front
// (http_service.cpp) hands every request over as an HttpRequest and sends
// the HttpReply back as it is.  No server types, so that every route can be
// tested and fuzzed without a socket.
//
//   GET /                      the status page (?lang=CODE)
//   GET /printers.json         every printer, worst state first (?lang=CODE)
//   GET /printers/NAME.json    one printer with its whole record (?lang=CODE)
//   GET /printers/NAME.png     its status picture
//   GET /metrics               Prometheus text format
//   GET /events.json, /printers/NAME/events.json, /history.json
//                              the event history (event_routes.h)
//   GET /healthz               "ok"
//
// HEAD is answered as GET.  Errors are a small JSON object {"error": "..."}:
// 404 an unknown printer or path, 400 a bad language (naming lang) or a
// second Host header, 405 a method other than GET or HEAD, 413 a declared
// body over 16 KiB, 414 a path and query over 8 KiB, 421 a Host the service
// does not answer for (host_rule.h), 431 more than 100 header lines, 500
// anything unforeseen (never with the internal text).  Without ?lang= the service's default language holds.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "events/recent_events.h"
#include "report/record_report.h"
#include "serve/fleet_poller.h"
#include "serve/host_rule.h"

struct sqlite3;

namespace tb58mon {

using HttpFields = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
    std::string method;
    std::string path;    // decoded, without the query
    HttpFields query;    // decoded name and value pairs, in order
    HttpFields headers;  // in order, names as sent
};

struct HttpReply {
    unsigned status = 200;
    std::string content_type;
    HttpFields headers;  // besides Content-Type
    std::string body;
};

struct RouterOptions {
    std::string default_lang = "EN";  // a code LanguageCode accepts
    HostRule hosts;
};

// Where the answers come from: the poller's latest snapshot, the metrics'
// text and the event store (EventStore::Read and Recent; empty without a
// store: the history routes answer 503 and every printer's "events" is
// empty).  Called only by the routes that need them.
struct RouteSources {
    std::function<std::shared_ptr<const FleetSnapshot>()> snapshot;
    std::function<std::string()> metrics;
    std::function<bool(const std::function<void(sqlite3*)>&)> read_events;
    std::function<std::shared_ptr<const RecentEvents>()> recent_events;
};

constexpr size_t kLargestBody = 16 * 1024;
constexpr size_t kMostHeaderLines = 100;
constexpr size_t kLongestTarget = 8 * 1024;  // path and query, decoded

// The answer to one request.  Never throws.
HttpReply RouteRequest(const HttpRequest& request, const RouteSources& sources, const RouterOptions& options);

// The fleet as /printers.json gives it: {"language", "printers": [...]},
// worst state first, then by name; made of each view's JSON text, which is
// made once per view and language, with its last events ("events", from
// recent; none when null).
std::string FleetJsonText(const FleetSnapshot& snapshot, std::string_view lang,
                          const RecentEvents* recent = nullptr);

// The error answer {"error": message}, for the routes of other files.
HttpReply ErrorReply(unsigned status, const std::string& message);

}  // namespace tb58mon
