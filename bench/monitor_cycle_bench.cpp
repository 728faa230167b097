// The whole monitor cycle (query, intake of a 4 KB reply and a device ID,
// engine status, short and long status text, picture description, and the
// releases), its heap over 100,000 cycles, and the floor to compare a
// record's handling with: one memcpy of a PrnInfoEx.
#include <benchmark/benchmark.h>

#include <cstring>

#include "support/heap_in_use.h"
#include "support/monitor_cycle.h"

namespace {

void BM_MonitorCycle(benchmark::State& state) {
    PatSetLocale("EN");
    tb58::test::MonitorCycle cycle;
    for (auto _ : state) {
        if (!cycle.Run()) {
            state.SkipWithError(cycle.failed_step());
            break;
        }
    }
}

// 100,000 cycles after a warm-up; heap_growth_bytes must be 0 (the run is
// marked as an error otherwise).  `make bench` runs it with the C
// allocator's free-list caches off, so that the figure is exact (see
// tests/support/heap_in_use.h).
void BM_MonitorCycle_HeapGrowth(benchmark::State& state) {
    PatSetLocale("EN");
    tb58::test::MonitorCycle cycle;
    for (int i = 0; i < 300; ++i) cycle.Run();
    const size_t before = tb58::test::HeapBytesInUse();
    for (auto _ : state) {
        if (!cycle.Run()) {
            state.SkipWithError(cycle.failed_step());
            break;
        }
    }
    const size_t after = tb58::test::HeapBytesInUse();
    state.counters["heap_growth_bytes"] = static_cast<double>(after) - static_cast<double>(before);
    if (after != before) state.SkipWithError("the heap grew over the cycles");
}

void BM_PrnInfoExMemcpyFloor(benchmark::State& state) {
    PrnInfoEx source{};
    source.dwSize = sizeof source;
    PrnInfoEx target{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(&source);
        std::memcpy(&target, &source, sizeof target);
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = static_cast<double>(sizeof(PrnInfoEx));
}

BENCHMARK(BM_MonitorCycle);
BENCHMARK(BM_MonitorCycle_HeapGrowth)->Iterations(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrnInfoExMemcpyFloor);

}  // namespace
