#include "events/event_schema.h"

#include <charconv>

namespace tb58mon {
namespace {

constexpr const char* kTables = R"SQL(
CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value INTEGER NOT NULL) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS printers (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS uris (id INTEGER PRIMARY KEY, uri TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS events (
    id INTEGER PRIMARY KEY,
    printer INTEGER NOT NULL,
    uri INTEGER NOT NULL,
    time INTEGER NOT NULL,
    kind INTEGER NOT NULL,
    health INTEGER NOT NULL,
    codes TEXT NOT NULL,
    previous_health INTEGER,
    code INTEGER,
    tray INTEGER,
    level INTEGER,
    toner INTEGER,
    previous_toner INTEGER,
    value INTEGER,
    day INTEGER);
CREATE INDEX IF NOT EXISTS events_by_printer ON events (printer, id);
CREATE TABLE IF NOT EXISTS event_hours (hour INTEGER PRIMARY KEY, first_id INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS printer_state (
    printer TEXT PRIMARY KEY, uri TEXT NOT NULL, memory TEXT NOT NULL, time INTEGER NOT NULL) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS health_spans (
    id INTEGER PRIMARY KEY,
    printer INTEGER NOT NULL,
    health INTEGER NOT NULL,
    began INTEGER NOT NULL,
    ended INTEGER,
    changed INTEGER NOT NULL,
    codes TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS spans_by_end ON health_spans (ended);
CREATE INDEX IF NOT EXISTS spans_by_printer ON health_spans (printer, id);
)SQL";

}  // namespace

void CreateEventSchema(sqlite3* db) {
    ExecuteSql(db, kTables);
    Statement version(db, "SELECT value FROM meta WHERE key = 'schema_version'");
    if (version.Step()) {
        if (version.Int(0) > kSchemaVersion) {
            throw SqliteError(SQLITE_MISMATCH, "events.db has schema version " + std::to_string(version.Int(0)) +
                                                   "; this tb58mon knows version " + std::to_string(kSchemaVersion) +
                                                   " (a later tb58mon wrote it)");
        }
        return;
    }
    Statement set(db, "INSERT INTO meta (key, value) VALUES ('schema_version', ?)");
    set.Bind(1, kSchemaVersion).Run();
}

int64_t HealthCode(PrinterHealth health) { return static_cast<int64_t>(health); }

std::optional<PrinterHealth> HealthOfCode(int64_t code) {
    for (PrinterHealth health : kAllHealths) {
        if (HealthCode(health) == code) return health;
    }
    return std::nullopt;
}

std::string CodesText(const std::vector<int32_t>& codes) {
    std::string text;
    for (int32_t code : codes) {
        if (!text.empty()) text += ',';
        text += std::to_string(code);
    }
    return text;
}

std::vector<int32_t> CodesOfText(std::string_view text) {
    std::vector<int32_t> codes;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        int32_t code = 0;
        const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), code);
        if (error == std::errc() && end == item.data() + item.size()) codes.push_back(code);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return codes;
}

std::optional<PrinterEvent> EventOfRow(const Statement& row) {
    PrinterEvent event;
    event.id = row.Int(0);
    event.printer = std::string(row.Text(1));
    event.uri = std::string(row.Text(2));
    event.time = row.Int(3);
    const int64_t kind = row.Int(4);
    const auto health = HealthOfCode(row.Int(5));
    if (kind < 1 || kind > static_cast<int64_t>(EventKind::kPagesDaily) || !health) return std::nullopt;
    event.kind = static_cast<EventKind>(kind);
    event.health = *health;
    event.codes = CodesOfText(row.Text(6));
    if (const auto previous = row.OptionalInt(7)) {
        event.previous_health = HealthOfCode(*previous);
        if (!event.previous_health) return std::nullopt;
    }
    if (const auto code = row.OptionalInt(8); code && *code >= INT32_MIN && *code <= INT32_MAX) {
        event.code = static_cast<int32_t>(*code);
    }
    if (const auto tray = row.OptionalInt(9); tray && *tray >= 0 && *tray <= UINT16_MAX) {
        event.tray = static_cast<uint16_t>(*tray);
    }
    if (const auto level = row.OptionalInt(10); level && *level >= 0 && *level <= 100) {
        event.level = static_cast<int>(*level);
    }
    for (const auto& [column, field] : {std::pair{11, &event.toner}, std::pair{12, &event.previous_toner}}) {
        if (const auto toner = row.OptionalInt(column); toner && *toner >= 0 && *toner <= 2) {
            *field = static_cast<TonerLevel>(*toner);
        }
    }
    event.value = row.OptionalInt(13);
    if (const auto day = row.OptionalInt(14); day && *day >= INT32_MIN && *day <= INT32_MAX) {
        event.day = static_cast<int32_t>(*day);
    }
    return event;
}

}  // namespace tb58mon
