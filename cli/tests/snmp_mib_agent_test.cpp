// The simulated printer's SNMP agent serving its MIB through the real
// snmpd: walks give back exactly what was flattened, in numeric OID order;
// new values show at once; the SNMP fault switches; CUPS's snmp backend
// finds the printer.
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "free_udp_port.h"
#include "sim/agent_bindings.h"
#include "sim/mib_responder.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"
#include "sim/scenario_mib.h"
#include "sim/snmp_agent.h"
#include "snmp_test_client.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;

bool AgentInstalled() {
    return access(std::string(kSnmpdPath).c_str(), X_OK) == 0 && access(std::string(kMawkPath).c_str(), X_OK) == 0;
}

const ObjectId kInternet = {1, 3, 6, 1};

ObjectId Under(const ObjectId& base, std::initializer_list<uint32_t> more) {
    ObjectId oid = base;
    oid.insert(oid.end(), more);
    return oid;
}

void ExpectSame(const std::vector<MibBinding>& got, const std::vector<MibBinding>& wanted) {
    ASSERT_EQ(got.size(), wanted.size());
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(OidText(wanted[i].oid));
        EXPECT_EQ(OidText(got[i].oid), OidText(wanted[i].oid));
        EXPECT_EQ(got[i].type, wanted[i].type);
        EXPECT_EQ(got[i].number, wanted[i].number);
        EXPECT_EQ(got[i].text, wanted[i].text);
        EXPECT_EQ(got[i].oid_value, wanted[i].oid_value);
    }
}

TEST(SimulatedAgent, AWalkGivesBackEveryScenarioAsFlattened) {
    if (!AgentInstalled()) GTEST_SKIP() << "snmpd or mawk is not installed";
    const unsigned port = FreeUdpPort();
    SnmpAgent agent("127.0.0.1", port, std::vector<MibBinding>{});
    for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
        SCOPED_TRACE(std::string(file.name));
        const Scenario scenario = ParseScenario(file.name, file.text);
        const PrinterMib mib = ScenarioMib(scenario);
        agent.SetBindings(AgentBindings(scenario, {}));
        const SnmpAnswer walk = SnmpWalk(port, kInternet, 5000);
        ASSERT_TRUE(walk.answered);
        // Nothing of the machine snmpd runs on, nothing out of order.
        ExpectSame(walk.bindings, FlattenPrinterMib(mib));
        const PrinterMib read = ParsePrinterMib(walk.bindings);
        EXPECT_EQ(read.device_id, mib.device_id);
        EXPECT_EQ(read.detected_error_state, mib.detected_error_state);
        EXPECT_EQ(read.inputs.size(), mib.inputs.size());
        EXPECT_EQ(read.supplies.size(), mib.supplies.size());
    }
}

