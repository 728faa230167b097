// The reply intake keeps its results: the test replies whole, every cut of
// them, and a fixed stream of mutated replies, into fresh records and into
// records that already hold a full reply, must leave exactly the result,
// last error and record content they left when the digests were taken.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Tb58Wk31Platform.h"
#include "support/intake_cases.h"
#include "support/intake_regression.h"
#include "support/test_data.h"
#include "support/test_record.h"

namespace {

constexpr uint64_t kDigests[] = {
#include "intake_regression_digests.inc"
};

std::string Outcome(const tb58::test::IntakeCase& c, const tb58::test::IntakeCase& prefill) {
    tb58::test::TestRecord record;
    if (c.prefill) {
        tb58::test::PacketBuilder packets;
        PatSetCentroDataTo(packets.Build(prefill), 0, record.get(), 2);
    }
    tb58::test::PacketBuilder packets;
    const int32_t result = PatSetCentroDataTo(packets.Build(c), 0, record.get(), 2);
    const uint32_t error = GetLastError();
    return std::to_string(result) + "/" + std::to_string(error) + "/" + tb58::test::RecordBytes(*record.get());
}

TEST(IntakeRegression, EveryCaseLeavesTheRecordItLeftBefore) {
    const tb58::test::IntakeTexts texts{std::string(tb58::test::TestData("reply_full.pjl")),
                                        std::string(tb58::test::TestData("reply_tzmo.pjl")),
                                        std::string(tb58::test::TestData("device_id.txt"))};
    const tb58::test::IntakeCase prefill = tb58::test::PrefillCase(texts);
    const std::vector<tb58::test::IntakeCase> cases = tb58::test::RegressionCases(texts);
    ASSERT_EQ(cases.size(), std::size(kDigests));
    size_t differing = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
        if (tb58::test::Fnv1a64(Outcome(cases[i], prefill)) == kDigests[i]) continue;
        if (++differing <= 5) {
            ADD_FAILURE() << "case " << i << " (prefill " << cases[i].prefill << ", query "
                          << (cases[i].query.empty() ? "none" : "present") << ", reply of "
                          << cases[i].reply.size() << " bytes) ends differently";
        }
    }
    EXPECT_EQ(differing, 0u);
}

// A reply that changes everything a reply can change (the tray count, the
// versions, the options, the bins, the emulation's information) but leaves
// one question unanswered is undone whole: the record keeps its own nodes
// and texts at their addresses, with their contents.  The same reply with
// the question answered replaces them, and nothing leaks either way.
TEST(IntakeRegression, AnUnansweredQueryLeavesTheRecordAsItWas) {
    const tb58::test::IntakeTexts texts{std::string(tb58::test::TestData("reply_full.pjl")),
                                        std::string(tb58::test::TestData("reply_tzmo.pjl")),
                                        std::string(tb58::test::TestData("device_id.txt"))};
    tb58::test::TestRecord record;
    tb58::test::PacketBuilder first_packets;
    ASSERT_EQ(PatSetCentroDataTo(first_packets.Build(tb58::test::PrefillCase(texts)), 0, record.get(), 2), 1);
    tb58::test::PacketBuilder tzmo_packets;
    tb58::test::IntakeCase tzmo;
    tzmo.reply = texts.tzmo_reply;
    ASSERT_EQ(PatSetCentroDataTo(tzmo_packets.Build(tzmo), 0, record.get(), 2), 1);
    ASSERT_NE(record->pEmulUniqInfo, nullptr);
    const std::string before = tb58::test::RecordBytes(*record.get());
    const PrnInfoEx fields = *record.get();

    tb58::test::IntakeCase changing;
    changing.reply =
        "\x1b%-12345X@PJL INFO CONFIG\r\nIN TRAYS [1 ENUMERATED]\r\n\tINTRAY4\r\n"
        "VERSION [2 ENUMERATED]\r\n\tFIRMWARE 9.99\r\n\tWEXA 9.00\r\nMEMORY=1024\r\nDUPLEX\r\n\f"
        "@PJL INFO OUTBINSTATUS\r\nUPPER=FULL\r\n\f@PJL INQUIRE INTRAY4SIZE\r\nA3\r\n\f"
        "@PJL INFO TZMO\r\nMEMORYUSAGE=PAGE\r\n\f";
    changing.query = tb58::test::QueryAnsweredBy(changing.reply);
    changing.ask_device_id = false;
    tb58::test::IntakeCase unanswered = changing;
    unanswered.query.insert(unanswered.query.size() - tb58::test::kUel.size(), "@PJL INQUIRE INTRAY1MEDIA\r\n");

    tb58::test::PacketBuilder packets;
    EXPECT_EQ(PatSetCentroDataTo(packets.Build(unanswered), 0, record.get(), 2), 0);
    EXPECT_EQ(GetLastError(), 0x20000002u);
    EXPECT_EQ(tb58::test::RecordBytes(*record.get()), before);
    EXPECT_EQ(std::memcmp(record.get(), &fields, sizeof fields), 0) << "a node or text moved";

    EXPECT_EQ(PatSetCentroDataTo(packets.Build(changing), 0, record.get(), 2), 1);
    EXPECT_EQ(record->nTrayInfo, 1u);
    EXPECT_STREQ(record->pSYSVersion, "9.99");
    EXPECT_EQ(record->dwMemorySize, 1u);
    EXPECT_EQ(record->pEmulUniqInfo->dwMemoryUsage, 1u);
}

}  // namespace
