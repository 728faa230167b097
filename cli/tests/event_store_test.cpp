// The event store on a real SQLite file in a test folder: read back after a
// restart, the notifier's extension points, retention, and a database that
// is damaged, truncated or full (reported, events kept up to a bound and
// then dropped, written once the file is usable again).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>

#include "base/cli_error.h"
#include "events/event_metrics.h"
#include "events/event_queries.h"
#include "events/event_store.h"
#include "events/state_folder.h"
#include "run_tb58mon.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

constexpr int32_t kJam = 42000;
const std::string kUri = "socket://127.0.0.1:9100";

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

PrinterObservation Seen(PrinterHealth health, std::vector<int32_t> codes, int64_t time) {
    PrinterObservation now;
    now.time = time;
    now.health = health;
    now.codes = std::move(codes);
    now.toner = TonerLevel::kOk;
    return now;
}

// A jam (health and code_began) and its end (health and code_cleared): four events.
void JamAndClear(EventStore& store, const std::string& printer, int64_t time) {
    store.Observe(printer, kUri, Seen(PrinterHealth::kError, {kJam}, time));
    store.Observe(printer, kUri, Seen(PrinterHealth::kReady, {}, time + 1));
}

struct Lines {
    std::mutex lock;
    std::vector<std::string> lines;

    // Each line with its priority in front, as the journal takes it.
    std::function<void(LogPriority, const std::string&)> Sink() {
        return [this](LogPriority priority, const std::string& line) {
            const std::lock_guard<std::mutex> guard(lock);
            lines.push_back("<" + std::to_string(static_cast<int>(priority)) + ">" + line);
        };
    }
    bool Has(std::string_view part) {
        const std::lock_guard<std::mutex> guard(lock);
        for (const std::string& line : lines) {
            if (line.find(part) != std::string::npos) return true;
        }
        return false;
    }
};

EventStoreOptions Options(const TestFolder& folder, Lines* lines = nullptr) {
    EventStoreOptions options;
    options.directory = folder.path();
    options.batch_interval = std::chrono::milliseconds(10);
    if (lines != nullptr) options.report = lines->Sink();
    return options;
}

std::vector<PrinterEvent> AllEvents(const EventStore& store) {
    std::vector<PrinterEvent> events;
    EventQuery query;
    query.limit = 1000;
    EXPECT_TRUE(store.Read([&](sqlite3* db) { events = QueryEvents(db, query); }));
    return events;
}

TEST(EventStore, ARestartNeitherRepeatsNorLosesAnEvent) {
    TestFolder folder;
    const int64_t now = Now();
    {
        EventStore store(Options(folder));
        store.Observe("p1", kUri, Seen(PrinterHealth::kError, {kJam}, now));
        store.Flush();
        EXPECT_EQ(AllEvents(store).size(), 2u);
    }
    EventStore again(Options(folder));
    again.Flush();
    // The events of before are the printer's latest at once.
    const auto recent = again.Recent()->Of("p1");
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->events.size(), 2u);
    again.Observe("p1", kUri, Seen(PrinterHealth::kError, {kJam}, now + 5));  // still jammed: nothing new
    again.Observe("p1", kUri, Seen(PrinterHealth::kReady, {}, now + 10));
    again.Flush();
    const auto events = AllEvents(again);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].id, 4);  // ids go on
    EXPECT_EQ(events[0].kind, EventKind::kCodeCleared);
    EXPECT_EQ(events[1].kind, EventKind::kHealth);
    EXPECT_EQ(events[1].time, now + 10);
    EXPECT_EQ(again.Status().stored, 4u);
    EXPECT_TRUE(again.Status().writing);
}

TEST(EventStore, ANewUriUnderAKnownNameStartsFromTheBaseline) {
    TestFolder folder;
    EventStore store(Options(folder));
    store.Observe("p1", kUri, Seen(PrinterHealth::kError, {kJam}, Now()));
    store.Observe("p1", "socket://127.0.0.1:9101", Seen(PrinterHealth::kError, {kJam}, Now()));
    store.Flush();
    const auto events = AllEvents(store);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].uri, "socket://127.0.0.1:9101");
}

