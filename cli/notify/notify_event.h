// What the notifiers take of an event: its kind by the names the JSON, the
// metrics and the rules use ("health", "code_began", "code_cleared",
// "tray_empty", "tray_filled", "toner", "pages_daily"), and its fields.
// Texts are not part of it: they are made in the notifier's language when
// a notice is sent.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/record_report.h"

namespace tb58mon {

using TimePoint = std::chrono::system_clock::time_point;

// Whole seconds since the epoch, as the outbox file and the notice book keep
// times.
inline int64_t SecondsSinceEpoch(TimePoint time) {
    return std::chrono::duration_cast<std::chrono::seconds>(time.time_since_epoch()).count();
}
inline TimePoint TimeOfSeconds(int64_t seconds) { return TimePoint(std::chrono::seconds(seconds)); }

struct NotifyEvent {
    int64_t id = 0;  // the store's: increasing, stable
    std::string printer;
    std::string uri;
    TimePoint time;
    std::string kind;
    std::string health;            // the printer's health then: "error", "no_response", ...
    std::string previous_health;   // health events
    std::vector<int32_t> codes;    // the printer's engine status codes then
    std::optional<int32_t> code;   // code_began, code_cleared
    std::optional<uint16_t> tray;  // tray_empty, tray_filled
    std::string tray_name;         // English, as PatGetDeviceName takes it
    std::optional<int> level;      // tray_filled
    std::string toner;             // toner: "ok", "low", "empty"
    std::string previous_toner;
    std::optional<int64_t> value;  // pages_daily
    std::string day;               // pages_daily: YYYY-MM-DD
};

// The event as the service's JSON has it (absent fields null, no texts),
// and back.  NotifyEventFromJson takes what NotifyEventJson gave and
// returns false for anything else.
Json NotifyEventJson(const NotifyEvent& event);
bool NotifyEventFromJson(const Json& json, NotifyEvent& event);

// "2026-12-10T12:00:00Z" (as UtcIsoTime writes it) to a time; false for a
// text of another shape or a date that does not exist.
bool ParseUtcIsoTime(std::string_view text, TimePoint& time);

}  // namespace tb58mon
