// Polls a fleet of printers concurrently.  One asio event loop keeps a
// timer per printer (first poll spread over the interval, then the interval
// with 10 % jitter); a due printer's cycle runs on a small pool of workers,
// at most max_in_flight at a time over the whole fleet (each cycle holds at
// most one connection), and at most one cycle per printer.  A printer that
// does not respond waits twice as long after each such cycle, up to eight
// intervals.  Every finished cycle publishes a new immutable snapshot; a
// reader takes the current one and never waits for a printer.
#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "serve/fleet_config.h"
#include "serve/fleet_metrics.h"
#include "serve/printer_view.h"

namespace tb58mon {

struct FleetSnapshot {
    std::vector<std::shared_ptr<const PrinterView>> printers;  // in configuration order
    std::chrono::system_clock::time_point taken;
};

struct PollerOptions {
    size_t workers = 8;         // threads that run cycles
    size_t max_in_flight = 8;   // cycles (so connections) at once, over the fleet
    size_t max_reply = 1024 * 1024;
};

class FleetPoller {
public:
    // Starts polling.  Throws BadArgument when a printer's URI cannot be
    // opened (a scenario that does not exist).
    FleetPoller(const FleetConfig& config, const PollerOptions& options, FleetMetrics& metrics);
    ~FleetPoller();  // stops: waits for the cycles in progress
    FleetPoller(const FleetPoller&) = delete;
    FleetPoller& operator=(const FleetPoller&) = delete;

    std::shared_ptr<const FleetSnapshot> Snapshot() const;

    // A new configuration: printers that stay (same name and URI) keep
    // their state; new ones start waiting; removed ones are dropped.
    void Reload(const FleetConfig& config);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tb58mon
