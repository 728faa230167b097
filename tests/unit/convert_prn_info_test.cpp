// PrnInfoEx into the flat PrnInfo: the limits of every array, the engine
// status summary, the option words, and records whose counts disagree with
// their chains.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Tb58Wk31InfoFlags.h"
#include "convert/prn_info_ex_to_prn_info.h"
#include "core/chain_node.h"
#include "core/prn_info_ex.h"
#include "support/test_record.h"

namespace {

using namespace tb58;
using namespace tb58::convert;
using test::TestRecord;

constexpr uint32_t kAllFlags = INFO_STATUS | INFO_SYSTEM | INFO_TRAY | INFO_OUTBIN | INFO_EMUL | INFO_FONT |
                               INFO_IDENTITY | INFO_DEVICE | INFO_ENGINE_STATUS;

template <typename Node>
Node* Append(PrnInfoEx* record, ChainId slot) {
    auto* node = AllocNode<Node>();
    PrnInfoExAppend(record, slot, reinterpret_cast<ChainNode*>(node));
    return node;
}

void AddTray(PrnInfoEx* record, uint16_t tray, uint16_t size, uint16_t level, uint16_t media) {
    auto* node = Append<TrayInfoNode>(record, ChainId::pTrayInfo);
    node->wTrayCode = tray;
    node->wPaperSize = size;
    node->wPaperLevel = level;
    node->wMediaCode = media;
}

void AddDevice(PrnInfoEx* record, uint16_t option) {
    Append<DeviceInfoNode>(record, ChainId::pDeviceInfo)->wOptionCode = option;
}

bool AllZeroExceptSize(const PrnInfo& info) {
    PrnInfo expected;
    std::memset(&expected, 0, sizeof expected);
    expected.dwSize = PRNINFO_SIZE;
    return std::memcmp(&expected, &info, sizeof info) == 0;
}

TEST(PrnInfoConversion, NoFlagsNoOptionsIsAllZeros) {
    TestRecord record;
    PrnInfoExAddEngineStatus(record.get(), 42001);
    record->bOnline = 1;
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pModelName, "IM 9000"), 1);
    AddTray(record.get(), 3, 8, 100, 1);
    PrnInfo info;
    std::memset(&info, 0xAB, sizeof info);
    PrnInfoExToPrnInfo(*record.get(), &info, 0);
    EXPECT_TRUE(AllZeroExceptSize(info));
    EXPECT_EQ(info.dwEngineStatus, 0u);  // not 107: the engine status was not asked for
}

