// The events of a printer's changes (event_diff.h), its memory as text
// (memory_codec.h), the times of the events (printer_event.h) and the
// health spans of the history strip (health_spans.h).
#include <gtest/gtest.h>

#include "events/event_diff.h"
#include "events/health_spans.h"
#include "events/memory_codec.h"

namespace tb58mon {
namespace {

constexpr int32_t kJam = 42000;
constexpr int32_t kCover = 41401;
constexpr int32_t kReadyCode = 10001;
constexpr int64_t kNoon = 1796904000;  // 2026-12-10T12:00:00Z

PrinterObservation Seen(PrinterHealth health, std::vector<int32_t> codes = {}, int64_t time = kNoon) {
    PrinterObservation now;
    now.time = time;
    now.health = health;
    now.codes = std::move(codes);
    now.toner = TonerLevel::kOk;
    return now;
}

std::vector<EventKind> Kinds(const PrinterDiff& diff) {
    std::vector<EventKind> kinds;
    for (const PrinterEvent& event : diff.events) kinds.push_back(event.kind);
    return kinds;
}

// Runs observations one after the other from the baseline.
struct Printer {
    PrinterMemory memory = BaselineMemory();
    std::vector<PrinterEvent> events;

    const PrinterDiff& See(const PrinterObservation& now) {
        last = DiffPrinter(memory, now);
        memory = last.memory;
        events.insert(events.end(), last.events.begin(), last.events.end());
        return last;
    }
    PrinterDiff last;
};

TEST(EventDiff, HealthAndCodesFromTheBaseline) {
    Printer printer;
    // Ready with the codes of normal operation gives nothing.
    EXPECT_TRUE(printer.See(Seen(PrinterHealth::kReady, {kReadyCode})).events.empty());
    // A printer jammed when first seen gives its events like one that jams later.
    Printer jammed;
    const auto& diff = jammed.See(Seen(PrinterHealth::kError, {kJam}));
    ASSERT_EQ(Kinds(diff), (std::vector{EventKind::kHealth, EventKind::kCodeBegan}));
    EXPECT_EQ(diff.events[0].previous_health, PrinterHealth::kReady);
    EXPECT_EQ(diff.events[0].health, PrinterHealth::kError);
    EXPECT_EQ(diff.events[1].code, kJam);
    EXPECT_EQ(diff.events[1].codes, std::vector<int32_t>{kJam});
    EXPECT_EQ(diff.events[1].time, kNoon);
    // The same state again: nothing.
    EXPECT_TRUE(jammed.See(Seen(PrinterHealth::kError, {kJam}, kNoon + 5)).events.empty());
    // Cleared.
    const auto& cleared = jammed.See(Seen(PrinterHealth::kReady, {kReadyCode}, kNoon + 10));
    ASSERT_EQ(Kinds(cleared), (std::vector{EventKind::kHealth, EventKind::kCodeCleared}));
    EXPECT_EQ(cleared.events[1].code, kJam);
    EXPECT_EQ(cleared.events[0].previous_health, PrinterHealth::kError);
}

TEST(EventDiff, TwoCodesSwapAndACodeTwiceInOneReading) {
    Printer printer;
    printer.See(Seen(PrinterHealth::kError, {kJam, kJam}));
    ASSERT_EQ(printer.events.size(), 2u);  // one health, one code_began: the repeat counts once
    const auto& swap = printer.See(Seen(PrinterHealth::kError, {kCover}, kNoon + 5));
    ASSERT_EQ(Kinds(swap), (std::vector{EventKind::kCodeCleared, EventKind::kCodeBegan}));
    EXPECT_EQ(swap.events[0].code, kJam);
    EXPECT_EQ(swap.events[1].code, kCover);
    // A code that comes and goes within one pair of cycles: began, then cleared.
    printer.See(Seen(PrinterHealth::kError, {kCover, kJam}, kNoon + 10));
    const auto& gone = printer.See(Seen(PrinterHealth::kError, {kCover}, kNoon + 15));
    ASSERT_EQ(Kinds(gone), std::vector{EventKind::kCodeCleared});
    EXPECT_EQ(gone.events[0].code, kJam);
}

TEST(EventDiff, NothingKnownWhileSilentOrUnknownGivesNoCodeTonerOrTrayEvent) {
    for (const PrinterHealth between : {PrinterHealth::kNoResponse, PrinterHealth::kUnknown}) {
        Printer printer;
        PrinterObservation jam = Seen(PrinterHealth::kError, {kJam});
        jam.toner = TonerLevel::kLow;
        jam.trays = {{3, 0}};
        printer.See(jam);
        PrinterObservation silent = Seen(between, {}, kNoon + 5);
        silent.toner.reset();
        silent.trays = {{3, -1}};
        const auto& diff = printer.See(silent);
        ASSERT_EQ(Kinds(diff), std::vector{EventKind::kHealth}) << HealthName(between);
        EXPECT_EQ(diff.memory.codes, std::vector<int32_t>{kJam});
        EXPECT_EQ(diff.memory.toner, TonerLevel::kLow);
        // Back with the same state: only the health.
        jam.time = kNoon + 10;
        EXPECT_EQ(Kinds(printer.See(jam)), std::vector{EventKind::kHealth}) << HealthName(between);
    }
}

TEST(EventDiff, WaitingGivesNothingAndKeepsTheMemory) {
    Printer printer;
    printer.See(Seen(PrinterHealth::kError, {kJam}));
    const PrinterMemory before = printer.memory;
    EXPECT_TRUE(printer.See(Seen(PrinterHealth::kWaiting, {}, kNoon + 5)).events.empty());
    EXPECT_EQ(printer.memory, before);
}

TEST(EventDiff, TonerBetweenOkLowAndEmptyOnly) {
    Printer printer;
    PrinterObservation now = Seen(PrinterHealth::kReady);
    const std::pair<TonerLevel, TonerLevel> steps[] = {{TonerLevel::kOk, TonerLevel::kLow},
                                                       {TonerLevel::kLow, TonerLevel::kEmpty},
                                                       {TonerLevel::kEmpty, TonerLevel::kOk}};
    for (const auto& [from, to] : steps) {
        now.toner = to;
        now.time += 5;
        const auto& diff = printer.See(now);
        ASSERT_EQ(Kinds(diff), std::vector{EventKind::kToner});
        EXPECT_EQ(diff.events[0].previous_toner, from);
        EXPECT_EQ(diff.events[0].toner, to);
    }
    now.toner.reset();  // not known: never to or from unknown
    EXPECT_TRUE(printer.See(now).events.empty());
    now.toner = TonerLevel::kOk;
    EXPECT_TRUE(printer.See(now).events.empty());
}

TEST(EventDiff, TraysAtTheEdgesOfTheirLevels) {
    Printer printer;
    PrinterObservation now = Seen(PrinterHealth::kReady);
    now.trays = {{3, 1}, {4, -1}};  // 1 %: not empty; unknown: nothing
    EXPECT_TRUE(printer.See(now).events.empty());
    now.trays = {{3, 0}, {4, 0}};
    auto diff = printer.See(now);
    ASSERT_EQ(Kinds(diff), (std::vector{EventKind::kTrayEmpty, EventKind::kTrayEmpty}));
    EXPECT_EQ(diff.events[0].tray, 3);
    EXPECT_EQ(diff.events[1].tray, 4);
    now.trays = {{3, -1}, {4, 0}};  // an unknown level in between keeps the last known one
    EXPECT_TRUE(printer.See(now).events.empty());
    now.trays = {{3, 1}, {4, 100}};
    diff = printer.See(now);
    ASSERT_EQ(Kinds(diff), (std::vector{EventKind::kTrayFilled, EventKind::kTrayFilled}));
    EXPECT_EQ(diff.events[0].level, 1);
    EXPECT_EQ(diff.events[1].level, 100);
    // A tray first seen empty is empty news; one first seen full is none.
    Printer other;
    PrinterObservation first = Seen(PrinterHealth::kReady);
    first.trays = {{5, 0}, {6, 50}};
    EXPECT_EQ(Kinds(other.See(first)), std::vector{EventKind::kTrayEmpty});
}

TEST(EventDiff, PagesDailyAtTheUtcDayBoundary) {
    constexpr int64_t kDayEnd = 1796947199;  // 2026-12-10T23:59:59Z
    Printer printer;
    PrinterObservation now = Seen(PrinterHealth::kReady);
    now.counter = 1000;
    printer.See(now);
    now.counter = 1040;
    now.time = kDayEnd;
    EXPECT_TRUE(printer.See(now).events.empty());
    now.counter = 1045;  // the step over midnight counts for the next day
    now.time = kDayEnd + 1;
    const auto& diff = printer.See(now);
    ASSERT_EQ(Kinds(diff), std::vector{EventKind::kPagesDaily});
    EXPECT_EQ(diff.events[0].value, 40);
    EXPECT_EQ(DayText(*diff.events[0].day), "2026-12-10");
    // A counter that goes back counts from its new value; an absent one adds nothing.
    now.counter = 10;
    now.time += 60;
    printer.See(now);
    now.counter.reset();
    now.time += 60;
    printer.See(now);
    now.counter = 12;
    now.time += 60;
    printer.See(now);
    now.time += 86400;
    now.counter = 20;
    const auto& next = printer.See(now);
    ASSERT_EQ(Kinds(next), std::vector{EventKind::kPagesDaily});
    EXPECT_EQ(next.events[0].value, 5 + 2);
    EXPECT_EQ(DayText(*next.events[0].day), "2026-12-11");
    // A gap of more than a day: nothing counts across it, and a day without a counter gives nothing.
    now.time += 3 * 86400;
    now.counter = 5000;
    EXPECT_EQ(Kinds(printer.See(now)), std::vector{EventKind::kPagesDaily});  // the 12th (8 pages)
    now.time += 86400;
    const auto& after_gap = printer.See(now);
    ASSERT_EQ(Kinds(after_gap), std::vector{EventKind::kPagesDaily});
    EXPECT_EQ(after_gap.events[0].value, 0);
    Printer silent;
    PrinterObservation quiet = Seen(PrinterHealth::kNoResponse);
    silent.See(quiet);
    quiet.time += 86400;
    EXPECT_TRUE(silent.See(quiet).events.empty());
}

TEST(MemoryCodec, RoundTripAndDamagedRows) {
    PrinterMemory memory;
    memory.health = PrinterHealth::kNoResponse;
    memory.codes = {kJam, INT32_MIN, INT32_MAX};
    memory.toner = TonerLevel::kEmpty;
    memory.trays = {{0, -1}, {UINT16_MAX, 100}};
    memory.day = 20432;
    memory.pages = UINT64_MAX;
    memory.counter = UINT32_MAX;
    EXPECT_EQ(MemoryOfText(MemoryText(memory)), memory);
    EXPECT_EQ(MemoryOfText(MemoryText(BaselineMemory())), BaselineMemory());
    for (const char* bad : {"", "garbage", "[]", "{}", "\xff\xfe",
                            R"({"health":"waiting","codes":[],"toner":"ok","trays":[]})",
                            R"({"health":"ready","codes":[2147483648],"toner":"ok","trays":[]})",
                            R"({"health":"ready","codes":[],"toner":"ok","trays":[[1,101]]})",
                            R"({"health":"ready","codes":[],"toner":"ok","trays":[[65536,1]]})",
                            R"({"health":"ready","codes":[],"toner":"ok","trays":[],"counter":-1})",
                            R"({"health":"ready","codes":[],"toner":"ok","trays":[],"day":"x"})",
                            R"({"health":"ready","codes":[],"toner":"dim","trays":[]})"}) {
        EXPECT_EQ(MemoryOfText(bad), std::nullopt) << bad;
    }
}

TEST(EventTimes, RfcTimesAtTheirEdges) {
    EXPECT_EQ(RfcTime(kNoon), "2026-12-10T12:00:00Z");
    EXPECT_EQ(RfcTime(-1), "1969-12-31T23:59:59Z");
    EXPECT_EQ(ParseRfcTime("2026-12-10T12:00:00Z"), kNoon);
    EXPECT_EQ(ParseRfcTime("2026-12-10t13:00:00.999+01:00"), kNoon);
    EXPECT_EQ(ParseRfcTime("2026-12-10T06:30:00-05:30"), kNoon);
    EXPECT_EQ(ParseRfcTime("2026-12-10T12:00:00z"), kNoon);
    for (const char* bad : {"", "2026-12-10", "2026-12-10T12:00:00", "2026-13-10T12:00:00Z",
                            "2026-02-29T12:00:00Z", "2026-12-10T24:00:00Z", "2026-12-10T12:60:00Z",
                            "2026-12-10T12:00:00+24:00", "2026-12-10T12:00:00.Z", "2026-12-10T12:00:00Zjunk",
                            "+026-12-10T12:00:00Z", "2026-12-10T12:00:00\xff"}) {
        EXPECT_EQ(ParseRfcTime(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(ParseRfcTime("2024-02-29T00:00:00Z").has_value(), true);
}

PrinterEvent HealthEvent(PrinterHealth health, int64_t time, std::vector<int32_t> codes = {}) {
    PrinterEvent event;
    event.kind = EventKind::kHealth;
    event.printer = "p1";
    event.health = health;
    event.time = time;
    event.codes = std::move(codes);
    return event;
}

TEST(HealthSpans, OpenJoinAndClose) {
    std::optional<HealthSpan> latest;
    int64_t next = 1;
    auto changed = FollowEvent(latest, HealthEvent(PrinterHealth::kAttention, kNoon, {kReadyCode, kCover}), next);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].codes, std::vector<int32_t>{kCover});  // not the codes of normal operation
    // Worse within the join time: the same span, the worse health.
    changed = FollowEvent(latest, HealthEvent(PrinterHealth::kError, kNoon + kSpanJoinSeconds - 1, {kJam}), next);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].health, PrinterHealth::kError);
    EXPECT_EQ(changed[0].codes, (std::vector<int32_t>{kCover, kJam}));
    changed = FollowEvent(latest, HealthEvent(PrinterHealth::kReady, kNoon + 100), next);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].ended, kNoon + 100);
    // Again within the join time after it closed: opened again.
    changed = FollowEvent(latest, HealthEvent(PrinterHealth::kNoResponse, kNoon + 100 + kSpanJoinSeconds - 1), next);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].id, 1);
    EXPECT_EQ(changed[0].ended, std::nullopt);
    FollowEvent(latest, HealthEvent(PrinterHealth::kReady, kNoon + 200), next);
    // At the join time: a new span.
    changed = FollowEvent(latest, HealthEvent(PrinterHealth::kNoResponse, kNoon + 200 + kSpanJoinSeconds), next);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].id, 2);
    EXPECT_EQ(next, 3);
}

}  // namespace
}  // namespace tb58mon
