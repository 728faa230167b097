// 'tb58mon check -H HOST -p PORT' against the simulated printer on loopback
// sockets: a printer switched off under each --offline choice, a printer
// whose status codes cannot be read (no SNMP), and with a real SNMP agent
// the states of the scenarios.  Every server is started here on 127.0.0.1.
#include <gtest/gtest.h>

#include <asio.hpp>

#include <filesystem>

#include "free_udp_port.h"
#include "run_tb58mon.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"
#include "sim/snmp_agent.h"

namespace tb58mon {
namespace {

Outcome Check(const NetworkPrinter& printer, std::vector<std::string> more) {
    std::vector<std::string> args = {"check", "-H", "127.0.0.1", "-p", std::to_string(printer.pjl_port()), "-t", "3"};
    args.insert(args.end(), more.begin(), more.end());
    return Tb58mon(args);
}

TEST(CheckNetwork, SwitchedOffTakesTheOfflineChoice) {
    NetworkPrinter printer(LoadScenario("all-well"), {});
    printer.SetAvailable(false);
    const std::pair<const char*, int> choices[] = {{"ok", 0}, {"warning", 1}, {"critical", 2}};
    for (const auto& [choice, code] : choices) {
        const Outcome run = Check(printer, {"--no-snmp", "--offline", choice});
        EXPECT_EQ(run.code, code) << run.out;
        EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << run.out;
    }
    const Outcome fallback = Check(printer, {"--no-snmp"});
    EXPECT_EQ(fallback.code, 2) << fallback.out;
    EXPECT_TRUE(fallback.out.starts_with("TB58 CRITICAL - ")) << fallback.out;
    EXPECT_NE(fallback.out.find(" | pages=U"), std::string::npos) << fallback.out;
}

TEST(CheckNetwork, StatusCodesNotReadIsAWarning) {
    NetworkPrinter printer(LoadScenario("jam-tray2-lct"), {});
    const Outcome run = Check(printer, {"--no-snmp"});
    EXPECT_EQ(run.code, 1) << run.out;
    EXPECT_TRUE(run.out.starts_with("TB58 WARNING - status codes not read")) << run.out;
    // The counter comes with the device ID; the trays are known.
    EXPECT_NE(run.out.find(" | pages=U tray1=80%;;;0;100 "), std::string::npos) << run.out;
}

TEST(CheckNetwork, WithSnmpTheScenariosGiveTheirStates) {
    if (!std::filesystem::exists(std::string(kSnmpdPath))) GTEST_SKIP() << "snmpd is not installed";
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    NetworkPrinter printer(LoadScenario("all-well"), config);
    const std::pair<const char*, int> cases[] = {{"all-well", 0}, {"toner-low", 1}, {"jam-tray2-lct", 2}};
    for (const auto& [scenario, code] : cases) {
        printer.SetScenario(LoadScenario(scenario));
        const Outcome run = Check(printer, {"--snmp-port", std::to_string(printer.snmp_port()), "-C", "public"});
        EXPECT_EQ(run.code, code) << scenario << ": " << run.out;
    }
    // A wrong community: the agent does not answer, so the codes are not read.
    const Outcome wrong = Check(printer, {"--snmp-port", std::to_string(printer.snmp_port()), "-C", "secret"});
    EXPECT_EQ(wrong.code, 1) << wrong.out;
}

}  // namespace
}  // namespace tb58mon