TEST(SimulatedAgent, GetAndGetNextFollowNumericOrderAndKeepEveryByte) {
    if (!AgentInstalled()) GTEST_SKIP() << "snmpd or mawk is not installed";
    const ObjectId table = Under(mib_oid::kPrtInputEntry, {13, 1});
    const std::vector<MibBinding> bindings = {
        TextBinding(Under(table, {10}), std::string("nul\0, \xff\xfe and\ttab\x7f", 18)),
        TextBinding(Under(table, {2}), "  blanks  "),
        TextBinding(Under(table, {9}), ""),
        NumberBinding(Under(table, {4294967295u}), -2147483648LL),
        NumberBinding(mib_oid::kHrMemorySize, 4294967295, MibType::kGauge),
        NumberBinding(mib_oid::kPrtMarkerLifeCount, 4294967295, MibType::kCounter),
        TextBinding(mib_oid::kSysDescr, "first"),
        TextBinding(mib_oid::kSysDescr, "second"),  // the last given wins
    };
    const unsigned port = FreeUdpPort();
    SnmpAgent agent("127.0.0.1", port, bindings);
    const SnmpAnswer walk = SnmpWalk(port, kInternet, 100);
    ASSERT_TRUE(walk.answered);
    ASSERT_EQ(walk.bindings.size(), 7u);
    EXPECT_EQ(walk.bindings[0].text, "second");
    EXPECT_EQ(walk.bindings[1].number, 4294967295);
    EXPECT_EQ(walk.bindings[1].type, MibType::kGauge);
    EXPECT_EQ(walk.bindings[2].oid, Under(table, {2}));
    EXPECT_EQ(walk.bindings[2].text, "  blanks  ");
    EXPECT_EQ(walk.bindings[3].oid, Under(table, {9}));
    EXPECT_EQ(walk.bindings[3].text, "");
    EXPECT_EQ(walk.bindings[4].oid, Under(table, {10}));
    EXPECT_EQ(walk.bindings[4].text, std::string("nul\0, \xff\xfe and\ttab\x7f", 18));
    EXPECT_EQ(walk.bindings[5].number, -2147483648LL);
    EXPECT_EQ(walk.bindings[6].type, MibType::kCounter);

    // GET: present and missing objects; GETNEXT from an OID between two.
    const SnmpAnswer get = SnmpGet(port, {Under(table, {9}), Under(table, {3}), mib_oid::kPrtMarkerLifeCount});
    ASSERT_TRUE(get.answered);
    EXPECT_EQ(get.bindings.size(), 2u);
    EXPECT_EQ(get.missing, 1u);
    const SnmpAnswer between = SnmpWalk(port, table, 1);  // from table.(nothing): first is .2
    ASSERT_EQ(between.bindings.size(), 1u);
    EXPECT_EQ(between.bindings[0].oid, Under(table, {2}));
    const SnmpAnswer after = SnmpWalk(port, Under(table, {3}), 10);
    EXPECT_TRUE(after.bindings.empty());  // .9 is not below .3
    // From OIDs that are no objects: the next by numbers, not by text.
    const SnmpAnswer next = SnmpGetNext(port, {Under(table, {5}), Under(table, {9, 1}), Under(table, {3000000000u}),
                                              Under(table, {4294967295u}), {1, 3, 6, 1, 2, 1, 25, 0}});
    ASSERT_EQ(next.bindings.size(), 5u);
    EXPECT_EQ(next.bindings[0].oid, Under(table, {9}));
    EXPECT_EQ(next.bindings[1].oid, Under(table, {10}));
    EXPECT_EQ(next.bindings[2].oid, Under(table, {4294967295u}));
    EXPECT_EQ(next.bindings[3].oid, mib_oid::kPrtMarkerLifeCount);
    EXPECT_EQ(next.bindings[4].oid, mib_oid::kHrMemorySize);
}

TEST(SimulatedAgent, NewValuesShowAtOnceAndClearingEmptiesTheAgent) {
    if (!AgentInstalled()) GTEST_SKIP() << "snmpd or mawk is not installed";
    const unsigned port = FreeUdpPort();
    SnmpAgent agent("127.0.0.1", port, "MFG:A;");
    for (int round = 0; round < 5; ++round) {
        const std::string value = "MFG:B" + std::to_string(round) + ";";
        agent.SetBindings({TextBinding(mib_oid::kPpmPrinterIEEE1284DeviceId, value), TextBinding(mib_oid::kSysDescr, value)});
        const SnmpAnswer get = SnmpGet(port, {mib_oid::kPpmPrinterIEEE1284DeviceId, mib_oid::kSysDescr});
        ASSERT_EQ(get.bindings.size(), 2u);
        EXPECT_EQ(get.bindings[0].text, value);
        EXPECT_EQ(get.bindings[1].text, value);
    }
    agent.ClearDeviceId();
    const SnmpAnswer walk = SnmpWalk(port, kInternet, 10);
    EXPECT_TRUE(walk.answered);
    EXPECT_TRUE(walk.bindings.empty());
}

