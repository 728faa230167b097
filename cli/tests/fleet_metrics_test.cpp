// The fleet's metrics under the names Prometheus users expect: tray levels
// as a ratio at both ends, the page counter as a counter that a printer's
// going back resets, the last contact as a timestamp.
#include <gtest/gtest.h>

#include <sstream>

#include "serve/fleet_metrics.h"

namespace tb58mon {
namespace {

// The value of the sample "name{labels}" in text, or -1 when it is missing.
double Sample(const std::string& text, const std::string& series) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(series + " ", 0) == 0) return std::stod(line.substr(series.size() + 1));
    }
    return -1;
}

PrinterView Answered(uint32_t counter, int level) {
    PrinterView view;
    view.name = "lab";
    view.health = PrinterHealth::kReady;
    view.counter = counter;
    view.trays.push_back(TrayReading{3, "Tray 1", "A4LONG", level, "PLAIN"});
    view.last_contact = std::chrono::system_clock::time_point(std::chrono::seconds(1767225600));
    return view;
}

TEST(FleetMetricsNames, TrayLevelIsARatioAtBothEnds) {
    FleetMetrics metrics;
    metrics.Record(Answered(1, 100));
    EXPECT_DOUBLE_EQ(Sample(metrics.Text(), "tb58_printer_tray_level_ratio{printer=\"lab\",tray=\"Tray 1\"}"), 1.0);
    metrics.Record(Answered(1, 0));
    EXPECT_DOUBLE_EQ(Sample(metrics.Text(), "tb58_printer_tray_level_ratio{printer=\"lab\",tray=\"Tray 1\"}"), 0.0);
    metrics.Record(Answered(1, -1));  // unknown: no sample at all
    EXPECT_EQ(metrics.Text().find("tb58_printer_tray_level_ratio{"), std::string::npos);
    EXPECT_EQ(metrics.Text().find("tray_level_percent"), std::string::npos);
}

TEST(FleetMetricsNames, PagesCountUpAndResetWhenTheCounterGoesBack) {
    FleetMetrics metrics;
    const std::string series = "tb58_printer_pages_total{printer=\"lab\"}";
    metrics.Record(Answered(48213, 50));
    EXPECT_DOUBLE_EQ(Sample(metrics.Text(), series), 48213);
    metrics.Record(Answered(48220, 50));
    EXPECT_DOUBLE_EQ(Sample(metrics.Text(), series), 48220);
    metrics.Record(Answered(12, 50));  // a new controller board
    EXPECT_DOUBLE_EQ(Sample(metrics.Text(), series), 12);
    metrics.Record(Answered(4294967295u, 50));  // the largest counter a printer can send
    EXPECT_DOUBLE_EQ(Sample(metrics.Text(), series), 4294967295.0);
    EXPECT_NE(metrics.Text().find("# TYPE tb58_printer_pages_total counter"), std::string::npos);
    metrics.Forget("lab");
    EXPECT_EQ(metrics.Text().find(series), std::string::npos);
}

TEST(FleetMetricsNames, LastContactIsATimestamp) {
    FleetMetrics metrics;
    metrics.Record(Answered(1, 50));
    EXPECT_DOUBLE_EQ(Sample(metrics.Text(), "tb58_printer_last_contact_timestamp_seconds{printer=\"lab\"}"), 1767225600);
    EXPECT_EQ(metrics.Text().find("tb58_printer_last_contact_seconds"), std::string::npos);
}

}  // namespace
}  // namespace tb58mon
