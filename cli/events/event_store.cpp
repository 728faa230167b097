#include "events/event_store.h"

#include <pthread.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "events/event_metrics.h"
#include "events/event_rows.h"
#include "events/health_spans.h"
#include "events/state_folder.h"

namespace tb58mon {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMostReaders = 4;
constexpr int64_t kPruneRows = 2000;
constexpr auto kPruneEvery = std::chrono::seconds(1);
constexpr auto kFirstRetry = std::chrono::seconds(1);
constexpr auto kIdleTick = std::chrono::seconds(1);

int64_t UnixNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool Damaged(int code) { return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB; }

// The pragmas of the writer's connection: WAL, and a WAL that does not stay
// large after a burst.
void SetUpWriter(sqlite3* db, int64_t max_pages) {
    if (sqlite3_db_readonly(db, "main") == 1) {
        throw SqliteError(SQLITE_READONLY, "the file or its folder is not writable");
    }
    Statement wal(db, "PRAGMA journal_mode = WAL");
    if (!wal.Step() || wal.Text(0) != "wal") throw SqliteError(SQLITE_CANTOPEN, "WAL mode is not available");
    ExecuteSql(db, "PRAGMA synchronous = NORMAL; PRAGMA journal_size_limit = 8388608");
    if (max_pages > 0) ExecuteSql(db, ("PRAGMA max_page_count = " + std::to_string(max_pages)).c_str());
}

}  // namespace

struct EventStore::Impl {
    struct Item {
        std::string printer;
        std::string uri;
        std::optional<PrinterObservation> observation;
        std::function<void(sqlite3*)> job;
        std::promise<void>* flushed = nullptr;
    };

    Impl(EventStoreOptions store_options, EventStoreHooks store_hooks, EventMetrics* event_metrics)
        : options(std::move(store_options)),
          hooks(std::move(store_hooks)),
          metrics(event_metrics),
          path(options.directory + "/events.db") {}

    EventStoreOptions options;
    EventStoreHooks hooks;
    EventMetrics* metrics;
    std::string path;

    // The queue, from any thread to the writer.
    std::mutex queue_lock;
    std::condition_variable queue_wake;
    std::deque<Item> queue;
    bool stopping = false;
    bool flush_asked = false;

    // The writer thread's own.
    SqliteConnection db;
    std::unique_ptr<EventRowWriter> rows;
    bool loaded = false;  // the memories were read back
    std::map<std::string, StoredMemory> memories;
    std::set<std::string> dirty_memories;
    std::map<std::string, std::optional<HealthSpan>> spans;
    std::map<int64_t, HealthSpan> dirty_spans;
    std::deque<PrinterEvent> pending;
    std::map<std::string, std::vector<PrinterEvent>> recent;
    std::set<std::string> recent_changed;
    int64_t next_event_id = 1;
    int64_t next_span_id = 1;
    int64_t stored = 0;
    uint64_t dropped = 0;
    uint64_t dropped_reported = 0;
    bool writing = false;
    std::string problem;
    Clock::time_point retry_at;
    Clock::duration retry_delay{};
    std::optional<FileIdentity> damaged_file;
    std::optional<FileIdentity> opened_file;  // the file the memories were last written to
    Clock::time_point next_prune;

    // Published by the writer.
    mutable std::mutex published_lock;
    EventStoreStatus status;
    std::shared_ptr<const RecentEvents> published_recent = std::make_shared<RecentEvents>();

    // Readers: idle connections of the current generation of the file.
    mutable std::mutex readers_lock;
    mutable std::condition_variable reader_returned;
    mutable std::vector<std::pair<uint64_t, SqliteConnection>> idle_readers;
    mutable size_t readers_out = 0;
    std::atomic<uint64_t> generation{0};

    std::thread writer;

    void Report(LogPriority priority, const std::string& line) const {
        if (options.report) options.report(priority, line);
    }

    // ---- the writer's loop --------------------------------------------------

