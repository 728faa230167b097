// The reply intake keeps its results: the test replies whole, every cut of
// them, and a fixed stream of mutated replies, into fresh records and into
// records that already hold a full reply, must leave exactly the result,
// last error and record content they left when the digests were taken.
#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
