#include "notify/notify_metrics.h"

#include <prometheus/counter.h>
#include <prometheus/gauge.h>
#include <prometheus/registry.h>
#include <prometheus/text_serializer.h>

#include <mutex>

namespace tb58mon {
namespace {

const char* OutcomeName(NoticeOutcome outcome) {
    switch (outcome) {
        case NoticeOutcome::kSent: return "sent";
        case NoticeOutcome::kFailed: return "failed";
        case NoticeOutcome::kExpired: return "expired";
    }
    return "failed";
}

}  // namespace

struct NotifyMetrics::Impl {
    std::shared_ptr<prometheus::Registry> registry = std::make_shared<prometheus::Registry>();
    prometheus::Family<prometheus::Counter>& notifications =
        prometheus::BuildCounter()
            .Name("tb58_notifications_total")
            .Help("Notifications by notifier and outcome (failed: a try not taken; it is tried again)")
            .Register(*registry);
    prometheus::Gauge& length =
        prometheus::BuildGauge().Name("tb58_outbox_length").Help("Notifications not yet taken by their receiver").Register(*registry).Add({});
    prometheus::Gauge& oldest = prometheus::BuildGauge()
                                    .Name("tb58_outbox_oldest_seconds")
                                    .Help("Age of the oldest notification not yet taken (0 when none)")
                                    .Register(*registry)
                                    .Add({});
    std::mutex mutex;  // Family::Add is thread-safe; this keeps Declare and Count in order
};

NotifyMetrics::NotifyMetrics() : impl_(std::make_unique<Impl>()) {}
NotifyMetrics::~NotifyMetrics() = default;

void NotifyMetrics::Declare(const std::string& notifier) {
    const std::lock_guard lock(impl_->mutex);
    for (NoticeOutcome outcome : {NoticeOutcome::kSent, NoticeOutcome::kFailed, NoticeOutcome::kExpired}) {
        impl_->notifications.Add({{"notifier", notifier}, {"outcome", OutcomeName(outcome)}});
    }
}

void NotifyMetrics::Count(const std::string& notifier, NoticeOutcome outcome) {
    const std::lock_guard lock(impl_->mutex);
    impl_->notifications.Add({{"notifier", notifier}, {"outcome", OutcomeName(outcome)}}).Increment();
}

void NotifyMetrics::Outbox(int64_t length, int64_t oldest_seconds) {
    impl_->length.Set(static_cast<double>(length));
    impl_->oldest.Set(static_cast<double>(oldest_seconds));
}

std::string NotifyMetrics::Text() const { return prometheus::TextSerializer().Serialize(impl_->registry->Collect()); }

}  // namespace tb58mon