TEST(EventStore, TheNotifierWritesInTheBatchTransactionAndOnTheWriterThread) {
    TestFolder folder;
    int failures_left = 1;
    std::vector<int64_t> hooked;
    EventStoreHooks hooks;
    hooks.open = [](sqlite3* db) { ExecuteSql(db, "CREATE TABLE IF NOT EXISTS outbox (event INTEGER PRIMARY KEY)"); };
    hooks.batch = [&](sqlite3* db, std::span<const PrinterEvent> events) {
        for (const PrinterEvent& event : events) {
            EXPECT_EQ(event.printer, "p1");
            Statement(db, "INSERT INTO outbox (event) VALUES (?)").Bind(1, event.id).Run();
            hooked.push_back(event.id);
        }
        // The first batch fails after its rows: everything of it is rolled back.
        if (failures_left-- > 0) throw std::runtime_error("receiver table full");
    };
    EventMetrics metrics;
    Lines lines;
    EventStore store(Options(folder, &lines), hooks, &metrics);
    JamAndClear(store, "p1", Now());
    store.Flush();
    EXPECT_FALSE(store.Status().writing);
    EXPECT_TRUE(lines.Has("receiver table full"));
    store.Flush();  // tried again at once
    EXPECT_TRUE(store.Status().writing);
    EXPECT_EQ(hooked, (std::vector<int64_t>{1, 2, 3, 4, 1, 2, 3, 4}));
    int64_t rows = -1;
    std::promise<int64_t> posted;
    store.Post([&](sqlite3* db) {
        ASSERT_NE(db, nullptr);
        Statement count(db, "SELECT count(*) FROM outbox");
        posted.set_value(count.Step() ? count.Int(0) : -1);
    });
    EXPECT_EQ(posted.get_future().get(), 4);
    EXPECT_TRUE(store.Read([&](sqlite3* db) {
        Statement count(db, "SELECT count(*) FROM outbox o JOIN events e ON e.id = o.event");
        rows = count.Step() ? count.Int(0) : -1;
    }));
    EXPECT_EQ(rows, 4);
    EXPECT_NE(metrics.Text().find("tb58_event_store_errors_total 1"), std::string::npos);
    EXPECT_NE(metrics.Text().find("tb58_events_total{kind=\"code_began\"} 1"), std::string::npos);
}

TEST(EventStore, RetentionByAgeAndByCount) {
    TestFolder folder;
    EventStoreOptions options = Options(folder);
    options.keep_days = 1;
    options.max_events = 10;
    EventStore store(options);
    const int64_t now = Now();
    JamAndClear(store, "old", now - 86400 - 100);  // four events older than a day
    for (int i = 0; i < 5; ++i) JamAndClear(store, "p1", now - 100 + 10 * i);
    store.Flush();
    const auto events = AllEvents(store);
    ASSERT_EQ(events.size(), 10u);
    EXPECT_EQ(events.back().id, 15);  // the oldest 14 went: 4 by age, 10 beyond the cap
    for (const PrinterEvent& event : events) EXPECT_EQ(event.printer, "p1");
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

TEST(EventStore, AGarbageFileIsReportedEventsWaitUpToABoundThenItIsReplaced) {
    TestFolder folder;
    WriteFile(folder / "events.db", std::string(8192, 'x'));
    EventMetrics metrics;
    Lines lines;
    EventStoreOptions options = Options(folder, &lines);
    options.max_pending = 6;
    EventStore store(options, {}, &metrics);
    store.Flush();
    EXPECT_FALSE(store.Status().writing);
    EXPECT_TRUE(lines.Has("damaged or not a database")) << (lines.lines.empty() ? "" : lines.lines[0]);
    EXPECT_TRUE(lines.Has("move it aside"));
    const int64_t now = Now();
    for (int i = 0; i < 2; ++i) JamAndClear(store, "p1", now + 10 * i);  // 8 events, 6 kept
    store.Flush();
    EventStoreStatus status = store.Status();
    EXPECT_EQ(status.pending, 6u);
    EXPECT_EQ(status.dropped, 2u);
    EXPECT_TRUE(lines.Has("<4>events: 6 events wait in memory: the oldest are dropped"));
    EXPECT_NE(metrics.Text().find("tb58_events_dropped_total 2"), std::string::npos);
    EXPECT_NE(metrics.Text().find("tb58_event_store_up 0"), std::string::npos);
    EXPECT_FALSE(store.Read([](sqlite3* db) { Statement(db, "SELECT count(*) FROM events").Step(); }));
    // The same damaged file is not tried again; a file moved aside is replaced.
    std::filesystem::rename(folder / "events.db", folder / "events.db.bad");
    store.Flush();
    status = store.Status();
    EXPECT_TRUE(status.writing) << status.problem;
    EXPECT_EQ(status.pending, 0u);
    EXPECT_TRUE(lines.Has("<6>events: " + folder / "events.db" + " takes writes again; 6 events kept in memory were written, 2 were dropped"));
    const auto events = AllEvents(store);
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events.front().id, 8);
    EXPECT_EQ(events.back().id, 3);
}

