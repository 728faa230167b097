#include "events/event_rows.h"

#include "events/memory_codec.h"

namespace tb58mon {
namespace {

std::optional<int64_t> Optional(const std::optional<TonerLevel>& toner) {
    if (!toner) return std::nullopt;
    return static_cast<int64_t>(*toner);
}

template <typename Number>
std::optional<int64_t> Optional(const std::optional<Number>& value) {
    if (!value) return std::nullopt;
    return static_cast<int64_t>(*value);
}

int64_t NextOf(sqlite3* db, const char* sql) {
    Statement next(db, sql);
    return next.Step() && !next.IsNull(0) ? next.Int(0) : 1;
}

}  // namespace

EventRowWriter::EventRowWriter(sqlite3* db)
    : db_(db),
      find_printer_(db, "SELECT id FROM printers WHERE name = ?"),
      add_printer_(db, "INSERT INTO printers (name) VALUES (?)"),
      find_uri_(db, "SELECT id FROM uris WHERE uri = ?"),
      add_uri_(db, "INSERT INTO uris (uri) VALUES (?)"),
      insert_event_(db,
                    "INSERT INTO events (id, printer, uri, time, kind, health, codes, previous_health, code, tray, "
                    "level, toner, previous_toner, value, day) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
      note_hour_(db, "INSERT OR IGNORE INTO event_hours (hour, first_id) VALUES (?, ?)"),
      save_memory_(db,
                   "INSERT INTO printer_state (printer, uri, memory, time) VALUES (?, ?, ?, ?) ON CONFLICT (printer) "
                   "DO UPDATE SET uri = excluded.uri, memory = excluded.memory, time = excluded.time"),
      save_span_(db,
                 "INSERT INTO health_spans (id, printer, health, began, ended, changed, codes) VALUES "
                 "(?, ?, ?, ?, ?, ?, ?) ON CONFLICT (id) DO UPDATE SET health = excluded.health, "
                 "ended = excluded.ended, changed = excluded.changed, codes = excluded.codes"),
      save_next_(db,
                 "INSERT INTO meta (key, value) VALUES ('next_event_id', ?) ON CONFLICT (key) "
                 "DO UPDATE SET value = max(value, excluded.value)") {}

int64_t EventRowWriter::IdOf(Statement& find, Statement& add, std::map<std::string, int64_t, std::less<>>& known,
                             const std::string& text) {
    if (const auto found = known.find(text); found != known.end()) return found->second;
    find.Reset();
    find.Bind(1, std::string_view(text));
    int64_t id = 0;
    if (find.Step()) {
        id = find.Int(0);
    } else {
        add.Reset();
        add.Bind(1, std::string_view(text)).Run();
        id = sqlite3_last_insert_rowid(db_);
    }
    find.Reset();
    known.emplace(text, id);
    return id;
}

void EventRowWriter::InsertEvent(const PrinterEvent& event) {
    Statement& s = insert_event_;
    s.Reset();
    s.Bind(1, event.id)
        .Bind(2, IdOf(find_printer_, add_printer_, printer_ids_, event.printer))
        .Bind(3, IdOf(find_uri_, add_uri_, uri_ids_, event.uri))
        .Bind(4, event.time)
        .Bind(5, static_cast<int64_t>(event.kind))
        .Bind(6, HealthCode(event.health))
        .Bind(7, std::string_view(CodesText(event.codes)))
        .Bind(8, event.previous_health ? std::optional<int64_t>(HealthCode(*event.previous_health)) : std::nullopt)
        .Bind(9, Optional(event.code))
        .Bind(10, Optional(event.tray))
        .Bind(11, Optional(event.level))
        .Bind(12, Optional(event.toner))
        .Bind(13, Optional(event.previous_toner))
        .Bind(14, event.value)
        .Bind(15, Optional(event.day));
    s.Run();
    const int64_t hour = event.time / 3600 - (event.time % 3600 < 0 ? 1 : 0);
    if (hour != last_hour_) {
        note_hour_.Reset();
        note_hour_.Bind(1, hour).Bind(2, event.id).Run();
        last_hour_ = hour;
    }
}

void EventRowWriter::SaveMemory(const std::string& printer, const std::string& uri, const PrinterMemory& memory,
                                int64_t time) {
    save_memory_.Reset();
    save_memory_.Bind(1, std::string_view(printer))
        .Bind(2, std::string_view(uri))
        .Bind(3, std::string_view(MemoryText(memory)))
        .Bind(4, time)
        .Run();
}

void EventRowWriter::SaveSpan(const HealthSpan& span) {
    save_span_.Reset();
    save_span_.Bind(1, span.id)
        .Bind(2, IdOf(find_printer_, add_printer_, printer_ids_, span.printer))
        .Bind(3, HealthCode(span.health))
        .Bind(4, span.began)
        .Bind(5, span.ended)
        .Bind(6, span.changed)
        .Bind(7, std::string_view(CodesText(span.codes)))
        .Run();
}

void EventRowWriter::SaveNextEventId(int64_t next) {
    save_next_.Reset();
    save_next_.Bind(1, next).Run();
}

int64_t EventRowWriter::PruneEvents(int64_t before_time, int64_t excess, int64_t rows) {
    int64_t deleted = 0;
    if (excess > 0) {
        Statement oldest(db_, "DELETE FROM events WHERE id IN (SELECT id FROM events ORDER BY id LIMIT ?)");
        oldest.Bind(1, std::min(excess, rows)).Run();
        deleted += sqlite3_changes64(db_);
    }
    if (deleted < rows) {
        // Among the oldest rows only: a scan that never runs through the
        // whole table, whatever the times.
        Statement old(db_,
                      "DELETE FROM events WHERE id IN (SELECT id FROM events ORDER BY id LIMIT ?) AND time < ?");
        old.Bind(1, rows - deleted).Bind(2, before_time).Run();
        deleted += sqlite3_changes64(db_);
    }
    return deleted;
}

void EventRowWriter::PruneSpans(int64_t before_time, int64_t rows) {
    Statement spans(db_,
                    "DELETE FROM health_spans WHERE id IN (SELECT id FROM health_spans WHERE ended < ? LIMIT ?)");
    spans.Bind(1, before_time).Bind(2, rows).Run();
    Statement hours(db_, "DELETE FROM event_hours WHERE hour < ?");
    hours.Bind(1, before_time / 3600).Run();
}

StoredState LoadCounters(sqlite3* db) {
    StoredState state;
    state.next_event_id = std::max(NextOf(db, "SELECT max(id) + 1 FROM events"),
                                   NextOf(db, "SELECT value FROM meta WHERE key = 'next_event_id'"));
    state.next_span_id = NextOf(db, "SELECT max(id) + 1 FROM health_spans");
    Statement count(db, "SELECT count(*) FROM events");
    state.events = count.Step() ? count.Int(0) : 0;
    return state;
}

StoredState LoadStoredState(sqlite3* db, size_t recent_count) {
    StoredState state = LoadCounters(db);
    Statement memories(db, "SELECT printer, uri, memory FROM printer_state");
    while (memories.Step()) {
        auto memory = MemoryOfText(memories.Text(2));
        if (!memory) {
            ++state.unreadable;
            continue;
        }
        state.memories[std::string(memories.Text(0))] = {std::string(memories.Text(1)), std::move(*memory)};
    }
    Statement printers(db, "SELECT id, name FROM printers");
    Statement recent(db, "SELECT " + std::string(kEventColumns) + " FROM events e" + std::string(kEventJoins) +
                             " WHERE e.printer = ? ORDER BY e.id DESC LIMIT ?");
    while (printers.Step()) {
        recent.Reset();
        recent.Bind(1, printers.Int(0)).Bind(2, static_cast<int64_t>(recent_count));
        std::vector<PrinterEvent> events;
        while (recent.Step()) {
            if (auto event = EventOfRow(recent)) events.push_back(std::move(*event));
        }
        if (!events.empty()) state.recent[std::string(printers.Text(1))] = std::move(events);
    }
    Statement spans(db,
                    "SELECT s.id, p.name, s.health, s.began, s.ended, s.changed, s.codes FROM health_spans s "
                    "JOIN printers p ON p.id = s.printer "
                    "WHERE s.id IN (SELECT max(id) FROM health_spans GROUP BY printer)");
    while (spans.Step()) {
        const auto health = HealthOfCode(spans.Int(2));
        if (!health) continue;
        HealthSpan span{spans.Int(0), std::string(spans.Text(1)), *health, spans.Int(3),
                        spans.OptionalInt(4), spans.Int(5), CodesOfText(spans.Text(6))};
        state.spans[span.printer] = std::move(span);
    }
    return state;
}

}  // namespace tb58mon
