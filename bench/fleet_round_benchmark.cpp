// The status round of a fleet printer apart from the network (its own
// program, tb58mon_round_bench: it takes the monitor's code).  For every
// built-in scenario, a record is brought through the configuration round
// once, as the service's first cycle does, and the simulated printer's
// answer to the status round (every request flag) is made once; then:
//
//   BM_FleetStatusRound   the round as the service runs it between its
//                         query and the printer's answer: BeginQueryRound
//                         (PatCreateQueryInfo with every flag) and
//                         FinishQueryRound (the reply and the device ID
//                         into the record through PatSetCentroDataTo, the
//                         releases); the instructions of one round are
//                         counted with callgrind (docs/PERFORMANCE.md)
//
// Each iteration takes the next scenario in turn, so the figure is the
// average over the built-in scenarios that answer.
#include <benchmark/benchmark.h>

#include <deque>
#include <string>

#include "base/value_lists.h"
#include "library/library_calls.h"
#include "monitor/monitor_cycle.h"
#include "monitor/query_round.h"
#include "sim/scenario.h"
#include "sim/scenario_library.h"
#include "sim/simulated_printer.h"

namespace {

using namespace tb58mon;

struct RoundCase {
    OwnedRecord record;
    RoundResult answer;
};

RoundResult AnswerOf(SimulatedPrinter& printer, const PendingRound& pending) {
    RoundResult result;
    auto answer = printer.Answer(pending.round.request.text, pending.round.request.device_id_requested);
    if (!answer) return result;
    result.outcome = RoundOutcome::kAnswered;
    result.reply = std::move(answer->reply);
    result.device_id = std::move(answer->device_id);
    return result;
}

// The cases whose printer answers both rounds, each record after its
// configuration round.
bool Prepare(const EmbeddedFile& file, RoundCase& one) {
    const Scenario scenario = ParseScenario(file.name, file.text);
    SimulatedPrinter printer(scenario);
    PendingRound configuration = BeginQueryRound(one.record.get(), "configuration", kConfigurationFlags);
    RoundResult answer = AnswerOf(printer, configuration);
    if (answer.outcome != RoundOutcome::kAnswered) return false;
    if (!FinishQueryRound(std::move(configuration), one.record.get(), std::move(answer)).stored) return false;
    PendingRound status = BeginQueryRound(one.record.get(), "status", AllRequestFlags());
    one.answer = AnswerOf(printer, status);
    return one.answer.outcome == RoundOutcome::kAnswered;
}

std::deque<RoundCase>& Cases() {
    static std::deque<RoundCase> cases = [] {
        std::deque<RoundCase> made;
        for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
            if (!Prepare(file, made.emplace_back())) made.pop_back();
        }
        return made;
    }();
    return cases;
}

// Kept out of line so that callgrind counts one round as one call.
[[gnu::noinline]] bool FleetStatusRound(RoundCase& one) {
    PendingRound pending = BeginQueryRound(one.record.get(), "status", AllRequestFlags());
    return FinishQueryRound(std::move(pending), one.record.get(), one.answer).stored;
}

void BM_FleetStatusRound(benchmark::State& state) {
    auto& cases = Cases();
    if (cases.empty()) {
        state.SkipWithError("no scenario answers both rounds");
        return;
    }
    size_t next = 0;
    for (auto _ : state) {
        if (!FleetStatusRound(cases[next])) {
            state.SkipWithError("the library refused a status reply");
            break;
        }
        next = (next + 1) % cases.size();
    }
    state.counters["scenarios"] = static_cast<double>(cases.size());
}
BENCHMARK(BM_FleetStatusRound);

}  // namespace

BENCHMARK_MAIN();
