// 'tb58mon watch' against a printer whose texts carry escape sequences, a
// carriage return and C1 controls (in its device ID and its unsolicited
// status): the text lines show none of them, the JSON escapes them.  The
// printer is the network printer on 127.0.0.1 with its snmpd.
#include <gtest/gtest.h>

#include <asio.hpp>

#include <filesystem>
#include <string>

#include "free_udp_port.h"
#include "run_tb58mon.h"
#include "report/record_report.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"
#include "sim/snmp_agent.h"

namespace tb58mon {
namespace {

TEST(WatchHostileText, ControlCharactersOfThePrinterNeverReachTheTerminal) {
    if (!std::filesystem::exists(std::string(kSnmpdPath))) GTEST_SKIP() << "snmpd is not installed";
    Scenario scenario = LoadScenario("service-call");
    // The panel text (the library shows its last word): clear the screen,
    // turn red, go back to the start of the line and write a forged one,
    // DEL, CSI as a C1 character and as a raw byte.
    scenario.display = "Call Service SC541\x1b[2J\x1b[31m\rFORGED\x7f\xC2\x9B" "1m\x9b" "2J";
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    config.faults.ustatus = true;
    const NetworkPrinter printer(scenario, config);
    const std::string uri = "socket://127.0.0.1:" + std::to_string(printer.pjl_port());
    const std::string snmp_port = std::to_string(printer.snmp_port());

    // One cycle of the running monitor: the status and the unsolicited status.
    const Outcome text = Tb58mon({"watch", uri, "--cycles", "1", "--timeout", "3", "--snmp-port", snmp_port});
    EXPECT_EQ(text.code, 0) << text.err;
    // (The agent turns the CR into a blank, the unsolicited status line drops it.)
    EXPECT_NE(text.out.find("SC541?[2J?[31m FORGED?"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("unsolicited status: "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("DISPLAY=\"Call Service SC541?[2J?[31mFORGED??1m\xEF\xBF\xBD" "2J\""),
              std::string::npos)
        << text.out;
    for (const char* hidden : {"\x1b", "\r", "\x7f", "\xC2\x9B", "\x9b"}) {
        EXPECT_EQ(text.out.find(hidden), std::string::npos) << static_cast<int>(hidden[0]) << " in " << text.out;
    }
    const Outcome once = Tb58mon({"watch", uri, "--once", "--timeout", "3", "--snmp-port", snmp_port});
    EXPECT_EQ(once.code, 1) << once.err;
    EXPECT_EQ(once.out.find('\x1b'), std::string::npos) << once.out;

    // JSON keeps the text and escapes what needs it.
    const Outcome json = Tb58mon({"watch", uri, "--once", "--json", "--timeout", "3", "--snmp-port", snmp_port});
    EXPECT_EQ(json.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(json.out.find('\r'), std::string::npos);
    const Json report = Json::parse(json.out);
    EXPECT_NE(report["status"]["long"].get<std::string>().find("SC541\x1b[2J"), std::string::npos) << report["status"];
}

}  // namespace
}  // namespace tb58mon
