// The events of the fleet service: what changed in a printer between two
// cycles, as plain records.  Their kinds and field names are those of the
// JSON of /events.json, of the metric tb58_events_total{kind} and of the
// notifier's rules.  An event holds codes, places and times, never texts:
// the texts are made in whatever language a reader asks for, through the
// library (event_json.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/toner_level.h"
#include "monitor/printer_health.h"

namespace tb58mon {

// The numbers are those of the database: never change them.
enum class EventKind : uint8_t {
    kHealth = 1,       // the health changed: health (new), previous_health
    kCodeBegan = 2,    // an engine status code appeared: code
    kCodeCleared = 3,  // an engine status code went: code
    kTrayEmpty = 4,    // a tray's known level became 0 %: tray
    kTrayFilled = 5,   // a tray that was empty has a known level above 0: tray, level
    kToner = 6,        // the toner changed between ok, low and empty: toner, previous_toner
    kPagesDaily = 7,   // the pages of a UTC day that ended: value, day
};
constexpr EventKind kAllEventKinds[] = {EventKind::kHealth,     EventKind::kCodeBegan, EventKind::kCodeCleared,
                                        EventKind::kTrayEmpty,  EventKind::kTrayFilled, EventKind::kToner,
                                        EventKind::kPagesDaily};

std::string_view EventKindName(EventKind kind);  // "health", "code_began", ...
std::optional<EventKind> EventKindOfName(std::string_view name);

struct PrinterEvent {
    int64_t id = 0;  // assigned by the store, increasing; 0 before
    std::string printer;
    std::string uri;
    int64_t time = 0;  // Unix seconds (UTC)
    EventKind kind = EventKind::kHealth;
    PrinterHealth health = PrinterHealth::kReady;  // the printer's health at that moment
    std::vector<int32_t> codes;                     // its engine status codes at that moment
    std::optional<PrinterHealth> previous_health;   // health
    std::optional<int32_t> code;                    // code_began, code_cleared
    std::optional<uint16_t> tray;                   // tray_empty, tray_filled: the tray code
    std::optional<int> level;                       // tray_filled: percent
    std::optional<TonerLevel> toner;                // toner
    std::optional<TonerLevel> previous_toner;       // toner
    std::optional<int64_t> value;                   // pages_daily: pages
    std::optional<int32_t> day;                     // pages_daily: days since 1970-01-01

    bool operator==(const PrinterEvent&) const = default;
};

// The English name of a tray code, as PatGetDeviceName takes it ("Tray 3";
// "Tray N" for a code the model's table does not have).
std::string TrayEnglishName(uint16_t tray);

// Days since 1970-01-01 of a Unix time (UTC), and back: "2026-12-10".
int32_t UtcDay(int64_t unix_seconds);
std::string DayText(int32_t day);

// "2026-12-10T12:00:00Z" of a Unix time.
std::string RfcTime(int64_t unix_seconds);

// An RFC 3339 time ("2026-12-10T12:00:00Z", "2026-12-10T13:00:00.5+01:00",
// 't' and 'z' in either case) as Unix seconds, fractions cut; nullopt for
// anything else, or a date or offset out of range.
std::optional<int64_t> ParseRfcTime(std::string_view text);

}  // namespace tb58mon