NetworkPrinterConfig WithAgent(const FaultSwitches& faults = {}) {
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    config.faults = faults;
    return config;
}

TEST(SimulatedAgent, SilentSwitchAnswersNothingUntilItIsOff) {
    if (!AgentInstalled()) GTEST_SKIP() << "snmpd or mawk is not installed";
    FaultSwitches faults;
    faults.snmp_silent = true;
    NetworkPrinter printer(LoadScenario("all-well"), WithAgent(faults));
    EXPECT_FALSE(SnmpGet(printer.snmp_port(), {mib_oid::kSysDescr}, 300ms).answered);
    printer.SetFaults({});
    const SnmpAnswer get = SnmpGet(printer.snmp_port(), {mib_oid::kSysDescr});
    ASSERT_TRUE(get.answered);
    EXPECT_EQ(get.bindings.at(0).text, "Generic Imaging MX 5000 1.07");
    faults.snmp_silent = true;
    printer.SetFaults(faults);  // stops with the agent silent
    EXPECT_FALSE(SnmpGet(printer.snmp_port(), {mib_oid::kSysDescr}, 300ms).answered);
}

TEST(SimulatedAgent, TenThousandRowsCanBeWalked) {
    if (!AgentInstalled()) GTEST_SKIP() << "snmpd or mawk is not installed";
    FaultSwitches faults;
    faults.snmp_rows = 10000;
    NetworkPrinter printer(LoadScenario("all-well"), WithAgent(faults));
    const ObjectId names = Under(mib_oid::kPrtInputEntry, {13});
    // The responders read their 20,000 rows at the first request; each
    // GETBULK then costs snmpd a pipe round trip per row.  On a loaded
    // machine that takes seconds: generous bounds, as this is no speed test.
    ASSERT_TRUE(SnmpGet(printer.snmp_port(), {mib_oid::kSysDescr}, 20s).answered);
    const SnmpAnswer walk = SnmpWalk(printer.snmp_port(), names, 20000, 10s);
    ASSERT_TRUE(walk.answered);
    ASSERT_EQ(walk.bindings.size(), 10000u);
    EXPECT_EQ(walk.bindings.front().text, "Tray 1");
    EXPECT_EQ(walk.bindings.back().oid, Under(names, {1, 10000}));
    const SnmpAnswer last = SnmpGet(printer.snmp_port(), {Under(mib_oid::kPrtMarkerSuppliesEntry, {9, 1, 10000})}, 10s);
    ASSERT_EQ(last.bindings.size(), 1u);
    EXPECT_EQ(last.bindings[0].number, 10000 % 101);
}

TEST(SimulatedAgent, ExtremeNumbersAndWrongTypesArriveAsServed) {
    if (!AgentInstalled()) GTEST_SKIP() << "snmpd or mawk is not installed";
    FaultSwitches faults;
    faults.snmp_extreme = true;
    NetworkPrinter printer(LoadScenario("all-well"), WithAgent(faults));
    const std::vector<ObjectId> asked = {mib_oid::kSysDescr, Under(mib_oid::kPrtInputEntry, {10, 1, 1}),
                                         Under(mib_oid::kPrtMarkerSuppliesEntry, {9, 1, 1}),
                                         Under(mib_oid::kPrtMarkerSuppliesEntry, {8, 1, 1}),
                                         mib_oid::kPrtMarkerLifeCount};
    SnmpAnswer get = SnmpGet(printer.snmp_port(), asked);
    ASSERT_EQ(get.bindings.size(), 5u);
    EXPECT_EQ(get.bindings[1].type, MibType::kGauge);
    EXPECT_EQ(get.bindings[1].number, 4294967295);
    EXPECT_EQ(get.bindings[2].number, -5);
    EXPECT_EQ(get.bindings[3].number, 2147483647);
    EXPECT_EQ(get.bindings[4].type, MibType::kCounter);
    EXPECT_EQ(get.bindings[4].number, 4294967295);

    faults = {};
    faults.snmp_wrong_types = true;
    printer.SetFaults(faults);
    get = SnmpGet(printer.snmp_port(), asked);
    ASSERT_EQ(get.bindings.size(), 5u);
    EXPECT_EQ(get.bindings[0].type, MibType::kInteger);
    EXPECT_EQ(get.bindings[0].number, 28);  // the length of "Generic Imaging MX 5000 1.07"
    EXPECT_EQ(get.bindings[4].type, MibType::kOctets);
    EXPECT_EQ(get.bindings[4].text, "48213");
}

