// Polls a fleet of printers concurrently on one asio event loop.  Every
// exchange of a cycle (the TCP connection, the SNMP request, the USB
// descriptor) waits on that loop as a socket and a timer, so a printer that
// accepts a connection and never answers holds nothing but those until its
// cycle's deadline; no thread is parked for it.
//
// Each printer has a timer: the first poll at a random point of the
// interval, then the interval with 10 % jitter after each cycle, twice as
// long after each cycle without response (up to eight intervals).  At most
// max_in_flight cycles are open at once over the fleet (each holds at most a
// TCP and a UDP socket), and printers whose last cycle got no response may
// hold at most half of them, so that silent printers, however many, never
// hold back those that answer: a due printer that finds no room waits in a
// queue, answering printers first.  At most one cycle runs per printer.
//
// A finished cycle's view (texts, picture) is made on a small pool of
// threads, so that drawing never holds up the loop, and published in a new
// immutable snapshot; a reader takes the current one and never waits for a
// printer.
#pragma once

#include <chrono>
#include <functional>
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
    size_t max_in_flight = 256;     // cycles (so exchanges) open at once, over the fleet
    size_t view_threads = 1;        // threads that make views and pictures
    size_t max_reply = 1024 * 1024;
    // Called on the loop's thread with each finished cycle's view, before it
    // is published; must return at once (the event store only queues it).
    std::function<void(const PrinterView&)> on_view;
    // Called on the loop's thread every tick_interval (when both are set),
    // and once at the start: the watchdog's pings, which stop when the loop
    // is stuck.  Must return at once.
    std::function<void()> on_tick;
    std::chrono::microseconds tick_interval{0};
};

// The most exchange descriptors a poller with these options holds at once
// (a TCP and a UDP socket per open cycle).
size_t PollerDescriptors(const PollerOptions& options);

// Throws BadArgument when a printer's URI cannot be opened (a scenario
// that does not exist); opens nothing that stays open.
void CheckFleetUris(const FleetConfig& config, const PollerOptions& options);

class FleetPoller {
public:
    // Starts polling.  Throws BadArgument when a printer's URI cannot be
    // opened (a scenario that does not exist).
    FleetPoller(const FleetConfig& config, const PollerOptions& options, FleetMetrics& metrics);
    ~FleetPoller();  // stops: open exchanges are cancelled
    FleetPoller(const FleetPoller&) = delete;
    FleetPoller& operator=(const FleetPoller&) = delete;

    std::shared_ptr<const FleetSnapshot> Snapshot() const;

    // A new configuration: printers that stay (same name and URI) keep
    // their state; new ones start waiting; removed ones are dropped (a cycle
    // in progress is cancelled).
    void Reload(const FleetConfig& config);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tb58mon
