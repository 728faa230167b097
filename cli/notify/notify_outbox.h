// The notifier's tables in the event store's database (events.db): the
// outbox, one row per notice to send, and the rules' state, one row per
// notifier, printer and condition (notify_rules.h).  Plain functions over a
// connection; the callers choose the thread and the transaction (the
// store's writer for writes, a reader connection for DueNotices and
// ReadOutboxFigures).  Throw SqliteError.
//
// A notice's row keeps its stable id (the Idempotency-Key), so a notice is
// written once however often the batch that made it is written again.  A
// row is pending until the receiver takes it (sent) or its notifier's
// expire passes (expired); sent and expired rows are kept a week for people
// who look, then deleted.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "notify/notify_rules.h"

namespace tb58mon {

enum class OutboxState : int { kPending = 0, kSent = 1, kExpired = 2 };

struct OutboxRow {
    std::string id;  // NoticeId
    std::string notifier;
    Notice notice;
    int64_t created = 0;   // Unix seconds: when it entered the outbox
    int64_t next_try = 0;  // Unix seconds
    int tries = 0;
};

// CREATE TABLE IF NOT EXISTS for both tables and their index.
void CreateNotifyTables(sqlite3* db);

// Adds a notice unless one of the same id is there already.
void InsertNotice(sqlite3* db, const std::string& notifier, const Notice& notice, int64_t now);

// Pending notices whose next try is due at now, oldest first.
std::vector<OutboxRow> DueNotices(sqlite3* db, int64_t now, size_t limit);

void RecordSent(sqlite3* db, const std::string& id, int64_t now, const std::string& answer);
void RecordRetry(sqlite3* db, const std::string& id, int64_t next_try, const std::string& answer);
void RecordExpired(sqlite3* db, const std::string& id, int64_t now, const std::string& answer);
// Removes a notifier's pending notices (it left the fleet file) and its rules' state.
void ForgetNotifier(sqlite3* db, const std::string& notifier);
// The notifiers with pending notices or rule state.
std::vector<std::string> StoredNotifiers(sqlite3* db);
// Deletes sent and expired rows older than before.
void PruneOutbox(sqlite3* db, int64_t before);

struct OutboxFigures {
    int64_t pending = 0;
    int64_t oldest_created = 0;  // 0 when none is pending
};
OutboxFigures ReadOutboxFigures(sqlite3* db);

// What a notifier's test and the metrics see of one row.
struct OutboxEntry {
    std::string id;
    std::string notifier;
    OutboxState state = OutboxState::kPending;
    int tries = 0;
    std::string answer;
};
std::vector<OutboxEntry> ReadOutbox(sqlite3* db);

// The rules' state of one condition, saved (or deleted when idle).
struct StoredCondition {
    std::string notifier;
    std::string printer;
    std::string key;
    ConditionState state;
};
void SaveCondition(sqlite3* db, const StoredCondition& condition);
std::vector<StoredCondition> LoadConditions(sqlite3* db);

// A notice and a condition's state as JSON text, and back (false for
// anything NoticeJson did not write).
std::string NoticeJson(const Notice& notice);
bool NoticeFromJson(std::string_view text, Notice& notice);
std::string ConditionJson(const ConditionState& state);
bool ConditionFromJson(std::string_view text, ConditionState& state);

}  // namespace tb58mon
