// The rules' state of every notifier, kept on the event store's writer
// thread: events go in (in the same transaction as the events themselves),
// notices come out into the outbox when their hold has passed.  Loaded from
// the database each time the store opens it, so a held notice, a problem
// told and a reminder's time survive a restart of the service.
//
// Not thread-safe: every call is made on the store's writer thread (its
// hooks and posted jobs); SetNotifiers too, through a posted job.
#pragma once

#include <sqlite3.h>

#include <map>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "events/printer_event.h"
#include "notify/notify_rules.h"

namespace tb58mon {

// A stored event as the notifier takes it.
NotifyEvent NotifyEventOf(const PrinterEvent& event);

class NotifyBook {
public:
    explicit NotifyBook(std::vector<NotifierConfig> notifiers) : notifiers_(std::move(notifiers)) {}

    // The store opened the database: the tables, and the state kept there.
    void Open(sqlite3* db);

    // A batch of new events, inside the batch's transaction.
    void OnEvents(sqlite3* db, std::span<const NotifyEvent> events);

    // Notices whose hold has passed, and reminders due, into the outbox;
    // makes its own transaction.  Returns the notices written.
    size_t Release(sqlite3* db, TimePoint now);

    // A reload: notifiers gone lose their state and pending notices.
    void SetNotifiers(sqlite3* db, std::vector<NotifierConfig> notifiers);

private:
    void Apply(sqlite3* db, std::span<const NotifyEvent> events);
    size_t ReleaseDue(sqlite3* db, TimePoint now);

    using Key = std::tuple<std::string, std::string, std::string>;  // notifier, printer, condition
    std::vector<NotifierConfig> notifiers_;
    std::map<Key, ConditionState> states_;
};

}  // namespace tb58mon
