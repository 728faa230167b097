// The PJL query cycle through the shared library: building the query with
// every flag, taking in a realistic reply with a device ID and a reply of
// 1.4 MB; beside them, one memchr pass over the realistic reply as a floor.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "Tb58Wk31Platform.h"
#include "support/intake_cases.h"
#include "support/monitor_cycle.h"
#include "support/status_packet.h"
#include "support/test_data.h"
#include "support/test_record.h"

namespace {

using tb58::test::FourKilobyteReply;
using tb58::test::FreeTree;

void BM_CreateQueryInfo_AllFlags(benchmark::State& state) {
    tb58::test::TestRecord record;
    for (auto _ : state) {
        InfoItem* query = PatCreateQueryInfo(record.get(), 2, 0xFFFFFFFFu);
        benchmark::DoNotOptimize(query);
        FreeTree(query);
    }
}

void BM_SetCentroDataTo_4KB(benchmark::State& state) {
    tb58::test::TestRecord record;
    const std::string reply = FourKilobyteReply();
    const std::string_view device_id = tb58::test::TestData("device_id.txt");
    InfoItem* root = tb58::test::NewItem(ITEM_CENTRO_DATA, nullptr, 0);
    tb58::test::AppendChild(root, PatCreateQueryInfo(record.get(), 2, 0xFFFFFFFFu));
    tb58::test::AppendChild(root, tb58::test::NewItem(ITEM_PJL_TEXT, reply.c_str(), static_cast<uint32_t>(reply.size() + 1)));
    tb58::test::AppendChild(root, tb58::test::NewItem(ITEM_DEVICE_ID, device_id.data(), static_cast<uint32_t>(device_id.size())));
    for (auto _ : state) {
        if (PatSetCentroDataTo(root, 0, record.get(), 2) != 1) {
            state.SkipWithError("PatSetCentroDataTo failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reply.size()));
    state.counters["reply_bytes"] = static_cast<double>(reply.size());
    FreeTree(root);
}

// About 1.4 MB of repeated lines: one CONFIG section that lists the mailbox
// bin 82,000 times, each line an option node appended to one chain.  Its
// cost per byte is to stay close to the 4.9 KB reply's.
void BM_SetCentroDataTo_1400KB(benchmark::State& state) {
    tb58::test::IntakeCase intake;
    intake.query = "\x1b%-12345X@PJL INFO CONFIG\r\n\x1b%-12345X";
    intake.ask_device_id = false;
    intake.reply = "\x1b%-12345X@PJL INFO CONFIG\r\nOUT TRAYS [82000 ENUMERATED]\r\n";
    while (intake.reply.size() < 1400000) intake.reply += "\tOUTTRAYMAILBOX\r\n";
    intake.reply += "\f\x1b%-12345X";
    tb58::test::PacketBuilder packets;
    const InfoItem* packet = packets.Build(intake);
    for (auto _ : state) {
        PrnInfoEx record{};
        record.dwSize = sizeof record;
        if (PatSetCentroDataTo(packet, 0, &record, 2) != 1 || record.nDeviceInfo < 80000) {
            state.SkipWithError("PatSetCentroDataTo failed");
            break;
        }
        state.PauseTiming();
        tb58::test::ReleaseRecord(record);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(intake.reply.size()));
    state.counters["reply_bytes"] = static_cast<double>(intake.reply.size());
}

// The floor: one pass over the same bytes looking for form feeds.
void BM_MemchrFloor_4KB(benchmark::State& state) {
    const std::string reply = FourKilobyteReply();
    for (auto _ : state) {
        size_t feeds = 0;
        for (const char* at = reply.data(); (at = static_cast<const char*>(std::memchr(at, '\f', reply.data() + reply.size() - at))) != nullptr; ++at) {
            ++feeds;
        }
        benchmark::DoNotOptimize(feeds);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reply.size()));
}

BENCHMARK(BM_CreateQueryInfo_AllFlags);
BENCHMARK(BM_SetCentroDataTo_4KB);
BENCHMARK(BM_SetCentroDataTo_1400KB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemchrFloor_4KB);

}  // namespace
