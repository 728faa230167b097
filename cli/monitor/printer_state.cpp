#include "monitor/printer_state.h"

#include <algorithm>

#include "base/engine_code_classes.h"
#include "monitor/cycle_record_view.h"

namespace tb58mon {
namespace {

// The trays, bins, counter, supplies and inventory a cycle read.
void ReadConfiguration(const PrnInfoEx& record, const MonitorCycle& cycle, PrinterState& state) {
    const RecordView words = ViewCycleRecord(record, cycle);
    for (const TrayView& tray : words.trays) {
        state.trays.push_back({tray.code, tray.name.value_or("Tray " + std::to_string(tray.code)),
                               tray.paper_size_word.value_or(""), tray.percent ? int{*tray.percent} : -1,
                               tray.media_word.value_or(""), tray.level_asked, tray.roles});
    }
    for (const BinView& bin : words.bins) {
        state.bins.push_back({bin.code, bin.name.value_or(""), bin.state_word.value_or("")});
    }
    if (!words.counters.empty()) state.counter = words.counters.front().value;
    if (cycle.mib) {
        state.supplies = ReadSupplies(*cycle.mib);
        state.inventory = ReadInventory(*cycle.mib);
    }
}

// What a cycle without a response knows: only why.
void KeepWhatWasKnown(const PrinterState& before, const MonitorCycle& cycle, PrinterState& state) {
    state.health = PrinterHealth::kNoResponse;
    state.reason = cycle.reason;
    for (const QueryRound& round : cycle.rounds) {
        if (!round.answered) state.failure_kind = std::string(RoundOutcomeName(round.outcome));
        else if (!round.stored) state.failure_kind = "reply not accepted";
    }
    state.last_contact = before.last_contact;
    state.trays = before.trays;
    state.bins = before.bins;
    state.toner = before.toner;
    state.counter = before.counter;
    state.supplies = before.supplies;
    state.inventory = before.inventory;
}

}  // namespace

bool NeedsAttention(const PrnInfoEx& record, const std::vector<int32_t>& codes) {
    if (record.bError != 0 || record.bOffline != 0) return true;
    return !std::all_of(codes.begin(), codes.end(), IsNormalStateCode);
}

PrinterState StateAfterCycle(const PrinterState& before, const PrnInfoEx& record, const MonitorCycle& cycle,
                             std::chrono::system_clock::time_point now) {
    PrinterState state;
    state.last_poll = now;
    state.last_contact = now;
    state.ustatus = cycle.ustatus.empty() ? before.ustatus : cycle.ustatus;
    for (const EngineStatusNode* node = record.pEngineStatus; node != nullptr;
         node = static_cast<const EngineStatusNode*>(node->next)) {
        state.codes.push_back(node->dwCode);
    }
    state.error = record.bError != 0;
    state.offline = record.bOffline != 0;
    if (cycle.no_response) {
        KeepWhatWasKnown(before, cycle, state);
    } else if (!cycle.status_read) {
        // Trays and bins came; the state did not: nothing is claimed of it.
        ReadConfiguration(record, cycle, state);
        state.health = PrinterHealth::kUnknown;
        state.reason = cycle.status_note;
    } else {
        ReadConfiguration(record, cycle, state);
        state.toner = TonerStateFromLevels(state.supplies).value_or(TonerOfCodes(state.codes));
        state.health = state.error                        ? PrinterHealth::kError
                       : NeedsAttention(record, state.codes) ? PrinterHealth::kAttention
                                                             : PrinterHealth::kReady;
    }
    return state;
}

}  // namespace tb58mon
