// 'tb58mon serve' as the service manager runs it: the built program over a
// fleet of 'tb58mon simulate', with a notification socket of the test's own
// in NOTIFY_SOCKET (READY, STATUS, RELOADING/READY on SIGHUP, the watchdog's
// pings, STOPPING) and its output taken for the journal when JOURNAL_STREAM
// names it (priorities, no time stamps).  Everything listens on 127.0.0.1;
// every wait is bounded; the children are killed with their test.
//
// TB58MON_PROGRAM names the program (the test's CMake entry sets it).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "child_process.h"
#include "notify_socket_receiver.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;
using test::ChildProcess;
using test::NotifySocketReceiver;

std::string Program() {
    const char* program = std::getenv("TB58MON_PROGRAM");
    return program != nullptr ? program : "";
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool WaitForText(const std::string& path, const std::string& text, std::chrono::milliseconds most) {
    const auto end = std::chrono::steady_clock::now() + most;
    while (std::chrono::steady_clock::now() < end) {
        if (ReadAll(path).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

uint64_t MonotonicMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1'000'000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

// Three simulated printers and a fleet file that polls them twice a second.
class SimulatedFleet {
public:
    explicit SimulatedFleet(const TestFolder& folder)
        : simulate_({Program(), "simulate", "--fleet", "3", "--plain", "--listen", "127.0.0.1:0", "--write-config",
                     folder / "written.toml", "--run-for", "60"},
                    {}, folder / "simulate.out", folder / "simulate.err"),
          fleet_(folder / "fleet.toml") {
        if (!WaitForText(folder / "simulate.out", "fleet file written", 20s)) return;
        std::ofstream(fleet_) << "[defaults]\ninterval = 0.5\ntimeout = 2\n\n" << ReadAll(folder / "written.toml");
        ready_ = true;
    }
    bool ready() const { return ready_; }
    const std::string& fleet() const { return fleet_; }

private:
    ChildProcess simulate_;
    std::string fleet_;
    bool ready_ = false;
};

std::vector<std::string> ServeArgs(const TestFolder& folder, const std::string& fleet) {
    return {Program(), "serve", "--config", fleet, "--listen", "127.0.0.1:0", "--state-dir", folder / "state",
            "--run-for", "60"};
}

TEST(ServeService, TellsTheServiceManagerReadyStatusReloadWatchdogAndStop) {
    ASSERT_FALSE(Program().empty());
    TestFolder folder;
    SimulatedFleet fleet(folder);
    ASSERT_TRUE(fleet.ready()) << ReadAll(folder / "simulate.err");
    NotifySocketReceiver manager(folder / "notify.sock");
    ASSERT_TRUE(manager.ready());
    ChildProcess serve(ServeArgs(folder, fleet.fleet()), {"NOTIFY_SOCKET=" + manager.path(), "WATCHDOG_USEC=400000"},
                       folder / "serve.out", folder / "serve.err");

    const std::string ready = manager.WaitForLine("READY=1", 20s);
    ASSERT_FALSE(ready.empty()) << ReadAll(folder / "serve.err");
    EXPECT_TRUE(std::regex_search(ready, std::regex("(^|\n)STATUS=3 printers, [0-3] needs? attention(\n|$)"))) << ready;
    EXPECT_NE(ReadAll(folder / "serve.out").find("serving 3 printers"), std::string::npos);
    // Pings every 200 ms: at least four more within two seconds.
    int pings = 0;
    manager.WaitFor([&pings](const std::string& message) { return message == "WATCHDOG=1" && ++pings == 4; }, 2s);
    EXPECT_EQ(pings, 4);
    // Once the printers are polled the status changes: the jam needs
    // attention at least (the fleet has no SNMP, so the others' status may
    // be unknown).
    const auto polled = [](const std::string& message) {
        return std::regex_search(message, std::regex("(^|\n)STATUS=3 printers, [1-3] needs? attention(\n|$)"));
    };
    const bool changed = std::any_of(manager.messages().begin(), manager.messages().end(), polled) ||
                         !manager.WaitFor(polled, 15s).empty();
    EXPECT_TRUE(changed) << manager.messages().size() << " messages";

    // SIGHUP: RELOADING=1 with the time of the reload, then READY=1 again.
    const uint64_t before = MonotonicMicroseconds();
    serve.Signal(SIGHUP);
    const std::string reloading = manager.WaitForLine("RELOADING=1", 10s);
    const uint64_t after = MonotonicMicroseconds();
    std::smatch stamp;
    ASSERT_TRUE(std::regex_search(reloading, stamp, std::regex("(^|\n)MONOTONIC_USEC=([0-9]+)(\n|$)"))) << reloading;
    const uint64_t reloaded_at = std::stoull(stamp[2].str());
    EXPECT_GE(reloaded_at, before);
    EXPECT_LE(reloaded_at, after);
    EXPECT_FALSE(manager.WaitForLine("READY=1", 10s).empty());
    EXPECT_TRUE(WaitForText(folder / "serve.out", "reloaded: 3 printers", 5s));

    // SIGTERM: STOPPING=1, and the pings end with the service.
    serve.Signal(SIGTERM);
    EXPECT_FALSE(manager.WaitForLine("STOPPING=1", 10s).empty());
    EXPECT_EQ(serve.Wait(20s), 0) << ReadAll(folder / "serve.err");
}

// No pings unless asked for, nor when WATCHDOG_PID names another process;
// a notification socket that is not there stops nothing.
TEST(ServeService, PingsOnlyWhenAskedAndNeedsNoManager) {
    ASSERT_FALSE(Program().empty());
    TestFolder folder;
    SimulatedFleet fleet(folder);
    ASSERT_TRUE(fleet.ready()) << ReadAll(folder / "simulate.err");
    NotifySocketReceiver manager(folder / "notify.sock");
    ASSERT_TRUE(manager.ready());
    ChildProcess serve(ServeArgs(folder, fleet.fleet()),
                       {"NOTIFY_SOCKET=" + manager.path(), "WATCHDOG_USEC=100000", "WATCHDOG_PID=1"},
                       folder / "serve.out", folder / "serve.err");
    ASSERT_FALSE(manager.WaitForLine("READY=1", 20s).empty()) << ReadAll(folder / "serve.err");
    manager.WaitFor([](const std::string&) { return false; }, 1s);
    for (const std::string& message : manager.messages()) EXPECT_NE(message, "WATCHDOG=1");
    serve.Signal(SIGTERM);
    EXPECT_EQ(serve.Wait(20s), 0);

    const std::vector<std::string> nowhere[] = {{"NOTIFY_SOCKET=" + folder / "absent.sock", "WATCHDOG_USEC=100000"},
                                                {"NOTIFY_SOCKET=" + fleet.fleet()},
                                                {"NOTIFY_SOCKET=@", "WATCHDOG_USEC=garbage"}};
    for (const auto& environment : nowhere) {
        ChildProcess lonely(ServeArgs(folder, fleet.fleet()), environment, folder / "lonely.out", folder / "lonely.err");
        EXPECT_TRUE(WaitForText(folder / "lonely.out", "serving 3 printers", 20s)) << ReadAll(folder / "lonely.err");
        lonely.Signal(SIGTERM);
        EXPECT_EQ(lonely.Wait(20s), 0) << environment[0];
    }
}

// The device and inode of a descriptor as JOURNAL_STREAM gives them.
std::string StreamName(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) return "";
    return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

TEST(ServeService, LinesForTheJournalCarryPrioritiesAndNoTimeStamps) {
    ASSERT_FALSE(Program().empty());
    TestFolder folder;
    SimulatedFleet fleet(folder);
    ASSERT_TRUE(fleet.ready()) << ReadAll(folder / "simulate.err");
    const std::string out = folder / "serve.out";
    // The file that will be standard output, made first so that its name can be given.
    std::ofstream(out).close();
    const int out_fd = ::open(out.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(out_fd, 0);
    {
        ChildProcess serve(ServeArgs(folder, fleet.fleet()), {"JOURNAL_STREAM=" + StreamName(out_fd)}, out,
                           folder / "serve.err", out_fd);
        ASSERT_TRUE(WaitForText(out, "<6>serving 3 printers on http://127.0.0.1:", 20s)) << ReadAll(out);
        std::ofstream(fleet.fleet(), std::ios::app) << "[[printer]]\nname = \"x\"\nuri = \"ftp://nowhere\"\n";
        serve.Signal(SIGHUP);
        EXPECT_TRUE(WaitForText(out, "<3>reload failed, the fleet stays as it was: ", 10s)) << ReadAll(out);
        serve.Signal(SIGTERM);
        EXPECT_EQ(serve.Wait(20s), 0);
    }
    ::close(out_fd);
    const std::string lines = ReadAll(out);
    EXPECT_TRUE(std::regex_search(lines, std::regex("(^|\n)<6>stopped by a signal\n"))) << lines;
    // Every line starts with its priority: no time stamps.
    EXPECT_TRUE(std::regex_match(lines, std::regex("(<[346]>[^\n]*\n)+"))) << lines;

    // JOURNAL_STREAM that names another stream (inherited from a service
    // that started this one): time stamps as on a terminal.
    ChildProcess elsewhere(ServeArgs(folder, folder / "absent.toml"), {"JOURNAL_STREAM=" + StreamName(0)},
                           folder / "elsewhere.out", folder / "elsewhere.err");
    EXPECT_EQ(elsewhere.Wait(20s), 1);
    EXPECT_EQ(ReadAll(folder / "elsewhere.err").rfind("tb58mon: ", 0), 0u) << ReadAll(folder / "elsewhere.err");
}

TEST(ServeService, AnErrorThatEndsTheServiceIsAnErrorInTheJournal) {
    ASSERT_FALSE(Program().empty());
    TestFolder folder;
    const std::string err = folder / "serve.err";
    std::ofstream(err).close();
    const int err_fd = ::open(err.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(err_fd, 0);
    // The child opens the same file as its standard error: the stream named.
    {
        ChildProcess serve(ServeArgs(folder, folder / "absent.toml"), {"JOURNAL_STREAM=" + StreamName(err_fd)},
                           folder / "serve.out", err);
        EXPECT_EQ(serve.Wait(20s), 1);
    }
    ::close(err_fd);
    EXPECT_EQ(ReadAll(err).rfind("<3>tb58mon: ", 0), 0u) << ReadAll(err);
}

}  // namespace
}  // namespace tb58mon
