// PatGetStatusString through the shared library, English: short and long
// texts for a one-code record and for two trays out of paper.
#include <benchmark/benchmark.h>

#include <initializer_list>

#include "Tb58Wk31Platform.h"
#include "support/status_packet.h"

namespace {

void StatusString(benchmark::State& state, std::initializer_list<int32_t> codes, uint32_t selector) {
    PatSetLocale("EN");
    tb58::test::StatusPacket packet;
    packet.SetCodes(codes);
    char text[512];
    for (auto _ : state) {
        uint32_t size = sizeof text;
        if (PatGetStatusString(1, packet.root(), 3, selector, text, &size) != 1) {
            state.SkipWithError("PatGetStatusString failed");
            break;
        }
        benchmark::DoNotOptimize(text);
    }
}

void BM_ShortText_OneCode(benchmark::State& state) { StatusString(state, {42001}, 1); }
void BM_LongText_OneCode(benchmark::State& state) { StatusString(state, {42001}, 2); }
void BM_ShortText_TwoTrays(benchmark::State& state) { StatusString(state, {41201, 41301}, 1); }
void BM_LongText_TwoTrays(benchmark::State& state) { StatusString(state, {41201, 41301}, 2); }

BENCHMARK(BM_ShortText_OneCode);
BENCHMARK(BM_LongText_OneCode);
BENCHMARK(BM_ShortText_TwoTrays);
BENCHMARK(BM_LongText_TwoTrays);

}  // namespace
