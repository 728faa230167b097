// The exports that the cycle and status benchmarks do not cover, each on a
// realistic input: the display language, the module's resources, the
// emulation query and its reply, the help file name, the printer-management
// conversions and the device names.
#include <benchmark/benchmark.h>

#include "Tb58Wk31Platform.h"
#include "support/monitor_cycle.h"
#include "support/pm_info_builder.h"
#include "support/status_packet.h"
#include "support/test_data.h"
#include "support/test_record.h"

namespace {

using tb58::test::PMListOf;

void BM_SetLocale(benchmark::State& state) {
    const char* const languages[] = {"DE", "JP", "EN"};
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PatSetLocale(languages[next]));
        next = (next + 1) % 3;
    }
    PatSetLocale("EN");
}

void BM_GetDllVersion(benchmark::State& state) {
    DllVersionInfo info{};
    for (auto _ : state) {
        info.dwSize = sizeof info;
        benchmark::DoNotOptimize(PatGetDllVersion(&info));
    }
}

void BM_GetPeripheralProfile(benchmark::State& state) {
    PeripheralProfile profile{};
    for (auto _ : state) {
        uint32_t size = sizeof profile;
        benchmark::DoNotOptimize(PatGetPeripheralProfile(TB58_KIND_PRINTER, &profile, &size));
    }
}

void BM_GetPalette(benchmark::State& state) {
    for (auto _ : state) {
        uint32_t size = 0;
        benchmark::DoNotOptimize(PatGetPalette(nullptr, &size));  // this model has none
    }
}

void BM_LoadBitmap(benchmark::State& state) {
    for (auto _ : state) {
        void* bitmap = PatLoadBitmap("BM_BASE1");
        if (bitmap == nullptr) {
            state.SkipWithError("PatLoadBitmap failed");
            break;
        }
        DeleteObject(bitmap);
    }
}

void BM_LoadDIBitmap(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(PatLoadDIBitmap("BM_BASE1"));
}

// The emulation's unique information: the query and the intake of its reply.
void BM_EmulUniqCycle(benchmark::State& state) {
    const int context = 0;
    const uint32_t tzmo = TB58_EMULATION_TZMO;
    const std::string_view reply = tb58::test::TestData("reply_tzmo.pjl");
    for (auto _ : state) {
        tb58::test::TestRecord record;
        InfoItem* packet = tb58::test::NewItem(ITEM_EMUL_CENTRO_DATA, &tzmo, sizeof tzmo);
        tb58::test::AppendChild(packet, PatCreateEmulUniqQueryInfo(&context, 2, TB58_EMULATION_TZMO, 0));
        tb58::test::AppendChild(packet, tb58::test::NewItem(ITEM_PJL_TEXT, reply.data(), static_cast<uint32_t>(reply.size())));
        const int32_t taken = PatSetCentroDataTo(packet, 0, record.get(), 2);
        tb58::test::FreeTree(packet);
        if (taken != 1) {
            state.SkipWithError("PatSetCentroDataTo failed");
            break;
        }
    }
}

void BM_GetStatusHelpFileName(benchmark::State& state) {
    tb58::test::TestRecord record;
    tb58::test::AppendEngineStatus(record.get(), 40341);
    char name[260];
    for (auto _ : state) {
        uint32_t size = sizeof name;
        benchmark::DoNotOptimize(PatGetStatusHelpFileName(TB58_KIND_PRINTER, record.get(), 0, name, &size));
    }
}

// The machine's model, trays, bins and options into a fresh record.
void BM_PMInfoToPrnInfoEx_Machine(benchmark::State& state) {
    const PMModelEntry model = tb58::test::Model("MX 5000", "1.07", 512u << 20, "Generic Imaging");
    PMListOf<PMTrayEntryA> trays;
    for (const char* name : {"Tray 1", "Tray 2", "Tray 3", "Tray 4", "Bypass Tray"}) {
        trays.Add(tb58::test::TrayA(name, 0x400, 210, 297, 0x1, 0));
    }
    PMListOf<PMOutBinEntry> bins;
    bins.Add(tb58::test::OutBin("Copy Tray", 0));
    PMListOf<PMOptionEntry> options;
    for (uint32_t device : {642u, 644u, 656u}) options.Add(tb58::test::Option(device));
    PMInfoMachine machine{};
    machine.pModel = &model;
    machine.pTraysA = trays.list();
    machine.pOutBins = bins.list();
    machine.pOptions = options.list();
    const uint32_t flags = PMINFO_MACHINE_MODEL | PMINFO_MACHINE_TRAYS_A | PMINFO_MACHINE_OUTBINS |
                           PMINFO_MACHINE_OPTIONS;
    for (auto _ : state) {
        tb58::test::TestRecord record;
        if (PatPMInfoToPrnInfoEx(TB58_KIND_MACHINE, &machine, PMINFO_VARIANT_MACHINE, flags, record.get()) != 1) {
            state.SkipWithError("PatPMInfoToPrnInfoEx failed");
            break;
        }
    }
}

// A record filled by the intake of the 4 KB reply, flattened with every flag.
void BM_PrnInfoExToPrnInfo(benchmark::State& state) {
    tb58::test::TestRecord record;
    const std::string reply = tb58::test::FourKilobyteReply();
    const std::string_view device_id = tb58::test::TestData("device_id.txt");
    InfoItem* packet = tb58::test::NewItem(ITEM_CENTRO_DATA, nullptr, 0);
    tb58::test::AppendChild(packet, tb58::test::NewItem(ITEM_PJL_TEXT, reply.c_str(), static_cast<uint32_t>(reply.size() + 1)));
    tb58::test::AppendChild(packet, tb58::test::NewItem(ITEM_DEVICE_ID, device_id.data(), static_cast<uint32_t>(device_id.size())));
    PatSetCentroDataTo(packet, 0, record.get(), 2);
    tb58::test::FreeTree(packet);
    PrnInfo flat{};
    for (auto _ : state) {
        if (PatPrnInfoExToPrnInfo(record.get(), &flat, 0xFFFFFFFFu) != 1) {
            state.SkipWithError("PatPrnInfoExToPrnInfo failed");
            break;
        }
        benchmark::ClobberMemory();
    }
}

void BM_GetDeviceName(benchmark::State& state) {
    PatSetLocale("DE");
    char name[64];
    const int32_t option = 642;
    for (auto _ : state) {
        uint32_t size = sizeof name;
        benchmark::DoNotOptimize(PatGetDeviceName(TB58_DEVICE_NAME_TRAY, "Bypass Tray", TB58_DEVICE_NAME_CHECK, name, &size));
        size = sizeof name;
        benchmark::DoNotOptimize(PatGetDeviceName(TB58_DEVICE_NAME_OPTION, &option, TB58_OPTION_NAME_CHECK, name, &size));
    }
    state.counters["names_per_iteration"] = 2;
    PatSetLocale("EN");
}

BENCHMARK(BM_SetLocale);
BENCHMARK(BM_GetDllVersion);
BENCHMARK(BM_GetPeripheralProfile);
BENCHMARK(BM_GetPalette);
BENCHMARK(BM_LoadBitmap);
BENCHMARK(BM_LoadDIBitmap);
BENCHMARK(BM_EmulUniqCycle);
BENCHMARK(BM_GetStatusHelpFileName);
BENCHMARK(BM_PMInfoToPrnInfoEx_Machine);
BENCHMARK(BM_PrnInfoExToPrnInfo);
BENCHMARK(BM_GetDeviceName);

}  // namespace
