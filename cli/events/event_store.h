// The event store: one SQLite file, events.db, in the service's state
// folder (WAL mode, synchronous=NORMAL), written by one thread of its own.
//
// The poller hands each cycle's observation to Observe(), which only queues
// it: the poller never waits on the disk.  The writer thread takes what is
// queued every batch interval (200 ms), compares each observation with the
// printer's memory (event_diff.h), gives each new event the next id, and
// writes the batch's events, the printers' new memories and their health
// spans in one transaction: after a restart the memories are read back, so
// a restart neither repeats nor loses an event.
//
// When the database cannot be written (locked by another program,
// read-only, the disk full, the file damaged or not a database), the store
// says so once on the service's output (options.report), counts it in the
// metrics, keeps the events in memory (at most options.max_pending; beyond
// that the oldest are dropped and counted) and tries again, after 1 s, then
// twice as long each time up to a minute; a file that is damaged is opened
// again only when it changed (moved aside, restored).  Polling goes on
// throughout.  Once the database takes writes again, everything kept is
// written in one transaction.
//
// Retention: events older than options.keep_days, and the oldest beyond
// options.max_events, are deleted in small batches (at most 2,000 rows a
// second) between the writes.
//
// Readers (the HTTP routes, the notifier) read on connections of their own
// (Read), never on the writer's; in WAL mode a reader never blocks the
// writer nor waits for it.
//
// ---- For the notifier: the store's extension points ------------------------
//
// The notifier keeps its outbox in the same file, and its rows must be
// written in the same transaction as the events that cause them:
//
//   EventStoreHooks hooks;
//   hooks.open = [](sqlite3* db) { ExecuteSql(db, "CREATE TABLE IF NOT EXISTS outbox (...)"); };
//   hooks.batch = [&](sqlite3* db, std::span<const PrinterEvent> events) {
//       for (const PrinterEvent& event : events) if (Wanted(event)) InsertOutboxRow(db, event);
//   };
//   EventStore store(options, hooks, &metrics);
//   store.Post([](sqlite3* db) { if (db) MarkDelivered(db, 17); });   // later, on the writer thread
//   store.Read([&](sqlite3* db) { due = DueRows(db); });              // on the caller's thread
//
// - hooks.open runs on the writer thread inside the transaction that creates
//   the store's own tables, each time the database is opened (at start, and
//   again after a failure): create tables and indexes IF NOT EXISTS there.
//   An exception leaves the database closed, as a failure to open it.
// - hooks.batch runs on the writer thread inside each batch's transaction,
//   after the batch's events are inserted, with those events in order (ids,
//   printer and uri set).  An exception rolls back the whole batch; the
//   events (and so the hook's rows) are written again with the next try.
//   It must therefore not throw for a reason a retry will not cure.  Events
//   kept in memory while the database failed reach the hook when they are
//   written, once.
// - Post(job) runs job on the writer thread, between batches, in the order
//   posted, with the writer's connection; db is null while the database
//   cannot be opened (the job may post itself again later).  A job runs
//   outside any transaction: it makes its own.  An exception is counted as
//   a store error and otherwise ignored.
// - Read(read) runs read on the calling thread with a read-only connection
//   (one of at most four, each used by one thread at a time); it returns
//   false, without calling read, when the database cannot be opened, and
//   false when read throws SqliteError.
// All of these may be used from any thread.  The hooks and jobs must not
// call Flush or destroy the store; they may call Post.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "base/service_log.h"
#include "events/event_diff.h"
#include "events/recent_events.h"
#include "events/sqlite_db.h"

namespace tb58mon {

class EventMetrics;

struct EventStoreOptions {
    std::string directory = "tb58mon-state";  // a folder of its own (state_folder.h); events.db is made there
    int keep_days = 90;
    int64_t max_events = 5'000'000;
    size_t max_pending = 100'000;  // events kept in memory while the database cannot be written
    std::chrono::milliseconds batch_interval{200};
    std::chrono::seconds longest_retry{60};
    int64_t max_pages = 0;  // SQLite's max_page_count for the writer (0: none); lets tests fill the database
    // One line for the service's log (a problem, its end); called on the
    // writer thread.  May be empty.
    std::function<void(LogPriority, const std::string&)> report;
};

struct EventStoreHooks {
    std::function<void(sqlite3* db)> open;
    std::function<void(sqlite3* db, std::span<const PrinterEvent> events)> batch;
};

// What the store is doing, for the logs, the metrics and the tests.
struct EventStoreStatus {
    bool writing = false;     // the last write (or the open) succeeded
    std::string problem;      // why not, one line; empty while writing
    size_t pending = 0;       // events kept in memory, not yet written
    uint64_t dropped = 0;     // events dropped from memory so far
    uint64_t stored = 0;      // events in the database (as the store counts them)
};

class EventStore {
public:
    // Starts the writer, which opens (or creates) events.db in
    // options.directory; the folder must exist (PrepareStateFolder).  A
    // database that cannot be opened is a problem reported as above, not an
    // exception.  metrics may be null; it must outlive the store.
    EventStore(EventStoreOptions options, EventStoreHooks hooks = {}, EventMetrics* metrics = nullptr);
    // Writes what was queued (one more try when the database fails) and stops the writer.
    ~EventStore();
    EventStore(const EventStore&) = delete;
    EventStore& operator=(const EventStore&) = delete;

    // A printer's latest observation; only queued.  A printer is known by
    // its name; a new URI under a known name starts from the baseline.
    void Observe(const std::string& printer, const std::string& uri, PrinterObservation observation);

    void Post(std::function<void(sqlite3* db)> job);
    bool Read(const std::function<void(sqlite3* db)>& read) const;

    // Each printer's latest events (written or kept in memory), newest first.
    std::shared_ptr<const RecentEvents> Recent() const;

    EventStoreStatus Status() const;

    // Returns when everything observed or posted before the call has been
    // handled: written, or kept in memory when the database failed (a
    // database that failed is tried once more at once).
    void Flush();

    // The database file: options.directory + "/events.db".
    const std::string& path() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tb58mon
