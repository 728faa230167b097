// What the monitor knows of one printer after its latest cycle, for every
// command that watches printers: 'watch' renders it as lines, 'serve' as
// JSON, the page, metrics and events.  A cycle without a response changes
// only the health: the trays, bins, toner, counter and supplies of before
// are kept (nothing new is known of them).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/toner_level.h"
#include "mib/supply_view.h"
#include "monitor/monitor_cycle.h"
#include "monitor/printer_health.h"

namespace tb58mon {

struct TrayReading {
    uint16_t code = 0;
    std::string name;          // English, as PatGetDeviceName takes it ("Tray N" for a tray the library does not name)
    std::string size;          // the printer's paper size word; empty when unknown
    int level = -1;            // percent; -1 when unknown (not asked, or an answer out of range)
    std::string media;         // the media word; empty when unknown
    bool level_asked = false;  // the printer is asked for this tray's level
    std::vector<std::string> roles = {};  // "locked", "front cover", ...
};

struct BinReading {
    uint16_t code = 0;
    std::string name;   // English; empty when the library does not name it
    std::string state;  // the printer's state word; empty when unknown
};

struct PrinterState {
    PrinterHealth health = PrinterHealth::kWaiting;
    std::string reason;        // why the last cycle got no response, or why its status is unknown
    std::string failure_kind;  // its outcome: "timed out", "reply not accepted", ...
    std::optional<std::chrono::system_clock::time_point> last_poll;
    std::optional<std::chrono::system_clock::time_point> last_contact;
    std::vector<int32_t> codes;  // the engine status codes the record holds
    bool error = false;
    bool offline = false;
    std::vector<TrayReading> trays;
    std::vector<BinReading> bins;
    std::optional<TonerLevel> toner;  // none while not known
    std::optional<uint32_t> counter;
    std::string ustatus;                 // the latest unsolicited status
    std::vector<SupplyReading> supplies;  // snmp://: the marker supplies
    std::optional<Inventory> inventory;   // snmp://: serial number, model, memory, pages
};

// The state after a cycle that left record, at time now.
PrinterState StateAfterCycle(const PrinterState& before, const PrnInfoEx& record, const MonitorCycle& cycle,
                             std::chrono::system_clock::time_point now);

// True unless every status code is a normal state (ready, warming up,
// printing, energy saver) and neither bError nor bOffline is set.
bool NeedsAttention(const PrnInfoEx& record, const std::vector<int32_t>& codes);

}  // namespace tb58mon