TEST(EventStore, ATruncatedFileIsReportedAndPollingGoesOn) {
    TestFolder folder;
    {
        EventStore store(Options(folder));
        for (int i = 0; i < 200; ++i) JamAndClear(store, "p" + std::to_string(i), Now());
        store.Flush();
    }
    const auto size = std::filesystem::file_size(folder / "events.db");
    ASSERT_GT(size, 16384u);
    std::filesystem::resize_file(folder / "events.db", size / 2);
    Lines lines;
    EventStore store(Options(folder, &lines));
    JamAndClear(store, "p1", Now());
    store.Flush();
    EXPECT_FALSE(store.Status().writing);
    EXPECT_TRUE(lines.Has("<3>events: cannot write")) << (lines.lines.empty() ? "" : lines.lines[0]);
    EXPECT_GE(store.Status().pending, 2u);
}

TEST(EventStore, ADatabaseLockedByAnotherProgramIsReportedThenWrittenOnceFree) {
    TestFolder folder;
    Lines lines;
    EventStore store(Options(folder, &lines));
    store.Flush();
    SqliteConnection other = OpenSqlite(folder / "events.db", SQLITE_OPEN_READWRITE, 0);
    ExecuteSql(other.get(), "BEGIN EXCLUSIVE");
    JamAndClear(store, "p1", Now());
    store.Flush();  // waits out the busy timeout (1 s)
    EXPECT_FALSE(store.Status().writing);
    EXPECT_TRUE(lines.Has("locked by another program"));
    EXPECT_EQ(store.Status().pending, 4u);
    ExecuteSql(other.get(), "COMMIT");
    other.reset();
    store.Flush();
    EXPECT_TRUE(store.Status().writing) << store.Status().problem;
    EXPECT_EQ(AllEvents(store).size(), 4u);
}

TEST(EventStore, AFullDatabaseIsReportedAndEventsWait) {
    TestFolder folder;
    Lines lines;
    EventStoreOptions options = Options(folder, &lines);
    options.max_pages = 16;
    EventStore store(options);
    const int64_t now = Now();
    for (int i = 0; i < 2000; ++i) JamAndClear(store, "printer-with-a-long-name-" + std::to_string(i), now);
    store.Flush();
    EXPECT_FALSE(store.Status().writing);
    EXPECT_TRUE(lines.Has("is full")) << (lines.lines.empty() ? "" : lines.lines.back());
    EXPECT_EQ(store.Status().pending, 8000u);
}

// The exit code of the CliError that opening path as the state folder throws; 0 when none.
int Refusal(const std::string& path) {
    try {
        const StateFolder folder(path);
    } catch (const CliError& e) {
        return e.exit_code();
    }
    return 0;
}

