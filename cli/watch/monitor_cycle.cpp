#include "watch/monitor_cycle.h"

#include "base/value_lists.h"

namespace tb58mon {
namespace {

// Why a round is one without response, or an empty text when it is not.
std::string FailureOf(const QueryRound& round) {
    if (!round.answered) {
        std::string text(RoundOutcomeName(round.outcome));
        if (!round.message.empty()) text += ": " + round.message;
        return text;
    }
    if (!round.stored) return "reply not accepted: " + round.store_error;
    return {};
}

}  // namespace

bool HasTzmoEmulation(const PrnInfoEx& record) {
    for (const LoadedEmulNode* node = record.pLoadedEmul; node != nullptr;
         node = static_cast<const LoadedEmulNode*>(node->next)) {
        if (node->wEmulCode == TB58_EMULATION_TZMO) return true;
    }
    return false;
}

MonitorCycle RunMonitorCycle(PrnInfoEx* record, Transport& printer, bool every_round) {
    MonitorCycle cycle;
    auto take = [&](QueryRound round) {
        const std::string failure = FailureOf(round);
        if (!failure.empty() && !cycle.no_response) {
            cycle.no_response = true;
            cycle.reason = round.title + ": " + failure;
        }
        if (!round.ustatus.empty()) cycle.ustatus = round.ustatus;
        cycle.rounds.push_back(std::move(round));
        return failure.empty();
    };
    const bool configured = take(RunQueryRound(record, "configuration", kConfigurationFlags, printer));
    if (configured || every_round) {
        const bool polled =
            take(RunQueryRound(record, "status poll with every request flag", AllRequestFlags(), printer));
        if ((polled || every_round) && HasTzmoEmulation(*record)) take(RunEmulationRound(record, printer));
    }
    record->bNoResponse = cycle.no_response ? 1 : 0;
    return cycle;
}

}  // namespace tb58mon
