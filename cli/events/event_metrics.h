// The event store's numbers in the Prometheus text format, in a registry of
// their own (the service's /metrics joins the texts):
//
//   tb58_events_total{kind}            events made, by kind (health, code_began, ...)
//   tb58_events_dropped_total          events dropped from memory while the database could not be written
//   tb58_events_pending                events kept in memory, not yet written
//   tb58_event_store_up                1 while the database takes writes, 0 while it fails
//   tb58_event_store_errors_total      failed opens, writes and jobs of the database
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "events/printer_event.h"

namespace tb58mon {

// Thread-safe.
class EventMetrics {
public:
    EventMetrics();
    ~EventMetrics();
    EventMetrics(const EventMetrics&) = delete;
    EventMetrics& operator=(const EventMetrics&) = delete;

    void Made(EventKind kind);
    void Dropped(uint64_t events);
    void Pending(size_t events);
    void Up(bool writing);
    void StoreError();

    std::string Text() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tb58mon
