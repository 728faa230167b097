// 'tb58mon watch' never claims what it does not know, and keeps to its
// deadline: a printer whose status codes could not be read (no SNMP, an
// agent that does not answer, a device ID without a readable STS field) is
// "unknown" with exit code 1 and the reason, never "ready"; --timeout bounds
// the whole check, every round and the SNMP requests together.  Servers are
// started here on 127.0.0.1; every watch is bounded by its --timeout.
#include <gtest/gtest.h>

#include <asio.hpp>

#include <chrono>
#include <filesystem>

#include "free_udp_port.h"
#include "report/record_report.h"
#include "run_tb58mon.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"
#include "sim/snmp_agent.h"

namespace tb58mon {
namespace {

using Clock = std::chrono::steady_clock;

std::string Uri(const NetworkPrinter& printer) { return "socket://127.0.0.1:" + std::to_string(printer.pjl_port()); }

bool HaveSnmpd() { return std::filesystem::exists(std::string(kSnmpdPath)); }

// The jammed printer of the table: whatever keeps its codes from coming,
// the answer is "unknown", exit 1, with the reason; never "ready".
void ExpectUnknown(const Outcome& text, const Outcome& json, const std::string& reason) {
    EXPECT_EQ(text.code, 1) << text.out << text.err;
    EXPECT_NE(text.out.find("status: unknown  (status codes not read: " + reason), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("toner: unknown"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("Operational"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("toner: ok"), std::string::npos) << text.out;
    EXPECT_EQ(json.code, 1);
    ASSERT_FALSE(json.out.empty()) << json.err;
    const Json state = Json::parse(json.out)["state"];
    EXPECT_TRUE(state["response"]);
    EXPECT_FALSE(state["status_known"]);
    EXPECT_NE(state["status_note"].get<std::string>().find(reason), std::string::npos) << state;
    EXPECT_TRUE(state["short"].is_null());
    EXPECT_TRUE(state["toner"].is_null());
    EXPECT_FALSE(state["trays"].empty());  // what the PJL part gave is shown
}

TEST(WatchStatusKnown, WithoutSnmpAJammedPrinterIsUnknown) {
    NetworkPrinter printer(LoadScenario("jam-tray2-lct"), {});
    const std::vector<std::string> args = {"watch", Uri(printer), "--once", "--no-snmp", "--timeout", "3"};
    std::vector<std::string> json_args = args;
    json_args.push_back("--json");
    ExpectUnknown(Tb58mon(args), Tb58mon(json_args), "SNMP is off (--no-snmp)");
}

TEST(WatchStatusKnown, ASilentSnmpPortLeavesTheStatusUnknown) {
    NetworkPrinter printer(LoadScenario("jam-tray2-lct"), {});
    // A port that takes the requests and never answers.
    asio::io_context io;
    asio::ip::udp::socket silent(io, asio::ip::udp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    const std::string port = std::to_string(silent.local_endpoint().port());
    const std::vector<std::string> args = {"watch", Uri(printer), "--once", "--snmp-port", port, "--timeout", "1.5"};
    std::vector<std::string> json_args = args;
    json_args.push_back("--json");
    ExpectUnknown(Tb58mon(args), Tb58mon(json_args), "SNMP did not answer");
}

TEST(WatchStatusKnown, ADeviceIdWithoutReadableCodesLeavesTheStatusUnknown) {
    if (!HaveSnmpd()) GTEST_SKIP() << "snmpd is not installed";
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    NetworkPrinter printer(LoadScenario("all-well"), config);
    const std::vector<std::vector<int32_t>> unreadable = {{}, {0}, {10001, 0}, {-5}};
    for (const auto& codes : unreadable) {
        SCOPED_TRACE(codes.size());
        Scenario scenario = LoadScenario("jam-tray2-lct");
        scenario.status_codes = codes;
        printer.SetScenario(scenario);
        const std::vector<std::string> args = {"watch", Uri(printer), "--once", "--timeout", "3",
                                               "--snmp-port", std::to_string(printer.snmp_port())};
        std::vector<std::string> json_args = args;
        json_args.push_back("--json");
        ExpectUnknown(Tb58mon(args), Tb58mon(json_args), "the device ID has no readable STS field");
    }
    // A readable one is read.
    printer.SetScenario(LoadScenario("jam-tray2-lct"));
    const Outcome jam = Tb58mon({"watch", Uri(printer), "--once", "--json", "--timeout", "3", "--snmp-port",
                                 std::to_string(printer.snmp_port())});
    EXPECT_EQ(jam.code, 1);
    const Json state = Json::parse(jam.out)["state"];
    EXPECT_TRUE(state["status_known"]);
    EXPECT_EQ(state["codes"], Json::array({42000}));
}

// A printer that answers each round after 80 % of the timeout: the first
// round comes, the second cannot within the same deadline.
TEST(WatchDeadline, TheTimeoutBoundsTheWholeCheck) {
    NetworkPrinterConfig config;
    config.faults.delay_ms = 800;
    NetworkPrinter printer(LoadScenario("all-well"), config);
    const auto started = Clock::now();
    const Outcome watch = Tb58mon({"watch", Uri(printer), "--once", "--json", "--no-snmp", "--timeout", "1"});
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    EXPECT_EQ(watch.code, 3) << watch.out << watch.err;
    // Each round after 0.8 s would take 2.4 s for three rounds; the whole
    // check ends at its deadline (the bound leaves room for a slow machine).
    EXPECT_LT(seconds, 1.9);
    ASSERT_FALSE(watch.out.empty()) << watch.err;
    const Json w = Json::parse(watch.out);
    EXPECT_NE(w["state"]["reason"].get<std::string>().find("timed out"), std::string::npos) << w["state"]["reason"];
    ASSERT_EQ(w["rounds"].size(), 2u);
    EXPECT_EQ(w["rounds"][0]["outcome"], "answered");
    EXPECT_EQ(w["rounds"][1]["outcome"], "timed out");
}

TEST(WatchDeadline, ASilentSnmpAgentCannotStretchTheCheck) {
    NetworkPrinter printer(LoadScenario("all-well"), {});
    asio::io_context io;
    asio::ip::udp::socket silent(io, asio::ip::udp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    const auto started = Clock::now();
    const Outcome watch = Tb58mon({"watch", Uri(printer), "--once", "--timeout", "0.6", "--snmp-port",
                                   std::to_string(silent.local_endpoint().port())});
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    // Two SNMP requests (one per round that asks for the device ID) of a
    // second each would take 2 s or more.
    EXPECT_LT(seconds, 1.5);
    EXPECT_EQ(watch.code, 1) << watch.out;  // answered, status unknown
}

}  // namespace
}  // namespace tb58mon
