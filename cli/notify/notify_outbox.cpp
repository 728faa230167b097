#include "notify/notify_outbox.h"

#include "events/sqlite_db.h"

namespace tb58mon {
namespace {

Json NoticeObject(const Notice& notice) {
    return Json{{"kind", NoticeKindName(notice.kind)}, {"value", notice.value}, {"reminder", notice.reminder},
                {"due", SecondsSinceEpoch(notice.due)}, {"event", NotifyEventJson(notice.event)}};
}

bool NoticeOfObject(const Json& json, Notice& notice) {
    if (!json.is_object()) return false;
    const auto kind = json.find("kind");
    const auto value = json.find("value");
    const auto reminder = json.find("reminder");
    const auto due = json.find("due");
    const auto event = json.find("event");
    if (kind == json.end() || !kind->is_string() || value == json.end() || !value->is_string() ||
        reminder == json.end() || !reminder->is_number_unsigned() || due == json.end() ||
        !due->is_number_integer() || event == json.end()) {
        return false;
    }
    const std::string name = kind->get<std::string>();
    bool known = false;
    for (NoticeKind candidate : {NoticeKind::kProblem, NoticeKind::kRecovered, NoticeKind::kReminder, NoticeKind::kTest}) {
        if (NoticeKindName(candidate) == name) {
            notice.kind = candidate;
            known = true;
        }
    }
    if (!known || reminder->get<uint64_t>() > UINT32_MAX) return false;
    notice.value = value->get<std::string>();
    notice.reminder = static_cast<uint32_t>(reminder->get<uint64_t>());
    notice.due = TimeOfSeconds(due->get<int64_t>());
    return NotifyEventFromJson(*event, notice.event);
}

}  // namespace

void CreateNotifyTables(sqlite3* db) {
    ExecuteSql(db,
               "CREATE TABLE IF NOT EXISTS notify_outbox ("
               " id TEXT PRIMARY KEY, notifier TEXT NOT NULL, notice TEXT NOT NULL,"
               " created INTEGER NOT NULL, next_try INTEGER NOT NULL, tries INTEGER NOT NULL DEFAULT 0,"
               " state INTEGER NOT NULL DEFAULT 0, finished INTEGER, answer TEXT NOT NULL DEFAULT '');"
               "CREATE INDEX IF NOT EXISTS notify_outbox_due ON notify_outbox(state, next_try);"
               "CREATE TABLE IF NOT EXISTS notify_state ("
               " notifier TEXT NOT NULL, printer TEXT NOT NULL, key TEXT NOT NULL, state TEXT NOT NULL,"
               " PRIMARY KEY (notifier, printer, key));");
}

void InsertNotice(sqlite3* db, const std::string& notifier, const Notice& notice, int64_t now) {
    Statement insert(db,
                     "INSERT OR IGNORE INTO notify_outbox(id, notifier, notice, created, next_try) "
                     "VALUES (?, ?, ?, ?, ?)");
    insert.Bind(1, NoticeId(notice, notifier)).Bind(2, notifier).Bind(3, NoticeJson(notice)).Bind(4, now).Bind(5, now);
    insert.Run();
}

std::vector<OutboxRow> DueNotices(sqlite3* db, int64_t now, size_t limit) {
    Statement select(db,
                     "SELECT id, notifier, notice, created, next_try, tries FROM notify_outbox "
                     "WHERE state = 0 AND next_try <= ? ORDER BY next_try, created LIMIT ?");
    select.Bind(1, now).Bind(2, static_cast<int64_t>(limit));
    std::vector<OutboxRow> rows;
    while (select.Step()) {
        OutboxRow row;
        row.id = std::string(select.Text(0));
        row.notifier = std::string(select.Text(1));
        // A row this version cannot read is left alone; it expires unseen.
        if (!NoticeFromJson(select.Text(2), row.notice)) continue;
        row.created = select.Int(3);
        row.next_try = select.Int(4);
        row.tries = static_cast<int>(select.Int(5));
        rows.push_back(std::move(row));
    }
    return rows;
}

void RecordSent(sqlite3* db, const std::string& id, int64_t now, const std::string& answer) {
    Statement update(db,
                     "UPDATE notify_outbox SET state = 1, finished = ?, tries = tries + 1, answer = ? "
                     "WHERE id = ? AND state = 0");
    update.Bind(1, now).Bind(2, answer).Bind(3, id).Run();
}

void RecordRetry(sqlite3* db, const std::string& id, int64_t next_try, const std::string& answer) {
    Statement update(db, "UPDATE notify_outbox SET next_try = ?, tries = tries + 1, answer = ? WHERE id = ? AND state = 0");
    update.Bind(1, next_try).Bind(2, answer).Bind(3, id).Run();
}

void RecordExpired(sqlite3* db, const std::string& id, int64_t now, const std::string& answer) {
    Statement update(db, "UPDATE notify_outbox SET state = 2, finished = ?, answer = ? WHERE id = ? AND state = 0");
    update.Bind(1, now).Bind(2, answer).Bind(3, id).Run();
}

void ForgetNotifier(sqlite3* db, const std::string& notifier) {
    Statement outbox(db, "DELETE FROM notify_outbox WHERE notifier = ? AND state = 0");
    outbox.Bind(1, notifier).Run();
    Statement state(db, "DELETE FROM notify_state WHERE notifier = ?");
    state.Bind(1, notifier).Run();
}

std::vector<std::string> StoredNotifiers(sqlite3* db) {
    Statement select(db,
                     "SELECT notifier FROM notify_outbox WHERE state = 0 UNION SELECT notifier FROM notify_state");
    std::vector<std::string> names;
    while (select.Step()) names.emplace_back(select.Text(0));
    return names;
}

void PruneOutbox(sqlite3* db, int64_t before) {
    Statement prune(db, "DELETE FROM notify_outbox WHERE state <> 0 AND finished < ?");
    prune.Bind(1, before).Run();
}

OutboxFigures ReadOutboxFigures(sqlite3* db) {
    Statement select(db, "SELECT count(*), coalesce(min(created), 0) FROM notify_outbox WHERE state = 0");
    OutboxFigures figures;
    if (select.Step()) {
        figures.pending = select.Int(0);
        figures.oldest_created = select.Int(1);
    }
    return figures;
}

std::vector<OutboxEntry> ReadOutbox(sqlite3* db) {
    Statement select(db, "SELECT id, notifier, state, tries, answer FROM notify_outbox ORDER BY created, id");
    std::vector<OutboxEntry> entries;
    while (select.Step()) {
        OutboxEntry entry;
        entry.id = std::string(select.Text(0));
        entry.notifier = std::string(select.Text(1));
        entry.state = static_cast<OutboxState>(select.Int(2));
        entry.tries = static_cast<int>(select.Int(3));
        entry.answer = std::string(select.Text(4));
        entries.push_back(std::move(entry));
    }
    return entries;
}

void SaveCondition(sqlite3* db, const StoredCondition& condition) {
    if (condition.state.Idle()) {
        Statement erase(db, "DELETE FROM notify_state WHERE notifier = ? AND printer = ? AND key = ?");
        erase.Bind(1, condition.notifier).Bind(2, condition.printer).Bind(3, condition.key).Run();
        return;
    }
    Statement save(db, "INSERT OR REPLACE INTO notify_state(notifier, printer, key, state) VALUES (?, ?, ?, ?)");
    save.Bind(1, condition.notifier).Bind(2, condition.printer).Bind(3, condition.key);
    save.Bind(4, ConditionJson(condition.state)).Run();
}

std::vector<StoredCondition> LoadConditions(sqlite3* db) {
    Statement select(db, "SELECT notifier, printer, key, state FROM notify_state");
    std::vector<StoredCondition> conditions;
    while (select.Step()) {
        StoredCondition condition;
        condition.notifier = std::string(select.Text(0));
        condition.printer = std::string(select.Text(1));
        condition.key = std::string(select.Text(2));
        if (ConditionFromJson(select.Text(3), condition.state)) conditions.push_back(std::move(condition));
    }
    return conditions;
}

std::string NoticeJson(const Notice& notice) { return NoticeObject(notice).dump(); }

bool NoticeFromJson(std::string_view text, Notice& notice) {
    const Json json = Json::parse(text, nullptr, false);
    return !json.is_discarded() && NoticeOfObject(json, notice);
}

std::string ConditionJson(const ConditionState& state) {
    Json json{{"current", state.current},
              {"told", state.told},
              {"told_event", state.told_event ? NotifyEventJson(*state.told_event) : Json(nullptr)},
              {"held", state.held ? NoticeObject(*state.held) : Json(nullptr)},
              {"held_silent", state.held_silent},
              {"next_reminder", SecondsSinceEpoch(state.next_reminder)},
              {"reminders", state.reminders}};
    return json.dump();
}

bool ConditionFromJson(std::string_view text, ConditionState& state) {
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) return false;
    try {
        ConditionState read;
        read.current = json.at("current").get<std::string>();
        read.told = json.at("told").get<std::string>();
        if (!json.at("told_event").is_null()) {
            NotifyEvent event;
            if (!NotifyEventFromJson(json.at("told_event"), event)) return false;
            read.told_event = std::move(event);
        }
        if (!json.at("held").is_null()) {
            Notice notice;
            if (!NoticeOfObject(json.at("held"), notice)) return false;
            read.held = std::move(notice);
        }
        read.held_silent = json.at("held_silent").get<bool>();
        read.next_reminder = TimeOfSeconds(json.at("next_reminder").get<int64_t>());
        read.reminders = json.at("reminders").get<uint32_t>();
        state = std::move(read);
        return true;
    } catch (const Json::exception&) {
        return false;
    }
}

}  // namespace tb58mon
