// The notifier of 'tb58mon serve': the rules on the event store's writer
// thread (its hooks: the notices are written in the same transaction as
// the events that cause them), and delivery on a thread of its own through
// libcurl's multi interface, so that neither the poller nor the store ever
// waits on a receiver.
//
// Each second the delivery thread asks the writer to release the notices
// whose hold has passed (NotifyBook::Release), reads the due rows of the
// outbox on a reader connection, and starts a transfer for each row not in
// flight.  An answer is written back through a job on the writer: taken
// (sent), not taken (tried again after RetryDelay), or given up once the
// notifier's expire has passed since the notice entered the outbox.  A row
// stays busy until its answer is written, so no notice is sent twice by one
// process; a crash between the receiver's answer and the write sends it
// again after the restart (at least once; the Idempotency-Key is the same).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "events/event_store.h"
#include "notify/curl_delivery.h"
#include "notify/notifier_config.h"
#include "notify/retry_delay.h"

namespace tb58mon {

class NotifyMetrics;

struct NotifierServiceOptions {
    std::string service_lang = "EN";  // for notifiers without lang
    std::string base_url;              // the service's own URL, for the links
    RetryPolicy retry;
    DeliveryLimits limits;
    std::chrono::milliseconds tick{1000};
    std::chrono::hours keep_finished{24 * 7};  // sent and expired rows
    // The printer's picture (PNG) for a mail; may return null.
    std::function<std::shared_ptr<const std::string>(const std::string& printer)> picture;
};

class NotifierService {
public:
    NotifierService(std::vector<NotifierConfig> notifiers, NotifierServiceOptions options, NotifyMetrics* metrics);
    ~NotifierService();  // stops the delivery thread; destroy it before the store
    NotifierService(const NotifierService&) = delete;
    NotifierService& operator=(const NotifierService&) = delete;

    // The hooks for the store's constructor.
    EventStoreHooks Hooks();

    // The service's own URL for the links, before Start.
    void SetBaseUrl(std::string base_url);

    // Starts delivery; the store must outlive this object or the next Stop.
    void Start(EventStore& store);
    // Stops delivery (what is in flight is tried again after a start); also
    // done when destroyed.
    void Stop();

    // New notifiers (SIGHUP): those gone drop their pending notices.
    void Reload(std::vector<NotifierConfig> notifiers);

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

// Delivery runs while this lives: declare it after the store (and what
// the picture source uses), so that delivery stops before they go.
class NotifierRunning {
public:
    NotifierRunning(NotifierService& notifier, EventStore& store) : notifier_(notifier) { notifier_.Start(store); }
    ~NotifierRunning() { notifier_.Stop(); }
    NotifierRunning(const NotifierRunning&) = delete;
    NotifierRunning& operator=(const NotifierRunning&) = delete;

private:
    NotifierService& notifier_;
};

}  // namespace tb58mon
