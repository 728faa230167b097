// The engine status codes the monitor gives a meaning of its own (the
// toner's state, normal operation), each code of every range and both
// neighbours of each range; and the library's own texts of the same codes
// agree with the class the monitor gives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "library/library_calls.h"
#include "base/engine_code_classes.h"

namespace tb58mon {
namespace {

// The toner state of codes by its name.
std::string TonerText(const std::vector<int32_t>& codes) { return std::string(TonerName(TonerOfCodes(codes))); }

struct Coded {
    int32_t code;
    const char* toner;
};

// Low: 10072..10075; run out: 30013..30015; no toner: 40012..40015.
const Coded kTonerCodes[] = {
    {10071, "ok"},    {10072, "low"},   {10073, "low"},   {10074, "low"},   {10075, "low"},   {10076, "ok"},
    {30012, "ok"},    {30013, "empty"}, {30014, "empty"}, {30015, "empty"}, {30016, "ok"},
    {40011, "ok"},    {40012, "empty"}, {40013, "empty"}, {40014, "empty"}, {40015, "empty"}, {40016, "ok"},
};

TEST(EngineCodeClasses, TonerStateOfEveryCodeOfTheRangesAndTheirNeighbours) {
    for (const Coded& c : kTonerCodes) EXPECT_EQ(TonerText({c.code}), c.toner) << c.code;
    EXPECT_EQ(TonerText({}), "ok");
    // Empty wins over low, whichever comes first.
    EXPECT_EQ(TonerText({10072, 40012}), "empty");
    EXPECT_EQ(TonerText({30015, 10075}), "empty");
    EXPECT_EQ(TonerText({42000, 10074}), "low");
}

std::string LongText(int32_t code) {
    SetLocale("EN");
    OwnedRecord record;
    record.AddEngineStatus(code, "");
    const StatusPacket packet(record.get(), 1);
    std::string text = GetStatusString(1, packet.root(), TB58_STATUS_LONG_TEXT).value_or("");
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

TEST(EngineCodeClasses, TheLibrarysTextsAgreeWithTheTonerClasses) {
    for (const Coded& c : kTonerCodes) {
        const std::string text = LongText(c.code);
        const bool low = text.find("toner is low") != std::string::npos ||
                         text.find("toner is almost empty") != std::string::npos;
        const bool out = text.find("toner has run out") != std::string::npos;
        EXPECT_EQ(low, std::string(c.toner) == "low") << c.code << ": " << text;
        EXPECT_EQ(out, std::string(c.toner) == "empty") << c.code << ": " << text;
    }
}

TEST(EngineCodeClasses, NormalOperationIsExactlyReadyWarmingUpPrintingAndEnergySaver) {
    for (int32_t code : {10001, 10003, 10023, 10033, 10034}) EXPECT_TRUE(IsNormalStateCode(code)) << code;
    for (int32_t code : {10000, 10002, 10004, 10022, 10024, 10032, 10035, 10072, 40800, 42000, -254}) {
        EXPECT_FALSE(IsNormalStateCode(code)) << code;
    }
}

}  // namespace
}  // namespace tb58mon
