#include "notify/notify_rules.h"

namespace tb58mon {
namespace {

// The rule that tells of a printer turning to this health.
std::optional<NotifyRule> HealthRule(std::string_view health) {
    if (health == "error") return NotifyRule::kError;
    if (health == "attention") return NotifyRule::kAttention;
    if (health == "no_response") return NotifyRule::kNoResponse;
    if (health == "unknown") return NotifyRule::kUnknown;
    return std::nullopt;
}

bool HasHealthRule(const NotifyRules& rules) {
    return rules.Has(NotifyRule::kError) || rules.Has(NotifyRule::kAttention) || rules.Has(NotifyRule::kNoResponse) ||
           rules.Has(NotifyRule::kUnknown);
}

// Whether turning to a health the notifier is not told of ends the trouble
// told: ready ends any; a printer that answers again ends "no_response"; a
// status read again ends "unknown"; attention ends an error.  A printer in
// error that stops answering, or whose status cannot be read, may still be
// in error: that ends nothing.
bool HealthEnds(std::string_view current, std::string_view health) {
    if (health == "ready") return true;
    if (current == "no_response") return health == "error" || health == "attention" || health == "unknown";
    if (current == "unknown") return health == "error" || health == "attention";
    if (current == "error") return health == "attention";
    return false;
}

std::optional<ConditionChange> HealthChange(const NotifyRules& rules, const NotifyEvent& event,
                                            std::string_view current) {
    if (!HasHealthRule(rules)) return std::nullopt;
    const std::optional<NotifyRule> rule = HealthRule(event.health);
    if (rule && rules.Has(*rule)) return ConditionChange{"health", event.health};
    if (!current.empty() && HealthEnds(current, event.health)) return ConditionChange{"health", ""};
    return std::nullopt;
}

std::optional<ConditionChange> TonerChange(const NotifyRules& rules, const NotifyEvent& event) {
    const bool low = rules.Has(NotifyRule::kTonerLow);
    const bool empty = rules.Has(NotifyRule::kTonerEmpty);
    if (!low && !empty) return std::nullopt;
    if (event.toner == "ok") return ConditionChange{"toner", ""};
    if (event.toner == "low") return ConditionChange{"toner", low ? "low" : ""};
    // Empty is low as well, for a notifier told only of low toner.
    if (event.toner == "empty") return ConditionChange{"toner", empty ? "empty" : "low"};
    return std::nullopt;
}

}  // namespace

std::string_view NoticeKindName(NoticeKind kind) {
    switch (kind) {
        case NoticeKind::kProblem: return "problem";
        case NoticeKind::kRecovered: return "recovered";
        case NoticeKind::kReminder: return "reminder";
        case NoticeKind::kTest: return "test";
    }
    return "problem";
}

std::string NoticeId(const Notice& notice, std::string_view notifier) {
    std::string id = std::to_string(notice.event.id) + "-" + std::string(notifier);
    if (notice.kind == NoticeKind::kReminder) id += "-r" + std::to_string(notice.reminder);
    if (notice.kind == NoticeKind::kTest) id = "test-" + id;
    return id;
}

std::string ConditionKey(const NotifyEvent& event) {
    if (event.kind == "health" || event.kind == "toner") return event.kind;
    if ((event.kind == "tray_empty" || event.kind == "tray_filled") && event.tray) {
        return "tray:" + std::to_string(*event.tray);
    }
    if ((event.kind == "code_began" || event.kind == "code_cleared") && event.code) {
        return "code:" + std::to_string(*event.code);
    }
    return "";
}

std::optional<ConditionChange> ConditionOfEvent(const NotifyRules& rules, const NotifyEvent& event,
                                                std::string_view current) {
    const std::string key = ConditionKey(event);
    if (key.empty()) return std::nullopt;
    if (event.kind == "health") return HealthChange(rules, event, current);
    if (event.kind == "toner") return TonerChange(rules, event);
    if (event.kind == "tray_empty" || event.kind == "tray_filled") {
        if (!rules.Has(NotifyRule::kTrayEmpty)) return std::nullopt;
        return ConditionChange{key, event.kind == "tray_empty" ? "empty" : ""};
    }
    if (!rules.Has(NotifyRule::kCode)) return std::nullopt;
    return ConditionChange{key, event.kind == "code_began" ? "on" : ""};
}

bool ApplyChange(const NotifierConfig& notifier, ConditionState& state, const std::string& value,
                 const NotifyEvent& event) {
    if (value == state.current) return false;
    state.current = value;
    TimePoint due = event.time + notifier.hold;
    if (state.held) {
        // A problem that goes on under another value has lasted since the
        // first one: its hold does not start again.
        if (!value.empty() && state.held->kind == NoticeKind::kProblem) due = std::min(due, state.held->due);
        state.held.reset();
        state.held_silent = false;
    }
    if (value == state.told) return true;
    Notice notice;
    notice.kind = value.empty() ? NoticeKind::kRecovered : NoticeKind::kProblem;
    notice.value = value;
    notice.event = event;
    notice.due = due;
    state.held = std::move(notice);
    state.held_silent = value.empty() && !notifier.on.Has(NotifyRule::kRecovered);
    return true;
}

std::optional<Notice> ReleaseIfDue(const NotifierConfig& notifier, ConditionState& state, TimePoint now,
                                   bool& released) {
    released = false;
    if (!state.held || state.held->due > now) return std::nullopt;
    Notice notice = std::move(*state.held);
    const bool silent = state.held_silent;
    state.held.reset();
    state.held_silent = false;
    released = true;
    state.told = notice.value;
    state.reminders = 0;
    if (notice.value.empty()) {
        state.told_event.reset();
    } else {
        state.told_event = notice.event;
        state.next_reminder = notice.due + notifier.repeat;
    }
    if (silent) return std::nullopt;
    return notice;
}

std::optional<Notice> ReminderIfDue(const NotifierConfig& notifier, ConditionState& state, TimePoint now) {
    if (notifier.repeat <= std::chrono::seconds(0) || state.told.empty() || state.held || !state.told_event ||
        now < state.next_reminder) {
        return std::nullopt;
    }
    ++state.reminders;
    // After a long stop of the service one reminder, not one per missed repeat.
    state.next_reminder = now + notifier.repeat;
    Notice notice;
    notice.kind = NoticeKind::kReminder;
    notice.value = state.told;
    notice.event = *state.told_event;
    notice.reminder = state.reminders;
    notice.due = now;
    return notice;
}

}  // namespace tb58mon
