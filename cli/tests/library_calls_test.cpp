// Driving the library as a caller: error names, packets, records, and the
// calls with text results.
#include <gtest/gtest.h>

#include <string>

#include "library/library_calls.h"
#include "monitor/query_round.h"

namespace tb58mon {
namespace {

class LibraryCalls : public ::testing::Test {
protected:
    void SetUp() override { SetLocale("EN"); }
};

std::string MessageOf(const CliError& e) { return e.what(); }

TEST_F(LibraryCalls, ErrorsAreNamedAsThePublicHeaderNamesThem) {
    EXPECT_EQ(ErrorName(TB58_ERROR_REPLY_MISMATCH), "TB58_ERROR_REPLY_MISMATCH (0x20000002)");
    EXPECT_EQ(ErrorName(87), "TB58_ERROR_INVALID_PARAMETER (0x00000057)");
    EXPECT_EQ(ErrorName(1814), "error 1814 (0x00000716)");
    SetLastError(TB58_ERROR_NOT_FOUND);
    const CliError error = CallFailed("PatGetDeviceName");
    EXPECT_EQ(MessageOf(error), "PatGetDeviceName failed: TB58_ERROR_NOT_FOUND (0x2000FFFF)");
    EXPECT_EQ(error.exit_code(), kExitFailure);
}

TEST_F(LibraryCalls, PacketsAreLinkedAsTheLibraryReadsThem) {
    PacketPtr root(NewItem(ITEM_CENTRO_DATA, nullptr, 0));
    EXPECT_EQ(root->dataLength, 0u);
    InfoItem* first = NewTextItem(ITEM_PJL_TEXT, "@PJL");
    InfoItem* second = NewTextItem(ITEM_DEVICE_ID, std::string_view("MFG:X;\0tail", 11));
    AppendChild(root.get(), first);
    AppendChild(root.get(), second);
    EXPECT_EQ(root->firstChild, first);
    EXPECT_EQ(root->lastChild, second);
    EXPECT_EQ(first->next, second);
    EXPECT_EQ(second->parent, root.get());
    EXPECT_EQ(first->dataLength, 5u);  // the terminating zero counts
    EXPECT_EQ(FindChild(root.get(), ITEM_DEVICE_ID), second);
    EXPECT_EQ(FindChild(root.get(), ITEM_QUERY_INFO), nullptr);
    EXPECT_EQ(ItemText(second), "MFG:X;");  // up to the first zero byte
}

TEST_F(LibraryCalls, RecordsTheCallerFills) {
    OwnedRecord record;
    EXPECT_EQ(record->dwSize, sizeof(PrnInfoEx));
    record.AddEngineStatus(-254, std::string(300, 'x'));
    record.AddEngineStatus(40800, "SC541");
    record.AddOption(38);
    record.AddTray(6);
    ASSERT_EQ(record->nEngineStatus, 2u);
    EXPECT_EQ(record->pEngineStatus->wCode, 0xFF02);
    EXPECT_EQ(record->pEngineStatus->dwCode, -254);
    EXPECT_EQ(std::string(record->pEngineStatus->szText).size(), 259u);  // cut to the field
    const auto* second = static_cast<const EngineStatusNode*>(record->pEngineStatus->next);
    EXPECT_STREQ(second->szText, "SC541");
    EXPECT_EQ(second->size, sizeof(EngineStatusNode));
    EXPECT_EQ(record->nDeviceInfo, 1u);
    EXPECT_EQ(record->pDeviceInfo->wOptionCode, 38);
    EXPECT_EQ(record->pTrayInfo->wTrayCode, 6);
}

TEST_F(LibraryCalls, StatusTextsAndTheirAbsence) {
    OwnedRecord record;
    record.AddEngineStatus(42000, "");
    record.AddOption(104);
    StatusPacket packet(record.get(), TB58_KIND_PRINTER);
    EXPECT_EQ(GetStatusString(TB58_KIND_PRINTER, packet.root(), TB58_STATUS_SHORT_TEXT), "Paper Misfeed");
    EXPECT_EQ(GetStatusString(TB58_KIND_PRINTER, packet.root(), TB58_STATUS_LONG_TEXT),
              "Open the indicated cover, and then remove any jammed paper.\nFront Cover, LCT Cover");

    // A code without a text: no text, not an error.
    OwnedRecord unknown;
    unknown.AddEngineStatus(12345, "");
    StatusPacket unknown_packet(unknown.get(), TB58_KIND_PRINTER);
    EXPECT_FALSE(GetStatusString(TB58_KIND_PRINTER, unknown_packet.root(), TB58_STATUS_SHORT_TEXT).has_value());

    // The alternate Ready text is empty, which is a text.
    OwnedRecord ready;
    ready.AddEngineStatus(10001, "");
    StatusPacket alternate(ready.get(), TB58_KIND_PRINTER | TB58_KIND_ALTERNATE);
    EXPECT_EQ(GetStatusString(TB58_KIND_PRINTER | TB58_KIND_ALTERNATE, alternate.root(), TB58_STATUS_SHORT_TEXT),
              "");

    // The machine kind's packet is read (its root names the machine record),
    // but the machine has no status texts: the library reports 8.
    StatusPacket machine(ready.get(), TB58_KIND_MACHINE);
    EXPECT_EQ(machine.root()->dataLength, ITEM_STATUS_MACHINE);
    try {
        GetStatusString(TB58_KIND_MACHINE, machine.root(), TB58_STATUS_SHORT_TEXT);
        FAIL() << "a machine status text";
    } catch (const CliError& e) {
        EXPECT_EQ(MessageOf(e), "PatGetStatusString failed: TB58_ERROR_NOT_ENOUGH_MEMORY (0x00000008)");
    }
    BitmapInfoPtr picture(PatCreateBitmapInfo(TB58_KIND_MACHINE, machine.root(), TB58_REVISION_STATUS));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pLists->dwCount, 0u);
}

TEST_F(LibraryCalls, DeviceNames) {
    const int32_t booklet = 649;
    const int32_t unlisted = 640;
    EXPECT_EQ(GetDeviceName(TB58_DEVICE_NAME_TRAY, "Tray 3"), "Tray 3");
    EXPECT_EQ(GetDeviceName(TB58_DEVICE_NAME_OUTBIN, "Finisher Shift Tray 2"), "Finisher Shift Tray 2");
    EXPECT_EQ(GetDeviceName(TB58_DEVICE_NAME_OPTION, &booklet), "Booklet Processor");
    EXPECT_FALSE(GetDeviceName(TB58_DEVICE_NAME_TRAY, "Interposer Tray").has_value());
    EXPECT_FALSE(GetDeviceName(TB58_DEVICE_NAME_TRAY, "tray 3").has_value());
    EXPECT_FALSE(GetDeviceName(TB58_DEVICE_NAME_OPTION, &unlisted).has_value());
}

TEST_F(LibraryCalls, LanguagesAndRepliesThatDoNotAnswer) {
    try {
        SetLocale("english");
        FAIL() << "an unknown language was set";
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_code(), kExitBadArguments);
        EXPECT_NE(MessageOf(e).find("TB58_ERROR_UNKNOWN_LOCALE"), std::string::npos);
    }
    OwnedRecord record;
    try {
        StoreReplies(record.get(), CreateQuery(record.get(), INFO_OUTBIN), false,
                     "\x1b%-12345X@PJL INFO CONFIG\r\nMEMORY=1024\r\n\f\x1b%-12345X", "");
        FAIL() << "a reply that does not answer its query was stored";
    } catch (const CliError& e) {
        EXPECT_EQ(MessageOf(e), "PatSetCentroDataTo failed: TB58_ERROR_REPLY_MISMATCH (0x20000002)");
    }
    EXPECT_EQ(record->dwMemorySize, 0u);  // nothing stored
}

}  // namespace
}  // namespace tb58mon
