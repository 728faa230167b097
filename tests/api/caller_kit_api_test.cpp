// The caller kit (Tb58Wk31Kit.hpp) as an integrator uses it: nodes a
// caller adds are linked in order and counted, packets nest and are freed
// whole, and a record the library filled is released to an empty one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Tb58Wk31Kit.hpp"
#include "Tb58Wk31Query.h"
#include "support/test_data.h"

namespace {

TEST(CallerKit, NodesAreLinkedInOrderAndCounted) {
    tb58kit::Record record;
    ASSERT_NE(tb58kit::AppendEngineStatus(*record, 41201, "Tray 2 empty"), nullptr);
    ASSERT_NE(tb58kit::AppendEngineStatus(*record, -254, std::string(400, 'x')), nullptr);
    ASSERT_NE(tb58kit::AppendOption(*record, TB58_OPTION_LCT), nullptr);
    ASSERT_NE(tb58kit::AppendTray(*record, TB58_TRAY_2), nullptr);
    ASSERT_EQ(record->nEngineStatus, 2u);
    const EngineStatusNode* first = record->pEngineStatus;
    const auto* second = static_cast<const EngineStatusNode*>(first->next);
    EXPECT_EQ(first->dwCode, 41201);
    EXPECT_STREQ(first->szText, "Tray 2 empty");
    EXPECT_EQ(second->dwCode, -254);
    EXPECT_EQ(second->wCode, 0xFF02u);
    EXPECT_EQ(std::string(second->szText), std::string(sizeof second->szText - 1, 'x'));  // cut, terminated
    EXPECT_EQ(second->next, nullptr);
    EXPECT_EQ(record->pDeviceInfo->wOptionCode, TB58_OPTION_LCT);
    EXPECT_EQ(record->pDeviceInfo->size, sizeof(DeviceInfoNode));
    EXPECT_EQ(record->pTrayInfo->wTrayCode, TB58_TRAY_2);
    EXPECT_EQ(record->nTrayInfo, 1u);
}

TEST(CallerKit, ARecordTheLibraryFilledIsReleasedToAnEmptyOne) {
    tb58kit::Record record;
    InfoItem* packet = tb58kit::NewItem(ITEM_CENTRO_DATA, nullptr, 0);
    tb58kit::AppendChild(packet, PatCreateQueryInfo(record.get(), TB58_REVISION_QUERY, 0xFFFFFFFFu));
    tb58kit::AppendChild(packet, tb58kit::NewTextItem(ITEM_PJL_TEXT, tb58::test::TestData("reply_full.pjl")));
    tb58kit::AppendChild(packet, tb58kit::NewTextItem(ITEM_DEVICE_ID, tb58::test::TestData("device_id.txt")));
    ASSERT_EQ(PatSetCentroDataTo(packet, 0, record.get(), TB58_REVISION_QUERY), 1) << GetLastError();
    tb58kit::FreeTree(packet);
    ASSERT_NE(record->pTrayInfo, nullptr);
    ASSERT_NE(record->pModelName, nullptr);

    tb58kit::ReleaseRecord(*record);
    EXPECT_EQ(record->dwSize, sizeof(PrnInfoEx));
    const auto* bytes = reinterpret_cast<const unsigned char*>(record.get());
    for (size_t at = sizeof record->dwSize; at < sizeof(PrnInfoEx); ++at) EXPECT_EQ(bytes[at], 0u) << at;
}

TEST(CallerKit, AStatusPacketHoldsTheRecordAddresses) {
    tb58kit::Record record;
    tb58kit::AppendEngineStatus(*record, 42001);
    InfoItem* status = tb58kit::NewItem(ITEM_STATUS, nullptr, 0);
    ASSERT_TRUE(tb58kit::AppendRecordItem(status, ITEM_STATUS_MACHINE, record.get()));
    ASSERT_TRUE(tb58kit::AppendRecordItem(status, ITEM_STATUS_PRINTER, record.get()));
    ASSERT_EQ(PatSetLocale("EN"), 1);
    char text[128];
    uint32_t size = sizeof text;
    ASSERT_EQ(PatGetStatusString(TB58_KIND_PRINTER, status, TB58_REVISION_STATUS, TB58_STATUS_SHORT_TEXT, text, &size),
              1);
    EXPECT_STREQ(text, "Paper Misfeed");
    tb58kit::FreeTree(status);  // the record stays the caller's
    EXPECT_EQ(record->nEngineStatus, 1u);
}

}  // namespace
