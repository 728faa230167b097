// The times a printer was not ready, for the fleet's "last 24 hours" strip:
// spans kept up to date from the events as they are made, so the strip
// never has to read a day of events.
//
// A health event to anything but ready opens a span (or changes the open
// one's health); one to ready closes it.  A printer that flaps gives no
// flood of spans: a span that opens less than kSpanJoinSeconds after the
// printer's last span closed, or while the open span's health changed less
// than kSpanJoinSeconds ago, is joined to it, with the worse health of the
// two.  A span's codes are the problem codes (not those of normal
// operation) seen while it was open, at most kSpanCodes of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "events/printer_event.h"

namespace tb58mon {

constexpr int64_t kSpanJoinSeconds = 60;
constexpr size_t kSpanCodes = 16;

struct HealthSpan {
    int64_t id = 0;
    std::string printer;
    PrinterHealth health = PrinterHealth::kError;
    int64_t began = 0;
    std::optional<int64_t> ended;  // nullopt: still so
    int64_t changed = 0;           // when its health last changed
    std::vector<int32_t> codes;

    bool operator==(const HealthSpan&) const = default;
};

// The printer's latest span after one of its events: updated in place, or
// closed and replaced by a new one (its id from next_id, which is then
// counted on).  Returns the spans that changed, to be written: none, the
// latest, or the closed one and the new one.
std::vector<HealthSpan> FollowEvent(std::optional<HealthSpan>& latest, const PrinterEvent& event, int64_t& next_id);

}  // namespace tb58mon
