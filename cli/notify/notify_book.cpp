#include "notify/notify_book.h"

#include <algorithm>

#include "events/sqlite_db.h"
#include "notify/notify_outbox.h"

namespace tb58mon {

NotifyEvent NotifyEventOf(const PrinterEvent& event) {
    NotifyEvent notify;
    notify.id = event.id;
    notify.printer = event.printer;
    notify.uri = event.uri;
    notify.time = TimePoint(std::chrono::seconds(event.time));
    notify.kind = std::string(EventKindName(event.kind));
    notify.health = std::string(HealthLabel(event.health));
    if (event.previous_health) notify.previous_health = std::string(HealthLabel(*event.previous_health));
    notify.codes = event.codes;
    notify.code = event.code;
    notify.tray = event.tray;
    if (event.tray) notify.tray_name = TrayEnglishName(*event.tray);
    notify.level = event.level;
    if (event.toner) notify.toner = std::string(TonerName(*event.toner));
    if (event.previous_toner) notify.previous_toner = std::string(TonerName(*event.previous_toner));
    notify.value = event.value;
    if (event.day) notify.day = DayText(*event.day);
    return notify;
}

void NotifyBook::Open(sqlite3* db) {
    CreateNotifyTables(db);
    // A notifier taken out of the fleet file while the service was stopped
    // keeps nothing pending, as one taken out by a reload.
    for (const std::string& name : StoredNotifiers(db)) {
        const bool configured = std::any_of(notifiers_.begin(), notifiers_.end(),
                                            [&](const NotifierConfig& notifier) { return notifier.name == name; });
        if (!configured) ForgetNotifier(db, name);
    }
    states_.clear();
    for (StoredCondition& stored : LoadConditions(db)) {
        states_[{stored.notifier, stored.printer, stored.key}] = std::move(stored.state);
    }
}

void NotifyBook::OnEvents(sqlite3* db, std::span<const NotifyEvent> events) {
    // A batch that fails is written again with the same events: the state
    // goes back to what the database holds.
    auto before = states_;
    try {
        Apply(db, events);
    } catch (...) {
        states_ = std::move(before);
        throw;
    }
}

void NotifyBook::Apply(sqlite3* db, std::span<const NotifyEvent> events) {
    for (const NotifyEvent& event : events) {
        const std::string key = ConditionKey(event);
        if (key.empty()) continue;
        for (const NotifierConfig& notifier : notifiers_) {
            if (!NotifierWatchesPrinter(notifier, event.printer)) continue;
            ConditionState& state = states_[{notifier.name, event.printer, key}];
            const std::optional<ConditionChange> change = ConditionOfEvent(notifier.on, event, state.current);
            if (change && ApplyChange(notifier, state, change->value, event)) {
                SaveCondition(db, {notifier.name, event.printer, key, state});
            }
            if (state.Idle()) states_.erase({notifier.name, event.printer, key});
        }
    }
}

size_t NotifyBook::Release(sqlite3* db, TimePoint now) {
    // Most seconds nothing is due: no transaction then.
    const bool due = std::any_of(states_.begin(), states_.end(), [&](const auto& entry) {
        const ConditionState& state = entry.second;
        if (state.held) return state.held->due <= now;
        if (state.told.empty() || state.next_reminder > now) return false;
        const std::string& name = std::get<0>(entry.first);
        return std::any_of(notifiers_.begin(), notifiers_.end(), [&](const NotifierConfig& notifier) {
            return notifier.name == name && notifier.repeat > std::chrono::seconds(0);
        });
    });
    if (!due) return 0;
    auto before = states_;
    try {
        return ReleaseDue(db, now);
    } catch (...) {
        states_ = std::move(before);
        throw;
    }
}

size_t NotifyBook::ReleaseDue(sqlite3* db, TimePoint now) {
    size_t written = 0;
    Transaction transaction(db);
    for (auto it = states_.begin(); it != states_.end();) {
        const std::string& name = std::get<0>(it->first);
        const std::string& printer = std::get<1>(it->first);
        const std::string& key = std::get<2>(it->first);
        const auto notifier = std::find_if(notifiers_.begin(), notifiers_.end(),
                                           [&](const NotifierConfig& candidate) { return candidate.name == name; });
        if (notifier == notifiers_.end()) {
            ++it;
            continue;
        }
        ConditionState& state = it->second;
        bool changed = false;
        std::optional<Notice> notice = ReleaseIfDue(*notifier, state, now, changed);
        if (!notice) notice = ReminderIfDue(*notifier, state, now), changed = changed || notice.has_value();
        if (notice) {
            InsertNotice(db, name, *notice, SecondsSinceEpoch(now));
            ++written;
        }
        if (changed) SaveCondition(db, {name, printer, key, state});
        it = state.Idle() ? states_.erase(it) : std::next(it);
    }
    transaction.Commit();
    return written;
}

void NotifyBook::SetNotifiers(sqlite3* db, std::vector<NotifierConfig> notifiers) {
    for (const NotifierConfig& old : notifiers_) {
        const bool kept = std::any_of(notifiers.begin(), notifiers.end(),
                                      [&](const NotifierConfig& next) { return next.name == old.name; });
        if (kept) continue;
        if (db != nullptr) ForgetNotifier(db, old.name);
        std::erase_if(states_, [&](const auto& entry) { return std::get<0>(entry.first) == old.name; });
    }
    notifiers_ = std::move(notifiers);
}

}  // namespace tb58mon
