// The tables of events.db and how the store's records become rows.
//
//   meta(key, value)                  schema_version, next_event_id
//   printers(id, name)                a printer's name, once
//   uris(id, uri)                     a device URI, once
//   events(id, printer, uri, time, kind, health, codes, previous_health,
//          code, tray, level, toner, previous_toner, value, day)
//                                     one row an event; codes as "42000,41401",
//                                     healths, kinds and toners as small numbers
//   event_hours(hour, first_id)       the first event id of each hour, so a
//                                     ?since= query knows where to stop
//   printer_state(printer, uri, memory, time)
//                                     each printer's memory (memory_codec.h)
//   health_spans(id, printer, health, began, ended, changed, codes)
//                                     the times a printer was not ready
//
// Times are Unix seconds (UTC).  Nothing of a printer's own texts is kept.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "events/printer_event.h"
#include "events/sqlite_db.h"

namespace tb58mon {

constexpr int64_t kSchemaVersion = 1;

// Creates the tables and indexes that are missing and checks the schema
// version; throws SqliteError (SQLITE_MISMATCH) for a database of a later
// version.  Call inside a transaction.
void CreateEventSchema(sqlite3* db);

// A small number for the database and back; nullopt for one it does not know.
int64_t HealthCode(PrinterHealth health);
std::optional<PrinterHealth> HealthOfCode(int64_t code);

// "42000,41401" and back; an item that is not a 32-bit number is left out.
std::string CodesText(const std::vector<int32_t>& codes);
std::vector<int32_t> CodesOfText(std::string_view text);

// The columns a query must select, in this order, for EventOfRow; the
// events table is "e", the printers table "p" and the uris table "u".
constexpr std::string_view kEventColumns =
    "e.id, p.name, u.uri, e.time, e.kind, e.health, e.codes, e.previous_health, e.code, e.tray, e.level, "
    "e.toner, e.previous_toner, e.value, e.day";
constexpr std::string_view kEventJoins = " JOIN printers p ON p.id = e.printer JOIN uris u ON u.id = e.uri";

// The event of a row selected with kEventColumns; nullopt for a row this
// version cannot read (an unknown kind or health).
std::optional<PrinterEvent> EventOfRow(const Statement& row);

}  // namespace tb58mon