TEST(StateFolder, MadePrivateAndRefusedWhenNotARealFolder) {
    TestFolder folder;
    {
        const StateFolder made(folder / "state");
        struct stat status {};
        ASSERT_EQ(stat((folder / "state").c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0700u);
        // One service at a time.
        EXPECT_EQ(Refusal(folder / "state"), kExitFailure);
    }
    EXPECT_EQ(Refusal(folder / "state"), 0);
    std::filesystem::create_directory_symlink(folder / "state", folder / "link");
    EXPECT_EQ(Refusal(folder / "link"), kExitBadArguments);
    WriteFile(folder / "file", "x");
    EXPECT_EQ(Refusal(folder / "file"), kExitBadArguments);
    EXPECT_EQ(Refusal(folder / "missing/deeper"), kExitFailure);
    EXPECT_EQ(Refusal(""), kExitBadArguments);
}

TEST(EventStore, AFifoOrAFolderInPlaceOfTheDatabaseIsReportedWithoutBlocking) {
    for (const bool fifo : {true, false}) {
        TestFolder folder;
        if (fifo) {
            ASSERT_EQ(mkfifo((folder / "events.db").c_str(), 0600), 0);
        } else {
            std::filesystem::create_directory(folder / "events.db");
        }
        Lines lines;
        EventStore store(Options(folder, &lines));
        JamAndClear(store, "p1", Now());
        store.Flush();
        EXPECT_FALSE(store.Status().writing) << fifo;
        EXPECT_TRUE(lines.Has("cannot write")) << fifo;
        EXPECT_EQ(store.Status().pending, 4u) << fifo;
    }
}

TEST(StateFolder, ServeRefusesBadStoreOptionsAtTheirEdges) {
    TestFolder folder;
    std::filesystem::create_directory_symlink(folder.path(), folder / "link");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--keep-days", "0"}, "--keep-days must be from 1 to 36500"},
        {{"--keep-days", "36501"}, "--keep-days must be from 1 to 36500"},
        {{"--max-events", "999"}, "--max-events must be from 1000 to 1000000000"},
        {{"--max-events", "1000000001"}, "--max-events must be from 1000 to 1000000000"},
        {{"--state-dir", folder / "link"}, "is a symbolic link"},
    };
    for (const auto& [options, error] : cases) {
        std::vector<std::string> args = {"serve",     "--printer", "a=socket://127.0.0.1:1", "--listen", "127.0.0.1:0",
                                         "--run-for", "0.1"};
        args.insert(args.end(), options.begin(), options.end());
        if (options[0] != "--state-dir") args.insert(args.end(), {"--state-dir", folder / "state"});
        const Outcome outcome = Tb58mon(args);
        EXPECT_EQ(outcome.code, kExitBadArguments) << options[0];
        EXPECT_NE(outcome.err.find(error), std::string::npos) << outcome.err;
    }
    // The largest and smallest values are taken.
    const Outcome edges =
        Tb58mon({"serve", "--printer", "a=socket://127.0.0.1:1", "--listen", "127.0.0.1:0", "--run-for", "0.1",
                 "--state-dir", folder / "state", "--keep-days", "36500", "--max-events", "1000"});
    EXPECT_EQ(edges.code, 0) << edges.err;
    EXPECT_TRUE(std::filesystem::exists(folder / "state/events.db"));
}

TEST(EventStore, ADatabaseThatIsALinkIsNotOpened) {
    TestFolder folder;
    WriteFile(folder / "real.db", "");
    std::filesystem::create_symlink(folder / "real.db", folder / "events.db");
    Lines lines;
    EventStore store(Options(folder, &lines));
    store.Flush();
    EXPECT_FALSE(store.Status().writing);
    EXPECT_TRUE(lines.Has("cannot write"));
    EXPECT_EQ(std::filesystem::file_size(folder / "real.db"), 0u);
}

}  // namespace
}  // namespace tb58mon
