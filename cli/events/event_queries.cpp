#include "events/event_queries.h"

#include "events/event_schema.h"

namespace tb58mon {
namespace {

// The smallest id an event at or after `since` can have: the first event
// of that hour or of the next hour with events.  nullopt: none that late.
std::optional<int64_t> FirstIdSince(sqlite3* db, int64_t since) {
    const int64_t hour = since / 3600 - (since % 3600 < 0 ? 1 : 0);
    Statement first(db, "SELECT first_id FROM event_hours WHERE hour >= ? ORDER BY hour LIMIT 1");
    first.Bind(1, hour);
    if (!first.Step()) return std::nullopt;
    return first.Int(0);
}

}  // namespace

std::vector<PrinterEvent> QueryEvents(sqlite3* db, const EventQuery& query) {
    std::vector<PrinterEvent> events;
    int64_t lowest = 0;
    if (query.since) {
        const auto first = FirstIdSince(db, *query.since);
        if (!first) return events;
        lowest = *first;
    }
    std::string sql = "SELECT " + std::string(kEventColumns) + " FROM events e" + std::string(kEventJoins) +
                      " WHERE e.id < ?1 AND e.id >= ?2 AND e.time >= ?3";
    if (query.printer) sql += " AND e.printer = (SELECT id FROM printers WHERE name = ?5)";
    sql += " ORDER BY e.id DESC LIMIT ?4";
    Statement select(db, sql);
    select.Bind(1, query.before.value_or(INT64_MAX))
        .Bind(2, lowest)
        .Bind(3, query.since.value_or(INT64_MIN))
        .Bind(4, query.limit);
    if (query.printer) select.Bind(5, std::string_view(*query.printer));
    while (select.Step()) {
        if (auto event = EventOfRow(select)) events.push_back(std::move(*event));
    }
    return events;
}

std::map<std::string, std::vector<HealthSpan>> QuerySpans(sqlite3* db, int64_t from, int64_t to) {
    std::map<std::string, std::vector<HealthSpan>> spans;
    Statement select(db,
                     "SELECT s.id, p.name, s.health, s.began, s.ended, s.changed, s.codes FROM health_spans s "
                     "JOIN printers p ON p.id = s.printer WHERE (s.ended IS NULL OR s.ended >= ?1) AND s.began <= ?2 "
                     "ORDER BY s.id");
    select.Bind(1, from).Bind(2, to);
    while (select.Step()) {
        const auto health = HealthOfCode(select.Int(2));
        if (!health) continue;
        HealthSpan span{select.Int(0), std::string(select.Text(1)), *health, select.Int(3),
                        select.OptionalInt(4),  select.Int(5),      CodesOfText(select.Text(6))};
        spans[span.printer].push_back(std::move(span));
    }
    return spans;
}

}  // namespace tb58mon
