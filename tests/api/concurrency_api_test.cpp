// Every export called from several threads at once, the display language
// changing under them: each call must give a whole, consistent result.
// Built with ThreadSanitizer (make test-thread), this also proves that no
// call races with another.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Tb58Wk31Platform.h"
#include "support/status_packet.h"
#include "support/test_data.h"
#include "support/test_record.h"

namespace {

using tb58::test::AppendChild;
using tb58::test::NewItem;

using tb58::test::FreeTree;

// One round of a status monitor: query, intake, texts, names, picture,
// conversions and the module's own resources.  Returns the number of calls
// that failed where they must not.
int MonitorRound(int round) {
    int failures = 0;
    static const char* const kLanguages[] = {"EN", "DE", "JP", "PL", "FR", "SV"};
    failures += PatSetLocale(kLanguages[round % 6]) != 1;

    tb58::test::TestRecord record;
    InfoItem* query = PatCreateQueryInfo(record.get(), 2, 0xFFFFFFFFu);
    failures += query == nullptr;
    InfoItem* centro = NewItem(ITEM_CENTRO_DATA, nullptr, 0);
    if (query != nullptr) AppendChild(centro, query);
    const std::string_view reply = tb58::test::TestData("reply_full.pjl");
    const std::string_view id = tb58::test::TestData("device_id.txt");
    AppendChild(centro, NewItem(ITEM_PJL_TEXT, reply.data(), static_cast<uint32_t>(reply.size())));
    AppendChild(centro, NewItem(ITEM_DEVICE_ID, id.data(), static_cast<uint32_t>(id.size())));
    failures += PatSetCentroDataTo(centro, 0, record.get(), 2) != 1;
    failures += record->nTrayInfo != 6;
    FreeTree(centro);

    // The emulation's unique information: its query and its reply.
    const uint32_t tzmo = TB58_EMULATION_TZMO;
    InfoItem* emulation = NewItem(ITEM_EMUL_CENTRO_DATA, &tzmo, sizeof tzmo);
    InfoItem* emulation_query = PatCreateEmulUniqQueryInfo(&round, 2, TB58_EMULATION_TZMO, 0);
    failures += emulation_query == nullptr;
    if (emulation_query != nullptr) AppendChild(emulation, emulation_query);
    const std::string_view tzmo_reply = tb58::test::TestData("reply_tzmo.pjl");
    AppendChild(emulation, NewItem(ITEM_PJL_TEXT, tzmo_reply.data(), static_cast<uint32_t>(tzmo_reply.size())));
    failures += PatSetCentroDataTo(emulation, 0, record.get(), 2) != 1;
    failures += record->pEmulUniqInfo == nullptr;
    FreeTree(emulation);

    tb58::test::StatusPacket packet;
    packet.AddChild(ITEM_STATUS_MACHINE, record.get());  // the first machine child is the one read
    packet.SetCodes({41201});
    char text[512];
    for (uint32_t selector : {1u, 2u}) {
        uint32_t size = sizeof text;
        failures += PatGetStatusString(1, packet.root(), 3, selector, text, &size) != 1;
        failures += size != std::strlen(text) + 1;
    }
    uint32_t size = sizeof text;
    failures += PatGetStatusHelpFileName(1, record.get(), 0, text, &size) != 1;

    BitmapInfo* picture = PatCreateBitmapInfo(1, packet.root(), 3);
    failures += picture == nullptr;
    if (picture != nullptr) failures += PatDisposeBitmapInfo(picture) != 1;

    size = sizeof text;
    failures += PatGetDeviceName(TB58_DEVICE_NAME_TRAY, "Tray 3", TB58_DEVICE_NAME_CHECK, text, &size) != 1;
    const int32_t option = 649;
    size = sizeof text;
    failures += PatGetDeviceName(TB58_DEVICE_NAME_OPTION, &option, TB58_OPTION_NAME_CHECK, text, &size) != 1;

    PrnInfo flat{};
    failures += PatPrnInfoExToPrnInfo(record.get(), &flat, 0xFFFFFFFFu) != 1;
    const uint32_t word = 1;
    PMInfoFunction scanner{&word, nullptr};
    failures += PatPMInfoToPrnInfoEx(2, &scanner, PMINFO_VARIANT_SCANNER, PMINFO_STATUS_WORD, record.get()) != 1;

    DllVersionInfo version{};
    version.dwSize = sizeof version;
    failures += PatGetDllVersion(&version) != 1;
    failures += version.dwFileVersion != 0x01010500u;
    PeripheralProfile profile{};
    uint32_t profile_size = sizeof profile;
    failures += PatGetPeripheralProfile(1, &profile, &profile_size) != 1;
    uint32_t palette_size = 0;
    failures += PatGetPalette(nullptr, &palette_size) != 0;
    failures += PatLoadDIBitmap("BM_BASE1") == nullptr;
    void* bitmap = PatLoadBitmap("BM_POINT_1");
    failures += bitmap == nullptr;
    if (bitmap != nullptr) failures += DeleteObject(bitmap) == 0;
    return failures;
}

TEST(ConcurrencyApi, EveryExportFromSeveralThreadsAtOnce) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 25;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&failures, t] {
            for (int round = 0; round < kRounds; ++round) failures += MonitorRound(t * kRounds + round);
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
    PatSetLocale("EN");
}

}  // namespace
