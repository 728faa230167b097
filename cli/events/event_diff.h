// Events as differences of states: what the store keeps of each printer
// (its memory: small, serializable, written with the events it gave) and
// the pure function from that memory and the printer's latest observation
// to the events and the next memory.
//
// What is compared when:
//   - the health with every observation but kWaiting (before the first
//     poll): an event when it differs from the remembered one;
//   - the engine status codes and the toner only when they were read (the
//     health is error, attention or ready; under no response or unknown
//     nothing is known of them, and the remembered ones stay).  Codes of
//     normal operation (ready, warming up, printing, energy saver) give no
//     code events: they come and go with every job and every sleep;
//   - the tray levels whenever the printer answered (no response keeps the
//     levels of before): only known levels count, and each tray keeps its
//     last known level, so an unknown level in between gives nothing;
//   - the page counter whenever the printer answered: the pages of a day
//     are the sum of the counter's steps forward seen that day (a counter
//     that goes back, after a new counter board or another machine at the
//     address, counts from its new value); the step from the last counter
//     of a day to the first of the next counts for the next.  A day ends
//     with the first observation of a later day, even while the printer is
//     silent; a gap of more than a day counts nothing across it, and a day
//     without a counter seen gives no pages_daily.
// A printer without memory (new) is compared with BaselineMemory(): ready,
// no codes, toner ok, no tray known, so a printer that is jammed when it is
// first seen gives its events like one that jams later.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "events/printer_event.h"

namespace tb58mon {

struct TrayLevel {
    uint16_t tray = 0;
    int level = -1;  // percent, 0..100; -1 unknown

    bool operator==(const TrayLevel&) const = default;
};

// A printer as one cycle saw it.
struct PrinterObservation {
    int64_t time = 0;  // Unix seconds (UTC)
    PrinterHealth health = PrinterHealth::kWaiting;
    std::vector<int32_t> codes;         // as read (meaningful when CodesKnown(health))
    std::optional<TonerLevel> toner;    // when the codes were read
    std::vector<TrayLevel> trays;
    std::optional<uint32_t> counter;    // the page counter
};

// What the store remembers of a printer between observations.
struct PrinterMemory {
    PrinterHealth health = PrinterHealth::kReady;
    std::vector<int32_t> codes;      // the last codes read
    TonerLevel toner = TonerLevel::kOk;
    std::vector<TrayLevel> trays;    // each tray's last known level, by tray code
    std::optional<int32_t> day;      // the UTC day being counted
    std::optional<uint64_t> pages;   // pages counted that day; nullopt: no counter seen that day yet
    std::optional<uint32_t> counter; // the last counter seen (nullopt after a gap of more than a day)

    bool operator==(const PrinterMemory&) const = default;
};

PrinterMemory BaselineMemory();

struct PrinterDiff {
    std::vector<PrinterEvent> events;  // in order; without id, printer and uri
    PrinterMemory memory;              // the next memory
};

PrinterDiff DiffPrinter(const PrinterMemory& before, const PrinterObservation& now);

}  // namespace tb58mon
