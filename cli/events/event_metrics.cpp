#include "events/event_metrics.h"

#include <prometheus/counter.h>
#include <prometheus/gauge.h>
#include <prometheus/registry.h>
#include <prometheus/text_serializer.h>

#include <map>

namespace tb58mon {

struct EventMetrics::Impl {
    std::shared_ptr<prometheus::Registry> registry = std::make_shared<prometheus::Registry>();
    prometheus::Family<prometheus::Counter>& made = prometheus::BuildCounter().Name("tb58_events_total").Help("Events made from the printers' changes, by kind").Register(*registry);
    prometheus::Counter& dropped = prometheus::BuildCounter().Name("tb58_events_dropped_total").Help("Events dropped from memory while the database could not be written").Register(*registry).Add({});
    prometheus::Gauge& pending = prometheus::BuildGauge().Name("tb58_events_pending").Help("Events kept in memory, not yet written to the database").Register(*registry).Add({});
    prometheus::Gauge& up = prometheus::BuildGauge().Name("tb58_event_store_up").Help("1 while the event database takes writes, 0 while it fails").Register(*registry).Add({});
    prometheus::Counter& errors = prometheus::BuildCounter().Name("tb58_event_store_errors_total").Help("Failed opens, writes and jobs of the event database").Register(*registry).Add({});
    std::map<EventKind, prometheus::Counter*> by_kind;

    Impl() {
        // Every kind from the start, so that rate() sees the first event.
        for (EventKind kind : kAllEventKinds) by_kind[kind] = &made.Add({{"kind", std::string(EventKindName(kind))}});
    }
};

EventMetrics::EventMetrics() : impl_(std::make_unique<Impl>()) {}
EventMetrics::~EventMetrics() = default;

void EventMetrics::Made(EventKind kind) { impl_->by_kind.at(kind)->Increment(); }
void EventMetrics::Dropped(uint64_t events) { impl_->dropped.Increment(static_cast<double>(events)); }
void EventMetrics::Pending(size_t events) { impl_->pending.Set(static_cast<double>(events)); }
void EventMetrics::Up(bool writing) { impl_->up.Set(writing ? 1 : 0); }
void EventMetrics::StoreError() { impl_->errors.Increment(); }

std::string EventMetrics::Text() const {
    return prometheus::TextSerializer().Serialize(impl_->registry->Collect());
}

}  // namespace tb58mon
