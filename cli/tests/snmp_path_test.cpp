// The two paths to a printer agree: for every built-in scenario, watch
// over snmp:// (the MIB through the library's printer-management path) and
// over socket:// (PJL replies and the device ID) show the same status
// texts, codes, trays, toner, counter and picture.  What differs by design
// is listed in docs/monitor.md: a bin holding prints reads as ready over
// SNMP (the management record knows full or not full only), and the
// record's own fields that PJL alone brings (firmware, emulations, tray
// roles and locks, the level marks of the record).  The agent is a real
// snmpd on 127.0.0.1 started by the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <Tb58Wk31.h>

#include "free_udp_port.h"
#include "report/record_report.h"
#include "run_tb58mon.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"
#include "sim/snmp_agent.h"
#include "snmp_test_client.h"

namespace tb58mon {
namespace {

bool HaveSnmpd() { return std::filesystem::exists(std::string(kSnmpdPath)); }

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

Json Watch(const std::string& uri, const NetworkPrinter& printer, const std::string& picture) {
    const Outcome watch = Tb58mon({"watch", uri, "--once", "--json", "--lang", "DE", "--timeout", "4", "--snmp-port",
                                   std::to_string(printer.snmp_port()), "--out", picture});
    EXPECT_FALSE(watch.out.empty()) << watch.err;
    return watch.out.empty() ? Json::object() : Json::parse(watch.out);
}

TEST(SnmpPath, AgreesWithThePjlPathOnEveryScenario) {
    if (!HaveSnmpd()) GTEST_SKIP() << "snmpd is not installed";
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    NetworkPrinter printer(LoadScenario("all-well"), config);
    const std::string snmp_uri = "snmp://127.0.0.1:" + std::to_string(printer.snmp_port());
    const std::string pjl_uri = "socket://127.0.0.1:" + std::to_string(printer.pjl_port());
    for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
        const std::string name(file.name);
        if (name == "no-response") continue;  // its agent answers, its PJL port does not: below
        SCOPED_TRACE(name);
        printer.SetScenario(LoadScenario(name));
        const Json snmp = Watch(snmp_uri, printer, "snmp_path.png");
        const Json pjl = Watch(pjl_uri, printer, "pjl_path.png");
        ASSERT_TRUE(snmp.contains("state") && pjl.contains("state"));
        const Json& a = snmp["state"];
        const Json& b = pjl["state"];
        for (const char* field : {"response", "status_known", "short", "long", "codes", "toner", "counter"}) {
            EXPECT_EQ(a[field], b[field]) << field;
        }
        // Tray roles (cover, chapter, slip sheet) and locks come over PJL only.
        ASSERT_EQ(a["trays"].size(), b["trays"].size());
        for (size_t i = 0; i < a["trays"].size(); ++i) {
            EXPECT_EQ(a["trays"][i]["name"], b["trays"][i]["name"]);
            EXPECT_TRUE(b["trays"][i]["state"].get<std::string>().starts_with(a["trays"][i]["state"].get<std::string>()))
                << a["trays"][i]["state"] << " against " << b["trays"][i]["state"];
        }
        EXPECT_EQ(snmp["status"], pjl["status"]);
        ASSERT_EQ(a["bins"].size(), b["bins"].size());
        for (size_t i = 0; i < a["bins"].size(); ++i) {
            EXPECT_EQ(a["bins"][i]["name"], b["bins"][i]["name"]);
            const bool full = b["bins"][i]["state"] == "FULL";
            EXPECT_EQ(a["bins"][i]["state"], full ? "FULL" : "READY");
        }
        // The picture shows the options; the MIB does not show a disk, the
        // standard output tray, the booklet processor or the Z-folding unit.
        bool hidden_option = false;
        for (const Json& option : pjl["record"]["pDeviceInfo"]) {
            const int code = option["wOptionCode"].get<int>();
            hidden_option = hidden_option || code == TB58_OPTION_DISK || code == TB58_OPTION_STANDARD_OUTPUT_TRAY ||
                            code == TB58_OPTION_BOOKLET_PROCESSOR || code == TB58_OPTION_Z_FOLDING_UNIT;
        }
        if (!hidden_option) {
            EXPECT_TRUE(FileBytes("snmp_path.png") == FileBytes("pjl_path.png")) << "the pictures differ";
        }
    }
    std::filesystem::remove("snmp_path.png");
    std::filesystem::remove("pjl_path.png");
}

TEST(SnmpPath, AnswersWhereThePjlPortIsSilent) {
    if (!HaveSnmpd()) GTEST_SKIP() << "snmpd is not installed";
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    NetworkPrinter printer(LoadScenario("tray-empty"), config);
    printer.SetAvailable(false);  // the PJL port is closed; the agent still runs
    const Outcome watch = Tb58mon({"watch", "snmp://127.0.0.1:" + std::to_string(printer.snmp_port()), "--once",
                                   "--json", "--timeout", "4"});
    ASSERT_FALSE(watch.out.empty()) << watch.err;
    const Json w = Json::parse(watch.out);
    EXPECT_TRUE(w["state"]["response"]);
    EXPECT_EQ(w["rounds"].size(), 1u);
    EXPECT_EQ(w["rounds"][0]["title"], "printer MIB over SNMP");
}

TEST(SnmpPath, SilentAgentIsNoResponseWithinTheDeadline) {
    if (!HaveSnmpd()) GTEST_SKIP() << "snmpd is not installed";
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    NetworkPrinter printer(LoadScenario("all-well"), config);
    FaultSwitches faults;
    faults.snmp_silent = true;
    printer.SetFaults(faults);
    const auto started = std::chrono::steady_clock::now();
    const Outcome watch = Tb58mon({"watch", "snmp://127.0.0.1:" + std::to_string(printer.snmp_port()), "--once",
                                   "--json", "--timeout", "1"});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));  // a bound, not a speed goal
    ASSERT_FALSE(watch.out.empty()) << watch.err;
    const Json w = Json::parse(watch.out);
    EXPECT_FALSE(w["state"]["response"]);
    EXPECT_EQ(watch.code, 3);
}

