// The rules' state of every notifier with its tables: held notices written
// with the events, released into the outbox when due, read back after a
// restart, and a batch that fails leaves the state as the database has it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "events/sqlite_db.h"
#include "notify/notify_book.h"
#include "notify/notify_outbox.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;

NotifierConfig Desk() {
    NotifierConfig notifier;
    notifier.name = "desk";
    notifier.url = "http://127.0.0.1:1/";
    notifier.on.Add(NotifyRule::kError);
    notifier.on.Add(NotifyRule::kRecovered);
    notifier.hold = 60s;
    return notifier;
}

NotifyEvent Health(int64_t id, TimePoint time, const std::string& health, const std::string& previous) {
    NotifyEvent event;
    event.id = id;
    event.printer = "p1";
    event.uri = "socket://192.0.2.1";
    event.time = time;
    event.kind = "health";
    event.health = health;
    event.previous_health = previous;
    return event;
}

size_t Rows(sqlite3* db, const char* table) {
    Statement count(db, std::string("SELECT count(*) FROM ") + table);
    return count.Step() ? static_cast<size_t>(count.Int(0)) : 0;
}

TEST(NotifyBook, HeldNoticesAreWrittenReleasedWhenDueAndReadBackAfterARestart) {
    TestFolder folder;
    const SqliteConnection db = OpenSqlite(folder / "events.db", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, 1000);
    const TimePoint start = TimePoint(std::chrono::seconds(1'800'000'000));
    {
        NotifyBook book({Desk()});
        book.Open(db.get());
        const NotifyEvent jam = Health(1, start, "error", "ready");
        book.OnEvents(db.get(), std::span(&jam, 1));
        EXPECT_EQ(Rows(db.get(), "notify_state"), 1u);
        EXPECT_EQ(book.Release(db.get(), start + 59s), 0u);
    }
    NotifyBook book({Desk()});
    book.Open(db.get());  // a restart: the held notice is read back
    EXPECT_EQ(book.Release(db.get(), start + 60s), 1u);
    EXPECT_EQ(book.Release(db.get(), start + 61s), 0u);
    const std::vector<OutboxRow> due = DueNotices(db.get(), 1'900'000'000, 10);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].id, "1-desk");
    EXPECT_EQ(due[0].notice.kind, NoticeKind::kProblem);
    EXPECT_EQ(due[0].notice.event.health, "error");
    // Released twice (a job run again) is written once.
    InsertNotice(db.get(), "desk", due[0].notice, 1'800'000'100);
    EXPECT_EQ(Rows(db.get(), "notify_outbox"), 1u);
}

TEST(NotifyBook, ABatchThatFailsLeavesTheStateAsTheDatabaseHasIt) {
    TestFolder folder;
    const SqliteConnection db = OpenSqlite(folder / "events.db", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, 1000);
    const TimePoint start = TimePoint(std::chrono::seconds(1'800'000'000));
    NotifyBook book({Desk()});
    book.Open(db.get());
    ExecuteSql(db.get(), "CREATE TRIGGER refuse BEFORE INSERT ON notify_state BEGIN SELECT RAISE(ABORT, 'full'); END;");
    const NotifyEvent jam = Health(1, start, "error", "ready");
    EXPECT_THROW(book.OnEvents(db.get(), std::span(&jam, 1)), SqliteError);
    ExecuteSql(db.get(), "DROP TRIGGER refuse;");
    // The store writes the batch again: now the state is saved.
    book.OnEvents(db.get(), std::span(&jam, 1));
    EXPECT_EQ(Rows(db.get(), "notify_state"), 1u);
    EXPECT_EQ(book.Release(db.get(), start + 60s), 1u);
}

TEST(NotifyBook, StoredStateReadsBackAndGarbageIsRefused) {
    ConditionState state;
    state.current = "error";
    state.told = "error";
    state.told_event = Health(3, TimePoint(std::chrono::seconds(5)), "error", "ready");
    state.reminders = 2;
    state.next_reminder = TimePoint(std::chrono::seconds(99));
    ConditionState read;
    ASSERT_TRUE(ConditionFromJson(ConditionJson(state), read));
    EXPECT_EQ(read.told, "error");
    EXPECT_EQ(read.told_event->id, 3);
    EXPECT_EQ(read.reminders, 2u);
    EXPECT_EQ(read.next_reminder, state.next_reminder);
    for (const char* garbage : {"", "{", "[]", "{\"current\":1}", "{\"current\":\"\",\"told\":\"\",\"told_event\":5}"}) {
        EXPECT_FALSE(ConditionFromJson(garbage, read)) << garbage;
    }
    Notice notice;
    EXPECT_FALSE(NoticeFromJson("{\"kind\":\"nonsense\",\"value\":\"\",\"reminder\":0,\"due\":0,\"event\":{}}", notice));
}

}  // namespace
}  // namespace tb58mon
