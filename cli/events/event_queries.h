// What the history routes read from events.db, on a reader connection
// (EventStore::Read).  Everything throws SqliteError.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "events/health_spans.h"
#include "events/printer_event.h"
#include "events/sqlite_db.h"

namespace tb58mon {

struct EventQuery {
    std::optional<std::string> printer;  // only this printer's events
    std::optional<int64_t> since;        // only events at or after this time (Unix seconds)
    std::optional<int64_t> before;       // only events with a smaller id
    int64_t limit = 100;
};

// The events asked for, newest (largest id) first, at most query.limit.
// Every query walks an index backwards from `before` and stops at the first
// event of the hour of `since`, however many events are stored.
std::vector<PrinterEvent> QueryEvents(sqlite3* db, const EventQuery& query);

// The health spans that overlap [from, to], by printer name, oldest first.
std::map<std::string, std::vector<HealthSpan>> QuerySpans(sqlite3* db, int64_t from, int64_t to);

}  // namespace tb58mon
