// The simulated printer on the network: what a client reads from its PJL
// port under each fault switch, its SNMP agent, the script of timed
// changes, and 'tb58mon simulate' itself.  Everything runs over 127.0.0.1
// on ports the system picks, with a deadline on every read.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "base/cli_error.h"
#include "commands/commands.h"
#include "library/library_calls.h"
#include "monitor/query_round.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"
#include "sim/sim_script.h"
#include "sim/simulated_printer.h"
#include "sim/snmp_agent.h"
#include "transport/pjl_stream.h"
#include "transport/snmp_device_id.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kUel = "\x1b%-12345X";
const std::string kEcho = "@PJL ECHO TB58TEST";
const std::string kQuery = kUel +
                           "@PJL\r\n@PJL INFO CONFIG\r\n@PJL INFO OUTBINSTATUS\r\n@PJL INQUIRE INTRAY2SIZE\r\n"
                           "@PJL ECHO TB58TEST\r\n" +
                           kUel;
constexpr auto kReadLimit = 3s;

// The whole reply has come: the echo, then the closing UEL.
bool ReplyEnded(const std::string& bytes) {
    const size_t echo = bytes.find(kEcho);
    return echo != std::string::npos && bytes.find(kUel, echo) != std::string::npos;
}

// A plain POSIX client of the printer's PJL port.
class Client {
public:
    explicit Client(unsigned port) {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        timeval limit{5, 0};
        setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        error_ = connected_ ? 0 : errno;
    }
    ~Client() { close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool connected() const { return connected_; }
    int error() const { return error_; }

    bool Send(std::string_view text) {
        while (!text.empty()) {
            const ssize_t sent = send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
            if (sent <= 0) return false;
            text.remove_prefix(static_cast<size_t>(sent));
        }
        return true;
    }

    // Reads until done(bytes) holds, the printer closes, or the limit passes.
    void Read(const std::function<bool(const std::string&)>& done, Clock::duration limit) {
        const auto deadline = Clock::now() + limit;
        while (!closed && !done(bytes)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return;
            pollfd watch{fd_, POLLIN, 0};
            if (poll(&watch, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[4096];
            const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
            if (got <= 0) {
                closed = true;
                return;
            }
            bytes.append(buffer, static_cast<size_t>(got));
            ++reads;
        }
    }
    void ReadReply() { Read(ReplyEnded, kReadLimit); }
    // Reads whatever comes for a while: for a printer that should stay silent.
    void ReadFor(Clock::duration quiet) {
        Read([](const std::string&) { return false; }, quiet);
    }

    std::string bytes;
    size_t reads = 0;
    bool closed = false;

private:
    int fd_ = -1;
    bool connected_ = false;
    int error_ = 0;
};

std::string Exchange(unsigned port, const std::string& query = kQuery) {
    Client client(port);
    EXPECT_TRUE(client.connected());
    client.Send(query);
    client.ReadReply();
    return client.bytes;
}

std::string ReplyOf(const Scenario& scenario, const std::string& query = kQuery) {
    return SimulatedPrinter(scenario).ReplyTo(query);
}

// The reply as a monitor reads it: framed at the echo and cleaned.
std::string Framed(const std::string& bytes, std::string* ustatus = nullptr) {
    PjlReplyFramer framer("TB58TEST", 1024 * 1024);
    EXPECT_EQ(framer.Feed(bytes), PjlReplyFramer::State::kComplete);
    if (ustatus != nullptr) *ustatus = framer.ustatus();
    return framer.reply();
}

NetworkPrinterConfig WithFaults(const FaultSwitches& faults) {
    NetworkPrinterConfig config;
    config.faults = faults;
    return config;
}

unsigned FreeUdpPort() {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

bool SnmpdInstalled() { return access(std::string(kSnmpdPath).c_str(), X_OK) == 0; }

TEST(NetworkPrinter, AnswersTheLibrarysQueryAsTheSimulatedPrinter) {
    const Scenario scenario = LoadScenario("maximal");
    NetworkPrinter printer(scenario, NetworkPrinterConfig());
    ASSERT_NE(printer.pjl_port(), 0u);

    OwnedRecord record;
    const PacketPtr query = CreateQuery(record.get(), INFO_SYSTEM | INFO_EMUL | INFO_DEVICE | INFO_TRAY | INFO_OUTBIN);
    const std::string text = AddEchoCommand(DescribeQuery(query.get()).text, "TB58TEST");
    EXPECT_EQ(Exchange(printer.pjl_port(), text), ReplyOf(scenario, text));

    // A query sent in pieces, and a second query on the same connection.
    Client client(printer.pjl_port());
    client.Send(kQuery.substr(0, 7));
    std::this_thread::sleep_for(20ms);
    client.Send(kQuery.substr(7));
    client.ReadReply();
    EXPECT_EQ(client.bytes, ReplyOf(scenario));
    client.bytes.clear();
    client.Send(kQuery);
    client.ReadReply();
    EXPECT_EQ(client.bytes, ReplyOf(scenario));
    EXPECT_EQ(printer.connections(), 2u);
}

TEST(NetworkPrinter, OneSlowClientDoesNotHoldTheOthers) {
    const Scenario scenario = LoadScenario("all-well");
    NetworkPrinter printer(scenario, NetworkPrinterConfig());
    Client slow(printer.pjl_port());
    slow.Send(kUel + "@PJL\r\n@PJL INFO CON");  // and nothing more
    Client idle(printer.pjl_port());  // connected, sends nothing
    EXPECT_EQ(Exchange(printer.pjl_port()), ReplyOf(scenario));

    // A query that never ends is cut off at its size limit.
    Client flood(printer.pjl_port());
    flood.Send("@PJL " + std::string(1100 * 1024, 'X'));
    flood.Read([](const std::string&) { return false; }, kReadLimit);
    EXPECT_TRUE(flood.closed);
    EXPECT_TRUE(flood.bytes.empty());
}

TEST(NetworkPrinter, AnswersOnlyTheRoundsTheScenarioAnswers) {
    Scenario scenario = LoadScenario("all-well");
    scenario.answers = Answers::kFirst;
    NetworkPrinter printer(scenario, NetworkPrinterConfig());
    EXPECT_EQ(Exchange(printer.pjl_port()), ReplyOf(scenario));
    {
        Client client(printer.pjl_port());
        client.Send(kQuery);
        client.ReadReply();
        EXPECT_TRUE(client.closed);  // hung up at once, without a byte
        EXPECT_TRUE(client.bytes.empty());
    }
    // A new scenario counts its rounds afresh.
    printer.SetScenario(scenario);
    EXPECT_EQ(Exchange(printer.pjl_port()), ReplyOf(scenario));

    scenario.answers = Answers::kNone;
    printer.SetScenario(scenario);
    Client client(printer.pjl_port());
    client.Send(kQuery);
    client.ReadReply();
    EXPECT_TRUE(client.closed);
    EXPECT_TRUE(client.bytes.empty());
}

TEST(NetworkPrinter, SetScenarioChangesTheNextAnswer) {
    const Scenario all_well = LoadScenario("all-well");
    const Scenario jam = LoadScenario("jam-tray2-lct");
    NetworkPrinter printer(all_well, NetworkPrinterConfig());
    const std::string before = Exchange(printer.pjl_port());
    printer.SetScenario(jam);
    const std::string after = Exchange(printer.pjl_port());
    EXPECT_EQ(before, ReplyOf(all_well));
    EXPECT_EQ(after, ReplyOf(jam));
    EXPECT_NE(before, after);
}

// Faults a monitor must read through: the cleaned reply is the plain one.
TEST(NetworkPrinter, TrickleNulPrefixAndUstatusLeaveTheReplyIntact) {
    const Scenario scenario = LoadScenario("jam-tray2-lct");
    const std::string plain = ReplyOf(scenario);
    const std::string echo_only = kUel + "@PJL\r\n@PJL ECHO TB58TEST\r\n" + kUel;

    FaultSwitches trickle;
    trickle.trickle = true;
    NetworkPrinter printer(scenario, WithFaults(trickle));
    Client client(printer.pjl_port());
    client.Send(echo_only);
    client.ReadReply();
    EXPECT_EQ(client.bytes, ReplyOf(scenario, echo_only));
    EXPECT_GT(client.reads, 3u) << "one byte per write should arrive in many reads";

    FaultSwitches nul;
    nul.nul_prefix = true;
    printer.SetFaults(nul);
    std::string bytes = Exchange(printer.pjl_port());
    EXPECT_TRUE(bytes.starts_with(std::string("\0\0\x04", 3)));
    EXPECT_NE(bytes.find(std::string("\f\0\0\x04", 4)), std::string::npos);
    std::string without = bytes;
    std::erase(without, '\0');
    std::erase(without, '\x04');
    EXPECT_EQ(without, plain);

    FaultSwitches ustatus;
    ustatus.ustatus = true;
    printer.SetFaults(ustatus);
    bytes = Exchange(printer.pjl_port());
    const std::string section = SimulatedPrinter(scenario).UnsolicitedStatus();
    EXPECT_EQ(bytes.find(kUel + "@PJL USTATUS"), std::string::npos) << "sections come after form feeds only";
    EXPECT_NE(bytes.find("\f" + section + "@PJL INFO OUTBINSTATUS"), std::string::npos);
    std::string latest;
    EXPECT_EQ(Framed(bytes, &latest), Framed(plain));
    EXPECT_EQ(latest + "\f", section);

    FaultSwitches all = ustatus;
    all.nul_prefix = true;
    all.trickle = true;
    printer.SetFaults(all);
    EXPECT_EQ(Framed(Exchange(printer.pjl_port())), Framed(plain));
}

TEST(NetworkPrinter, NoFfHugeAndGarbageChangeTheReply) {
    const Scenario scenario = LoadScenario("all-well");
    const std::string plain = ReplyOf(scenario);
    const std::string echo_answer = kEcho + "\r\n\f" + kUel;

    FaultSwitches no_ff;
    no_ff.no_ff = true;
    NetworkPrinter printer(scenario, WithFaults(no_ff));
    std::string expected = plain;
    std::erase(expected, '\f');
    EXPECT_EQ(Exchange(printer.pjl_port()), expected);

    FaultSwitches huge;
    huge.huge = 200000;
    printer.SetFaults(huge);
    std::string bytes = Exchange(printer.pjl_port());
    EXPECT_EQ(bytes.size(), plain.size() + huge.huge);
    EXPECT_TRUE(bytes.starts_with(plain.substr(0, plain.find(kEcho))));
    EXPECT_TRUE(bytes.ends_with("\f" + echo_answer));

    FaultSwitches garbage;
    garbage.garbage = true;
    printer.SetFaults(garbage);
    bytes = Exchange(printer.pjl_port());
    EXPECT_TRUE(bytes.ends_with("\f" + echo_answer));
    EXPECT_EQ(bytes.find("@PJL"), bytes.size() - echo_answer.size()) << "only the echo is left of the answers";
    EXPECT_GT(bytes.size(), kUel.size() + echo_answer.size() + 200);
}

TEST(NetworkPrinter, DropAndStallCutTheReply) {
    const Scenario scenario = LoadScenario("all-well");
    const std::string plain = ReplyOf(scenario);

    FaultSwitches drop;
    drop.drop_after = 25;
    NetworkPrinter printer(scenario, WithFaults(drop));
    {
        Client client(printer.pjl_port());
        client.Send(kQuery);
        client.ReadReply();
        EXPECT_TRUE(client.closed);
        EXPECT_EQ(client.bytes, plain.substr(0, 25));
    }

    FaultSwitches stall;
    stall.stall_after = 40;
    printer.SetFaults(stall);
    Client client(printer.pjl_port());
    client.Send(kQuery);
    client.Read([](const std::string& bytes) { return bytes.size() >= 40; }, kReadLimit);
    client.ReadFor(300ms);
    EXPECT_FALSE(client.closed) << "a stalled printer keeps the connection";
    EXPECT_EQ(client.bytes, plain.substr(0, 40));

    // A cut beyond the reply's end changes nothing.
    drop.drop_after = 1000000;
    printer.SetFaults(drop);
    EXPECT_EQ(Exchange(printer.pjl_port()), plain);
}

TEST(NetworkPrinter, RefusedWhileSwitchedOffOrRefusing) {
    const Scenario scenario = LoadScenario("all-well");
    FaultSwitches refuse;
    refuse.refuse = true;
    NetworkPrinter printer(scenario, WithFaults(refuse));
    const unsigned port = printer.pjl_port();
    ASSERT_NE(port, 0u);
    {
        Client client(port);
        EXPECT_FALSE(client.connected());
        EXPECT_EQ(client.error(), ECONNREFUSED);
    }
    printer.SetFaults(FaultSwitches());
    EXPECT_EQ(Exchange(port), ReplyOf(scenario));

    // Switched off: refused, and an open connection ends too.
    Client open(port);
    ASSERT_TRUE(open.connected());
    open.Send(kUel + "@PJL\r\n");
    std::this_thread::sleep_for(50ms);
    printer.SetAvailable(false);
    {
        Client client(port);
        EXPECT_EQ(client.error(), ECONNREFUSED);
    }
    open.ReadFor(kReadLimit);
    EXPECT_TRUE(open.closed);
    printer.SetAvailable(true);
    EXPECT_EQ(printer.pjl_port(), port);
    EXPECT_EQ(Exchange(port), ReplyOf(scenario));

    NetworkPrinterConfig off;
    off.available = false;
    NetworkPrinter starts_off(scenario, off);
    Client client(starts_off.pjl_port());
    EXPECT_EQ(client.error(), ECONNREFUSED);
}

TEST(NetworkPrinter, ReportsEventsAndFailsWhereItCannotListen) {
    const Scenario scenario = LoadScenario("all-well");
    std::mutex mutex;
    std::vector<std::string> events;
    NetworkPrinterConfig config;
    config.on_event = [&](const std::string& line) {
        const std::lock_guard<std::mutex> lock(mutex);
        events.push_back(line);
    };
    auto answered = [&] {
        const std::lock_guard<std::mutex> lock(mutex);
        return std::any_of(events.begin(), events.end(),
                           [](const std::string& e) { return e.find("answered") != std::string::npos; });
    };
    {
        NetworkPrinter printer(scenario, config);
        Exchange(printer.pjl_port());
        // The event follows the last write; the client may have read it first.
        for (const auto deadline = Clock::now() + kReadLimit; !answered() && Clock::now() < deadline;) {
            std::this_thread::sleep_for(5ms);
        }
        config.listen_port = printer.pjl_port();
        try {
            NetworkPrinter second(scenario, config);
            ADD_FAILURE() << "two printers on one port";
        } catch (const CliError& error) {
            EXPECT_EQ(error.exit_code(), kExitFailure);
            EXPECT_NE(std::string(error.what()).find("cannot listen"), std::string::npos) << error.what();
        }
    }
    const std::lock_guard<std::mutex> lock(mutex);
    ASSERT_FALSE(events.empty());
    EXPECT_NE(events.front().find("connection 1 from 127.0.0.1:"), std::string::npos) << events.front();
    EXPECT_NE(events.front().find("answered " + std::to_string(ReplyOf(scenario).size()) + " bytes"),
              std::string::npos)
        << events.front();
}

TEST(SnmpAgent, PublishesTheDeviceIdOfTheScenarioServed) {
    if (!SnmpdInstalled()) GTEST_SKIP() << "snmpd is not installed";
    const Scenario all_well = LoadScenario("all-well");
    const Scenario jam = LoadScenario("jam-tray2-lct");
    NetworkPrinterConfig config;
    config.snmp_port = FreeUdpPort();
    NetworkPrinter printer(all_well, config);
    ASSERT_EQ(printer.snmp_port(), config.snmp_port);
    auto read = [&printer] { return ReadDeviceIdOverSnmp("127.0.0.1", printer.snmp_port(), "public", "2c", 2000ms); };

    SnmpReading reading = read();
    ASSERT_TRUE(reading.ok) << reading.error;
    EXPECT_EQ(reading.value, SimulatedPrinter(all_well).DeviceId());
    printer.SetScenario(jam);
    reading = read();
    ASSERT_TRUE(reading.ok) << reading.error;
    EXPECT_EQ(reading.value, SimulatedPrinter(jam).DeviceId());

    // Switched off, the object is gone, and the PJL port is really closed:
    // snmpd kept none of the printer's sockets.
    printer.SetAvailable(false);
    EXPECT_FALSE(read().ok);
    Client client(printer.pjl_port());
    EXPECT_EQ(client.error(), ECONNREFUSED);
    printer.SetAvailable(true);
    reading = read();
    EXPECT_TRUE(reading.ok) << reading.error;
}

TEST(SnmpAgent, StopsWithItsOwnerAndWillNotShareAPort) {
    if (!SnmpdInstalled()) GTEST_SKIP() << "snmpd is not installed";
    const unsigned port = FreeUdpPort();
    {
        SnmpAgent agent("127.0.0.1", port, "MFG:A;");
        EXPECT_THROW(SnmpAgent("127.0.0.1", port, "MFG:B;"), CliError);
        agent.SetDeviceId("MFG:C;\r\nMDL:D;");
        const SnmpReading reading = ReadDeviceIdOverSnmp("127.0.0.1", port, "public", "2c", 2000ms);
        EXPECT_EQ(reading.value, "MFG:C;  MDL:D;") << reading.error;
    }
    // The agent is gone: its port can be bound again.
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    close(fd);
}

TEST(SimScript, ParsesTimedSteps) {
    const auto steps = ParseSimScript("all-well:3,off:0.5,jam-tray2-lct:.25,all-well");
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].scenario, "all-well");
    EXPECT_FALSE(steps[0].off);
    EXPECT_DOUBLE_EQ(steps[0].seconds, 3);
    EXPECT_TRUE(steps[1].off);
    EXPECT_TRUE(steps[1].scenario.empty());
    EXPECT_DOUBLE_EQ(steps[1].seconds, 0.5);
    EXPECT_DOUBLE_EQ(steps[2].seconds, 0.25);
    EXPECT_LT(steps[3].seconds, 0);  // lasts to the end
    EXPECT_DOUBLE_EQ(ParseSimScript("off:2").front().seconds, 2);

    for (const char* bad : {"", "all-well,off:1", "all-well:1,", ":3", "all-well:0", "all-well:-1", "all-well:1e3",
                            "all-well:abc", "all-well:1.", "all-well:1:2", "all-well:90000", "all-well:inf"}) {
        SCOPED_TRACE(bad);
        try {
            ParseSimScript(bad);
            ADD_FAILURE() << "accepted";
        } catch (const CliError& error) {
            EXPECT_EQ(error.exit_code(), kExitBadArguments);
        }
    }
}

TEST(SimScript, RunSimulateFollowsTheScriptAndPrintsEachEvent) {
    SimulateOptions options;
    options.listen = "127.0.0.1:0";
    options.script = "all-well:0.3,off:0.3,jam-tray2-lct:0.3";
    std::ostringstream out;
    const auto start = Clock::now();
    RunSimulate(options, out);
    EXPECT_GE(Clock::now() - start, 850ms);
    const std::string text = out.str();
    size_t at = 0;
    for (const char* line : {"serving scenario all-well on 127.0.0.1:", "switched off", "scenario now jam-tray2-lct",
                             "switched on", "script ended"}) {
        const size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << " in\n" << text;
        at = found;
    }
    EXPECT_EQ(text.find("warning"), std::string::npos) << text;  // loopback only

    for (const char* listen : {"9100", "127.0.0.1:", "127.0.0.1:70000", ":9100"}) {
        options.listen = listen;
        EXPECT_THROW(RunSimulate(options, out), CliError) << listen;
    }
    options.listen = "127.0.0.1:0";
    options.script = "all-well:1,no-such-scenario";
    try {
        RunSimulate(options, out);
        ADD_FAILURE() << "an unknown scenario in the script";
    } catch (const CliError& error) {
        EXPECT_EQ(error.exit_code(), kExitBadArguments);
    }
}

}  // namespace
}  // namespace tb58mon
