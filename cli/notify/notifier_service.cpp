#include "notify/notifier_service.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "notify/notice_request.h"
#include "notify/notify_book.h"
#include "notify/notify_metrics.h"
#include "notify/notify_outbox.h"

namespace tb58mon {
namespace {

int64_t NowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

struct NotifierService::Impl {
    NotifierServiceOptions options;
    NotifyMetrics* metrics = nullptr;
    std::shared_ptr<NotifyBook> book;  // the writer thread's only
    CurlDelivery delivery;
    EventStore* store = nullptr;
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> releasing{false};

    std::mutex mutex;                      // guards what follows
    std::vector<NotifierConfig> notifiers;
    std::set<std::string> busy;            // in flight, or its answer not yet written
    std::map<uint64_t, OutboxRow> flying;  // by tag (the delivery thread's only)
    uint64_t next_tag = 1;
    int64_t last_prune = 0;
    std::mt19937 random{std::random_device{}()};

    Impl(std::vector<NotifierConfig> configured, NotifierServiceOptions given, NotifyMetrics* counting)
        : options(std::move(given)), metrics(counting), book(std::make_shared<NotifyBook>(configured)),
          delivery(options.limits), notifiers(std::move(configured)) {
        if (metrics != nullptr) {
            for (const NotifierConfig& notifier : notifiers) metrics->Declare(notifier.name);
        }
    }

    // A job on the writer; the row is free again once the job has run.
    void Settle(const std::string& id, std::function<void(sqlite3*)> write) {
        store->Post([this, id, write = std::move(write)](sqlite3* db) {
            if (db != nullptr) write(db);
            const std::lock_guard lock(mutex);
            busy.erase(id);
        });
    }

    void Release() {
        if (releasing.exchange(true)) return;  // the last one has not run yet
        const auto now = std::chrono::system_clock::now();
        const int64_t prune_before = NowSeconds() - std::chrono::duration_cast<std::chrono::seconds>(options.keep_finished).count();
        bool prune = false;
        {
            const std::lock_guard lock(mutex);
            if (NowSeconds() - last_prune >= 3600) prune = true, last_prune = NowSeconds();
        }
        store->Post([this, now, prune, prune_before](sqlite3* db) {
            releasing.store(false);
            if (db == nullptr) return;
            book->Release(db, now);
            if (prune) PruneOutbox(db, prune_before);
        });
    }

    void StartDue() {
        std::vector<OutboxRow> due;
        OutboxFigures figures;
        const int64_t now = NowSeconds();
        const size_t room = options.limits.most_transfers - std::min(options.limits.most_transfers, delivery.Running());
        size_t busy_rows = 0;
        {
            const std::lock_guard lock(mutex);
            busy_rows = busy.size();
        }
        const bool read = store->Read([&](sqlite3* db) {
            due = DueNotices(db, now, room + busy_rows);
            figures = ReadOutboxFigures(db);
        });
        if (!read) return;
        if (metrics != nullptr) metrics->Outbox(figures.pending, figures.pending > 0 ? now - figures.oldest_created : 0);
        for (OutboxRow& row : due) {
            if (delivery.Running() >= options.limits.most_transfers) break;
            std::unique_lock lock(mutex);
            const auto notifier = std::find_if(notifiers.begin(), notifiers.end(),
                                               [&](const NotifierConfig& n) { return n.name == row.notifier; });
            if (busy.count(row.id) > 0 || notifier == notifiers.end()) continue;
            busy.insert(row.id);
            const NotifierConfig config = *notifier;
            lock.unlock();
            if (now >= row.created + config.expire.count()) {
                if (metrics != nullptr) metrics->Count(row.notifier, NoticeOutcome::kExpired);
                Settle(row.id, [id = row.id, now](sqlite3* db) { RecordExpired(db, id, now, "expired before it was taken"); });
                continue;
            }
            const uint64_t tag = next_tag++;
            const auto png = config.type == NotifierType::kEmail && options.picture ? options.picture(row.notice.event.printer)
                                                                                    : nullptr;
            const DeliveryRequest request =
                ComposeRequest(row.notice, config, options.service_lang, options.base_url, png, tag);
            DeliveryOutcome refused;
            flying[tag] = std::move(row);
            if (!delivery.Start(request, refused)) Finish(refused);
        }
    }

