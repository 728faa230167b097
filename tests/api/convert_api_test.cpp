// PatPMInfoToPrnInfoEx and PatPrnInfoExToPrnInfo through the library, as a
// status monitor calls them: argument checks that leave the records
// untouched, the kind and variant rules, and a record filled from
// printer-management information that is flattened and read for its status.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Tb58Wk31Platform.h"
#include "support/chain_reader.h"
#include "support/pm_info_builder.h"
#include "support/status_packet.h"
#include "support/test_record.h"

namespace {

using tb58::test::ChainNodes;
using tb58::test::PMListOf;
using tb58::test::TestRecord;
namespace test = tb58::test;

constexpr uint32_t kAllInfo = INFO_STATUS | INFO_SYSTEM | INFO_TRAY | INFO_OUTBIN | INFO_EMUL | INFO_FONT |
                              INFO_IDENTITY | INFO_DEVICE | INFO_ENGINE_STATUS;

std::vector<int32_t> Codes(const PrnInfoEx* record) {
    std::vector<int32_t> codes;
    for (const EngineStatusNode* node : ChainNodes(record->pEngineStatus)) codes.push_back(node->dwCode);
    return codes;
}

// A record with something in it, to see that a refused call leaves it alone.
void Fill(PrnInfoEx* record) {
    test::AppendEngineStatus(record, 42001);
    test::AppendDevice(record, 3);
    record->bOnline = 1;
}

TEST(PMInfoToPrnInfoExApi, RefusedCallsLeaveTheRecordUntouched) {
    const uint32_t word = 0x08000081;
    PMListOf<PMEngineStatusEntry> entries;
    entries.Add(test::EngineStatus(10003));
    PMInfoPrinter info{};
    info.pStatusWord = &word;
    info.pEngineStatus = entries.list();
    const uint32_t flags = PMINFO_STATUS_WORD | PMINFO_ENGINE_STATUS;

    TestRecord record;
    Fill(record.get());
    PrnInfoEx before;
    std::memcpy(&before, record.get(), sizeof before);
    const auto expect_refused = [&](int32_t result, const char* what) {
        EXPECT_EQ(result, 0) << what;
        EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER) << what;
        EXPECT_EQ(std::memcmp(&before, record.get(), sizeof before), 0) << what;
    };
    expect_refused(PatPMInfoToPrnInfoEx(1, nullptr, 'd', flags, record.get()), "null PMInfo");
    expect_refused(PatPMInfoToPrnInfoEx(1, &info, 'd', flags, nullptr), "null record");
    for (uint32_t kind : {0u, 4u, 16u, 3u, 0x8001u, 0x80000004u}) {
        expect_refused(PatPMInfoToPrnInfoEx(kind, &info, 'd', flags, record.get()), "kind");
    }
    expect_refused(PatPMInfoToPrnInfoEx(1, &info, 'e', flags, record.get()), "letter of kind 2");
    expect_refused(PatPMInfoToPrnInfoEx(1, &info, 'D', flags, record.get()), "upper case letter");
    expect_refused(PatPMInfoToPrnInfoEx(2, &info, 'd', flags, record.get()), "kind 2 with 'd'");
    expect_refused(PatPMInfoToPrnInfoEx(8, &info, 'e', flags, record.get()), "kind 8 with 'e'");
    expect_refused(PatPMInfoToPrnInfoEx(0x8000, &info, 'f', flags, record.get()), "machine with 'f'");
    record->dwSize = 403;
    before.dwSize = 403;
    expect_refused(PatPMInfoToPrnInfoEx(1, &info, 'd', flags, record.get()), "dwSize 403");

    record->dwSize = 404;
    SetLastError(5);
    EXPECT_EQ(PatPMInfoToPrnInfoEx(1, &info, 'd', flags, record.get()), 1);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{-254, 10003, 10003}));
}

TEST(PMInfoToPrnInfoExApi, HighBitsOfKindAndVariant) {
    const uint32_t word = 0x08000080;  // no response, and a suppressible condition
    PMInfoPrinter info{};
    info.pStatusWord = &word;
    {
        TestRecord record;
        EXPECT_EQ(PatPMInfoToPrnInfoEx(0x10001, &info, 0x1200 | 'd', PMINFO_STATUS_WORD, record.get()), 1);
        EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{-254, 10003}));
        EXPECT_EQ(record->bNoResponse, 1u);
    }
    {
        TestRecord record;
        EXPECT_EQ(PatPMInfoToPrnInfoEx(0x80000001u, &info, 'd', PMINFO_STATUS_WORD, record.get()), 1);
        EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{-254}));
    }
    {  // other flag bits are ignored
        TestRecord record;
        EXPECT_EQ(PatPMInfoToPrnInfoEx(1, &info, 'd', 0xFFFFFF00u, record.get()), 1);
        EXPECT_EQ(record->nEngineStatus, 0u);
        EXPECT_EQ(record->bNoResponse, 0u);
    }
}

