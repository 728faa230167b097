#include "monitor/monitor_cycle.h"

#include "base/value_lists.h"
#include "mib/mib_pminfo.h"

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

// Whether an answered cycle brought status codes, and if not, why.  The
// engine status codes come from the device ID's STS field only; a code the
// printer cannot have sent (0, or below: an element that is no number) is
// no reading.
void DecideStatusRead(const PrnInfoEx& record, MonitorCycle& cycle) {
    bool asked = false;
    bool got_id = false;
    std::string note;
    for (const QueryRound& round : cycle.rounds) {
        if (!round.request.device_id_requested || !round.stored) continue;
        asked = true;
        if (!round.device_id.empty()) got_id = true;
        else if (note.empty()) note = round.device_id_note;
    }
    std::string why;
    if (!asked) {
        why = "no device ID was asked for";
    } else if (!got_id) {
        why = note.empty() ? "the printer gave no device ID" : note;
    } else {
        bool readable = record.pEngineStatus != nullptr;
        for (const EngineStatusNode* node = record.pEngineStatus; node != nullptr;
             node = static_cast<const EngineStatusNode*>(node->next)) {
            if (node->dwCode <= 0) readable = false;
        }
        if (!readable) why = "the device ID has no readable STS field";
    }
    cycle.status_read = why.empty();
    if (!why.empty()) cycle.status_note = "status codes not read: " + why;
}

}  // namespace

bool HasTzmoEmulation(const PrnInfoEx& record) {
    for (const LoadedEmulNode* node = record.pLoadedEmul; node != nullptr;
         node = static_cast<const LoadedEmulNode*>(node->next)) {
        if (node->wEmulCode == TB58_EMULATION_TZMO) return true;
    }
    return false;
}

constexpr std::string_view kMibRoundTitle = "printer MIB over SNMP";

CycleSteps::CycleSteps(PrnInfoEx* record, bool every_round, bool reads_mib)
    : record_(record), every_round_(every_round), phase_(reads_mib ? Phase::kMib : Phase::kConfiguration) {
    mib_request_.device_id_requested = true;
}

const QueryRequest* CycleSteps::Next() {
    pending_.reset();
    if (phase_ == Phase::kMib) {
        phase_ = Phase::kDone;
        mib_pending_ = true;
        return &mib_request_;
    }
    mib_pending_ = false;
    const bool go_on = last_ok_ || every_round_;
    switch (phase_) {
        case Phase::kConfiguration:
            phase_ = Phase::kStatus;
            pending_ = BeginQueryRound(record_, "configuration", kConfigurationFlags);
            break;
        case Phase::kStatus:
            phase_ = go_on ? Phase::kEmulation : Phase::kDone;
            if (go_on) pending_ = BeginQueryRound(record_, "status poll with every request flag", AllRequestFlags());
            break;
        case Phase::kEmulation:
            phase_ = Phase::kDone;
            if (go_on && HasTzmoEmulation(*record_)) pending_ = BeginEmulationRound();
            break;
        case Phase::kMib:
        case Phase::kDone: break;
    }
    return pending_ ? &pending_->round.request : nullptr;
}

void CycleSteps::TakeMib(RoundResult result) {
    mib_pending_ = false;
    QueryRound round;
    round.title = std::string(kMibRoundTitle);
    round.call = "PatPMInfoToPrnInfoEx, PatSetCentroDataTo";
    round.request = mib_request_;
    round.outcome = result.outcome;
    round.answered = result.outcome == RoundOutcome::kAnswered && result.mib.has_value();
    round.message = std::move(result.message);
    round.device_id = std::move(result.device_id);
    round.device_id_note = std::move(result.device_id_note);
    if (round.answered) {
        try {
            StoreMibInRecord(record_, *result.mib);
            round.stored = true;
        } catch (const CliError& error) {
            round.store_error = error.what();
        }
        cycle_.mib = std::move(result.mib);
        cycle_.mib_note = std::move(result.mib_note);
    }
    const std::string failure = FailureOf(round);
    if (!failure.empty()) {
        cycle_.no_response = true;
        cycle_.reason = round.title + ": " + failure;
    }
    cycle_.rounds.push_back(std::move(round));
}

void CycleSteps::Take(RoundResult result) {
    if (mib_pending_) return TakeMib(std::move(result));
    if (!pending_) return;
    QueryRound round = FinishQueryRound(std::move(*pending_), record_, std::move(result));
    pending_.reset();
    const std::string failure = FailureOf(round);
    if (!failure.empty() && !cycle_.no_response) {
        cycle_.no_response = true;
        cycle_.reason = round.title + ": " + failure;
    }
    if (!round.ustatus.empty()) cycle_.ustatus = round.ustatus;
    last_ok_ = failure.empty();
    cycle_.rounds.push_back(std::move(round));
}

MonitorCycle CycleSteps::Finish() {
    record_->bNoResponse = cycle_.no_response ? 1 : 0;
    if (!cycle_.no_response) DecideStatusRead(*record_, cycle_);
    phase_ = Phase::kDone;
    return std::move(cycle_);
}

MonitorCycle RunMonitorCycle(PrnInfoEx* record, Transport& printer, Deadline deadline, bool every_round) {
    CycleSteps steps(record, every_round, printer.ReadsMib());
    while (const QueryRequest* request = steps.Next()) {
        steps.Take(printer.Exchange(request->text, request->device_id_requested, deadline));
    }
    return steps.Finish();
}

}  // namespace tb58mon
