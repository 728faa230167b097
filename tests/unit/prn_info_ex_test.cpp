// The printer information record's texts, chains and device tests,
// and the name-to-code tables.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>

#include "core/chain_node.h"
#include "core/code_by_name.h"
#include "core/prn_info_ex.h"
#include "support/allocation_switch.h"
#include "support/test_record.h"

namespace {

using namespace tb58;
using test::AllocationSwitchGuard;
using test::TestRecord;

ChainNode* DeviceNode(uint16_t code) {
    auto* node = AllocNode<DeviceInfoNode>();
    node->wOptionCode = code;
    return reinterpret_cast<ChainNode*>(node);
}

TEST(PrnInfoExStrings, SetCopiesIntoABlockOfExactlyLengthPlusOne) {
    TestRecord record;
    char text[] = "IM 9000";
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pModelName, text), 1);
    ASSERT_NE(record->pModelName, nullptr);
    EXPECT_NE(record->pModelName, text);
    EXPECT_STREQ(record->pModelName, "IM 9000");
    EXPECT_EQ(GlobalSize(record->pModelName), 8u);
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pQXSVersion, ""), 1);
    EXPECT_EQ(GlobalSize(record->pQXSVersion), 1u);
    EXPECT_STREQ(record->pQXSVersion, "");
}

TEST(PrnInfoExStrings, SettingTwiceKeepsOnlyTheSecondText) {
    TestRecord record;
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pSYSVersion, "1.00"), 1);
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pSYSVersion, "2.10"), 1);
    EXPECT_STREQ(record->pSYSVersion, "2.10");  // LeakSanitizer sees the first text released
}

// Every text id reaches its own field, and no other.
TEST(PrnInfoExStrings, EveryTextIdReachesItsOwnField) {
    TestRecord record;
    const struct {
        TextId id;
        char* PrnInfoEx::*field;
        const char* name;
    } texts[] = {
        {TextId::pModelName, &PrnInfoEx::pModelName, "pModelName"},
        {TextId::pMakerName, &PrnInfoEx::pMakerName, "pMakerName"},
        {TextId::pDescription, &PrnInfoEx::pDescription, "pDescription"},
        {TextId::pSYSVersion, &PrnInfoEx::pSYSVersion, "pSYSVersion"},
        {TextId::pMainProgVersion, &PrnInfoEx::pMainProgVersion, "pMainProgVersion"},
        {TextId::pQXSVersion, &PrnInfoEx::pQXSVersion, "pQXSVersion"},
    };
    for (const auto& text : texts) ASSERT_EQ(PrnInfoExSetString(record.get(), text.id, text.name), 1);
    for (const auto& text : texts) {
        EXPECT_STREQ(record.get()->*text.field, text.name);
        EXPECT_EQ(PrnInfoExTextName(text.id), text.name);
    }
}

TEST(PrnInfoExStrings, FailedAllocationLeavesTheSlotNullAndTheOldTextReleased) {
    TestRecord record;
    ASSERT_EQ(PrnInfoExSetString(record.get(), TextId::pMakerName, "Maker"), 1);
    {
        AllocationSwitchGuard fail_next(0);
        EXPECT_EQ(PrnInfoExSetString(record.get(), TextId::pMakerName, "Other"), 0);
    }
    EXPECT_EQ(record->pMakerName, nullptr);
}

TEST(PrnInfoExChains, AppendLinksInOrderAndCounts) {
    TestRecord record;
    ChainNode* first = DeviceNode(38);
    ChainNode* second = DeviceNode(104);
    PrnInfoExAppend(record.get(), ChainId::pDeviceInfo, first);
    EXPECT_EQ(reinterpret_cast<ChainNode*>(record->pDeviceInfo), first);
    PrnInfoExAppend(record.get(), ChainId::pDeviceInfo, second);
    EXPECT_EQ(record->nDeviceInfo, 2u);
    EXPECT_EQ(first->next, second);
    EXPECT_EQ(second->next, nullptr);
}

