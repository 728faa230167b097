// The short-text comparison of keywords: every length up to and past its
// 4- and 8-byte loads, a difference at every position, texts cut out of a
// longer buffer (the loads must stay inside the view).
#include <gtest/gtest.h>

#include <string>

#include "core/short_text_equal.h"

namespace {

TEST(ShortTextEqual, AgreesWithPlainComparisonAtEveryLengthAndPosition) {
    const std::string buffer = "INTRAY1SIZEOPTIONALOUTPUTBIN9FINISHERBOOKLET";
    for (size_t length = 0; length <= 40; ++length) {
        const std::string_view a(buffer.data(), length);
        std::string copy(a);
        EXPECT_TRUE(tb58::ShortTextEqual(a, copy)) << length;
        for (size_t at = 0; at < length; ++at) {
            std::string changed(a);
            changed[at] = static_cast<char>(changed[at] ^ 0x20);
            EXPECT_FALSE(tb58::ShortTextEqual(a, changed)) << length << " at " << at;
        }
        if (length > 0) {
            EXPECT_FALSE(tb58::ShortTextEqual(a, a.substr(0, length - 1))) << length;
        }
    }
    EXPECT_TRUE(tb58::ShortTextEqual({}, ""));
}

}  // namespace
