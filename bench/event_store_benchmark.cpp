// The event store's cost in the fleet service (its own program,
// tb58mon_event_bench: it takes the monitor's code).
//
//   BM_EventCycle        one poll cycle of 1,000 printers with a tenth of
//                        them changing state (ready <-> jammed: 2 events
//                        each): queued, compared, written in one
//                        transaction.  Wall time per cycle (the writer is a
//                        thread of its own): against a 5 s interval, the
//                        share of a core.
//   BM_EventsJsonPage    /events.json answered over a store of 1,000,000
//                        events: a page of 100, newest first, of the whole
//                        fleet, of one printer, and since a time; also the
//                        database's bytes per event.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "events/event_store.h"
#include "serve/http_router.h"

namespace {

using tb58mon::EventStore;
using tb58mon::PrinterHealth;
using tb58mon::PrinterObservation;

constexpr int kPrinters = 1000;
constexpr int kChanging = 100;
constexpr int32_t kJam = 42000;
constexpr int64_t kStart = 1796904000;

std::string TemporaryFolder() {
    char folder[] = "/tmp/tb58mon-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) std::abort();
    return folder;
}

PrinterObservation Seen(bool jammed, int64_t time) {
    PrinterObservation now;
    now.time = time;
    now.health = jammed ? PrinterHealth::kError : PrinterHealth::kReady;
    if (jammed) now.codes = {kJam};
    now.toner = tb58mon::TonerLevel::kOk;
    now.trays = {{3, 80}, {4, 100}, {5, 60}, {6, 40}};
    now.counter = static_cast<uint32_t>(time);
    return now;
}

std::unique_ptr<EventStore> OpenStore(const std::string& folder) {
    tb58mon::EventStoreOptions options;
    options.directory = folder;
    options.max_events = 2'000'000;
    options.keep_days = 36500;
    return std::make_unique<EventStore>(options);
}

// One cycle: every printer observed, `changing` of them (from `first`) in the other state.
void Cycle(EventStore& store, int64_t cycle, int first, int changing) {
    for (int p = 0; p < kPrinters; ++p) {
        const bool changes = p >= first && p < first + changing;
        const bool jammed = changes && cycle % 2 == 1;
        store.Observe("p" + std::to_string(p), "socket://10.0.0.1:" + std::to_string(9100 + p), Seen(jammed, kStart + cycle * 5));
    }
}

void BM_EventCycle(benchmark::State& state) {
    const std::string folder = TemporaryFolder();
    auto store = OpenStore(folder);
    Cycle(*store, 0, 0, 0);
    store->Flush();
    int64_t cycle = 1;
    for (auto _ : state) {
        Cycle(*store, cycle, static_cast<int>((cycle / 2) * kChanging % kPrinters), kChanging);
        store->Flush();
        ++cycle;
    }
    state.counters["events_per_cycle"] = 2.0 * kChanging;
    store.reset();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_EventCycle)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

struct FilledStore {
    std::string folder = TemporaryFolder();
    std::unique_ptr<EventStore> store = OpenStore(folder);
    double bytes_per_event = 0;

    FilledStore() {
        // 1,000,000 events: 5,000 cycles of 100 printers jamming or clearing (2 events each).
        for (int64_t cycle = 0; cycle < 5000; ++cycle) {
            for (int p = 0; p < kChanging; ++p) {
                const int printer = static_cast<int>((cycle / 2) * kChanging % kPrinters) + p;
                store->Observe("p" + std::to_string(printer), "socket://10.0.0.1:" + std::to_string(9100 + printer),
                               Seen(cycle % 2 == 0, kStart + cycle * 5));
            }
            if (cycle % 500 == 499) store->Flush();
        }
        store->Flush();
        store->Post([](sqlite3* db) { tb58mon::ExecuteSql(db, "PRAGMA wal_checkpoint(TRUNCATE)"); });
        store->Flush();
        bytes_per_event = static_cast<double>(std::filesystem::file_size(folder + "/events.db")) /
                          static_cast<double>(store->Status().stored);
    }
    ~FilledStore() {
        store.reset();
        std::filesystem::remove_all(folder);
    }
};

FilledStore& Filled() {
    static FilledStore filled;
    return filled;
}

void EventsPage(benchmark::State& state, tb58mon::HttpFields query) {
    FilledStore& filled = Filled();
    tb58mon::RouteSources sources;
    sources.snapshot = [] { return std::make_shared<const tb58mon::FleetSnapshot>(); };
    sources.read_events = [&](const std::function<void(sqlite3*)>& read) { return filled.store->Read(read); };
    tb58mon::RouterOptions options;
    const tb58mon::HttpRequest request{"GET", "/events.json", std::move(query), {}};
    for (auto _ : state) {
        const tb58mon::HttpReply reply = tb58mon::RouteRequest(request, sources, options);
        if (reply.status != 200) {
            state.SkipWithError("not 200");
            break;
        }
        benchmark::DoNotOptimize(reply.body.data());
    }
    state.counters["stored_events"] = static_cast<double>(filled.store->Status().stored);
    state.counters["bytes_per_event"] = filled.bytes_per_event;
}

void BM_EventsJsonPage(benchmark::State& state) { EventsPage(state, {{"limit", "100"}}); }
void BM_EventsJsonPage_Printer(benchmark::State& state) { EventsPage(state, {{"limit", "100"}, {"printer", "p7"}}); }
void BM_EventsJsonPage_Since(benchmark::State& state) {
    EventsPage(state, {{"limit", "100"}, {"since", tb58mon::RfcTime(kStart + 2500 * 5)}, {"before", "500000"}});
}
BENCHMARK(BM_EventsJsonPage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EventsJsonPage_Printer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EventsJsonPage_Since)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