    void Finish(const DeliveryOutcome& outcome) {
        const auto found = flying.find(outcome.tag);
        if (found == flying.end()) return;
        const OutboxRow row = std::move(found->second);
        flying.erase(found);
        const int64_t now = NowSeconds();
        if (outcome.taken) {
            if (metrics != nullptr) metrics->Count(row.notifier, NoticeOutcome::kSent);
            Settle(row.id, [id = row.id, now, answer = outcome.answer](sqlite3* db) { RecordSent(db, id, now, answer); });
            return;
        }
        if (metrics != nullptr) metrics->Count(row.notifier, NoticeOutcome::kFailed);
        int64_t expire = 24 * 3600;
        double jitter = 1.0;
        {
            const std::lock_guard lock(mutex);
            for (const NotifierConfig& notifier : notifiers) {
                if (notifier.name == row.notifier) expire = notifier.expire.count();
            }
            jitter = std::uniform_real_distribution<double>(0.0, 1.0)(random);
        }
        const auto delay = RetryDelay(options.retry, row.tries + 1, jitter, outcome.retry_after);
        // The last try is due when the notice expires, so that it is given up on time.
        const int64_t next_try = std::min(now + delay.count(), row.created + expire);
        Settle(row.id, [id = row.id, next_try, answer = outcome.answer](sqlite3* db) { RecordRetry(db, id, next_try, answer); });
    }

    void Run() {
        while (!stop.load()) {
            Release();
            StartDue();
            for (const DeliveryOutcome& outcome : delivery.Poll(options.tick)) Finish(outcome);
        }
    }
};

NotifierService::NotifierService(std::vector<NotifierConfig> notifiers, NotifierServiceOptions options,
                                 NotifyMetrics* metrics)
    : impl_(std::make_shared<Impl>(std::move(notifiers), std::move(options), metrics)) {}

NotifierService::~NotifierService() { Stop(); }

void NotifierService::Stop() {
    impl_->stop.store(true);
    impl_->delivery.Wake();
    if (impl_->thread.joinable()) impl_->thread.join();
    // The jobs posted to the store use this object: they run before it goes.
    if (impl_->store != nullptr) impl_->store->Flush();
    impl_->store = nullptr;
}

EventStoreHooks NotifierService::Hooks() {
    EventStoreHooks hooks;
    const std::shared_ptr<NotifyBook> book = impl_->book;
    hooks.open = [book](sqlite3* db) { book->Open(db); };
    hooks.batch = [book](sqlite3* db, std::span<const PrinterEvent> events) {
        std::vector<NotifyEvent> notify;
        notify.reserve(events.size());
        for (const PrinterEvent& event : events) notify.push_back(NotifyEventOf(event));
        book->OnEvents(db, notify);
    };
    return hooks;
}

void NotifierService::SetBaseUrl(std::string base_url) {
    if (!impl_->thread.joinable()) impl_->options.base_url = std::move(base_url);
}

void NotifierService::Start(EventStore& store) {
    if (impl_->thread.joinable()) return;
    impl_->stop.store(false);
    impl_->store = &store;
    impl_->thread = std::thread([impl = impl_.get()] { impl->Run(); });
}

void NotifierService::Reload(std::vector<NotifierConfig> notifiers) {
    {
        const std::lock_guard lock(impl_->mutex);
        impl_->notifiers = notifiers;
    }
    if (impl_->metrics != nullptr) {
        for (const NotifierConfig& notifier : notifiers) impl_->metrics->Declare(notifier.name);
    }
    if (impl_->store == nullptr) return;
    impl_->store->Post([book = impl_->book, notifiers = std::move(notifiers)](sqlite3* db) mutable {
        book->SetNotifiers(db, std::move(notifiers));
    });
}

}  // namespace tb58mon
