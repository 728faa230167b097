// The notifier's numbers in the Prometheus text format, in a registry of
// their own (the service's /metrics joins the texts):
//
//   tb58_notifications_total{notifier,outcome}   outcome: sent, failed (a try the receiver did
//                                                not take; it is tried again), expired
//   tb58_outbox_length                           notices not yet taken
//   tb58_outbox_oldest_seconds                   age of the oldest of them (0 when none)
//
// The notifier label is the configuration's name (letters, digits, '-',
// '_', '.'), never a text from a printer or a receiver.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tb58mon {

enum class NoticeOutcome { kSent, kFailed, kExpired };

// Thread-safe.
class NotifyMetrics {
public:
    NotifyMetrics();
    ~NotifyMetrics();
    NotifyMetrics(const NotifyMetrics&) = delete;
    NotifyMetrics& operator=(const NotifyMetrics&) = delete;

    // Every outcome of the notifier from the start, at 0.
    void Declare(const std::string& notifier);
    void Count(const std::string& notifier, NoticeOutcome outcome);
    void Outbox(int64_t length, int64_t oldest_seconds);

    std::string Text() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tb58mon