TEST(PMInfoToPrnInfoExApi, FunctionKindsAddToTheRecord) {
    TestRecord record;
    test::AppendEngineStatus(record.get(), 42001);
    const uint32_t scanner = 0x00200000;
    PMInfoFunction info{};
    info.pStatusWord = &scanner;
    EXPECT_EQ(PatPMInfoToPrnInfoEx(2, &info, 'e', PMINFO_STATUS_WORD, record.get()), 1);
    const uint32_t copier = 0x00000004;
    info.pStatusWord = &copier;
    EXPECT_EQ(PatPMInfoToPrnInfoEx(8, &info, 'f', PMINFO_STATUS_WORD | PMINFO_ENGINE_STATUS, record.get()), 1);
    EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{42001, 410023, 510023}));
    EXPECT_EQ(record->nEngineStatus, 3u);
}

TEST(PrnInfoExToPrnInfoApi, RefusedCallsLeaveThePrnInfoUntouched) {
    TestRecord record;
    Fill(record.get());
    PrnInfo info;
    std::memset(&info, 0xAB, sizeof info);
    PrnInfo before;
    std::memcpy(&before, &info, sizeof before);
    EXPECT_EQ(PatPrnInfoExToPrnInfo(nullptr, &info, kAllInfo), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatPrnInfoExToPrnInfo(record.get(), nullptr, kAllInfo), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    record->dwSize = 403;
    EXPECT_EQ(PatPrnInfoExToPrnInfo(record.get(), &info, kAllInfo), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(std::memcmp(&before, &info, sizeof info), 0);

    record->dwSize = 404;
    SetLastError(5);
    EXPECT_EQ(PatPrnInfoExToPrnInfo(record.get(), &info, 0), 1);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(info.dwSize, 2400u);
    EXPECT_EQ(info.dwHardDisk, 0x10003u);
    EXPECT_EQ(info.dwEngineStatus, 0u);
    EXPECT_EQ(info.reserved2376[23], 0u);
}

TEST(PrnInfoExToPrnInfoApi, CountOfOneWithoutAChainIsNoCondition) {
    TestRecord record;
    record->nEngineStatus = 1;  // but pEngineStatus is null
    PrnInfo info;
    EXPECT_EQ(PatPrnInfoExToPrnInfo(record.get(), &info, INFO_ENGINE_STATUS), 1);
    EXPECT_EQ(info.dwEngineStatus, 107u);
    EXPECT_EQ(info.nEngineStatus, 0u);
}

// A status monitor's whole printer-management path: the machine's trays,
// bins and options, then the printer's status, into one record; the record
// flattened with every flag, and its status text.
class ConversionEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(PatSetLocale("EN"), 1);
        // A description from an earlier source: the machine's model entry
        // drops it (and releases it).
        record_->pDescription = static_cast<char*>(GlobalAlloc(GMEM_FIXED, 8));
        std::strcpy(record_->pDescription, "earlier");
        ConvertMachine();
        ConvertPrinter();
    }

    void ConvertMachine() {
        const PMModelEntry model = test::Model("IM C6000", "1.05.2", 1073741824, "Maker Inc.");
        const uint32_t second_media = 0x800;
        PMListOf<PMTrayEntryA> trays_a;
        trays_a.Add(test::TrayA("Tray 1", 0x400, 210, 297, 0x1, 0x1));
        trays_a.Add(test::TrayA("Tray 2", 0x2, 297, 420, PMINFO_MEDIA_SECOND, 0)).pSecondMediaBit = &second_media;
        trays_a.Add(test::TrayA("Bypass Tray", PMINFO_NOT_SUPPLIED, 100, 100, 0x2000, 0x100));
        PMListOf<PMTrayEntryB> trays_b;
        trays_b.Add(test::TrayB("LCT", 0x800, 215, 279, 0x4, 0x8));
        PMListOf<PMOutBinEntry> bins;
        bins.Add(test::OutBin("Copy Tray", 0));
        bins.Add(test::OutBin("Finisher Shift Tray 1", 1));
        PMListOf<PMOptionEntry> options;
        for (uint32_t device : {642u, 661u, 646u, 648u, 660u}) options.Add(test::Option(device));
        PMInfoMachine machine{};
        machine.pModel = &model;
        machine.pTraysA = trays_a.list();
        machine.pTraysB = trays_b.list();
        machine.pOutBins = bins.list();
        machine.pOptions = options.list();
        const uint32_t flags = PMINFO_MACHINE_MODEL | PMINFO_MACHINE_TRAYS_A | PMINFO_MACHINE_TRAYS_B |
                               PMINFO_MACHINE_OUTBINS | PMINFO_MACHINE_OPTIONS;
        ASSERT_EQ(PatPMInfoToPrnInfoEx(TB58_KIND_MACHINE, &machine, PMINFO_VARIANT_MACHINE, flags, record_), 1);
        ASSERT_EQ(GetLastError(), 0u);
    }

    void ConvertPrinter() {
        const uint32_t word = 0x00400001;  // online, printing
        PMListOf<PMEmulEntry> emulations;
        emulations.Add(test::Emulation("WEXA", "V1.10"));
        emulations.Add(test::Emulation("Adobe PostScript 3", "3017.102"));
        emulations.Add(test::Emulation("PCL 6 Emulation", "2.0"));
        PMListOf<PMFontEntry> fonts;
        fonts.Add(test::Font("Courier"));
        PMListOf<PMEngineStatusEntry> entries;
        entries.Add(test::EngineStatus(42001, "Misfeed", 3));
        PMInfoPrinter printer{};
        printer.pStatusWord = &word;
        printer.pEmulations = emulations.list();
        printer.pFonts = fonts.list();
        printer.pEngineStatus = entries.list();
        const uint32_t flags = PMINFO_STATUS_WORD | PMINFO_ENGINE_STATUS | PMINFO_EMULATIONS | PMINFO_FONTS;
        ASSERT_EQ(PatPMInfoToPrnInfoEx(TB58_KIND_PRINTER, &printer, PMINFO_VARIANT_PRINTER, flags, record_), 1);
        ASSERT_EQ(GetLastError(), 0u);
    }

    test::StatusPacket packet_;
    PrnInfoEx* record_ = packet_.function();
};

