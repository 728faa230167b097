// A small fleet's snapshot for the tests of the HTTP front: sim: printers
// run through one monitor cycle each (ready, a jam, no response) and one
// still waiting for its first poll.
#pragma once

#include <memory>
#include <string>

#include "serve/fleet_poller.h"
#include "serve/printer_view.h"
#include "transport/transport.h"
#include "monitor/monitor_cycle.h"

namespace tb58mon::test {

inline std::shared_ptr<const PrinterView> ViewAfterOneCycle(const std::string& name, const std::string& uri) {
    const PrinterConfig printer{name, uri, {}};
    const auto waiting = WaitingView(printer);
    TransportOptions options;
    options.snmp = false;
    const auto transport = OpenTransport(uri, options);
    auto record = std::make_shared<OwnedRecord>();
    const MonitorCycle cycle =
        RunMonitorCycle(record->get(), *transport, std::chrono::steady_clock::now() + std::chrono::seconds(5));
    return ViewAfterCycle(*waiting, std::move(record), cycle, 0.1);
}

inline std::shared_ptr<const FleetSnapshot> SampleFleet() {
    auto snapshot = std::make_shared<FleetSnapshot>();
    snapshot->printers.push_back(ViewAfterOneCycle("ready", "sim:all-well"));
    snapshot->printers.push_back(ViewAfterOneCycle("jam", "sim:jam-tray2-lct"));
    snapshot->printers.push_back(ViewAfterOneCycle("quiet", "sim:no-response"));
    snapshot->printers.push_back(WaitingView(PrinterConfig{"new", "sim:all-well", {}}));
    snapshot->taken = std::chrono::system_clock::now();
    return snapshot;
}

}  // namespace tb58mon::test
