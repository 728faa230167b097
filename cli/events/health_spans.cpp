#include "events/health_spans.h"

#include <algorithm>

#include "base/engine_code_classes.h"

namespace tb58mon {
namespace {

// Adds the problem codes; true when one was new.
bool AddCodes(HealthSpan& span, const std::vector<int32_t>& codes) {
    bool added = false;
    for (int32_t code : codes) {
        if (IsNormalStateCode(code) || span.codes.size() >= kSpanCodes ||
            std::find(span.codes.begin(), span.codes.end(), code) != span.codes.end()) {
            continue;
        }
        span.codes.push_back(code);
        added = true;
    }
    return added;
}

PrinterHealth Worse(PrinterHealth a, PrinterHealth b) { return static_cast<int>(a) <= static_cast<int>(b) ? a : b; }

}  // namespace

std::vector<HealthSpan> FollowEvent(std::optional<HealthSpan>& latest, const PrinterEvent& event, int64_t& next_id) {
    if (event.kind == EventKind::kCodeBegan) {
        if (latest && !latest->ended && event.code && AddCodes(*latest, {*event.code})) return {*latest};
        return {};
    }
    if (event.kind != EventKind::kHealth || event.health == PrinterHealth::kWaiting) return {};
    if (event.health == PrinterHealth::kReady) {
        if (!latest || latest->ended) return {};
        latest->ended = std::max(event.time, latest->began);
        return {*latest};
    }
    const bool join = latest && (latest->ended ? event.time - *latest->ended < kSpanJoinSeconds
                                               : event.time - latest->changed < kSpanJoinSeconds);
    if (join) {
        latest->ended.reset();
        latest->health = Worse(latest->health, event.health);
        latest->changed = std::max(event.time, latest->changed);
        AddCodes(*latest, event.codes);
        return {*latest};
    }
    std::vector<HealthSpan> changed;
    if (latest && !latest->ended) {
        latest->ended = std::max(event.time, latest->began);
        changed.push_back(*latest);
    }
    HealthSpan span;
    span.id = next_id++;
    span.printer = event.printer;
    span.health = event.health;
    span.began = event.time;
    span.changed = event.time;
    AddCodes(span, event.codes);
    latest = span;
    changed.push_back(span);
    return changed;
}

}  // namespace tb58mon