void ExpectPairs(const PrnInfoPair* actual, std::initializer_list<PrnInfoPair> expected, size_t capacity,
                 const char* what) {
    size_t i = 0;
    for (const PrnInfoPair& pair : expected) {
        EXPECT_EQ(actual[i].dwCode, pair.dwCode) << what << "[" << i << "]";
        EXPECT_EQ(actual[i].dwValue, pair.dwValue) << what << "[" << i << "]";
        ++i;
    }
    for (; i < capacity; ++i) {
        EXPECT_EQ(actual[i].dwCode, 0u) << what << "[" << i << "]";
        EXPECT_EQ(actual[i].dwValue, 0u) << what << "[" << i << "]";
    }
}

TEST_F(ConversionEndToEnd, TheRecord) {
    EXPECT_EQ(record_->pDescription, nullptr);
    EXPECT_STREQ(record_->pModelName, "IM C6000");
    EXPECT_EQ(Codes(record_), (std::vector<int32_t>{10023, 42001}));
    EXPECT_EQ(record_->nTrayInfo, 4u);
    EXPECT_EQ(record_->nOutBinInfo, 2u);
    EXPECT_EQ(record_->nDeviceInfo, 5u);
    EXPECT_EQ(record_->nLoadedEmul, 3u);
    EXPECT_EQ(record_->nLoadedFont, 1u);
}