    void Run() {
        Open();
        Publish();
        std::unique_lock<std::mutex> lock(queue_lock);
        while (true) {
            queue_wake.wait_for(lock, kIdleTick, [&] { return stopping || flush_asked || !queue.empty(); });
            if (!stopping && !flush_asked && !queue.empty()) {
                // A batch: what arrives within the interval goes into one transaction.
                queue_wake.wait_for(lock, options.batch_interval, [&] { return stopping || flush_asked; });
            }
            std::deque<Item> items;
            items.swap(queue);
            const bool try_now = stopping || flush_asked;
            flush_asked = false;
            const bool stop = stopping;
            lock.unlock();
            std::vector<std::promise<void>*> flushed;
            try {
                Handle(items, try_now, flushed);
            } catch (const std::exception&) {
                // Out of memory: this batch's work stays undone, the writer goes on.
                if (metrics != nullptr) metrics->StoreError();
            }
            for (std::promise<void>* done : flushed) done->set_value();
            lock.lock();
            if (stop && queue.empty()) break;
        }
        if (!pending.empty()) {
            Report(LogPriority::kError, "events: " + std::to_string(pending.size()) + " events could not be written to " + path +
                   " and are lost");
        }
    }

    // One batch.  try_now: open a database that failed without waiting for
    // the next try (a flush, the end).
    void Handle(std::deque<Item>& items, bool try_now, std::vector<std::promise<void>*>& flushed) {
        std::vector<std::function<void(sqlite3*)>> jobs;
        for (Item& item : items) {
            if (item.flushed != nullptr) flushed.push_back(item.flushed);
            if (item.job) jobs.push_back(std::move(item.job));
        }
        if (!db && (try_now || Clock::now() >= retry_at)) Open();
        for (Item& item : items) {
            if (item.observation) Observe(item.printer, item.uri, *item.observation);
        }
        Write();
        for (auto& job : jobs) RunJob(job);
        Prune();
        Publish();
    }

    // ---- events ------------------------------------------------------------

