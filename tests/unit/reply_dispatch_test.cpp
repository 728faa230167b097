// Reply dispatch and the reply handlers: which handler runs for which path,
// and what each stores in the record.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "core/chain_node.h"
#include "core/prn_info_ex.h"
#include "pjl/common_dispatch_rows.h"
#include "pjl/dispatch_index.h"
#include "pjl/reply_dispatch.h"
#include "pjl/reply_handlers.h"
#include "platform/win32_api.h"
#include "support/allocation_switch.h"
#include "support/test_data.h"
#include "support/test_record.h"

namespace {

using namespace tb58;
using namespace tb58::pjl;
using test::TestRecord;

uint32_t Dispatch(PrnInfoEx* record, const std::string& reply) {
    return PjlReplyDispatch(*record, kModelDispatchIndex, reply);
}

template <typename Node>
std::vector<const Node*> Nodes(const Node* first) {
    std::vector<const Node*> nodes;
    for (const Node* node = first; node != nullptr; node = static_cast<const Node*>(node->next)) nodes.push_back(node);
    return nodes;
}

const TrayInfoNode* Tray(const PrnInfoEx* record, uint16_t code) {
    for (const TrayInfoNode* node : Nodes(record->pTrayInfo)) {
        if (node->wTrayCode == code) return node;
    }
    return nullptr;
}

std::vector<uint16_t> Options(const PrnInfoEx* record) {
    std::vector<uint16_t> codes;
    for (const DeviceInfoNode* node : Nodes(record->pDeviceInfo)) codes.push_back(node->wOptionCode);
    return codes;
}

const std::string kInq = "@PJL INQUIRE ";

// Every row of both tables is reached through the index by its path, with
// the calls of that path in look-up order: the model rows in table order,
// then the common rows, each model row with the first common row's handler
// as its fallback.
TEST(ReplyDispatch, IndexReachesEveryRowInLookUpOrder) {
    const std::span<const PjlDispatchRow> common(kCommonDispatchRows);
    EXPECT_EQ(kModelDispatchRows.size(), 62u);
    size_t calls_seen = 0;
    std::vector<const PjlDispatchPath*> seen_paths;
    for (const std::span<const PjlDispatchRow> table : {kModelDispatchRows, common}) {
        for (const PjlDispatchRow& row : table) {
            const PjlDispatchPath* found = kModelDispatchIndex.Find(row.path);
            ASSERT_NE(found, nullptr) << row.path[1] << " " << row.path[3];
            const PjlDispatchPath& path = *found;
            ASSERT_TRUE(SamePath(path.level, row.path)) << row.path[1] << " " << row.path[3];
            if (std::find(seen_paths.begin(), seen_paths.end(), &path) != seen_paths.end()) continue;
            seen_paths.push_back(&path);

            std::vector<PjlDispatchCall> expected;
            for (const PjlDispatchRow& m : kModelDispatchRows) {
                if (SamePath(m.path, row.path)) expected.push_back({m.handler, m.value});
            }
            for (const PjlDispatchRow& c : common) {
                if (SamePath(c.path, row.path)) expected.push_back({c.handler, c.value});
            }
            ASSERT_EQ(path.call_count, expected.size());
            for (size_t i = 0; i < expected.size(); ++i) {
                const PjlDispatchCall& call = kModelDispatchIndex.calls[path.first_call + i];
                EXPECT_EQ(call.handler, expected[i].handler);
                EXPECT_EQ(call.value, expected[i].value);
            }
            calls_seen += expected.size();
        }
    }
    EXPECT_EQ(calls_seen, kModelDispatchRows.size() + common.size());
}

TEST(ReplyDispatch, ConfigSectionWithTraysOptionsAndMemory) {
    TestRecord record;
    const std::string reply =
        "@PJL INFO CONFIG\r\nIN TRAYS [2 ENUMERATED]\r\n\tINTRAY1\r\n\tINTRAYLCT\r\nOUT TRAYS [1 ENUMERATED]\r\n"
        "\tOUTTRAYMAILBOX\r\nMEMORY=67108864\r\n\f";
    EXPECT_EQ(Dispatch(record.get(), reply), 0u);
    EXPECT_EQ(record->nTrayInfo, 2u);
    ASSERT_NE(Tray(record.get(), 3), nullptr);
    ASSERT_NE(Tray(record.get(), 11), nullptr);
    EXPECT_EQ(Options(record.get()), (std::vector<uint16_t>{104, 8}));  // LCT presence then option
    EXPECT_EQ(record->dwMemorySize, 65536u);
}

// An item line's levels end with the line: an item value does not follow
// the next item, an item does not follow the next entry.
TEST(ReplyDispatch, ItemLevelsEndWithTheirLine) {
    TestRecord record;
    const std::string reply =
        "@PJL INFO CONFIG\r\nIN TRAYS [2 ENUMERATED]\r\n\tINTRAY1 PRESENT\r\n\tINTRAYLCT\r\n\tINTRAY2 X\r\n"
        "DUPLEX\r\n\f";
    EXPECT_EQ(Dispatch(record.get(), reply), 0u);
    ASSERT_NE(Tray(record.get(), 11), nullptr);
    EXPECT_EQ(Options(record.get()), (std::vector<uint16_t>{104, 1}));  // LCT, then DUPLEX
}

TEST(ReplyDispatch, CommandLineAloneRunsTheResetThenStopsAtTheFormFeed) {
    TestRecord record;
    PrnInfoExAppend(record.get(), ChainId::pDeviceInfo, reinterpret_cast<ChainNode*>(AllocNode<DeviceInfoNode>()));
    EXPECT_EQ(Dispatch(record.get(), "@PJL INFO CONFIG\r\n\f"), static_cast<uint32_t>(ERROR_INVALID_DATA));
    EXPECT_EQ(record->pDeviceInfo, nullptr);
    EXPECT_EQ(record->nDeviceInfo, 0u);
}

TEST(ReplyDispatch, UnparsableBodyLineStopsAfterTheReset) {
    TestRecord record;
    EXPECT_EQ(Dispatch(record.get(), "@PJL INFO CONFIG\r\n:bad\r\nMEMORY=2048\r\n\f"),
              static_cast<uint32_t>(ERROR_INVALID_DATA));
    EXPECT_EQ(record->dwMemorySize, 0u);
}

TEST(ReplyDispatch, ItemsOutsideInTraysCallNothing) {
    TestRecord record;
    EXPECT_EQ(Dispatch(record.get(), "@PJL INFO CONFIG\r\nOUT TRAYS [1 ENUMERATED]\r\n\tINTRAY1\r\n\f"), 0u);
    EXPECT_EQ(record->pTrayInfo, nullptr);
}

TEST(ReplyHandlers, EmulUniqueInfoIsCreatedOnceAndUpdated) {
    TestRecord record;
    const std::string first =
        "@PJL INFO TZMO\r\nMEMORYUSAGE=USER\r\nIMAGEROTATION=IMPOSSIBLE\r\nOTHER=" + std::string(40, 'o') + "\r\n\f";
    EXPECT_EQ(Dispatch(record.get(), first), 0u);
    ASSERT_EQ(record->nEmulUniqInfo, 1u);
    const EmulUniqInfoNode* node = record->pEmulUniqInfo;
    EXPECT_EQ(node->wEmulCode, 15);
    EXPECT_EQ(node->dwMemoryUsage, 2u);
    EXPECT_EQ(node->dwImageRotation, 2u);
    EXPECT_EQ(std::string(node->szOther), std::string(32, 'o'));
    EXPECT_EQ(Dispatch(record.get(), "@PJL INFO TZMO\r\nMEMORYUSAGE=PAGE\r\n\f"), 0u);
    EXPECT_EQ(record->nEmulUniqInfo, 1u);
    EXPECT_EQ(record->pEmulUniqInfo, node);
    EXPECT_EQ(node->dwMemoryUsage, 1u);
}

TEST(ReplyHandlers, MemoryInKibibytes) {
    TestRecord record;
    Dispatch(record.get(), "@PJL INFO CONFIG\r\nMEMORY=8388608\r\n\f");
    EXPECT_EQ(record->dwMemorySize, 8192u);
    Dispatch(record.get(), "@PJL INFO CONFIG\r\nMEMORY=1023\r\n\f");
    EXPECT_EQ(record->dwMemorySize, 0u);
}

TEST(ReplyHandlers, VersionSectionSetsFirmwareAndEmulations) {
    TestRecord record;
    Dispatch(record.get(), "@PJL INFO CONFIG\r\nVERSION [4 ENUMERATED]\r\n\tFIRMWARE 1.07\r\n\tTZMO 2.00\r\n"
                           "\tWEXA 4.02\r\n\tNEWEMUL 0.9.99.1234567890123\r\n\f");
    EXPECT_STREQ(record->pSYSVersion, "1.07");
    EXPECT_STREQ(record->pMainProgVersion, "4.02");
    const auto emulations = Nodes(record->pLoadedEmul);
    ASSERT_EQ(emulations.size(), 3u);
    EXPECT_EQ(record->nLoadedEmul, 3u);
    EXPECT_EQ(emulations[0]->wEmulCode, 15);
    EXPECT_STREQ(emulations[0]->szVersion, "2.00");
    EXPECT_EQ(emulations[1]->wEmulCode, 1);
    EXPECT_EQ(emulations[2]->wEmulCode, 0);  // not in the table
    EXPECT_STREQ(emulations[2]->szVersion, "0.9.99.12345678");  // cut to 15 characters
    Dispatch(record.get(), "@PJL INFO CONFIG\r\nVERSION [1 ENUMERATED]\r\n\tPOSTSCRIPT 3.1\r\n\f");
    EXPECT_EQ(record->nLoadedEmul, 1u);
    EXPECT_STREQ(record->pQXSVersion, "3.1");
}

TEST(ReplyHandlers, TrayCountKeepsOrRebuildsTheTrays) {
    TestRecord record;
    const std::string three = "@PJL INFO CONFIG\r\nIN TRAYS [3 ENUMERATED]\r\n\tINTRAY1\r\n\tINTRAY2\r\n\tINTRAY3\r\n\f";
    Dispatch(record.get(), three);
    Dispatch(record.get(), kInq + "INTRAY2MEDIA\r\nRECYCLED\r\n\f");
    Dispatch(record.get(), three);  // same count: updated in place
    ASSERT_NE(Tray(record.get(), 4), nullptr);
    EXPECT_EQ(Tray(record.get(), 4)->wMediaCode, 2);
    Dispatch(record.get(), "@PJL INFO CONFIG\r\nIN TRAYS [2 ENUMERATED]\r\n\tINTRAY1\r\n\tINTRAY2\r\n\f");
    EXPECT_EQ(record->nTrayInfo, 2u);
    EXPECT_EQ(Tray(record.get(), 4)->wMediaCode, 0);  // a fresh node
}

TEST(ReplyHandlers, PunchUnits) {
    auto punch = [](const std::string& body) {
        TestRecord record;
        Dispatch(record.get(), "@PJL INFO CONFIG\r\n" + body + "\f");
        return Options(record.get());
    };
    EXPECT_EQ(punch("PUNCH [2 ENUMERATED]\r\n\tUS3\r\n\tJP2\r\n"), (std::vector<uint16_t>{139}));
    EXPECT_EQ(punch("PUNCH [1 ENUMERATED]\r\n\tUS2\r\n"), (std::vector<uint16_t>{137}));
    EXPECT_EQ(punch("PUNCH [2 ENUMERATED]\r\n\tEU4\r\n\tUS2\r\n"), (std::vector<uint16_t>{}));
    EXPECT_EQ(punch("PUNCH [6 ENUMERATED]\r\n\tUS2\r\n"), (std::vector<uint16_t>{}));
    EXPECT_EQ(punch("PUNCH [1 ENUMERATED]\r\n\tNEU4\r\nDUPLEX\r\nDISK\r\n"), (std::vector<uint16_t>{134, 1, 3}));
}

TEST(ReplyHandlers, OutputBins) {
    TestRecord record;
    Dispatch(record.get(), "@PJL INFO OUTBINSTATUS\r\nOPTIONALOUTPUTBIN3=FULL\r\nUPPER=JAMMED\r\n"
                           "FINISHERBOOKLET=PAPEREXIST\r\nOPTIONALOUTPUTBIN4=READY\r\n\f");
    EXPECT_EQ(record->dwOutBinState, 255u);
    const auto bins = Nodes(record->pOutBinInfo);
    ASSERT_EQ(bins.size(), 4u);
    EXPECT_EQ(bins[0]->wBinCode, 9);
    EXPECT_EQ(bins[0]->wState, 2);
    EXPECT_EQ(bins[1]->wBinCode, 3);
    EXPECT_EQ(bins[1]->wState, 0);
    EXPECT_EQ(bins[2]->wBinCode, 27);
    EXPECT_EQ(bins[2]->wState, 1);
    EXPECT_EQ(bins[3]->wBinCode, 10);
    Dispatch(record.get(), "@PJL INFO OUTBINSTATUS\r\nUPPER=READY\r\n\f");
    EXPECT_EQ(record->nOutBinInfo, 1u);
}

TEST(ReplyHandlers, TrayInquiries) {
    TestRecord record;
    Dispatch(record.get(), kInq + "INTRAY2MEDIA\r\nRECYCLED\r\n\f");
    ASSERT_NE(Tray(record.get(), 4), nullptr);
    EXPECT_EQ(Tray(record.get(), 4)->wMediaCode, 2);
    Dispatch(record.get(), kInq + "INTRAY2MEDIA\r\nVELVET\r\n\f");
    EXPECT_EQ(Tray(record.get(), 4)->wMediaCode, 0);
    Dispatch(record.get(), kInq + "INTRAYLCTSIZE\r\nA4LONG\r\n\f" + kInq + "INTRAYLCTQUANT\r\n3/5\r\n\f");
    EXPECT_EQ(Tray(record.get(), 11)->wPaperSize, 8);
    EXPECT_EQ(Tray(record.get(), 11)->wPaperLevel, 60);
    Dispatch(record.get(), kInq + "FRONTCOVERPRINTTRAY\r\nTRAY1\r\n\f" + kInq + "INTRAY1\r\nLOCKED\r\n\f");
    EXPECT_EQ(Tray(record.get(), 3)->dwAttributes, 0x5u);
    Dispatch(record.get(), kInq + "INTRAY1\r\nUNLOCKED\r\n\f");
    EXPECT_EQ(Tray(record.get(), 3)->dwAttributes, 0x4u);
    EXPECT_EQ(record->nTrayInfo, 3u);
}

TEST(ReplyHandlers, SpecialTrays) {
    TestRecord record;
    Dispatch(record.get(), kInq + "CHAPTERPRINTTRAY1\r\nLCT\r\n\f" + kInq + "BACKCOVERPRINTTRAY\r\nLCT\r\n\f");
    ASSERT_NE(Tray(record.get(), 11), nullptr);
    EXPECT_EQ(Tray(record.get(), 11)->dwAttributes, 0x220u);
    Dispatch(record.get(), kInq + "SLIPSHEETPRINTTRAY\r\nNOWHERE\r\n\f");
    EXPECT_EQ(record->nTrayInfo, 1u);  // an unknown tray creates nothing
}

TEST(ReplyHandlers, MalformedInquiryAnswerStillLeavesTheTrayNode) {
    TestRecord record;
    Dispatch(record.get(), kInq + "INTRAY3SIZE\r\n\f");
    ASSERT_NE(Tray(record.get(), 5), nullptr);
    EXPECT_EQ(Tray(record.get(), 5)->wPaperSize, 0);
}

TEST(ReplyHandlers, AllocationFailuresLoseOnlyTheNode) {
    TestRecord record;
    {
        test::AllocationSwitchGuard fail(0);
        Dispatch(record.get(), "@PJL INFO CONFIG\r\nDUPLEX\r\nDISK\r\n\f");
    }
    EXPECT_EQ(Options(record.get()), (std::vector<uint16_t>{3}));
}

TEST(ReplyDispatch, FullReplyFromTheTestData) {
    TestRecord record;
    const std::string_view reply = test::TestData("reply_full.pjl");
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(PjlReplyDispatch(*record.get(), kModelDispatchIndex, reply), 0u);
    EXPECT_EQ(record->nTrayInfo, 6u);
    EXPECT_EQ(record->dwMemorySize, 524288u);
    EXPECT_STREQ(record->pSYSVersion, "1.07");
    EXPECT_EQ(record->nOutBinInfo, 5u);
    EXPECT_EQ(Options(record.get()), (std::vector<uint16_t>{104, 16, 6, 38, 8, 1, 3, 139}));
}

}  // namespace