TEST_F(ConversionEndToEnd, FlattenedWithEveryFlag) {
    PrnInfo info;
    std::memset(&info, 0xCD, sizeof info);
    ASSERT_EQ(PatPrnInfoExToPrnInfo(record_, &info, kAllInfo), 1);
    ASSERT_EQ(GetLastError(), 0u);

    EXPECT_EQ(info.dwEngineStatus, ((10023u + 42001u) << 16) | 107u);
    EXPECT_EQ(info.dwOnline, 1u);
    EXPECT_EQ(info.dwTrayState, 0u);
    EXPECT_EQ(info.dwMemorySize, 1048576u);
    EXPECT_STREQ(info.szSYSVersion, "1.05.2");
    EXPECT_STREQ(info.szMainProgVersion, "V1.10");
    EXPECT_STREQ(info.szQXSVersion, "3017.102");
    EXPECT_EQ(info.dwLoadedEmulState, 0u);
    EXPECT_EQ(info.nLoadedEmul, 3u);
    EXPECT_EQ(info.dwLoadedEmul[0], 1u);
    EXPECT_EQ(info.dwLoadedEmul[1], 2u);
    EXPECT_EQ(info.dwLoadedEmul[2], 17u);
    EXPECT_EQ(info.dwLoadedEmul[3], 0u);
    EXPECT_EQ(info.nLoadedFont, 1u);
    EXPECT_EQ(info.dwLoadedFont[0], 0u);
    EXPECT_EQ(info.nTraySize, 4u);
    ExpectPairs(info.TraySize, {{3, 8}, {4, 4}, {1, 2}, {11, 22}}, 64, "TraySize");
    EXPECT_STREQ(info.szModelName, "IM C6000");
    EXPECT_STREQ(info.szMakerName, "Maker Inc.");
    EXPECT_STREQ(info.szDescription, "");
    EXPECT_EQ(info.bModelCode, 255u);
    EXPECT_EQ(info.bOffline, 0u);
    EXPECT_EQ(info.bError, 1u);
    EXPECT_EQ(info.bPrinting, 1u);
    EXPECT_EQ(info.dwSize, 2400u);
    EXPECT_EQ(info.nTrayLevel, 4u);
    ExpectPairs(info.TrayLevel, {{3, 50}, {4, 0}, {1, 100}, {11, 75}}, 16, "TrayLevel");
    EXPECT_EQ(info.nOutBin, 2u);
    ExpectPairs(info.OutBin, {{3, 0}, {4, 2}}, 16, "OutBin");
    EXPECT_EQ(info.dwDuplex, 1u);
    EXPECT_EQ(info.dwHardDisk, 0x10003u);
    EXPECT_EQ(info.dwOutputOptions, 0x8u);
    EXPECT_EQ(info.dwMailboxOptions, 0x2u);
    EXPECT_EQ(info.dwPunchOptions, 0x2u);
    EXPECT_EQ(info.dwOutBinState, 255u);
    EXPECT_EQ(info.nEngineStatus, 2u);
    EXPECT_EQ(info.dwEngineStatusCodes[0], 10023);
    EXPECT_EQ(info.dwEngineStatusCodes[1], 42001);
    EXPECT_EQ(info.dwEngineStatusCodes[2], 0);
    EXPECT_EQ(info.dwNoResponse, 0u);
    ExpectPairs(info.TrayMedia, {{3, 1}, {4, 7}, {1, 18}, {11, 5}}, 64, "TrayMedia");

    // Every byte not named above is 0: the same record built by hand.
    PrnInfo expected;
    std::memset(&expected, 0, sizeof expected);
    expected.dwEngineStatus = info.dwEngineStatus;
    expected.dwOnline = 1;
    expected.dwMemorySize = 1048576;
    std::strcpy(expected.szSYSVersion, "1.05.2");
    std::strcpy(expected.szMainProgVersion, "V1.10");
    std::strcpy(expected.szQXSVersion, "3017.102");
    expected.nLoadedEmul = 3;
    expected.dwLoadedEmul[0] = 1;
    expected.dwLoadedEmul[1] = 2;
    expected.dwLoadedEmul[2] = 17;
    expected.nLoadedFont = 1;
    const PrnInfoPair sizes[] = {{3, 8}, {4, 4}, {1, 2}, {11, 22}};
    const PrnInfoPair levels[] = {{3, 50}, {4, 0}, {1, 100}, {11, 75}};
    const PrnInfoPair media[] = {{3, 1}, {4, 7}, {1, 18}, {11, 5}};
    std::memcpy(expected.TraySize, sizes, sizeof sizes);
    std::memcpy(expected.TrayLevel, levels, sizeof levels);
    std::memcpy(expected.TrayMedia, media, sizeof media);
    expected.nTraySize = expected.nTrayLevel = 4;
    std::strcpy(expected.szModelName, "IM C6000");
    std::strcpy(expected.szMakerName, "Maker Inc.");
    expected.bModelCode = 255;
    expected.bError = 1;
    expected.bPrinting = 1;
    expected.dwSize = 2400;
    expected.OutBin[0] = {3, 0};
    expected.OutBin[1] = {4, 2};
    expected.nOutBin = 2;
    expected.dwDuplex = 1;
    expected.dwHardDisk = 0x10003;
    expected.dwOutputOptions = 0x8;
    expected.dwMailboxOptions = 0x2;
    expected.dwPunchOptions = 0x2;
    expected.dwOutBinState = 255;
    expected.dwEngineStatusCodes[0] = 10023;
    expected.dwEngineStatusCodes[1] = 42001;
    expected.nEngineStatus = 2;
    EXPECT_EQ(std::memcmp(&expected, &info, sizeof info), 0);
}

TEST_F(ConversionEndToEnd, StatusTextOfTheSameRecord) {
    char text[512];
    uint32_t size = sizeof text;
    ASSERT_EQ(PatGetStatusString(TB58_KIND_PRINTER, packet_.root(), TB58_REVISION_STATUS, TB58_STATUS_SHORT_TEXT,
                                 text, &size),
              1)
        << GetLastError();
    EXPECT_STREQ(text, "Paper Misfeed");
    EXPECT_EQ(size, std::strlen(text) + 1);
}

}  // namespace
