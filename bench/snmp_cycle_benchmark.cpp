// The snmp:// path's cost apart from the network (its own program,
// tb58mon_snmp_bench: it takes the monitor's code).  What every simulated
// scenario's agent serves is turned back into bindings once; then:
//
//   BM_SnmpCycle_ReadMib       the bindings a cycle's walks bring, read into
//                              a PrinterMib (the monitor's own share)
//   BM_SnmpCycle_Library       that PrinterMib into the printer's record,
//                              kept from cycle to cycle as the monitor keeps
//                              it: PatPMInfoToPrnInfoEx (machine, options,
//                              status word) and PatSetCentroDataTo (the
//                              device ID); the two exports' instructions are
//                              counted with callgrind (docs/PERFORMANCE.md)
//   BM_SnmpCycle_Views         the supplies and inventory views of the same
//
// Each iteration takes the next scenario in turn, so the figures are the
// average over the built-in scenarios.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "library/library_calls.h"
#include "mib/mib_binding.h"
#include "mib/mib_pminfo.h"
#include "mib/supply_view.h"
#include "sim/agent_bindings.h"
#include "sim/scenario.h"
#include "sim/scenario_library.h"

namespace {

using namespace tb58mon;

struct ScenarioCase {
    std::vector<MibBinding> bindings;
    PrinterMib mib;
};

const std::vector<ScenarioCase>& Cases() {
    static const std::vector<ScenarioCase> cases = [] {
        std::vector<ScenarioCase> made;
        for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
            ScenarioCase one;
            one.bindings = AgentBindings(ParseScenario(file.name, file.text), FaultSwitches{});
            one.mib = ParsePrinterMib(one.bindings);
            made.push_back(std::move(one));
        }
        return made;
    }();
    return cases;
}

void BM_SnmpCycle_ReadMib(benchmark::State& state) {
    const auto& cases = Cases();
    size_t next = 0;
    for (auto _ : state) {
        PrinterMib mib = ParsePrinterMib(cases[next].bindings);
        benchmark::DoNotOptimize(mib);
        next = (next + 1) % cases.size();
    }
}
BENCHMARK(BM_SnmpCycle_ReadMib);

void BM_SnmpCycle_Library(benchmark::State& state) {
    const auto& cases = Cases();
    std::vector<OwnedRecord> records(cases.size());
    size_t next = 0;
    for (auto _ : state) {
        StoreMibInRecord(records[next].get(), cases[next].mib);
        benchmark::ClobberMemory();
        next = (next + 1) % cases.size();
    }
}
BENCHMARK(BM_SnmpCycle_Library);

void BM_SnmpCycle_Views(benchmark::State& state) {
    const auto& cases = Cases();
    size_t next = 0;
    for (auto _ : state) {
        auto supplies = ReadSupplies(cases[next].mib);
        auto inventory = ReadInventory(cases[next].mib);
        benchmark::DoNotOptimize(supplies);
        benchmark::DoNotOptimize(inventory);
        next = (next + 1) % cases.size();
    }
}
BENCHMARK(BM_SnmpCycle_Views);

}  // namespace

BENCHMARK_MAIN();
