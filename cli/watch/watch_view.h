// What 'tb58mon watch' shows of a printer, and what changed since the last
// cycle: the status texts, the trays, the output bins, the toner and the
// page counter, each as one named line.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/json.h"
#include "monitor/printer_state.h"

namespace tb58mon {

struct WatchState {
    PrinterState printer;
    bool response = false;
    bool status_known = false;          // answered with readable status codes
    std::string short_text;             // UTF-8; empty when the library has none
    std::string long_text;              // on one line
    std::vector<std::pair<std::string, std::string>> trays;  // localized name, "A4 LEF, 80 %, Plain"
    std::vector<std::pair<std::string, std::string>> bins;   // localized name, state
    std::string ustatus;                // the unsolicited status this cycle brought, one line
};

// The printer's state in the watch's language: its texts from record, the
// names of its trays and bins; ustatus is what the cycle brought.
WatchState DescribeWatchState(PrnInfoEx* record, const PrinterState& printer, const std::string& ustatus,
                              uint32_t kind, uint32_t code_page);

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
// codes could not be read or need attention (monitor/printer_state.h); 0
// for a printer in normal operation.
int WatchExitCode(const WatchState& state);

constexpr int kExitAttention = 1;
constexpr int kExitNoResponse = 3;

}  // namespace tb58mon
