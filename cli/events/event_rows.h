// The store's rows: what the writer writes (with its statements prepared
// once per connection) and what it reads back when it opens the database.
// Everything throws SqliteError.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "events/event_diff.h"
#include "events/event_schema.h"
#include "events/health_spans.h"

namespace tb58mon {

// On the writer's connection, inside its transactions.  The ids of printer
// names and URIs are remembered: when a transaction fails, this object must
// go with its connection.
class EventRowWriter {
public:
    explicit EventRowWriter(sqlite3* db);

    void InsertEvent(const PrinterEvent& event);  // with its id
    void SaveMemory(const std::string& printer, const std::string& uri, const PrinterMemory& memory, int64_t time);
    void SaveSpan(const HealthSpan& span);
    void SaveNextEventId(int64_t next);

    // Deletes at most `rows` of the oldest events: those older than
    // `before_time`, and as many more as `excess`.  Returns the rows deleted.
    int64_t PruneEvents(int64_t before_time, int64_t excess, int64_t rows);
    // Deletes at most `rows` closed spans that ended before before_time, and
    // the hours before it.
    void PruneSpans(int64_t before_time, int64_t rows);

private:
    int64_t IdOf(Statement& find, Statement& add, std::map<std::string, int64_t, std::less<>>& known,
                 const std::string& text);

    sqlite3* db_;
    Statement find_printer_, add_printer_, find_uri_, add_uri_;
    Statement insert_event_, note_hour_, save_memory_, save_span_, save_next_;
    std::map<std::string, int64_t, std::less<>> printer_ids_;
    std::map<std::string, int64_t, std::less<>> uri_ids_;
    int64_t last_hour_ = INT64_MIN;
};

struct StoredMemory {
    std::string uri;
    PrinterMemory memory;
};

struct StoredState {
    std::map<std::string, StoredMemory> memories;  // by printer name
    size_t unreadable = 0;                         // rows left out: the printer starts from the baseline
    std::map<std::string, std::vector<PrinterEvent>> recent;  // newest first
    std::map<std::string, HealthSpan> spans;       // each printer's latest span
    int64_t next_event_id = 1;
    int64_t next_span_id = 1;
    int64_t events = 0;                            // rows in the events table
};

// Everything the writer reads back when it opens the database; recent
// holds at most recent_count events of each printer.
StoredState LoadStoredState(sqlite3* db, size_t recent_count);

// The ids only (the writer opens the database again after a failure and
// keeps its memories): next_event_id, next_span_id and events.
StoredState LoadCounters(sqlite3* db);

}  // namespace tb58mon