// Every chain id reaches the fields at the offsets of the public layout.
TEST(PrnInfoExChains, EveryChainIdReachesItsOwnFields) {
    struct Expected {
        ChainId id;
        const char* name;
        size_t first;
        size_t count;
    };
    const Expected chains[] = {
        {ChainId::pEngineStatus, "pEngineStatus", 16, 8},
        {ChainId::pLoadedEmul, "pLoadedEmul", 96, 88},
        {ChainId::pLoadedFont, "pLoadedFont", 112, 104},
        {ChainId::pTrayInfo, "pTrayInfo", 128, 124},
        {ChainId::pOutBinInfo, "pOutBinInfo", 144, 140},
        {ChainId::pDeviceInfo, "pDeviceInfo", 160, 152},
        {ChainId::pEmulUniqInfo, "pEmulUniqInfo", 176, 168},
        {ChainId::pCounterInfo, "pCounterInfo", 224, 220},
        {ChainId::pSupplyInfo, "pSupplyInfo", 240, 232},
        {ChainId::pColorCorrection, "pColorCorrection", 256, 248},
        {ChainId::pCustomMediaInfo, "pCustomMediaInfo", 272, 264},
    };
    ASSERT_EQ(std::size(chains), kChainCount);
    TestRecord record;
    auto* base = reinterpret_cast<unsigned char*>(record.get());
    for (const Expected& e : chains) {
        const ChainSlot slot = PrnInfoExChain(record.get(), e.id);
        EXPECT_EQ(static_cast<unsigned char*>(slot.first_location), base + e.first) << e.name;
        EXPECT_EQ(reinterpret_cast<unsigned char*>(slot.count_location), base + e.count) << e.name;
        EXPECT_EQ(slot.first, nullptr);
        EXPECT_EQ(PrnInfoExChainName(e.id), e.name);
    }
}

TEST(PrnInfoExChains, ClearFreesEveryNode) {
    TestRecord record;
    PrnInfoExClear(record.get(), ChainId::pTrayInfo);  // empty chain
    EXPECT_EQ(record->pTrayInfo, nullptr);
    EXPECT_EQ(record->nTrayInfo, 0u);
    for (int i = 0; i < 3; ++i) {
        PrnInfoExAppend(record.get(), ChainId::pTrayInfo, reinterpret_cast<ChainNode*>(AllocNode<TrayInfoNode>()));
    }
    EXPECT_EQ(record->nTrayInfo, 3u);
    PrnInfoExClear(record.get(), ChainId::pTrayInfo);
    EXPECT_EQ(record->pTrayInfo, nullptr);
    EXPECT_EQ(record->nTrayInfo, 0u);
}

TEST(PrnInfoExChains, EngineStatusNodeHoldsBothCodes) {
    TestRecord record;
    PrnInfoExAddEngineStatus(record.get(), -254);
    PrnInfoExAddEngineStatus(record.get(), 410023);
    ASSERT_EQ(record->nEngineStatus, 2u);
    const EngineStatusNode* node = record->pEngineStatus;
    EXPECT_EQ(node->size, 280u);
    EXPECT_EQ(node->wCode, 0xFF02);
    EXPECT_EQ(static_cast<uint32_t>(node->dwCode), 0xFFFFFF02u);
    EXPECT_STREQ(node->szText, "");
    node = static_cast<const EngineStatusNode*>(node->next);
    EXPECT_EQ(node->wCode, 410023 & 0xFFFF);
    EXPECT_EQ(node->dwCode, 410023);
}

TEST(PrnInfoExChains, EngineStatusIsLostQuietlyWhenMemoryRunsOut) {
    TestRecord record;
    AllocationSwitchGuard fail_next(0);
    PrnInfoExAddEngineStatus(record.get(), 10001);
    EXPECT_EQ(record->pEngineStatus, nullptr);
    EXPECT_EQ(record->nEngineStatus, 0u);
}