TEST(SnmpPath, HostileAgentsGiveWhatCouldBeRead) {
    if (!HaveSnmpd()) GTEST_SKIP() << "snmpd is not installed";
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    NetworkPrinter printer(LoadScenario("maximal"), config);
    const std::string uri = "snmp://127.0.0.1:" + std::to_string(printer.snmp_port());
    const auto with = [](auto set) {
        FaultSwitches faults;
        set(faults);
        return faults;
    };
    const std::pair<const char*, FaultSwitches> cases[] = {
        {"10,000 rows", with([](FaultSwitches& f) { f.snmp_rows = 10000; })},
        {"wrong types", with([](FaultSwitches& f) { f.snmp_wrong_types = true; })},
        {"extreme numbers", with([](FaultSwitches& f) { f.snmp_extreme = true; })},
    };
    for (const auto& [name, faults] : cases) {
        SCOPED_TRACE(name);
        printer.SetFaults(faults);
        // The simulated agent's responders read their new data (20,000 rows)
        // at the first request after the change, one after the other: on a
        // loaded machine that alone can outlast a request's tries.  The
        // test is of the monitor, so the agent is asked once first.
        ASSERT_TRUE(SnmpGet(printer.snmp_port(), PrinterMibScalars(), std::chrono::seconds(20)).answered);
        const auto started = std::chrono::steady_clock::now();
        const Outcome watch = Tb58mon({"watch", uri, "--once", "--json", "--timeout", "10"});
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));  // a bound, not a speed goal
        ASSERT_FALSE(watch.out.empty()) << watch.err;
        const Json w = Json::parse(watch.out);
        EXPECT_TRUE(w["state"]["response"]) << watch.out;
        EXPECT_LE(w["state"]["trays"].size(), 64u);
        for (const Json& tray : w["state"]["trays"]) {
            EXPECT_EQ(tray["state"].get<std::string>().find("-1"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace tb58mon
