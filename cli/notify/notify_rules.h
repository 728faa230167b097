// From events to notices, for one notifier: plain functions over plain
// records, so that every rule can be tested without a clock or a store.
//
// Each printer has conditions, one per kind of trouble a notifier can be
// told: its "health", its "toner", each "tray:CODE" and each "code:CODE".
// A condition's value is empty while it is fine, else the trouble by the
// rule's word ("error", "low", "empty", "on").  An event changes at most one
// condition (ConditionOfEvent).
//
// Changes are held: a notice is due `hold` after the change, and a change
// before then takes the held notice back.  So a jam cleared within `hold`,
// or a printer that sleeps and wakes, pages nobody, and a problem that was
// never told leaves no recovery notice either.  A held notice is released
// when it is due (ReleaseIfDue): it then counts as told and goes to the
// outbox; a flap back to the value told (a recovery that lasts less than
// `hold`) tells nothing.  While a told problem lasts, a reminder follows
// every `repeat` (ReminderIfDue).
#pragma once

#include <optional>
#include <string>

#include "notify/notifier_config.h"
#include "notify/notify_event.h"

namespace tb58mon {

// kTest: a sample sent by 'tb58mon notify-test'.
enum class NoticeKind { kProblem, kRecovered, kReminder, kTest };
std::string_view NoticeKindName(NoticeKind kind);  // "problem", "recovered", "reminder", "test"

// A notice to send: what it is about and when it is due.
struct Notice {
    NoticeKind kind = NoticeKind::kProblem;
    std::string value;  // the condition's value told (empty for a recovery)
    NotifyEvent event;  // the change it tells of (a reminder: the problem's)
    uint32_t reminder = 0;  // 1, 2, ... for reminders
    TimePoint due;
};

// A notice's stable id, sent as the Idempotency-Key: "EVENT-NOTIFIER",
// for the n-th reminder "EVENT-NOTIFIER-rN", for a sample "test-EVENT-NOTIFIER".
std::string NoticeId(const Notice& notice, std::string_view notifier);

// What one notifier knows of one condition of one printer.
struct ConditionState {
    std::string current;                // the value now
    std::string told;                   // the value last told (empty: fine, or nothing told)
    std::optional<NotifyEvent> told_event;
    std::optional<Notice> held;         // a change not yet due
    bool held_silent = false;           // released without a message (a recovery not asked for)
    TimePoint next_reminder;
    uint32_t reminders = 0;

    bool Idle() const { return current.empty() && told.empty() && !held; }
};

struct ConditionChange {
    std::string key;    // "health", "toner", "tray:3", "code:42000"
    std::string value;  // the condition's new value
};

// The condition an event of this kind is about ("health", "toner",
// "tray:3", "code:42000"); empty for kinds no notice is about.
std::string ConditionKey(const NotifyEvent& event);

// The condition the event changes for a notifier with these rules, and its
// new value; nullopt when the event changes none (another kind, a rule not
// asked for, a health that says nothing about the trouble told: a printer
// in error that stops answering may still be in error).  current is the
// condition's value now.
std::optional<ConditionChange> ConditionOfEvent(const NotifyRules& rules, const NotifyEvent& event,
                                                std::string_view current);

// Applies the condition's new value at the event's time: takes back a held
// notice, holds a new one when the value differs from the one told.
// Returns true when the state changed.
bool ApplyChange(const NotifierConfig& notifier, ConditionState& state, const std::string& value,
                 const NotifyEvent& event);

// Releases the held notice when it is due at now: it counts as told from
// then on.  Returns the notice to send, or nullopt (none due, or a silent
// release).  released tells whether the state changed.
std::optional<Notice> ReleaseIfDue(const NotifierConfig& notifier, ConditionState& state, TimePoint now,
                                   bool& released);

// The next reminder of a told problem that lasts, when one is due at now.
std::optional<Notice> ReminderIfDue(const NotifierConfig& notifier, ConditionState& state, TimePoint now);

}  // namespace tb58mon