TEST(ChainNodes, AllocZeroFillsAndRecordsTheSize) {
    auto* node = AllocNode<EmulUniqInfoNode>();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->size, 64u);
    EXPECT_EQ(node->next, nullptr);
    const auto* bytes = reinterpret_cast<const unsigned char*>(node);
    for (size_t i = 12; i < 64; ++i) EXPECT_EQ(bytes[i], 0) << i;
    GlobalFree(node);
    EXPECT_EQ(ChainNodeAlloc(8), nullptr);  // smaller than the header
}

TEST(ChainNodes, FindReturnsTheEarlierOfTwoEqualCodes) {
    ChainNode* a = DeviceNode(12);
    ChainNode* b = DeviceNode(12);
    ChainNode* chain = ChainAppend(ChainAppend(nullptr, a), b);
    EXPECT_EQ(chain, a);
    EXPECT_EQ(ChainFindCode(chain, 12), a);
    EXPECT_EQ(ChainFindCode(chain, 13), nullptr);
    EXPECT_EQ(ChainFindCode(nullptr, 12), nullptr);
    ChainFree(chain);
    ChainFree(nullptr);
}

TEST(DeviceTests, AllAnyAndFirstCodeModes) {
    TestRecord only_139;
    PrnInfoExAppend(only_139.get(), ChainId::pDeviceInfo, DeviceNode(139));
    TestRecord only_12;
    PrnInfoExAppend(only_12.get(), ChainId::pDeviceInfo, DeviceNode(12));
    const uint16_t codes[] = {12, 139};
    EXPECT_EQ(PrnInfoExTestDevices(only_139.get(), codes, 2, kDevicesAny), 1);
    EXPECT_EQ(PrnInfoExTestDevices(only_12.get(), codes, 2, kDevicesAll), 0);
    EXPECT_EQ(PrnInfoExTestDevices(only_139.get(), codes, 2, kDevicesAll), 0);
    EXPECT_EQ(PrnInfoExTestDevices(only_139.get(), codes, 2, 7), 0);  // the first code alone
    EXPECT_EQ(PrnInfoExTestDevices(only_12.get(), codes, 2, 7), 1);
    PrnInfoExAppend(only_12.get(), ChainId::pDeviceInfo, DeviceNode(139));
    EXPECT_EQ(PrnInfoExTestDevices(only_12.get(), codes, 2, kDevicesAll), 1);
    EXPECT_EQ(PrnInfoExTestDevices(only_12.get(), codes, 0, kDevicesAny), 0);
    EXPECT_EQ(PrnInfoExHasDevice(only_12.get(), 139), 1);
    EXPECT_EQ(PrnInfoExHasDevice(only_12.get(), 38), 0);
}

constexpr auto kMemoryUsage = MakeCodeByNameTable({{"PAGE", 1}, {"USER", 2}}, 0);
constexpr auto kDefaultOnly = MakeDefaultOnlyTable(77);

TEST(CodeByName, ExactMatchesAndTheDefault) {
    EXPECT_EQ(LookupCodeByName("PAGE", kMemoryUsage), 1u);
    EXPECT_EQ(LookupCodeByName("USER", kMemoryUsage), 2u);
    EXPECT_EQ(LookupCodeByName("page", kMemoryUsage), 0u);
    EXPECT_EQ(LookupCodeByName("PAGES", kMemoryUsage), 0u);
    EXPECT_EQ(LookupCodeByName("", kMemoryUsage), 0u);
    EXPECT_EQ(LookupCodeByName(nullptr, kMemoryUsage), 0xFFFFFFFFu);
    EXPECT_EQ(LookupCodeByName("anything", kDefaultOnly), 77u);
    EXPECT_EQ(LookupCodeByName(nullptr, kDefaultOnly), 0xFFFFFFFFu);
    EXPECT_EQ(LookupCodeByName("PAGE", static_cast<const CodeByNameRow*>(nullptr)), 0xFFFFFFFFu);
}

TEST(CodeByName, TablesAreEndedByTheDefaultRow) {
    static_assert(kMemoryUsage.size() == 3);
    static_assert(kMemoryUsage[2].name == nullptr && kMemoryUsage[2].code == 0);
    static_assert(kMemoryUsage[0].length == 4 && kMemoryUsage[2].length == 0);
}

}  // namespace
