// The parts of 'serve' that face the service manager: whether an output is
// the journal's stream, the log lines, the status line, and the poller's
// tick that feeds the watchdog.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <regex>
#include <sstream>
#include <thread>

#include "base/journal_stream.h"
#include "base/service_log.h"
#include "sample_fleet.h"
#include "serve/fleet_status_line.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;

TEST(JournalStream, NamesOnlyTheVeryDeviceAndInode) {
    EXPECT_TRUE(NamesStream("8:12345", 8, 12345));
    EXPECT_TRUE(NamesStream("0:0", 0, 0));
    EXPECT_TRUE(NamesStream("18446744073709551615:18446744073709551615", 18446744073709551615ull,
                            18446744073709551615ull));
    const char* wrong[] = {"",         ":",          "8:",       ":12345",    "8:12346",  "9:12345",
                           "12345:8",  "8:12345:1",  " 8:12345", "8:12345 ",  "+8:12345", "-8:12345",
                           "8;12345",  "0x8:12345",  "8:1234\n", "18446744073709551616:12345"};
    for (const char* text : wrong) EXPECT_FALSE(NamesStream(text, 8, 12345)) << text;
}

TEST(ServiceLog, JournalLinesStartWithTheirPriorityOthersWithTheTime) {
    EXPECT_EQ(ServiceLogLine(LogPriority::kError, "disk full", true), "<3>disk full\n");
    EXPECT_EQ(ServiceLogLine(LogPriority::kWarning, "fewer connections", true), "<4>fewer connections\n");
    EXPECT_EQ(ServiceLogLine(LogPriority::kInfo, "serving", true), "<6>serving\n");
    const std::string stamped = ServiceLogLine(LogPriority::kError, "disk full", false);
    EXPECT_TRUE(std::regex_match(stamped, std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2}[ T][0-9:]{8}  disk full\n"))) << stamped;
    // A line end in a quoted value cannot forge a line of its own priority,
    // nor an escape sequence reach a terminal.
    EXPECT_EQ(ServiceLogLine(LogPriority::kInfo, "reload: \"x\n<0>panic\r\x1b[2J\"", true),
              "<6>reload: \"x?<0>panic??[2J\"\n");
    EXPECT_EQ(ServiceLogLine(LogPriority::kInfo, "bad \xff byte", true), "<6>bad \xEF\xBF\xBD byte\n");
}

TEST(ServiceLog, LinesFromManyThreadsStayWhole) {
    std::ostringstream out;
    ServiceLog log(out, true);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&log, t] {
            for (int i = 0; i < 200; ++i) log.Warning("thread " + std::to_string(t) + " line " + std::to_string(i));
        });
    }
    for (std::thread& thread : threads) thread.join();
    // Line by line: one regex over the whole text recurses once per
    // character in libstdc++ and overflows the stack under the sanitizers.
    std::istringstream text(out.str());
    const std::regex whole("<4>thread [0-3] line [0-9]+");
    int lines = 0;
    for (std::string line; std::getline(text, line); ++lines) EXPECT_TRUE(std::regex_match(line, whole)) << line;
    EXPECT_EQ(lines, 800);
    EXPECT_TRUE(out.str().ends_with("\n"));
}

TEST(FleetStatusLine, CountsThoseThatNeedAttention) {
    // Ready, jammed, silent and not polled yet: the jam and the silent one.
    EXPECT_EQ(FleetStatusLine(*test::SampleFleet()), "4 printers, 2 need attention");
    FleetSnapshot one;
    one.printers.push_back(test::ViewAfterOneCycle("jam", "sim:jam-tray2-lct"));
    EXPECT_EQ(FleetStatusLine(one), "1 printer, 1 needs attention");
    one.printers[0] = test::ViewAfterOneCycle("ready", "sim:all-well");
    EXPECT_EQ(FleetStatusLine(one), "1 printer, 0 need attention");
    EXPECT_EQ(FleetStatusLine(FleetSnapshot{}), "0 printers, 0 need attention");
}

FleetConfig OneSimPrinter() {
    FleetConfig fleet;
    PrinterConfig printer;
    printer.name = "p";
    printer.uri = "sim:all-well";
    printer.settings.interval = 60;
    fleet.printers.push_back(printer);
    return fleet;
}

TEST(FleetPollerTick, TicksOnTheLoopWhileItRunsAndStopsWithIt) {
    std::atomic<int> ticks{0};
    FleetMetrics metrics;
    PollerOptions options;
    options.tick_interval = 20ms;
    options.on_tick = [&ticks] { ++ticks; };
    {
        const FleetPoller poller(OneSimPrinter(), options, metrics);
        EXPECT_GE(ticks.load(), 1);  // at once
        for (int i = 0; i < 250 && ticks.load() < 6; ++i) std::this_thread::sleep_for(20ms);
        EXPECT_GE(ticks.load(), 6);
    }
    const int at_end = ticks.load();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(ticks.load(), at_end);

    // Without an interval (no watchdog asked for): never.
    std::atomic<int> none{0};
    PollerOptions untimed;
    untimed.on_tick = [&none] { ++none; };
    {
        const FleetPoller poller(OneSimPrinter(), untimed, metrics);
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(none.load(), 0);
}

}  // namespace
}  // namespace tb58mon
