// PatCreateBitmapInfo and PatDisposeBitmapInfo through the shared library:
// one picture description for a machine with four options (LCT,
// interposer, Z-folding unit, finisher) and one or three selected codes.
#include <benchmark/benchmark.h>

#include <initializer_list>

#include "Tb58Wk31Platform.h"
#include "support/status_packet.h"
#include "support/tray_chain.h"

namespace {

void Picture(benchmark::State& state, std::initializer_list<int32_t> codes) {
    tb58::test::StatusPacket packet;
    packet.SetCodes(codes);
    for (uint16_t device : {104, 41, 113, 21}) tb58::test::AppendDevice(packet.machine(), device);
    tb58::test::AppendTray(packet.machine(), tb58::test::kTray4);
    for (auto _ : state) {
        BitmapInfo* info = PatCreateBitmapInfo(1, packet.root(), 3);
        if (info == nullptr) {
            state.SkipWithError("PatCreateBitmapInfo failed");
            break;
        }
        benchmark::DoNotOptimize(info->pLists[0].dwCount);
        PatDisposeBitmapInfo(info);
    }
}

void BM_Picture_OneCode(benchmark::State& state) { Picture(state, {46123}); }
void BM_Picture_ThreeCodes(benchmark::State& state) { Picture(state, {41201, 41301, 41401}); }

BENCHMARK(BM_Picture_OneCode);
BENCHMARK(BM_Picture_ThreeCodes);

}  // namespace