    void Observe(const std::string& printer, const std::string& uri, const PrinterObservation& observation) {
        auto [entry, added] = memories.try_emplace(printer, StoredMemory{uri, BaselineMemory()});
        StoredMemory& stored_memory = entry->second;
        if (!added && stored_memory.uri != uri) stored_memory = {uri, BaselineMemory()};  // another machine
        PrinterDiff diff = DiffPrinter(stored_memory.memory, observation);
        if (added || diff.memory != stored_memory.memory) {
            stored_memory.memory = std::move(diff.memory);
            dirty_memories.insert(printer);
        }
        for (PrinterEvent& event : diff.events) {
            event.id = next_event_id++;
            event.printer = printer;
            event.uri = uri;
            if (metrics != nullptr) metrics->Made(event.kind);
            for (HealthSpan& span : FollowEvent(spans[printer], event, next_span_id)) {
                dirty_spans[span.id] = std::move(span);
            }
            std::vector<PrinterEvent>& latest = recent[printer];
            latest.insert(latest.begin(), event);
            if (latest.size() > kRecentEventCount) latest.pop_back();
            recent_changed.insert(printer);
            pending.push_back(std::move(event));
        }
        if (pending.size() > options.max_pending) {
            const size_t excess = pending.size() - options.max_pending;
            pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(excess));
            if (dropped == 0) {
                Report(LogPriority::kWarning, "events: " + std::to_string(options.max_pending) +
                       " events wait in memory: the oldest are dropped from now on");
            }
            dropped += excess;
            if (metrics != nullptr) metrics->Dropped(excess);
        }
    }

    // ---- writing -----------------------------------------------------------

    void Write() {
        if (!db) return;
        if (pending.empty() && dirty_memories.empty() && dirty_spans.empty()) return;
        try {
            Transaction transaction(db.get());
            for (const PrinterEvent& event : pending) rows->InsertEvent(event);
            for (const std::string& printer : dirty_memories) {
                const StoredMemory& memory = memories.at(printer);
                rows->SaveMemory(printer, memory.uri, memory.memory, UnixNow());
            }
            for (const auto& [id, span] : dirty_spans) rows->SaveSpan(span);
            if (!pending.empty()) {
                rows->SaveNextEventId(next_event_id);
                if (hooks.batch) {
                    const std::vector<PrinterEvent> batch(pending.begin(), pending.end());
                    hooks.batch(db.get(), batch);
                }
            }
            transaction.Commit();
        } catch (const SqliteError& e) {
            return Failed(e.code(), e.what());
        } catch (const std::exception& e) {
            return Failed(0, std::string("the notifier's part of the batch failed: ") + e.what());
        }
        const size_t written = pending.size();
        stored += static_cast<int64_t>(written);
        pending.clear();
        dirty_memories.clear();
        dirty_spans.clear();
        Succeeded(written);
    }

    void Succeeded(size_t written) {
        if (!writing && !problem.empty()) {
            std::string line = "events: " + path + " takes writes again; " + std::to_string(written) +
                               " events kept in memory were written";
            if (dropped > dropped_reported) {
                line += ", " + std::to_string(dropped - dropped_reported) + " were dropped";
            }
            Report(LogPriority::kInfo, line);
            dropped_reported = dropped;
        }
        writing = true;
        problem.clear();
        retry_delay = {};
        if (metrics != nullptr) metrics->Up(true);
    }

    // Closes the connection (the next try opens it again) and says what is
    // wrong, once for each new problem.
    void Failed(int code, const std::string& message) {
        if (metrics != nullptr) {
            metrics->StoreError();
            metrics->Up(false);
        }
        rows.reset();
        db.reset();
        generation.fetch_add(1);
        if (Damaged(code)) damaged_file = IdentifyFile(path);
        std::string what = code != 0 ? SqliteProblem(code) : std::string("an error");
        if (code != 0 && message != sqlite3_errstr(code & 0xff)) what += " (" + message + ")";
        if (code == 0) what = message;
        if (what != problem) {
            std::string line = "events: cannot write " + path + ": " + what + "; events are kept in memory (up to " +
                               std::to_string(options.max_pending) + ") until it can be written";
            if (Damaged(code)) {
                line += "; move it aside with its -wal and -shm files (or restore a copy) and a new one is made";
            }
            Report(LogPriority::kError, line);
        }
        problem = what;
        writing = false;
        retry_delay = retry_delay == Clock::duration{} ? Clock::duration(kFirstRetry)
                                                       : std::min<Clock::duration>(retry_delay * 2, options.longest_retry);
        retry_at = Clock::now() + retry_delay;
    }

    // ---- opening -----------------------------------------------------------

    void Open() {
        const auto file = IdentifyFile(path);
        if (damaged_file && file == damaged_file) {
            retry_at = Clock::now() + options.longest_retry;  // the same damaged file: nothing to try
            return;
        }
        try {
            SqliteConnection connection = OpenSqlite(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, 1000);
            SetUpWriter(connection.get(), options.max_pages);
            Transaction transaction(connection.get());
            CreateEventSchema(connection.get());
            if (hooks.open) hooks.open(connection.get());
            transaction.Commit();
            StoredState state = loaded ? LoadCounters(connection.get()) : LoadStoredState(connection.get(), kRecentEventCount);
            auto writer_rows = std::make_unique<EventRowWriter>(connection.get());
            Take(std::move(state));
            const auto opened = IdentifyFile(path);
            if (loaded && opened_file && opened &&
                (opened->device != opened_file->device || opened->inode != opened_file->inode)) {
                RewriteAll();
            }
            opened_file = opened;
            db = std::move(connection);
            rows = std::move(writer_rows);
            damaged_file.reset();
            generation.fetch_add(1);
            if (problem.empty()) {
                writing = true;
                if (metrics != nullptr) metrics->Up(true);
            }
        } catch (const SqliteError& e) {
            Failed(e.code(), e.what());
        } catch (const std::exception& e) {
            Failed(0, std::string("the notifier's tables could not be made: ") + e.what());
        }
    }

    // What the database holds, joined with what was made in memory before
    // it could be read.
    void Take(StoredState state) {
        Renumber(state.next_event_id, state.next_span_id);
        next_event_id = std::max(next_event_id, state.next_event_id);
        next_span_id = std::max(next_span_id, state.next_span_id);
        stored = state.events;
        if (loaded) return;
        loaded = true;
        for (auto& [printer, memory] : state.memories) {
            if (memories.emplace(printer, std::move(memory)).second) continue;
            dirty_memories.insert(printer);  // seen before the database could be read: ours is newer
        }
        for (auto& [printer, span] : state.spans) {
            if (!spans[printer]) spans[printer] = std::move(span);
        }
        for (auto& [printer, events] : state.recent) {
            std::vector<PrinterEvent>& latest = recent[printer];
            for (PrinterEvent& event : events) {
                if (latest.size() < kRecentEventCount) latest.push_back(std::move(event));
            }
            recent_changed.insert(printer);
        }
        Report(LogPriority::kInfo, "events: " + path + ": " + std::to_string(state.events) + " events, " +
               std::to_string(state.memories.size()) + " printers remembered" +
               (state.unreadable > 0 ? ", " + std::to_string(state.unreadable) +
                                           " printers' states unreadable (they start afresh)"
                                     : std::string()));
    }

    // A new file in place of the one written before (the damaged one moved
    // aside): every printer's memory and latest span go into it.
    void RewriteAll() {
        for (const auto& [printer, memory] : memories) dirty_memories.insert(printer);
        for (const auto& [printer, span] : spans) {
            if (span) dirty_spans[span->id] = *span;
        }
    }

    // Events and spans made while the database could not be read got ids
    // from 1: they move past the database's own.
    void Renumber(int64_t first_free_event, int64_t first_free_span) {
        if (!pending.empty() && pending.front().id < first_free_event) {
            const int64_t shift = first_free_event - pending.front().id;
            const int64_t first_moved = pending.front().id;
            for (PrinterEvent& event : pending) event.id += shift;
            for (auto& [printer, events] : recent) {
                for (PrinterEvent& event : events) {
                    if (event.id >= first_moved) event.id += shift;
                }
                recent_changed.insert(printer);
            }
            next_event_id += shift;
        }
        if (!dirty_spans.empty() && dirty_spans.begin()->first < first_free_span) {
            const int64_t shift = first_free_span - dirty_spans.begin()->first;
            const int64_t first_moved = dirty_spans.begin()->first;
            std::map<int64_t, HealthSpan> moved;
            for (auto& [id, span] : dirty_spans) {
                span.id += shift;
                moved.emplace(span.id, std::move(span));
            }
            dirty_spans = std::move(moved);
            for (auto& [printer, span] : spans) {
                if (span && span->id >= first_moved) span->id += shift;
            }
            next_span_id += shift;
        }
    }

    // ---- the rest of the writer's work ----------------------------------------

    void RunJob(const std::function<void(sqlite3*)>& job) {
        try {
            job(db.get());
        } catch (const std::exception&) {
            if (metrics != nullptr) metrics->StoreError();
        }
    }

    void Prune() {
        if (!db || !writing || Clock::now() < next_prune) return;
        next_prune = Clock::now() + kPruneEvery;
        const int64_t before = UnixNow() - static_cast<int64_t>(options.keep_days) * 86400;
        try {
            Transaction transaction(db.get());
            stored -= rows->PruneEvents(before, stored - options.max_events, kPruneRows);
            rows->PruneSpans(before, kPruneRows);
            transaction.Commit();
        } catch (const SqliteError& e) {
            Failed(e.code(), e.what());
        }
    }

    void Publish() {
        std::shared_ptr<RecentEvents> next;
        if (!recent_changed.empty()) {
            const std::lock_guard<std::mutex> lock(published_lock);
            next = std::make_shared<RecentEvents>(*published_recent);
        }
        for (const std::string& printer : recent_changed) {
            auto list = std::make_shared<PrinterRecentEvents>();
            list->events = recent[printer];
            next->printers[printer] = std::move(list);
        }
        recent_changed.clear();
        if (metrics != nullptr) metrics->Pending(pending.size());
        const std::lock_guard<std::mutex> lock(published_lock);
        if (next) published_recent = std::move(next);
        status.writing = writing;
        status.problem = problem;
        status.pending = pending.size();
        status.dropped = dropped;
        status.stored = static_cast<uint64_t>(std::max<int64_t>(stored, 0));
    }

    // ---- readers -----------------------------------------------------------

    // An idle connection of the current file, a new one, or null when the
    // file cannot be opened.
    std::optional<std::pair<uint64_t, SqliteConnection>> TakeReader() const {
        std::unique_lock<std::mutex> lock(readers_lock);
        reader_returned.wait(lock, [&] { return !idle_readers.empty() || readers_out < kMostReaders; });
        const uint64_t current = generation.load();
        while (!idle_readers.empty()) {
            auto reader = std::move(idle_readers.back());
            idle_readers.pop_back();
            if (reader.first == current) {
                ++readers_out;
                return reader;
            }
        }
        ++readers_out;
        lock.unlock();
        try {
            return std::pair{current, OpenSqlite(path, SQLITE_OPEN_READONLY, 200)};
        } catch (const SqliteError&) {
            GiveBack(std::nullopt);
            return std::nullopt;
        }
    }

    void GiveBack(std::optional<std::pair<uint64_t, SqliteConnection>> reader) const {
        {
            const std::lock_guard<std::mutex> lock(readers_lock);
            --readers_out;
            if (reader) idle_readers.push_back(std::move(*reader));
        }
        reader_returned.notify_one();
    }
};

