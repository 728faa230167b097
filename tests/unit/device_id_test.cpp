// The device ID parser: fields, status with state and text, counters,
// unknown keys, cuts, and texts that stop anywhere.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pjl/device_id_parser.h"
#include "platform/win32_api.h"
#include "support/allocation_switch.h"
#include "support/test_data.h"
#include "support/test_record.h"

namespace {

using namespace tb58::pjl;
using tb58::test::TestRecord;

std::vector<int32_t> Codes(const PrnInfoEx* record) {
    std::vector<int32_t> codes;
    for (const EngineStatusNode* n = record->pEngineStatus; n != nullptr;
         n = static_cast<const EngineStatusNode*>(n->next)) {
        codes.push_back(n->dwCode);
    }
    return codes;
}

TEST(SplitField, DelimitersCapacityAndEnd) {
    const std::string text = "abc:def;ghijk";
    FieldCursor cursor = MakeFieldCursor(text);
    char out[4];
    SplitField(cursor, out, sizeof out, ":");
    EXPECT_STREQ(out, "abc");
    SplitField(cursor, out, sizeof out, ";");
    EXPECT_STREQ(out, "def");
    SplitField(cursor, out, sizeof out, ";");
    EXPECT_STREQ(out, "ghi");  // cut: the 'j' after the cut is lost
    SplitField(cursor, out, sizeof out, ";");
    EXPECT_STREQ(out, "k");
    EXPECT_TRUE(cursor.AtEnd());
    SplitField(cursor, out, sizeof out, ";");
    EXPECT_STREQ(out, "");
}

TEST(DeviceId, NamesAndUnknownKeys) {
    TestRecord record;
    EXPECT_EQ(ParseDeviceId(*record.get(), "ABC:1;MFG:X;MDL:Y;DES:Z;"), 0u);
    EXPECT_STREQ(record->pMakerName, "X");
    EXPECT_STREQ(record->pModelName, "Y");
    EXPECT_STREQ(record->pDescription, "Z");
    EXPECT_EQ(record->bModelCode, 255);
}

TEST(DeviceId, StatusWithErrorCodeAndText) {
    TestRecord record;
    ParseDeviceId(*record.get(), "STS:40012/10001,1,Paper jam;");
    EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{40012, 10001}));
    EXPECT_STREQ(record->pEngineStatus->szText, "Paper jam");
    EXPECT_STREQ(static_cast<EngineStatusNode*>(record->pEngineStatus->next)->szText, "Paper jam");
    EXPECT_EQ(record->bOnline, 1);
    EXPECT_EQ(record->bOffline, 0);
    EXPECT_EQ(record->bError, 1);
    ParseDeviceId(*record.get(), "STS:10001,2;");
    EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{10001}));
    EXPECT_STREQ(record->pEngineStatus->szText, "");
    EXPECT_EQ(record->bOnline, 2);
    EXPECT_EQ(record->bOffline, 1);
    EXPECT_EQ(record->bError, 0);
    ParseDeviceId(*record.get(), "STS:40342,1;");
    EXPECT_EQ(record->bError, 0);
    EXPECT_EQ(record->nEngineStatus, 1u);
}

TEST(DeviceId, CounterAndNoSuppliesInThisModel) {
    TestRecord record;
    ParseDeviceId(*record.get(), "QIJ:12345/80,60;MFG:after;");
    ASSERT_EQ(record->nCounterInfo, 1u);
    EXPECT_EQ(record->pCounterInfo->wId, 1);
    EXPECT_EQ(record->pCounterInfo->dwValue, 12345u);
    EXPECT_EQ(record->pSupplyInfo, nullptr);
    EXPECT_STREQ(record->pMakerName, "after");
}

TEST(DeviceId, CommandSetsLeaveTheEmulationsAlone) {
    TestRecord record;
    ParseDeviceId(*record.get(), "CMD:PCL,POSTSCRIPT;");
    EXPECT_EQ(record->pLoadedEmul, nullptr);
}

TEST(DeviceId, EmptyTextChangesNothing) {
    TestRecord record;
    EXPECT_EQ(ParseDeviceId(*record.get(), ""), 0u);
    EXPECT_EQ(record->pMakerName, nullptr);
}

TEST(DeviceId, MakerThatCannotBeStoredEndsWithNotEnoughMemory) {
    TestRecord record;
    tb58::test::AllocationSwitchGuard fail(1);  // the model name succeeds, the maker name fails
    EXPECT_EQ(ParseDeviceId(*record.get(), "MDL:Y;MFG:X;DES:Z;"), static_cast<uint32_t>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_STREQ(record->pModelName, "Y");
    EXPECT_EQ(record->pMakerName, nullptr);
    EXPECT_EQ(record->pDescription, nullptr);
}

TEST(DeviceId, OverlongFieldsAreCut) {
    TestRecord record;
    const std::string maker(400, 'm');
    const std::string status_text(200, 't');
    // A 40-digit element is cut after 29 characters; the one after the cut is
    // lost and the rest reads as the next element.
    ParseDeviceId(*record.get(), "STS:" + std::string(40, '4') + "/10001,1," + status_text + ";MFG:" + maker + ";");
    EXPECT_EQ(std::string(record->pMakerName), std::string(255, 'm'));
    EXPECT_EQ(record->nEngineStatus, 3u);
    EXPECT_EQ(record->pEngineStatus->dwCode, INT32_MAX);  // saturated
    EXPECT_EQ(std::string(record->pEngineStatus->szText), status_text);
}

TEST(DeviceId, TestDataDeviceId) {
    TestRecord record;
    EXPECT_EQ(ParseDeviceId(*record.get(), tb58::test::TestData("device_id.txt")), 0u);
    EXPECT_STREQ(record->pMakerName, "Generic Imaging");
    EXPECT_EQ(Codes(record.get()), (std::vector<int32_t>{41201, 41301, 10001}));
    EXPECT_EQ(record->bError, 1);
    EXPECT_EQ(record->pCounterInfo->dwValue, 123456u);
}

// Every prefix of a device ID with every key, and arbitrary bytes, parse
// without reading past the text.
TEST(DeviceId, AnyPrefixAndAnyByteIsReadSafely) {
    const std::string id =
        "MFG:Maker;MDL:Model;DES:Desc;CMD:A,B;STS:41201/10001,1,text;QIJ:99/1,2;XYZ:1;STS:10001;QIJ:5;";
    for (size_t length = 0; length <= id.size(); ++length) {
        TestRecord record;
        const std::string prefix = id.substr(0, length);
        EXPECT_EQ(ParseDeviceId(*record.get(), std::string_view(prefix.data(), prefix.size())), 0u);
    }
    for (size_t at = 0; at < id.size(); at += 3) {
        for (int byte : {0, int{';'}, int{':'}, int{','}, int{'/'}, 0xFF}) {
            std::string copy = id;
            copy[at] = static_cast<char>(byte);
            TestRecord record;
            EXPECT_EQ(ParseDeviceId(*record.get(), copy), 0u);
        }
    }
}

}  // namespace
