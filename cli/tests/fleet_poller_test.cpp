// The fleet poller on real loopback sockets: printers that accept a
// connection and never answer cannot hold back those that answer; a printer
// removed while its cycle waits gives its room back; a printer whose status
// codes cannot be read is "unknown" in the JSON and the metrics, never
// "ready".  Every printer is started here on 127.0.0.1; every wait is
// bounded.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include "report/record_report.h"
#include "serve/fleet_poller.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;
using SystemClock = std::chrono::system_clock;

struct TestFleet {
    std::vector<std::unique_ptr<NetworkPrinter>> printers;
    FleetConfig config;

    // Printers without SNMP: "answering" ones reply at once, "silent" ones
    // take the query and never send a byte.
    void Add(const std::string& name, bool silent, double interval, double timeout) {
        NetworkPrinterConfig network;
        if (silent) network.faults.stall_after = 0;
        printers.push_back(std::make_unique<NetworkPrinter>(LoadScenario("all-well"), network));
        PrinterConfig printer;
        printer.name = name;
        printer.uri = "socket://127.0.0.1:" + std::to_string(printers.back()->pjl_port());
        printer.settings.interval = interval;
        printer.settings.timeout = timeout;
        printer.settings.snmp = false;
        config.printers.push_back(printer);
    }
};

bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds limit = 20s) {
    for (auto waited = 0ms; waited < limit; waited += 50ms) {
        if (check()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return check();
}

std::map<std::string, std::shared_ptr<const PrinterView>> ByName(const FleetSnapshot& snapshot) {
    std::map<std::string, std::shared_ptr<const PrinterView>> views;
    for (const auto& view : snapshot.printers) views[view->name] = view;
    return views;
}

// 20 answering printers and 40 silent ones, polled every second, the silent
// ones with a three-second deadline, through room for 12 cycles (the silent
// ones alone would keep about 11 open): every answering printer is heard
// from in every interval (its last contact never two intervals old),
// however the silent ones crowd the room.
TEST(FleetPoller, SilentPrintersCannotHoldBackTheOthers) {
    TestFleet fleet;
    for (int i = 0; i < 20; ++i) fleet.Add("answering-" + std::to_string(i), false, 1, 1);
    for (int i = 0; i < 40; ++i) fleet.Add("silent-" + std::to_string(i), true, 1, 3);
    FleetMetrics metrics;
    PollerOptions options;
    options.max_in_flight = 12;
    FleetPoller poller(fleet.config, options, metrics);

    // Warm-up: the silent printers fail once and are known from then on.
    ASSERT_TRUE(WaitFor([&] {
        for (const auto& view : poller.Snapshot()->printers) {
            if (view->cycles == 0) return false;
        }
        return true;
    }));
    std::this_thread::sleep_for(3s);
    std::map<std::string, uint64_t> cycles_before;
    for (const auto& [name, view] : ByName(*poller.Snapshot())) cycles_before[name] = view->cycles;

    double oldest = 0;
    for (int sample = 0; sample < 50; ++sample) {
        std::this_thread::sleep_for(100ms);
        const auto now = SystemClock::now();
        for (const auto& view : poller.Snapshot()->printers) {
            if (!view->name.starts_with("answering")) continue;
            ASSERT_TRUE(view->last_contact.has_value()) << view->name;
            oldest = std::max(oldest, std::chrono::duration<double>(now - *view->last_contact).count());
        }
    }
    EXPECT_LT(oldest, 2.0) << "an answering printer went unheard for two intervals";
    for (const auto& [name, view] : ByName(*poller.Snapshot())) {
        if (name.starts_with("answering")) {
            EXPECT_GE(view->cycles, cycles_before[name] + 3) << name;
            EXPECT_EQ(view->health, PrinterHealth::kUnknown) << name;  // no SNMP: no status codes
        } else {
            EXPECT_EQ(view->health, PrinterHealth::kNoResponse) << name;
            EXPECT_EQ(view->failure_kind, "timed out") << name;
        }
    }
}

// A printer removed while its cycle waits on a silent printer gives its
// room back at once: with room for one cycle, the answering printer that
// stays is polled again after the reload.
TEST(FleetPoller, RemovedPrintersGiveTheirRoomBack) {
    TestFleet fleet;
    fleet.Add("answering", false, 0.3, 1);
    for (int i = 0; i < 3; ++i) fleet.Add("silent-" + std::to_string(i), true, 0.3, 30);
    FleetMetrics metrics;
    PollerOptions options;
    options.max_in_flight = 2;
    FleetPoller poller(fleet.config, options, metrics);
    // The silent printers' cycles (30 s deadlines) fill the room.
    ASSERT_TRUE(WaitFor([&] { return fleet.printers[1]->connections() + fleet.printers[2]->connections() +
                                          fleet.printers[3]->connections() >= 2; }));
    FleetConfig answering_only;
    answering_only.printers.push_back(fleet.config.printers[0]);
    poller.Reload(answering_only);
    const auto cycles = [&] { return poller.Snapshot()->printers.at(0)->cycles; };
    const uint64_t before = cycles();
    EXPECT_TRUE(WaitFor([&] { return cycles() >= before + 3; }, 5s)) << "the removed printers kept their room";
    EXPECT_EQ(poller.Snapshot()->printers.size(), 1u);
}

// The state of a printer whose status codes could not be read.
TEST(FleetPoller, AnUnreadStatusIsUnknownInTheJsonAndTheMetrics) {
    TestFleet fleet;
    fleet.Add("no-snmp", false, 0.3, 2);
    FleetMetrics metrics;
    FleetPoller poller(fleet.config, {}, metrics);
    ASSERT_TRUE(WaitFor([&] { return poller.Snapshot()->printers.at(0)->cycles > 0; }));
    const PrinterView& view = *poller.Snapshot()->printers.at(0);
    EXPECT_EQ(view.health, PrinterHealth::kUnknown);
    EXPECT_EQ(HealthName(view.health), "unknown");
    const Json json = PrinterJson(view, "EN", false);
    EXPECT_EQ(json["state"], "unknown");
    EXPECT_TRUE(json["response"]);
    EXPECT_EQ(json["reason"], "status codes not read: SNMP is off (--no-snmp)");
    EXPECT_TRUE(json["short"].is_null());
    EXPECT_TRUE(json["toner"].is_null());
    EXPECT_TRUE(json["error"].is_null());
    EXPECT_FALSE(json["trays"].empty());

    const std::string text = metrics.Text();
    EXPECT_NE(text.find("tb58_printer_health{health=\"unknown\",printer=\"no-snmp\"} 1"), std::string::npos) << text;
    EXPECT_NE(text.find("tb58_printer_health{health=\"ready\",printer=\"no-snmp\"} 0"), std::string::npos);
    EXPECT_NE(text.find("tb58_printer_up{printer=\"no-snmp\"} 1"), std::string::npos);
    for (const char* claim : {"tb58_printer_toner_state{", "tb58_printer_error{", "tb58_printer_engine_status_code{"}) {
        EXPECT_EQ(text.find(claim), std::string::npos) << claim;
    }
}

}  // namespace
}  // namespace tb58mon
