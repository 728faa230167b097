// What 'tb58mon watch' shows of a printer, and what changed since the last
// cycle: the status texts, the trays, the output bins, the toner and the
// page counter, each as one named line.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "report/record_report.h"
#include "mib/supply_view.h"
#include "monitor/monitor_cycle.h"

namespace tb58mon {

struct WatchState {
    bool response = false;
    std::string reason;                 // why there was no response
    bool status_known = false;          // answered with readable status codes
    std::string status_note;            // why they are not known ("status codes not read: ...")
    std::string short_text;             // UTF-8; empty when the library has none
    std::string long_text;
    std::vector<int32_t> codes;         // engine status codes
    std::vector<std::pair<std::string, std::string>> trays;  // localized name, "A4 LEF, 80 %, Plain"
    std::vector<std::pair<std::string, std::string>> bins;   // localized name, state
    std::string toner;                  // "ok", "low", "empty"; empty while not known
    std::string counter;                // the page counter, empty when not reported
    std::vector<SupplyReading> supplies;  // snmp://: the marker supplies
    std::string serial;                 // snmp://: the serial number
    std::string ustatus;                // the latest unsolicited status, one line
};

// The state after a cycle.  A cycle without response keeps the trays, bins,
// toner and counter of before (nothing is known of them), so that only the
// status changes.
WatchState DescribeWatchState(PrnInfoEx* record, const MonitorCycle& cycle, uint32_t kind, uint32_t code_page,
                              const WatchState* before);

// Every line of a state, in a fixed order: ("status", ...), ("tray Tray 1",
// ...), ("bin ...", ...), ("supply Black Toner", "8 %"), ("toner", ...),
// ("counter", ...), ("serial", ...).
std::vector<std::pair<std::string, std::string>> WatchLines(const WatchState& state);

// The lines of now that differ from before (all of them without before);
// a line before had and now has not comes with the value "gone".
std::vector<std::pair<std::string, std::string>> ChangedLines(const WatchState* before, const WatchState& now);

// True when the status (codes, response, texts) differs.
bool StatusChanged(const WatchState* before, const WatchState& now);

Json WatchStateJson(const WatchState& state);

// The exit code of 'watch --once': 3 without response; 1 when the status
// codes could not be read; 0 when every status code is a normal state
// (ready, warming up, printing, energy saver) and no error flag is set;
// else 1.
int WatchExitCode(const WatchState& state, const PrnInfoEx& record);

// "ok", "low" or "empty", from the toner conditions among the engine
// status codes (PJL reports no toner levels; over snmp:// the supplies'
// levels decide where the printer gives them).
std::string TonerState(const std::vector<int32_t>& codes);

// True for the engine status codes of normal operation: ready, warming up,
// printing, energy saver.
bool IsNormalStateCode(int32_t code);

// True unless every status code is a normal state (ready, warming up,
// printing, energy saver) and neither bError nor bOffline is set.
bool NeedsAttention(const PrnInfoEx& record, const std::vector<int32_t>& codes);

constexpr int kExitAttention = 1;
constexpr int kExitNoResponse = 3;

}  // namespace tb58mon
