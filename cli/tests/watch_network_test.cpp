// 'tb58mon watch' against the simulated printer on real loopback sockets:
// PJL over TCP, the device ID over SNMP through a real agent (snmpd), the
// fault switches, a printer that goes away and comes back, and scenario
// changes.  Every server is started here on 127.0.0.1 and every watch is
// bounded by its deadlines and a number of cycles.
#include <gtest/gtest.h>

#include <asio.hpp>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "free_udp_port.h"
#include "commands/commands.h"
#include "run_tb58mon.h"
#include "report/record_report.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"
#include "sim/snmp_agent.h"

namespace tb58mon {
namespace {

bool HaveSnmpd() { return std::filesystem::exists(std::string(kSnmpdPath)); }

std::string Uri(const NetworkPrinter& printer) { return "socket://127.0.0.1:" + std::to_string(printer.pjl_port()); }

// watch --once --json against the printer, without SNMP.
Outcome WatchOnce(const NetworkPrinter& printer, const std::string& timeout = "2") {
    return Tb58mon({"watch", Uri(printer), "--once", "--json", "--no-snmp", "--timeout", timeout});
}

TEST(WatchNetwork, EveryScenarioGivesTheRecordAndTextsOfTheDemo) {
    if (!HaveSnmpd()) GTEST_SKIP() << "snmpd is not installed";
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    NetworkPrinter printer(LoadScenario("all-well"), config);
    for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
        const std::string name(file.name);
        SCOPED_TRACE(name);
        printer.SetScenario(LoadScenario(name));
        const Outcome watch = Tb58mon({"watch", Uri(printer), "--once", "--json", "--lang", "DE", "--timeout", "3",
                                   "--snmp-port", std::to_string(printer.snmp_port())});
        const Outcome demo = Tb58mon({"demo", "--scenario", name, "--json", "--lang", "DE", "--out", "network_test.png"});
        ASSERT_EQ(demo.code, 0) << demo.err;
        ASSERT_FALSE(watch.out.empty()) << watch.err;
        const Json w = Json::parse(watch.out);
        const Json d = Json::parse(demo.out);
        EXPECT_EQ(w["record"], d["record"]);
        EXPECT_EQ(w["status"], d["status"]);
        EXPECT_EQ(watch.code, name == "no-response" ? 3 : name == "all-well" ? 0 : 1);
    }
    std::filesystem::remove("network_test.png");
}

TEST(WatchNetwork, WithoutSnmpTheDeviceIdGoesUnanswered) {
    NetworkPrinter printer(LoadScenario("jam-tray2-lct"), {});
    const Outcome watch = WatchOnce(printer);
    ASSERT_FALSE(watch.out.empty()) << watch.err;
    const Json w = Json::parse(watch.out);
    EXPECT_TRUE(w["state"]["response"]);
    EXPECT_TRUE(w["record"]["pEngineStatus"].empty());  // the codes come with the device ID
    EXPECT_FALSE(w["record"]["pTrayInfo"].empty());     // the PJL part arrived
    EXPECT_EQ(w["rounds"][0]["device_id_note"], "SNMP is off (--no-snmp)");
}

TEST(WatchNetwork, FaultsThatStillGiveTheWholeReply) {
    NetworkPrinter clean_printer(LoadScenario("maximal"), {});
    const Json clean = Json::parse(WatchOnce(clean_printer).out);
    ASSERT_TRUE(clean["state"]["response"]);
    auto with = [](auto set) {
        FaultSwitches faults;
        set(faults);
        return faults;
    };
    const std::pair<const char*, FaultSwitches> cases[] = {
        {"trickle", with([](FaultSwitches& f) { f.trickle = true; })},
        {"ustatus", with([](FaultSwitches& f) { f.ustatus = true; })},
        {"nul-prefix", with([](FaultSwitches& f) { f.nul_prefix = true; })},
        {"all three", with([](FaultSwitches& f) { f.trickle = f.ustatus = f.nul_prefix = true; })},
    };
    for (const auto& [name, faults] : cases) {
        SCOPED_TRACE(name);
        NetworkPrinterConfig config;
        config.faults = faults;
        NetworkPrinter printer(LoadScenario("maximal"), config);
        const Outcome watch = WatchOnce(printer, "10");
        ASSERT_FALSE(watch.out.empty()) << watch.err;
        const Json w = Json::parse(watch.out);
        EXPECT_TRUE(w["state"]["response"]) << w["state"]["reason"];
        EXPECT_EQ(w["record"], clean["record"]);
        if (faults.ustatus) {
            EXPECT_TRUE(w["state"]["ustatus"].is_string());
        }
    }
}

TEST(WatchNetwork, FaultsThatEndInNoResponse) {
    auto with = [](auto set) {
        FaultSwitches faults;
        set(faults);
        return faults;
    };
    const std::tuple<const char*, FaultSwitches, const char*> cases[] = {
        {"refuse", with([](FaultSwitches& f) { f.refuse = true; }), "connection refused"},
        {"drop-after", with([](FaultSwitches& f) { f.drop_after = 100; }), "closed before the reply ended"},
        {"stall-after", with([](FaultSwitches& f) { f.stall_after = 100; }), "timed out"},
        {"no-ff", with([](FaultSwitches& f) { f.no_ff = true; }), "reply not accepted"},
        {"garbage", with([](FaultSwitches& f) { f.garbage = true; }), "reply not accepted"},
        {"huge", with([](FaultSwitches& f) { f.huge = 3u << 20; }), "reply too large"},
    };
    for (const auto& [name, faults, reason] : cases) {
        SCOPED_TRACE(name);
        NetworkPrinterConfig config;
        config.faults = faults;
        NetworkPrinter printer(LoadScenario("all-well"), config);
        const Outcome watch = WatchOnce(printer, "1");
        EXPECT_EQ(watch.code, 3) << watch.err;
        ASSERT_FALSE(watch.out.empty()) << watch.err;
        const Json w = Json::parse(watch.out);
        EXPECT_FALSE(w["state"]["response"]);
        EXPECT_NE(w["state"]["reason"].get<std::string>().find(reason), std::string::npos) << w["state"]["reason"];
        EXPECT_EQ(w["record"]["bNoResponse"], 1);
        // Nothing of a round that did not complete reached the record.
        EXPECT_TRUE(w["record"]["pTrayInfo"].empty());
        EXPECT_EQ(w["status"]["short"], "No Response from Machine");
    }
}

// Runs a watch of JSON lines on another thread while the test changes the
// printer; returns the lines.
class WatchThread {
public:
    WatchThread(const NetworkPrinter& printer, int cycles)
        : thread_([this, uri = Uri(printer), cycles] {
              std::ostringstream err;
              std::vector<std::string> args = {"tb58mon", "watch", uri, "--json", "--no-snmp", "--interval", "0.1",
                                               "--timeout", "1", "--cycles", std::to_string(cycles)};
              std::vector<const char*> argv;
              for (const std::string& arg : args) argv.push_back(arg.c_str());
              code_ = RunTb58mon(static_cast<int>(argv.size()), argv.data(), out_, err);
          }) {}
    ~WatchThread() {
        if (thread_.joinable()) thread_.join();
    }
    std::vector<Json> Lines() {
        thread_.join();
        std::vector<Json> lines;
        std::istringstream in(out_.str());
        for (std::string line; std::getline(in, line);) lines.push_back(Json::parse(line));
        return lines;
    }

private:
    std::ostringstream out_;
    int code_ = -1;
    std::thread thread_;
};

// Waits (at most 10 s) until the printer has accepted count connections.
void WaitForConnections(const NetworkPrinter& printer, size_t count) {
    for (int i = 0; i < 1000 && printer.connections() < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TEST(WatchNetwork, FollowsAPrinterThatGoesAwayAndComesBack) {
    NetworkPrinter printer(LoadScenario("all-well"), {});
    WatchThread watch(printer, 12);
    // The first cycle (two rounds, a connection each) is over once the
    // third connection comes: switching off then cannot cut it.
    WaitForConnections(printer, 3);
    printer.SetAvailable(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    printer.SetAvailable(true);
    const std::vector<Json> lines = watch.Lines();
    // Answered, then without response (a round cut as the printer went,
    // then refused: a line each where the reason changed), then answered.
    std::vector<bool> responses;
    bool refused = false;
    for (const Json& line : lines) {
        if (responses.empty() || responses.back() != line["response"].get<bool>()) responses.push_back(line["response"]);
        if (line["response"]) continue;
        EXPECT_EQ(line["short"], "No Response from Machine");
        refused = refused || line["reason"].get<std::string>().find("connection refused") != std::string::npos;
        // Going away changes only the status: the trays are what they were.
        EXPECT_EQ(line["trays"], lines[0]["trays"]);
    }
    EXPECT_EQ(responses, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(refused);
}

TEST(WatchNetwork, ReportsScenarioChangesInOrder) {
    if (!HaveSnmpd()) GTEST_SKIP() << "snmpd is not installed";
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    NetworkPrinter printer(LoadScenario("all-well"), config);
    std::ostringstream out;
    std::ostringstream err;
    std::thread runner([&] {
        const std::string uri = Uri(printer);
        const std::string port = std::to_string(printer.snmp_port());
        const char* argv[] = {"tb58mon", "watch", uri.c_str(), "--interval", "0.1", "--timeout", "2", "--snmp-port",
                              port.c_str(), "--cycles", "30", "--out", "watch_network_test.png"};
        RunTb58mon(static_cast<int>(std::size(argv)), argv, out, err);
    });
    WaitForConnections(printer, 4);
    printer.SetScenario(LoadScenario("jam-tray2-lct"));
    WaitForConnections(printer, 12);
    printer.SetScenario(LoadScenario("all-well"));
    runner.join();
    const std::string text = out.str();
    const size_t ready = text.find("status: Operational | Ready");
    const size_t jam = text.find("status: Paper Misfeed", ready);
    const size_t cleared = text.find("status: Operational | Ready", jam);
    EXPECT_NE(ready, std::string::npos) << text << err.str();
    EXPECT_NE(jam, std::string::npos) << text;
    EXPECT_NE(cleared, std::string::npos) << text;
    EXPECT_TRUE(std::filesystem::exists("watch_network_test.png"));
    std::filesystem::remove("watch_network_test.png");
}

}  // namespace
}  // namespace tb58mon
