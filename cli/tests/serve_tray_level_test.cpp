// The fleet service with a tray level out of range: the view, its JSON and
// the metrics have it as unknown (null, no sample), never as 0 %.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "quantity_transport.h"
#include "serve/fleet_metrics.h"
#include "serve/printer_view.h"

namespace tb58mon {
namespace {

struct Served {
    int level = 0;       // tray 1's level in the view
    Json json_level;     // and in its JSON
    bool metric = false;  // a tray level sample of tray 1
};

Served ServeWithQuantity(const std::string& answer) {
    PrinterConfig config;
    config.name = "lab";
    config.uri = "sim:all-well";
    const auto waiting = WaitingView(config);
    QuantityTransport printer(answer);
    auto record = std::make_shared<OwnedRecord>();
    MonitorCycle cycle;
    {
        const std::lock_guard<std::mutex> lock(LibraryLock());
        cycle = RunMonitorCycle(record->get(), printer, std::chrono::steady_clock::now() + std::chrono::seconds(5));
    }
    const auto view = ViewAfterCycle(*waiting, record, cycle, 0.1);
    Served served;
    for (const TrayReading& tray : view->trays) {
        if (tray.name == "Tray 1") served.level = tray.level;
    }
    const Json json = PrinterJson(*view, "EN", false);
    for (const Json& tray : json["trays"]) {
        if (tray["name"] == "Tray 1") served.json_level = tray["level"];
    }
    FleetMetrics metrics;
    metrics.Record(*view);
    served.metric = metrics.Text().find("tb58_printer_tray_level_ratio{printer=\"lab\",tray=\"Tray 1\"}") !=
                    std::string::npos;
    return served;
}

TEST(ServeTrayLevel, OutOfRangeIsNullAndNoSample) {
    for (const char* answer : {"0/5", "5/5", "END", "FULL"}) {
        SCOPED_TRACE(answer);
        const Served served = ServeWithQuantity(answer);
        const int percent = std::string(answer) == "0/5" || std::string(answer) == "END" ? 0 : 100;
        EXPECT_EQ(served.level, percent);
        EXPECT_EQ(served.json_level, percent);
        EXPECT_TRUE(served.metric);
    }
    for (const char* answer : {"6/5", "-1/5", "5/0", "0/0", "999/5", "4294967296/5"}) {
        SCOPED_TRACE(answer);
        const Served served = ServeWithQuantity(answer);
        EXPECT_EQ(served.level, -1);
        EXPECT_TRUE(served.json_level.is_null());
        EXPECT_FALSE(served.metric);
    }
}

}  // namespace
}  // namespace tb58mon
