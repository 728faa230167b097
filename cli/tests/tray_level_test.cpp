// Tray levels: a quantity answer the printer should not give ("999/5",
// "-1/5", "5/0") is an unknown level, never 0 % (an empty tray), from the
// reading of the answer to the watch lines and the record report.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "library/library_calls.h"
#include "report/record_report.h"
#include "quantity_transport.h"
#include "report/tray_level.h"
#include "monitor/monitor_cycle.h"
#include "watch/watch_view.h"

namespace tb58mon {
namespace {

TEST(TrayLevel, QuantityAnswersAtTheirBounds) {
    EXPECT_EQ(QuantityPercent("END"), 0);
    EXPECT_EQ(QuantityPercent("FULL"), 100);
    EXPECT_EQ(QuantityPercent("1/5"), 20);
    EXPECT_EQ(QuantityPercent("4/5"), 80);
    EXPECT_EQ(QuantityPercent("0/5"), 0);
    EXPECT_EQ(QuantityPercent("5/5"), 100);
    EXPECT_EQ(QuantityPercent("1/3"), 33);  // rounded down
    EXPECT_EQ(QuantityPercent("0/1"), 0);
    EXPECT_EQ(QuantityPercent("1/1"), 100);
    EXPECT_EQ(QuantityPercent("4294967294/4294967295"), 99);   // the largest numbers: no overflow
    EXPECT_EQ(QuantityPercent("4294967295/4294967295"), 100);
    for (const char* unknown : {"6/5", "-1/5", "5/-1", "5/0", "0/0", "999/5", "1/4294967296", "4294967296/4294967296",
                                "99999999999999999999/5", "+1/5", " 1/5", "1/5 ", "1 /5", "/5", "1/", "/", "1/5/5",
                                "0x1/5", "1.5/5", "end", "Full", "EMPTY", "", "?"}) {
        SCOPED_TRACE(unknown);
        EXPECT_EQ(QuantityPercent(unknown), std::nullopt);
    }
}

TEST(TrayLevel, FindsTheAnswerOfItsInquiry) {
    const std::string reply =
        "@PJL INQUIRE INTRAY1QUANT\r\n4/5\r\n\f@PJL INQUIRE INTRAY2QUANT\r\n  999/5 \r\n\f"
        "@PJL INQUIRE INTRAY3QUANT\r\n\r\n\f@PJL  INQUIRE   INTRAY4QUANT\r\nFULL\r\n\f";
    EXPECT_EQ(InquireAnswer(reply, "INTRAY1QUANT"), "4/5");
    EXPECT_EQ(InquireAnswer(reply, "INTRAY2QUANT"), "999/5");
    EXPECT_EQ(InquireAnswer(reply, "INTRAY3QUANT"), std::nullopt);  // an empty answer line
    EXPECT_EQ(InquireAnswer(reply, "INTRAY4QUANT"), "FULL");
    EXPECT_EQ(InquireAnswer(reply, "INTRAYLCTQUANT"), std::nullopt);
    EXPECT_EQ(InquireAnswer(reply, "INTRAY1"), std::nullopt);  // another variable, not a prefix
    EXPECT_EQ(InquireAnswer("@PJL INQUIRE INTRAY1QUANT", "INTRAY1QUANT"), std::nullopt);  // cut off
    // The last answer counts; an answer line is never taken for a command.
    EXPECT_EQ(InquireAnswer("@PJL INQUIRE INTRAY1QUANT\n1/5\n\f@PJL INQUIRE INTRAY1QUANT\nEND\n\f", "INTRAY1QUANT"),
              "END");
}

TEST(TrayLevel, TheAnswerDecidesOverTheRecord) {
    const std::string_view replies[] = {"@PJL INQUIRE INTRAY1QUANT\r\n5/0\r\n\f",
                                        "@PJL INQUIRE INTRAY2QUANT\r\nEND\r\n\f"};
    EXPECT_EQ(TrayLevel(0, "INTRAY1QUANT", replies), std::nullopt);
    EXPECT_EQ(TrayLevel(0, "INTRAY2QUANT", replies), 0);
    // Without an answer: the record's level from 1 to 100, else unknown.
    EXPECT_EQ(TrayLevel(0, "INTRAY3QUANT", replies), std::nullopt);
    EXPECT_EQ(TrayLevel(1, "INTRAY3QUANT", {}), 1);
    EXPECT_EQ(TrayLevel(100, "INTRAY3QUANT", {}), 100);
    EXPECT_EQ(TrayLevel(101, "INTRAY3QUANT", {}), std::nullopt);
    EXPECT_EQ(TrayLevel(65535, "INTRAY3QUANT", {}), std::nullopt);
    EXPECT_EQ(TrayLevel(80, "", replies), std::nullopt);  // a tray the printer is not asked about
}

struct Watched {
    std::string tray_line;  // the watch line of tray 1
    std::string report;     // the record report
};

Watched WatchWithQuantity(const std::string& answer) {
    QuantityTransport printer(answer);
    OwnedRecord record;
    const MonitorCycle cycle = RunMonitorCycle(record.get(), printer, std::chrono::steady_clock::now() + std::chrono::seconds(5));
    EXPECT_FALSE(cycle.no_response) << cycle.reason;
    const PrinterState printer_state = StateAfterCycle(PrinterState{}, *record.get(), cycle, std::chrono::system_clock::now());
    const WatchState state = DescribeWatchState(record.get(), printer_state, cycle.ustatus, 1, 1252);
    Watched watched;
    for (const auto& [name, value] : state.trays) {
        if (name == "Tray 1") watched.tray_line = value;
    }
    std::ostringstream report;
    PrintRecord(report, ViewRecord(*record.get(), StoredReplies(cycle.rounds)));
    watched.report = report.str();
    return watched;
}

TEST(TrayLevel, WatchAndReportShowAnUnknownLevel) {
    const struct {
        const char* answer;
        const char* line;
        const char* column;
    } cases[] = {
        {"4/5", "A4LONG, 80 %, PLAIN", "Tray 1 (3)        A4LONG      80%   PLAIN"},
        {"END", "A4LONG, 0 %, PLAIN", "Tray 1 (3)        A4LONG      0%    PLAIN"},
        {"0/5", "A4LONG, 0 %, PLAIN", "Tray 1 (3)        A4LONG      0%    PLAIN"},
        {"5/5", "A4LONG, 100 %, PLAIN", "Tray 1 (3)        A4LONG      100%  PLAIN"},
        {"6/5", "A4LONG, -, PLAIN", "Tray 1 (3)        A4LONG      -     PLAIN"},
        {"-1/5", "A4LONG, -, PLAIN", "Tray 1 (3)        A4LONG      -     PLAIN"},
        {"999/5", "A4LONG, -, PLAIN", "Tray 1 (3)        A4LONG      -     PLAIN"},
        {"5/0", "A4LONG, -, PLAIN", "Tray 1 (3)        A4LONG      -     PLAIN"},
        {"0/0", "A4LONG, -, PLAIN", "Tray 1 (3)        A4LONG      -     PLAIN"},
        {"18446744073709551616/5", "A4LONG, -, PLAIN", "Tray 1 (3)        A4LONG      -     PLAIN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        const Watched watched = WatchWithQuantity(c.answer);
        EXPECT_EQ(watched.tray_line, c.line);
        EXPECT_NE(watched.report.find(c.column), std::string::npos) << watched.report;
    }
}

}  // namespace
}  // namespace tb58mon
