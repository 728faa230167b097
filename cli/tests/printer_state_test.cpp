// One printer's state after a cycle, as watch and serve both read it: the
// health and toner of each kind of cycle, what a cycle without a response
// keeps, and how polling backs off.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "monitor/monitor_cycle.h"
#include "monitor/poll_schedule.h"
#include "monitor/printer_state.h"
#include "sim/scenario_library.h"
#include "transport/sim_transport.h"

namespace tb58mon {
namespace {

using std::chrono::system_clock;

const system_clock::time_point kFirst = system_clock::time_point(std::chrono::seconds(1767225600));
const system_clock::time_point kLater = kFirst + std::chrono::seconds(5);

// The state after one cycle of a built-in scenario, from a state before.
PrinterState AfterScenario(const std::string& name, const PrinterState& before = {}) {
    OwnedRecord record;
    const auto printer = OpenSimTransport(LoadScenario(name));
    const MonitorCycle cycle =
        RunMonitorCycle(record.get(), *printer, std::chrono::steady_clock::now() + std::chrono::seconds(5));
    EXPECT_FALSE(cycle.no_response) << cycle.reason;
    return StateAfterCycle(before, *record.get(), cycle, kFirst);
}

TEST(PrinterState, EachKindOfCycleGivesItsHealthAndToner) {
    const PrinterState well = AfterScenario("all-well");
    EXPECT_EQ(well.health, PrinterHealth::kReady);
    ASSERT_TRUE(well.toner.has_value());
    EXPECT_EQ(*well.toner, TonerLevel::kOk);
    EXPECT_FALSE(well.trays.empty());
    EXPECT_EQ(well.last_poll, kFirst);
    EXPECT_EQ(well.last_contact, kFirst);

    const PrinterState low = AfterScenario("toner-low");
    EXPECT_EQ(low.health, PrinterHealth::kAttention);
    ASSERT_TRUE(low.toner.has_value());
    EXPECT_EQ(*low.toner, TonerLevel::kLow);

    const PrinterState service = AfterScenario("service-call");
    EXPECT_TRUE(service.health == PrinterHealth::kError || service.health == PrinterHealth::kAttention);
    EXPECT_FALSE(service.codes.empty());
}

TEST(PrinterState, ACycleWithoutAResponseKeepsWhatWasKnown) {
    const PrinterState before = AfterScenario("toner-low");
    ASSERT_FALSE(before.trays.empty());
    ASSERT_TRUE(before.counter.has_value());

    OwnedRecord fresh;
    MonitorCycle silent;
    silent.no_response = true;
    silent.reason = "timed out after 5 s";
    const PrinterState after = StateAfterCycle(before, *fresh.get(), silent, kLater);
    EXPECT_EQ(after.health, PrinterHealth::kNoResponse);
    EXPECT_EQ(after.reason, "timed out after 5 s");
    EXPECT_EQ(after.last_poll, kLater);
    EXPECT_EQ(after.last_contact, kFirst);  // the last time it answered
    ASSERT_EQ(after.trays.size(), before.trays.size());
    for (size_t i = 0; i < after.trays.size(); ++i) {
        EXPECT_EQ(after.trays[i].code, before.trays[i].code);
        EXPECT_EQ(after.trays[i].level, before.trays[i].level);
    }
    EXPECT_EQ(after.bins.size(), before.bins.size());
    EXPECT_EQ(after.toner, before.toner);
    EXPECT_EQ(after.counter, before.counter);

    // A printer that never answered knows nothing.
    const PrinterState never = StateAfterCycle(PrinterState{}, *fresh.get(), silent, kLater);
    EXPECT_TRUE(never.trays.empty());
    EXPECT_FALSE(never.toner.has_value());
    EXPECT_FALSE(never.last_contact.has_value());
}

TEST(PrinterState, UnreadStatusCodesClaimNothingOfTheState) {
    OwnedRecord record;
    const auto printer = OpenSimTransport(LoadScenario("toner-low"));
    MonitorCycle cycle =
        RunMonitorCycle(record.get(), *printer, std::chrono::steady_clock::now() + std::chrono::seconds(5));
    cycle.status_read = false;
    cycle.status_note = "status codes not read: no device ID";
    const PrinterState state = StateAfterCycle(PrinterState{}, *record.get(), cycle, kFirst);
    EXPECT_EQ(state.health, PrinterHealth::kUnknown);
    EXPECT_EQ(state.reason, "status codes not read: no device ID");
    EXPECT_FALSE(state.toner.has_value());
    EXPECT_FALSE(state.trays.empty());  // the configuration came
}

TEST(PrinterState, TheErrorFlagOutranksAttention) {
    OwnedRecord record;
    const auto printer = OpenSimTransport(LoadScenario("all-well"));
    const MonitorCycle cycle =
        RunMonitorCycle(record.get(), *printer, std::chrono::steady_clock::now() + std::chrono::seconds(5));
    record.get()->bError = 1;
    EXPECT_EQ(StateAfterCycle(PrinterState{}, *record.get(), cycle, kFirst).health, PrinterHealth::kError);
    record.get()->bError = 0;
    record.get()->bOffline = 1;
    EXPECT_EQ(StateAfterCycle(PrinterState{}, *record.get(), cycle, kFirst).health, PrinterHealth::kAttention);
}

TEST(PollSchedule, TheWaitDoublesUpToEightIntervals) {
    EXPECT_EQ(FailuresAfter(0, false), 1);
    EXPECT_EQ(FailuresAfter(1, false), 2);
    EXPECT_EQ(FailuresAfter(kLongestBackOff - 1, false), kLongestBackOff);
    EXPECT_EQ(FailuresAfter(kLongestBackOff, false), kLongestBackOff);
    EXPECT_EQ(FailuresAfter(-5, false), 1);
    EXPECT_EQ(FailuresAfter(kLongestBackOff, true), 0);
    EXPECT_EQ(FailuresAfter(0, true), 0);
    EXPECT_EQ(BackOffFactor(0), 1.0);
    EXPECT_EQ(BackOffFactor(1), 2.0);
    EXPECT_EQ(BackOffFactor(kLongestBackOff), 8.0);
    EXPECT_EQ(BackOffFactor(kLongestBackOff + 1), 8.0);
    EXPECT_EQ(BackOffFactor(-1), 1.0);
}

TEST(PollSchedule, EverySettingReachesTheTransport) {
    PrinterSettings settings;
    settings.snmp = false;
    settings.community = "print";
    settings.snmp_port = 1161;
    settings.snmp_version = "1";
    const TransportOptions options = TransportOptionsOf(settings, 4096);
    EXPECT_EQ(options.max_reply, 4096u);
    EXPECT_FALSE(options.snmp);
    EXPECT_EQ(options.community, "print");
    EXPECT_EQ(options.snmp_port, 1161u);
    EXPECT_EQ(options.snmp_version, "1");
    EXPECT_EQ(TransportOptionsOf(PrinterSettings{}, 1).snmp_version, "2c");
}

}  // namespace
}  // namespace tb58mon
