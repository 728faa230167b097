// PatGetStatusString and PatGetStatusHelpFileName through the library, as a
// status monitor calls them: argument checks, the size protocol, the
// alternate texts and the kinds without status text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Tb58Wk31Platform.h"
#include "support/status_packet.h"

namespace {

using tb58::test::StatusPacket;

class StatusStringApi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(PatSetLocale("EN"), 1); }
};

TEST_F(StatusStringApi, ArgumentChecks) {
    StatusPacket packet;
    packet.SetCodes({10001});
    char text[64];
    uint32_t size = sizeof text;
    EXPECT_EQ(PatGetStatusString(1, nullptr, 3, 1, text, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatGetStatusString(1, packet.root(), 3, 1, text, nullptr), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatGetStatusString(1, packet.root(), 2, 1, text, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    for (uint32_t kind : {4u, 16u, 0u}) {
        EXPECT_EQ(PatGetStatusString(kind, packet.root(), 3, 1, text, &size), 0);
        EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER) << kind;
    }
    EXPECT_EQ(size, sizeof text);  // not written before the text exists
    // Only the low byte of the revision counts.
    EXPECT_EQ(PatGetStatusString(1, packet.root(), 0x7703, 1, text, &size), 1);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_STREQ(text, "Operational");
}

TEST_F(StatusStringApi, NullBufferAsksForTheSizeAndExactSizeFits) {
    StatusPacket packet;
    packet.SetCodes({42001});
    uint32_t size = 1000;
    EXPECT_EQ(PatGetStatusString(1, packet.root(), 3, 1, nullptr, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, sizeof "Paper Misfeed");
    char text[32];
    std::memset(text, 'X', sizeof text);
    size = sizeof "Paper Misfeed" - 1;
    EXPECT_EQ(PatGetStatusString(1, packet.root(), 3, 1, text, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, sizeof "Paper Misfeed");
    EXPECT_EQ(text[0], 'X');
    EXPECT_EQ(PatGetStatusString(1, packet.root(), 3, 1, text, &size), 1);
    EXPECT_STREQ(text, "Paper Misfeed");
}

TEST_F(StatusStringApi, AlternateReadyIsAnEmptyText) {
    StatusPacket packet;
    packet.SetCodes({10001});
    char text[16] = "junk";
    uint32_t size = sizeof text;
    EXPECT_EQ(PatGetStatusString(0x80000001u, packet.root(), 3, 1, text, &size), 1);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(size, 1u);
}

TEST_F(StatusStringApi, MachineKindHasNoStatusText) {
    StatusPacket packet(9, 9);
    packet.SetCodes({42001});
    char text[64];
    uint32_t size = sizeof text;
    EXPECT_EQ(PatGetStatusString(0x8000, packet.root(), 3, 1, text, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_NOT_ENOUGH_MEMORY);
}

TEST_F(StatusStringApi, NothingToShowIsNotFound) {
    StatusPacket packet;
    packet.SetCodes({12345});  // selected, but no code-table row
    char text[64];
    uint32_t size = sizeof text;
    EXPECT_EQ(PatGetStatusString(1, packet.root(), 3, 1, text, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_NOT_FOUND);
    StatusPacket empty;
    EXPECT_EQ(PatGetStatusString(1, empty.root(), 3, 1, text, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_NOT_FOUND);
}

TEST_F(StatusStringApi, ShortRecordIsInvalid) {
    StatusPacket packet;
    packet.SetCodes({10001});
    packet.machine()->dwSize = 100;
    char text[64];
    uint32_t size = sizeof text;
    EXPECT_EQ(PatGetStatusString(1, packet.root(), 3, 1, text, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

TEST_F(StatusStringApi, HelpFileNameIsAlwaysEmpty) {
    tb58::test::TestRecord record;
    tb58::test::AppendEngineStatus(record.get(), 42001);
    char name[8] = "junk";
    uint32_t size = sizeof name;
    EXPECT_EQ(PatGetStatusHelpFileName(1, record.get(), 0, name, &size), 1);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(size, 1u);
    size = 0;
    EXPECT_EQ(PatGetStatusHelpFileName(1, record.get(), 0, name, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, 1u);
    size = sizeof name;
    EXPECT_EQ(PatGetStatusHelpFileName(0x8000, record.get(), 0, name, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_NOT_FOUND);
    EXPECT_EQ(PatGetStatusHelpFileName(1, nullptr, 0, name, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatGetStatusHelpFileName(1, record.get(), 0, name, nullptr), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PatGetStatusHelpFileName(16, record.get(), 0, name, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

}  // namespace
