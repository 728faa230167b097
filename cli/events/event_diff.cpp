#include "events/event_diff.h"

#include <algorithm>

#include "base/engine_code_classes.h"

namespace tb58mon {
namespace {

bool Contains(const std::vector<int32_t>& codes, int32_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// The codes that give events, each once, in their order.
std::vector<int32_t> EventCodes(const std::vector<int32_t>& codes) {
    std::vector<int32_t> kept;
    for (int32_t code : codes) {
        if (!IsNormalStateCode(code) && !Contains(kept, code)) kept.push_back(code);
    }
    return kept;
}

PrinterEvent Event(EventKind kind, const PrinterObservation& now) {
    PrinterEvent event;
    event.kind = kind;
    event.time = now.time;
    event.health = now.health;
    event.codes = now.codes;
    return event;
}

void CountPages(const PrinterObservation& now, PrinterMemory& memory, std::vector<PrinterEvent>& events) {
    const int32_t today = UtcDay(now.time);
    if (!memory.day) {
        memory.day = today;
    } else if (today > *memory.day) {
        if (memory.pages) {
            PrinterEvent event = Event(EventKind::kPagesDaily, now);
            event.value = static_cast<int64_t>(std::min<uint64_t>(*memory.pages, INT64_MAX));
            event.day = *memory.day;
            events.push_back(std::move(event));
        }
        if (today != *memory.day + 1) memory.counter.reset();  // nothing counts across a gap
        memory.day = today;
        memory.pages.reset();
    }
    // A day before the one counted (the clock went back): that count goes on.
    if (now.health == PrinterHealth::kNoResponse || !now.counter) return;
    const uint32_t counter = *now.counter;
    const uint64_t step = memory.counter && counter >= *memory.counter ? counter - *memory.counter : 0;
    memory.pages = memory.pages.value_or(0) + step;
    memory.counter = counter;
}

void CompareCodes(const PrinterMemory& before, const PrinterObservation& now, std::vector<PrinterEvent>& events) {
    const std::vector<int32_t> was = EventCodes(before.codes);
    const std::vector<int32_t> is = EventCodes(now.codes);
    for (int32_t code : was) {
        if (Contains(is, code)) continue;
        PrinterEvent event = Event(EventKind::kCodeCleared, now);
        event.code = code;
        events.push_back(std::move(event));
    }
    for (int32_t code : is) {
        if (Contains(was, code)) continue;
        PrinterEvent event = Event(EventKind::kCodeBegan, now);
        event.code = code;
        events.push_back(std::move(event));
    }
}

void CompareTrays(const PrinterObservation& now, PrinterMemory& memory, std::vector<PrinterEvent>& events) {
    std::vector<TrayLevel> next;
    for (const TrayLevel& tray : now.trays) {
        const auto known = std::find_if(memory.trays.begin(), memory.trays.end(),
                                        [&](const TrayLevel& t) { return t.tray == tray.tray; });
        const int last = known != memory.trays.end() ? known->level : -1;
        if (std::any_of(next.begin(), next.end(), [&](const TrayLevel& t) { return t.tray == tray.tray; })) continue;
        next.push_back({tray.tray, tray.level < 0 ? last : tray.level});
        if (tray.level < 0) continue;
        if (tray.level == 0 && last != 0) {
            PrinterEvent event = Event(EventKind::kTrayEmpty, now);
            event.tray = tray.tray;
            events.push_back(std::move(event));
        } else if (tray.level > 0 && last == 0) {
            PrinterEvent event = Event(EventKind::kTrayFilled, now);
            event.tray = tray.tray;
            event.level = tray.level;
            events.push_back(std::move(event));
        }
    }
    std::sort(next.begin(), next.end(), [](const TrayLevel& a, const TrayLevel& b) { return a.tray < b.tray; });
    memory.trays = std::move(next);
}

}  // namespace

PrinterMemory BaselineMemory() { return PrinterMemory{}; }

PrinterDiff DiffPrinter(const PrinterMemory& before, const PrinterObservation& now) {
    PrinterDiff diff;
    diff.memory = before;
    if (now.health == PrinterHealth::kWaiting) return diff;
    PrinterMemory& memory = diff.memory;
    CountPages(now, memory, diff.events);
    if (now.health != before.health) {
        PrinterEvent event = Event(EventKind::kHealth, now);
        event.previous_health = before.health;
        diff.events.push_back(std::move(event));
        memory.health = now.health;
    }
    if (CodesKnown(now.health)) {
        CompareCodes(before, now, diff.events);
        memory.codes = now.codes;
    }
    if (now.health != PrinterHealth::kNoResponse) CompareTrays(now, memory, diff.events);
    if (CodesKnown(now.health) && now.toner && *now.toner != before.toner) {
        PrinterEvent event = Event(EventKind::kToner, now);
        event.toner = *now.toner;
        event.previous_toner = before.toner;
        diff.events.push_back(std::move(event));
        memory.toner = *now.toner;
    }
    return diff;
}

}  // namespace tb58mon