EventStore::EventStore(EventStoreOptions options, EventStoreHooks hooks, EventMetrics* metrics)
    : impl_(std::make_unique<Impl>(std::move(options), std::move(hooks), metrics)) {
    impl_->writer = std::thread([impl = impl_.get()] { impl->Run(); });
    pthread_setname_np(impl_->writer.native_handle(), "tb58mon-events");
}

EventStore::~EventStore() {
    {
        const std::lock_guard<std::mutex> lock(impl_->queue_lock);
        impl_->stopping = true;
    }
    impl_->queue_wake.notify_one();
    impl_->writer.join();
}

void EventStore::Observe(const std::string& printer, const std::string& uri, PrinterObservation observation) {
    {
        const std::lock_guard<std::mutex> lock(impl_->queue_lock);
        impl_->queue.push_back({printer, uri, std::move(observation), {}, nullptr});
    }
    impl_->queue_wake.notify_one();
}

void EventStore::Post(std::function<void(sqlite3*)> job) {
    {
        const std::lock_guard<std::mutex> lock(impl_->queue_lock);
        impl_->queue.push_back({{}, {}, std::nullopt, std::move(job), nullptr});
    }
    impl_->queue_wake.notify_one();
}

bool EventStore::Read(const std::function<void(sqlite3*)>& read) const {
    auto reader = impl_->TakeReader();
    if (!reader) return false;
    try {
        read(reader->second.get());
    } catch (const SqliteError&) {
        impl_->GiveBack(std::nullopt);
        return false;
    } catch (...) {
        impl_->GiveBack(std::move(reader));
        throw;
    }
    impl_->GiveBack(std::move(reader));
    return true;
}

std::shared_ptr<const RecentEvents> EventStore::Recent() const {
    const std::lock_guard<std::mutex> lock(impl_->published_lock);
    return impl_->published_recent;
}

EventStoreStatus EventStore::Status() const {
    const std::lock_guard<std::mutex> lock(impl_->published_lock);
    return impl_->status;
}

void EventStore::Flush() {
    std::promise<void> done;
    {
        const std::lock_guard<std::mutex> lock(impl_->queue_lock);
        impl_->queue.push_back({{}, {}, std::nullopt, {}, &done});
        impl_->flush_asked = true;
    }
    impl_->queue_wake.notify_one();
    done.get_future().wait();
}

const std::string& EventStore::path() const { return impl_->path; }

}  // namespace tb58mon
