// The notification rules: which events change which condition, hold,
// recovery, reminders, and the ids of the notices.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "notify/notify_rules.h"

namespace tb58mon {
namespace {

TimePoint At(int seconds) { return TimePoint{} + std::chrono::hours(24 * 365 * 50) + std::chrono::seconds(seconds); }

NotifierConfig Notifier(std::initializer_list<NotifyRule> rules, int hold = 60, int repeat = 0) {
    NotifierConfig notifier;
    notifier.name = "desk";
    for (NotifyRule rule : rules) notifier.on.Add(rule);
    notifier.hold = std::chrono::seconds(hold);
    notifier.repeat = std::chrono::seconds(repeat);
    return notifier;
}

NotifyEvent Health(int64_t id, int time, const std::string& health) {
    NotifyEvent event;
    event.id = id;
    event.printer = "p1";
    event.time = At(time);
    event.kind = "health";
    event.health = health;
    return event;
}

// One notifier's conditions of one printer, driven as the store drives
// them: each event applied, and the held notices released every second.
class Harness {
public:
    explicit Harness(NotifierConfig notifier) : notifier_(std::move(notifier)) {}

    void Event(const NotifyEvent& event) {
        RunUntil(event.time);
        auto found = states_.find(ConditionKey(event));
        const std::string current = found == states_.end() ? "" : found->second.current;
        const auto change = ConditionOfEvent(notifier_.on, event, current);
        if (change) ApplyChange(notifier_, states_[change->key], change->value, event);
    }
    void RunUntil(TimePoint end) {
        for (; now_ <= end; now_ += std::chrono::seconds(1)) {
            for (auto& [key, state] : states_) {
                bool released = false;
                if (auto notice = ReleaseIfDue(notifier_, state, now_, released)) sent_.push_back(*notice);
                if (auto reminder = ReminderIfDue(notifier_, state, now_)) sent_.push_back(*reminder);
            }
        }
    }
    // "problem error @61" for each notice sent.
    std::vector<std::string> Sent() const {
        std::vector<std::string> lines;
        for (const Notice& notice : sent_) {
            lines.push_back(std::string(NoticeKindName(notice.kind)) + " " + notice.value + " #" +
                            std::to_string(notice.event.id) + " @" +
                            std::to_string(std::chrono::duration_cast<std::chrono::seconds>(notice.due - At(0)).count()));
        }
        return lines;
    }
    const ConditionState& State(const std::string& key) { return states_[key]; }

private:
    NotifierConfig notifier_;
    std::map<std::string, ConditionState> states_;
    std::vector<Notice> sent_;
    TimePoint now_ = At(0);
};

using Lines = std::vector<std::string>;

TEST(NotifyRules, AJamIsToldOnceAfterHoldAndItsClearingOnce) {
    Harness run(Notifier({NotifyRule::kError, NotifyRule::kRecovered}));
    run.Event(Health(1, 10, "error"));
    run.Event(Health(2, 300, "ready"));
    run.RunUntil(At(1000));
    EXPECT_EQ(run.Sent(), (Lines{"problem error #1 @70", "recovered  #2 @360"}));
}

TEST(NotifyRules, AJamShorterThanHoldTellsNothingNotEvenItsRecovery) {
    Harness run(Notifier({NotifyRule::kError, NotifyRule::kRecovered}));
    run.Event(Health(1, 10, "error"));
    run.Event(Health(2, 30, "ready"));   // 20 s
    run.Event(Health(3, 100, "error"));  // and again, 59 s
    run.Event(Health(4, 159, "ready"));
    run.RunUntil(At(1000));
    EXPECT_EQ(run.Sent(), Lines{});
    EXPECT_TRUE(run.State("health").Idle());
}

TEST(NotifyRules, HoldOfZeroTellsAtOnce) {
    Harness run(Notifier({NotifyRule::kNoResponse, NotifyRule::kRecovered}, 0));
    run.Event(Health(1, 10, "no_response"));
    run.Event(Health(2, 11, "ready"));
    run.RunUntil(At(20));
    EXPECT_EQ(run.Sent(), (Lines{"problem no_response #1 @10", "recovered  #2 @11"}));
}

TEST(NotifyRules, ARecoveryShorterThanHoldTellsNothing) {
    Harness run(Notifier({NotifyRule::kError, NotifyRule::kRecovered}));
    run.Event(Health(1, 0, "error"));
    run.Event(Health(2, 100, "ready"));
    run.Event(Health(3, 130, "error"));  // the printer sleeps and wakes into the jam still there
    run.RunUntil(At(1000));
    EXPECT_EQ(run.Sent(), Lines{"problem error #1 @60"});
    EXPECT_EQ(run.State("health").told, "error");
}

TEST(NotifyRules, WithoutRecoveredTheNextProblemIsToldAgain) {
    Harness run(Notifier({NotifyRule::kError}));
    run.Event(Health(1, 0, "error"));
    run.Event(Health(2, 100, "ready"));
    run.Event(Health(3, 130, "error"));  // back within hold: still the same problem
    run.Event(Health(4, 200, "ready"));
    run.Event(Health(5, 400, "error"));  // a new one
    run.RunUntil(At(1000));
    EXPECT_EQ(run.Sent(), (Lines{"problem error #1 @60", "problem error #5 @460"}));
}

TEST(NotifyRules, AProblemThatChangesItsFaceKeepsItsHold) {
    Harness run(Notifier({NotifyRule::kError, NotifyRule::kNoResponse, NotifyRule::kRecovered}));
    run.Event(Health(1, 0, "error"));
    run.Event(Health(2, 40, "no_response"));  // switched off to clear the jam
    run.RunUntil(At(100));
    EXPECT_EQ(run.Sent(), Lines{"problem no_response #2 @60"});
    run.Event(Health(3, 200, "error"));  // on again, still jammed: told after its own hold
    run.Event(Health(4, 500, "ready"));
    run.RunUntil(At(1000));
    EXPECT_EQ(run.Sent(), (Lines{"problem no_response #2 @60", "problem error #3 @260", "recovered  #4 @560"}));
}

TEST(NotifyRules, HealthsNotAskedForEndOnlyWhatTheySettle) {
    // Told of errors only: a printer in error that stops answering may still
    // be in error; one that turns to attention is not.
    Harness errors(Notifier({NotifyRule::kError, NotifyRule::kRecovered}));
    errors.Event(Health(1, 0, "error"));
    errors.Event(Health(2, 100, "no_response"));
    errors.Event(Health(3, 200, "unknown"));
    errors.Event(Health(4, 300, "waiting"));
    errors.RunUntil(At(500));
    EXPECT_EQ(errors.Sent(), Lines{"problem error #1 @60"});
    errors.Event(Health(5, 600, "attention"));
    errors.RunUntil(At(700));
    EXPECT_EQ(errors.Sent(), (Lines{"problem error #1 @60", "recovered  #5 @660"}));

    // Told of silence only: any answer ends it.
    for (const char* answer : {"error", "attention", "unknown", "ready"}) {
        Harness silence(Notifier({NotifyRule::kNoResponse, NotifyRule::kRecovered}));
        silence.Event(Health(1, 0, "no_response"));
        silence.Event(Health(2, 100, answer));
        silence.RunUntil(At(200));
        EXPECT_EQ(silence.Sent(), (Lines{"problem no_response #1 @60", "recovered  #2 @160"})) << answer;
    }
    Harness unknown(Notifier({NotifyRule::kUnknown, NotifyRule::kRecovered}));
    unknown.Event(Health(1, 0, "unknown"));
    unknown.Event(Health(2, 100, "no_response"));  // says nothing of the status
    unknown.Event(Health(3, 200, "error"));        // read again
    unknown.RunUntil(At(300));
    EXPECT_EQ(unknown.Sent(), (Lines{"problem unknown #1 @60", "recovered  #3 @260"}));
    Harness attention(Notifier({NotifyRule::kAttention, NotifyRule::kRecovered}));
    attention.Event(Health(1, 0, "attention"));
    attention.Event(Health(2, 100, "error"));  // worse, not settled
    attention.RunUntil(At(300));
    EXPECT_EQ(attention.Sent(), Lines{"problem attention #1 @60"});
}

TEST(NotifyRules, WhichConditionAnEventChanges) {
    NotifyRules all;
    for (NotifyRule rule : {NotifyRule::kError, NotifyRule::kTonerLow, NotifyRule::kTonerEmpty, NotifyRule::kTrayEmpty,
                            NotifyRule::kCode}) {
        all.Add(rule);
    }
    auto change = [](const NotifyRules& rules, NotifyEvent event, std::string_view current = "") {
        const auto found = ConditionOfEvent(rules, event, current);
        return found ? found->key + "=" + found->value : std::string("none");
    };
    NotifyEvent toner;
    toner.kind = "toner";
    for (const auto& [state, expected] : std::vector<std::pair<std::string, std::string>>{
             {"ok", "toner="}, {"low", "toner=low"}, {"empty", "toner=empty"}, {"", "none"}, {"half", "none"}}) {
        toner.toner = state;
        EXPECT_EQ(change(all, toner), expected) << state;
    }
    NotifyRules low_only;
    low_only.Add(NotifyRule::kTonerLow);
    toner.toner = "empty";
    EXPECT_EQ(change(low_only, toner), "toner=low");  // empty is low too
    NotifyRules empty_only;
    empty_only.Add(NotifyRule::kTonerEmpty);
    toner.toner = "low";
    EXPECT_EQ(change(empty_only, toner), "toner=");

    NotifyEvent tray;
    tray.kind = "tray_empty";
    tray.tray = 4;
    EXPECT_EQ(change(all, tray), "tray:4=empty");
    tray.kind = "tray_filled";
    EXPECT_EQ(change(all, tray), "tray:4=");
    tray.tray.reset();
    EXPECT_EQ(change(all, tray), "none");
    NotifyEvent code;
    code.kind = "code_began";
    code.code = 42000;
    EXPECT_EQ(change(all, code), "code:42000=on");
    code.kind = "code_cleared";
    EXPECT_EQ(change(all, code), "code:42000=");
    NotifyEvent pages;
    pages.kind = "pages_daily";
    EXPECT_EQ(change(all, pages), "none");
    NotifyRules nothing;
    nothing.Add(NotifyRule::kRecovered);
    for (NotifyEvent event : {toner, tray, code, Health(1, 0, "error")}) EXPECT_EQ(change(nothing, event), "none");
    EXPECT_EQ(change(all, Health(1, 0, "attention")), "none");
    EXPECT_EQ(change(all, Health(1, 0, "ready"), "error"), "health=");
    EXPECT_EQ(change(all, Health(1, 0, "ready")), "none");  // nothing to end
}

TEST(NotifyRules, TraysAndCodesAreConditionsOfTheirOwn) {
    Harness run(Notifier({NotifyRule::kTrayEmpty, NotifyRule::kCode, NotifyRule::kRecovered}, 10));
    NotifyEvent tray;
    tray.id = 1;
    tray.kind = "tray_empty";
    tray.tray = 3;
    tray.time = At(0);
    run.Event(tray);
    NotifyEvent code;
    code.id = 2;
    code.kind = "code_began";
    code.code = 42000;
    code.time = At(5);
    run.Event(code);
    tray.id = 3;
    tray.tray = 4;
    tray.time = At(8);
    run.Event(tray);
    code.id = 4;
    code.kind = "code_cleared";
    code.time = At(40);
    run.Event(code);
    run.RunUntil(At(100));
    EXPECT_EQ(run.Sent(), (Lines{"problem empty #1 @10", "problem on #2 @15", "problem empty #3 @18", "recovered  #4 @50"}));
}

TEST(NotifyRules, RemindersWhileAToldProblemLasts) {
    Harness run(Notifier({NotifyRule::kError, NotifyRule::kRecovered}, 60, 600));
    run.Event(Health(1, 0, "error"));
    run.RunUntil(At(1300));
    EXPECT_EQ(run.Sent(), (Lines{"problem error #1 @60", "reminder error #1 @660", "reminder error #1 @1260"}));
    run.Event(Health(2, 1500, "ready"));  // no reminder while its recovery is held
    run.RunUntil(At(3000));
    EXPECT_EQ(run.Sent().size(), 4u);
    EXPECT_EQ(run.Sent().back(), "recovered  #2 @1560");
}

TEST(NotifyRules, AReminderAfterAStopIsOneNotOnePerRepeatMissed) {
    NotifierConfig notifier = Notifier({NotifyRule::kError}, 0, 60);
    ConditionState state;
    ApplyChange(notifier, state, "error", Health(1, 0, "error"));
    bool released = false;
    ASSERT_TRUE(ReleaseIfDue(notifier, state, At(0), released));
    const auto first = ReminderIfDue(notifier, state, At(3600));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->reminder, 1u);
    EXPECT_FALSE(ReminderIfDue(notifier, state, At(3600)));
    EXPECT_FALSE(ReminderIfDue(notifier, state, At(3659)));
    EXPECT_TRUE(ReminderIfDue(notifier, state, At(3660)));
}

TEST(NotifyRules, NoticeIdsAreStablePerEventNotifierAndReminder) {
    Notice notice;
    notice.event.id = 123;
    EXPECT_EQ(NoticeId(notice, "front-desk"), "123-front-desk");
    notice.kind = NoticeKind::kRecovered;
    EXPECT_EQ(NoticeId(notice, "front-desk"), "123-front-desk");
    notice.kind = NoticeKind::kReminder;
    notice.reminder = 2;
    EXPECT_EQ(NoticeId(notice, "mail"), "123-mail-r2");
}

}  // namespace
}  // namespace tb58mon
