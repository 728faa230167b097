#include "monitor/cycle_record_view.h"

#include <algorithm>
#include <cmath>

#include "mib/mib_pminfo.h"

namespace tb58mon {

std::optional<uint16_t> MibTrayPercent(const MibInput& input) {
    const std::optional<double> ratio = InputLevelRatio(input);
    if (!ratio) return std::nullopt;
    const auto percent = static_cast<uint16_t>(std::floor(*ratio * 100.0));
    return (percent == 0 && *input.current_level > 0) ? uint16_t{1} : percent;
}

RecordView ViewCycleRecord(const PrnInfoEx& record, const MonitorCycle& cycle) {
    RecordView view = ViewRecord(record, StoredReplies(cycle.rounds));
    if (!cycle.mib) return view;
    // The record's trays are the MIB's inputs, in the same order.
    const std::vector<MibInput>& inputs = cycle.mib->inputs;
    for (size_t i = 0; i < view.trays.size() && i < inputs.size(); ++i) {
        TrayView& tray = view.trays[i];
        tray.percent = MibTrayPercent(inputs[i]);
        tray.level_asked = tray.percent.has_value();
    }
    return view;
}

}  // namespace tb58mon