TEST(SimulatedAgent, ScenarioChangesAndSwitchingOffReachTheAgent) {
    if (!AgentInstalled()) GTEST_SKIP() << "snmpd or mawk is not installed";
    NetworkPrinter printer(LoadScenario("all-well"), WithAgent());
    const ObjectId state = mib_oid::kHrDeviceStatus;
    EXPECT_EQ(SnmpGet(printer.snmp_port(), {state}).bindings.at(0).number, 2);
    printer.SetScenario(LoadScenario("jam-tray2-lct"));
    EXPECT_EQ(SnmpGet(printer.snmp_port(), {state}).bindings.at(0).number, 5);
    printer.SetAvailable(false);
    const SnmpAnswer off = SnmpGet(printer.snmp_port(), {state, mib_oid::kPpmPrinterIEEE1284DeviceId});
    EXPECT_TRUE(off.answered);
    EXPECT_EQ(off.missing, 2u);
    printer.SetAvailable(true);
    EXPECT_EQ(SnmpGet(printer.snmp_port(), {state}).bindings.at(0).number, 5);
}

std::string RunBounded(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    std::array<char, 4096> buffer{};
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0 && output.size() < (1u << 20)) {
        output.append(buffer.data(), got);
    }
    pclose(pipe);
    return output;
}

// CUPS's snmp backend asks port 161 only, and lists a printer only when
// it also finds its print port (9100): the simulated printer binds both on
// an address of 127.0.0.0/8 of its own.
TEST(CupsDiscovery, TheSnmpBackendListsTheSimulatedPrinter) {
    const std::string backend = "/usr/lib/cups/backend/snmp";
    if (access(backend.c_str(), X_OK) != 0) {
        GTEST_SKIP() << "CUPS's snmp backend is not installed (apt-get install cups)";
    }
    if (!AgentInstalled()) GTEST_SKIP() << "snmpd or mawk is not installed";
    if (geteuid() != 0) GTEST_SKIP() << "the agent needs port 161, which only root may bind";
    constexpr unsigned kSnmpPort = 161;
    if (UdpPortBound(kSnmpPort)) GTEST_SKIP() << "udp port 161 is in use on this machine";
    const std::string address = "127.58.0." + std::to_string(2 + getpid() % 250);
    NetworkPrinterConfig config;
    config.listen_host = address;
    config.listen_port = 9100;
    config.snmp_port = kSnmpPort;
    NetworkPrinter printer(LoadScenario("all-well"), config);
    const TestFolder folder;
    std::ofstream(folder.path() + "/snmp.conf") << "Community public\nMaxRunTime 10\n";
    const std::string output = RunBounded("CUPS_SERVERROOT=" + folder.path() + " timeout 30 " + backend + " " +
                                          address + " 2>/dev/null");
    // network socket://ADDRESS "MAKE MODEL" "INFO" "DEVICE ID" ""
    EXPECT_NE(output.find("network "), std::string::npos) << output;
    EXPECT_NE(output.find("socket://" + address), std::string::npos) << output;
    EXPECT_NE(output.find("\"Generic Imaging MX 5000\""), std::string::npos) << output;
    EXPECT_NE(output.find("MFG:Generic Imaging;"), std::string::npos) << output;
    EXPECT_NE(output.find("MDL:MX 5000;"), std::string::npos) << output;
}

}  // namespace
}  // namespace tb58mon