TEST(PrnInfoConversion, OptionWordsWhateverTheFlags) {
    const struct {
        uint16_t option;
        uint32_t hard_disk, output, mailbox, punch;
    } cases[] = {
        {3, 0x10003, 0, 0, 0},  {6, 0, 0x2, 0, 0},   {38, 0, 0x40, 0, 0},  {115, 0, 0x10, 0, 0},
        {114, 0, 0x8, 0, 0},    {21, 0, 0x80, 0, 0}, {8, 0, 0, 0x2, 0},    {12, 0, 0, 0, 0x2},
        {139, 0, 0, 0, 0x2},    {132, 0, 0, 0, 0x2}, {133, 0, 0, 0, 0x2},  {134, 0, 0, 0, 0x2},
        {137, 0, 0, 0, 0x2},    {138, 0, 0, 0, 0x2}, {142, 0, 0, 0, 0x2},  {1, 0, 0, 0, 0},
        {113, 0, 0, 0, 0},      {22, 0, 0, 0, 0},    {104, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TestRecord record;
        AddDevice(record.get(), c.option);
        PrnInfo info;
        PrnInfoExToPrnInfo(*record.get(), &info, 0);
        EXPECT_EQ(info.dwHardDisk, c.hard_disk) << c.option;
        EXPECT_EQ(info.dwOutputOptions, c.output) << c.option;
        EXPECT_EQ(info.dwMailboxOptions, c.mailbox) << c.option;
        EXPECT_EQ(info.dwPunchOptions, c.punch) << c.option;
        EXPECT_EQ(info.dwDuplex, 0u) << c.option;  // only with INFO_DEVICE
    }
    TestRecord record;
    for (uint16_t option : {6, 38, 115, 114, 21, 3, 139, 8}) AddDevice(record.get(), option);
    PrnInfo info;
    PrnInfoExToPrnInfo(*record.get(), &info, 0);
    EXPECT_EQ(info.dwOutputOptions, 0xDAu);
    EXPECT_EQ(info.dwHardDisk, 0x10003u);
    EXPECT_EQ(info.dwPunchOptions, 0x2u);
    EXPECT_EQ(info.dwMailboxOptions, 0x2u);
}

TEST(PrnInfoConversion, DuplexOnlyWithTheDeviceFlag) {
    TestRecord record;
    AddDevice(record.get(), 1);
    PrnInfo info;
    PrnInfoExToPrnInfo(*record.get(), &info, kAllFlags & ~INFO_DEVICE);
    EXPECT_EQ(info.dwDuplex, 0u);
    PrnInfoExToPrnInfo(*record.get(), &info, INFO_DEVICE);
    EXPECT_EQ(info.dwDuplex, 1u);
    TestRecord without;
    AddDevice(without.get(), 3);
    PrnInfoExToPrnInfo(*without.get(), &info, INFO_DEVICE);
    EXPECT_EQ(info.dwDuplex, 0u);
}

TEST(PrnInfoConversion, MoreThanSixteenTraysKeepTheLevelTableAndWhatFollows) {
    for (uint16_t trays : {uint16_t{16}, uint16_t{17}, uint16_t{40}, uint16_t{64}, uint16_t{70}}) {
        TestRecord record;
        for (uint16_t i = 0; i < trays; ++i) AddTray(record.get(), i + 1, 100 + i, i % 11, 200 + i);
        Append<OutBinInfoNode>(record.get(), ChainId::pOutBinInfo)->wBinCode = 7;
        record->dwTrayState = 3;
        PrnInfo info;
        PrnInfoExToPrnInfo(*record.get(), &info, INFO_TRAY | INFO_OUTBIN);
        const uint32_t copied = trays < 64 ? trays : 64;
        EXPECT_EQ(info.nTraySize, copied);
        EXPECT_EQ(info.nTrayLevel, copied < 16 ? copied : 16u);
        for (uint32_t i = 0; i < copied; ++i) {
            EXPECT_EQ(info.TraySize[i].dwCode, i + 1);
            EXPECT_EQ(info.TraySize[i].dwValue, 100 + i);
            EXPECT_EQ(info.TrayMedia[i].dwCode, i + 1);
            EXPECT_EQ(info.TrayMedia[i].dwValue, 200 + i);
        }
        for (uint32_t i = 0; i < 16 && i < copied; ++i) {
            EXPECT_EQ(info.TrayLevel[i].dwCode, i + 1);
            EXPECT_EQ(info.TrayLevel[i].dwValue, i % 11);
        }
        // The output bins behind the level table are the bins'.
        EXPECT_EQ(info.nOutBin, 1u);
        EXPECT_EQ(info.OutBin[0].dwCode, 7u);
        for (uint32_t i = 1; i < 16; ++i) EXPECT_EQ(info.OutBin[i].dwCode, 0u);
        EXPECT_EQ(info.dwDuplex, 0u);
        EXPECT_EQ(info.dwTrayState, 3u);
    }
}

TEST(PrnInfoConversion, ArrayLimits) {
    TestRecord record;
    for (uint16_t i = 0; i < 40; ++i) {
        Append<LoadedEmulNode>(record.get(), ChainId::pLoadedEmul)->wEmulCode = i + 1;
        Append<LoadedFontNode>(record.get(), ChainId::pLoadedFont)->wFontCode = i + 100;
        auto* bin = Append<OutBinInfoNode>(record.get(), ChainId::pOutBinInfo);
        bin->wBinCode = i + 3;
        bin->wState = i % 3;
    }
    PrnInfo info;
    PrnInfoExToPrnInfo(*record.get(), &info, INFO_EMUL | INFO_FONT | INFO_OUTBIN);
    EXPECT_EQ(info.nLoadedEmul, 32u);
    EXPECT_EQ(info.nLoadedFont, 32u);
    EXPECT_EQ(info.nOutBin, 16u);
    for (uint32_t i = 0; i < 32; ++i) {
        EXPECT_EQ(info.dwLoadedEmul[i], i + 1);
        EXPECT_EQ(info.dwLoadedFont[i], i + 100);
    }
    for (uint32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(info.OutBin[i].dwCode, i + 3);
        EXPECT_EQ(info.OutBin[i].dwValue, i % 3);
    }
    EXPECT_EQ(info.dwDuplex, 0u);
}

TEST(PrnInfoConversion, EngineStatusSummary) {
    struct Case {
        std::initializer_list<int32_t> codes;
        uint32_t count;
        uint32_t status;
    };
    const Case cases[] = {
        {{410023}, 1, 0x41A7},
        {{-254}, 1, 0xFF02},
        {{10001, 10003}, 2, 0x4E24006B},
        {{}, 0, 107},
        {{-254, 10001}, 2, ((static_cast<uint32_t>(10001 - 254) & 0xFFFF) << 16) | 107},
        {{0x7FFFFFFF, 0x7FFFFFFF, 3}, 3, (((0x7FFFFFFFu * 2 + 3) & 0xFFFF) << 16) | 107},
    };
    for (const Case& c : cases) {
        TestRecord record;
        for (int32_t code : c.codes) PrnInfoExAddEngineStatus(record.get(), code);
        record->bError = 1;
        PrnInfo info;
        PrnInfoExToPrnInfo(*record.get(), &info, INFO_ENGINE_STATUS);
        EXPECT_EQ(info.nEngineStatus, c.count);
        EXPECT_EQ(info.dwEngineStatus, c.status) << std::hex << c.status;
        EXPECT_EQ(info.bError, 1u);
        size_t i = 0;
        for (int32_t code : c.codes) {
            // The single condition leaves the code list empty.
            EXPECT_EQ(info.dwEngineStatusCodes[i++], c.count == 1 ? 0 : code);
        }
    }
}

TEST(PrnInfoConversion, MoreThanThirtyTwoEngineStatusCodes) {
    TestRecord record;
    uint32_t sum = 0;
    for (int32_t i = 0; i < 40; ++i) {
        PrnInfoExAddEngineStatus(record.get(), 40000 + i);
        if (i < 32) sum += 40000 + static_cast<uint32_t>(i);
    }
    PrnInfo info;
    PrnInfoExToPrnInfo(*record.get(), &info, INFO_ENGINE_STATUS | INFO_STATUS);
    EXPECT_EQ(info.nEngineStatus, 32u);
    for (int32_t i = 0; i < 32; ++i) EXPECT_EQ(info.dwEngineStatusCodes[i], 40000 + i);
    EXPECT_EQ(info.dwEngineStatus, ((sum & 0xFFFF) << 16) | 107);
    EXPECT_EQ(info.reserved1852, 0u);  // nothing written past the code list
    EXPECT_EQ(info.dwNoResponse, 0u);
}

TEST(PrnInfoConversion, CountsThatDisagreeWithTheChain) {
    {  // one counted, no chain: read as no conditions
        TestRecord record;
        record->nEngineStatus = 1;
        PrnInfo info;
        PrnInfoExToPrnInfo(*record.get(), &info, INFO_ENGINE_STATUS);
        EXPECT_EQ(info.dwEngineStatus, 107u);
        EXPECT_EQ(info.nEngineStatus, 0u);
    }
    {  // one counted, two nodes: the first node is the condition
        TestRecord record;
        PrnInfoExAddEngineStatus(record.get(), 42001);
        PrnInfoExAddEngineStatus(record.get(), 42002);
        record->nEngineStatus = 1;
        PrnInfo info;
        PrnInfoExToPrnInfo(*record.get(), &info, INFO_ENGINE_STATUS);
        EXPECT_EQ(info.dwEngineStatus, 42001u);
        EXPECT_EQ(info.nEngineStatus, 1u);
    }
    {  // three counted, one node: the chain is walked
        TestRecord record;
        PrnInfoExAddEngineStatus(record.get(), 10001);
        record->nEngineStatus = 3;
        record->nTrayInfo = 50;  // no tray nodes
        PrnInfo info;
        PrnInfoExToPrnInfo(*record.get(), &info, INFO_ENGINE_STATUS | INFO_TRAY);
        EXPECT_EQ(info.nEngineStatus, 1u);
        EXPECT_EQ(info.dwEngineStatusCodes[0], 10001);
        EXPECT_EQ(info.dwEngineStatus, (10001u << 16) | 107);
        EXPECT_EQ(info.nTraySize, 0u);
        EXPECT_EQ(info.nTrayLevel, 0u);
    }
}

TEST(PrnInfoConversion, TextsAreCutToTheirFields) {
    TestRecord record;
    const std::string model(300, 'm');
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pModelName, model.c_str()), 1);
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pMakerName, "Twenty characters!!!"), 1);
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pDescription, "Colour MFP"), 1);
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pSYSVersion, "0123456789ABCDEF"), 1);
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pMainProgVersion, "123456789012345"), 1);
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pQXSVersion, ""), 1);
    record->bModelCode = 255;
    record->dwMemorySize = 131072;
    PrnInfo info;
    PrnInfoExToPrnInfo(*record.get(), &info, INFO_IDENTITY | INFO_SYSTEM | INFO_EMUL);
    EXPECT_EQ(std::string(info.szModelName), std::string(255, 'm'));
    EXPECT_STREQ(info.szMakerName, "Twenty characte");
    EXPECT_STREQ(info.szDescription, "Colour MFP");
    EXPECT_STREQ(info.szSYSVersion, "0123456789ABCDE");
    EXPECT_STREQ(info.szMainProgVersion, "123456789012345");
    EXPECT_STREQ(info.szQXSVersion, "");
    EXPECT_EQ(info.bModelCode, 255u);
    EXPECT_EQ(info.dwMemorySize, 131072u);
    EXPECT_EQ(info.szMakerName[15], '\0');
    EXPECT_EQ(info.szDescription[0], 'C');  // the model name did not run into it
}

TEST(PrnInfoConversion, StatusBytes) {
    TestRecord record;
    record->bOnline = 1;
    record->bOffline = 1;
    record->bPrinting = 1;
    record->bNoResponse = 1;
    record->bError = 1;
    PrnInfo info;
    PrnInfoExToPrnInfo(*record.get(), &info, INFO_STATUS);
    EXPECT_EQ(info.dwOnline, 1u);
    EXPECT_EQ(info.bOffline, 1u);
    EXPECT_EQ(info.bPrinting, 1u);
    EXPECT_EQ(info.dwNoResponse, 1u);
    EXPECT_EQ(info.bError, 0u);  // copied with the engine status only
}

}  // namespace
