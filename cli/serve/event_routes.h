// The history routes of the status service, on the event store's readers
// (RouteSources::read_events, recent_events):
//
//   GET /events.json?printer=NAME&since=TIME&before=ID&limit=N&lang=CODE
//   GET /printers/NAME/events.json?since=...&before=...&limit=...&lang=...
//       events newest first (event_json.h), at most limit (1..1000, 100
//       without), older than the id `before`, at or after the RFC 3339 time
//       `since`; "next" is the link to the page before, null on the last.
//   GET /history.json?hours=N (1..168, 24 without)
//       per printer of the fleet, the spans in which it was not ready that
//       overlap the last N hours, each cut to them; "to" is null while the
//       printer is still so.
//
// A parameter given twice, out of its range or not its form is a 400 that
// names it; a name the fleet does not have in the path, 404; a store that
// cannot be read (or none), 503.  The router has checked the method, the
// host and the language.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "serve/http_router.h"

namespace tb58mon {

// fixed_printer: the NAME of /printers/NAME/events.json; empty for /events.json.
HttpReply EventsReply(const HttpRequest& request, const RouteSources& sources, std::string_view lang,
                      std::string_view fixed_printer);

HttpReply HistoryReply(const HttpRequest& request, const RouteSources& sources, int64_t now);

// A printer's last events as a JSON array text ("[]" without any), made
// once per list and language and kept with the list.
std::shared_ptr<const std::string> RecentEventsText(const RecentEvents* recent, std::string_view printer,
                                                    std::string_view lang);

}  // namespace tb58mon
