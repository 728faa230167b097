// The PJL stream framing: the echo cookie ends the reply, and what printers
// mix into their replies is cleaned away, however the bytes are cut into
// reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transport/pjl_stream.h"
#include "transport/usb_device_id.h"

namespace tb58mon {
namespace {

constexpr std::string_view kUel = "\x1b%-12345X";
const std::string kCookie = "TB58ABCDEF012345";

std::string Answers() {
    return std::string(kUel) + "@PJL INFO CONFIG\r\nMEMORY=512\r\n\f@PJL INQUIRE INTRAY1SIZE\r\nA4\r\n\f";
}

std::string EchoAnswer() { return "@PJL ECHO " + kCookie + "\r\n\f" + std::string(kUel); }

// Feeds text in pieces of size step; returns the framer.
PjlReplyFramer FeedInPieces(std::string_view text, size_t step, size_t cap = 1 << 20) {
    PjlReplyFramer framer(kCookie, cap);
    for (size_t at = 0; at < text.size(); at += step) framer.Feed(text.substr(at, step));
    return framer;
}

TEST(PjlStream, EchoGoesBeforeTheClosingUel) {
    const std::string query = std::string(kUel) + "@PJL\r\n@PJL INFO CONFIG\r\n" + std::string(kUel);
    EXPECT_EQ(AddEchoCommand(query, "X1"),
              std::string(kUel) + "@PJL\r\n@PJL INFO CONFIG\r\n@PJL ECHO X1\r\n" + std::string(kUel));
    // A text without a closing UEL gets the echo at its end.
    EXPECT_EQ(AddEchoCommand("@PJL INFO CONFIG\r\n", "X1"), "@PJL INFO CONFIG\r\n@PJL ECHO X1\r\n");
    // Cookies differ from round to round.
    EXPECT_NE(MakeEchoCookie(), MakeEchoCookie());
    EXPECT_EQ(MakeEchoCookie().size(), 16u);
}

TEST(PjlStream, TheReplyIsTheSameHoweverItIsCut) {
    const std::string stream = Answers() + EchoAnswer();
    for (size_t step : {1u, 2u, 3u, 7u, 16u, 4096u}) {
        SCOPED_TRACE(step);
        const PjlReplyFramer framer = FeedInPieces(stream, step);
        ASSERT_EQ(framer.state(), PjlReplyFramer::State::kComplete);
        EXPECT_EQ(framer.reply(), Answers());
    }
}

TEST(PjlStream, WaitsForTheWholeCookie) {
    PjlReplyFramer framer(kCookie, 1 << 20);
    // An echo of another round, and a word that only starts with the cookie.
    EXPECT_EQ(framer.Feed(Answers() + "@PJL ECHO TB58FFFFFFFFFFFF\r\n\f"), PjlReplyFramer::State::kReading);
    EXPECT_EQ(framer.Feed("@PJL ECHO " + kCookie + "XYZ\r\n\f"), PjlReplyFramer::State::kReading);
    EXPECT_EQ(framer.Feed("@PJL ECHO " + kCookie), PjlReplyFramer::State::kReading);
    EXPECT_EQ(framer.Feed("\r"), PjlReplyFramer::State::kComplete);
    EXPECT_TRUE(framer.reply().starts_with(Answers()));
    // Bytes after the echo are ignored.
    EXPECT_EQ(framer.Feed("@PJL INFO MORE\r\n"), PjlReplyFramer::State::kComplete);
}

TEST(PjlStream, RemovesNulEotUstatusAndDoubleCarriageReturns) {
    const std::string ustatus = "@PJL USTATUS DEVICE\r\nCODE=10001\r\nDISPLAY=\"Ready\"\r\n";
    std::string noisy = std::string("\0\0\x04", 3) + std::string(kUel) + "@PJL INFO CONFIG\r\r\nMEMORY=512\r\r\n\f" +
                        std::string("\x04\0", 2) + ustatus + "\f" + "@PJL INQUIRE INTRAY1SIZE\r\nA4\r\n\f" +
                        "@PJL USTATUS DEVICE\r\nCODE=42000\r\n\f" + EchoAnswer();
    const PjlReplyFramer framer = FeedInPieces(noisy, 5);
    ASSERT_EQ(framer.state(), PjlReplyFramer::State::kComplete);
    EXPECT_EQ(framer.reply(), Answers());
    EXPECT_EQ(framer.ustatus(), "@PJL USTATUS DEVICE\r\nCODE=42000\r\n");  // the latest one
    // "@PJL USTATUS" inside a line is text, not a section.
    std::string kept;
    EXPECT_EQ(CleanReply("OTHER=\"@PJL USTATUS X\"\r\n\f", kept), "OTHER=\"@PJL USTATUS X\"\r\n\f");
    EXPECT_TRUE(kept.empty());
    // A lone CR run without a LF stays.
    EXPECT_EQ(CleanReply("A\r\rB\r\r\r\nC", kept), "A\r\rB\r\nC");
}

TEST(PjlStream, AReplyLargerThanTheCapStops) {
    std::string big(5000, 'x');
    PjlReplyFramer framer(kCookie, 2048);
    PjlReplyFramer::State state = PjlReplyFramer::State::kReading;
    for (int i = 0; i < 10 && state == PjlReplyFramer::State::kReading; ++i) state = framer.Feed(big);
    EXPECT_EQ(state, PjlReplyFramer::State::kTooLarge);
    EXPECT_EQ(framer.Feed(EchoAnswer()), PjlReplyFramer::State::kTooLarge);
    // An echo that comes within the cap completes.
    PjlReplyFramer small(kCookie, 2048);
    EXPECT_EQ(small.Feed(std::string(2000, 'x') + EchoAnswer()), PjlReplyFramer::State::kComplete);
    // One past the cap does not.
    PjlReplyFramer over(kCookie, 2048);
    EXPECT_EQ(over.Feed(std::string(2049, 'x') + EchoAnswer()), PjlReplyFramer::State::kTooLarge);
}

// The cap at its edge: a reply of exactly max_reply bytes before the echo
// completes, one byte more does not, however the bytes are cut; the byte
// that ends the cookie may come in a read of its own.
TEST(PjlStream, AnEchoRightAtTheCap) {
    constexpr size_t kCap = 2048;
    for (size_t step : {1u, 7u, 2048u, 4096u}) {
        SCOPED_TRACE(step);
        const PjlReplyFramer exact = FeedInPieces(std::string(kCap, 'x') + EchoAnswer(), step, kCap);
        ASSERT_EQ(exact.state(), PjlReplyFramer::State::kComplete);
        EXPECT_EQ(exact.reply(), std::string(kCap, 'x'));
        const PjlReplyFramer over = FeedInPieces(std::string(kCap + 1, 'x') + EchoAnswer(), step, kCap);
        EXPECT_EQ(over.state(), PjlReplyFramer::State::kTooLarge);
    }
    PjlReplyFramer split(kCookie, kCap);
    EXPECT_EQ(split.Feed(std::string(kCap, 'x') + "@PJL ECHO " + kCookie), PjlReplyFramer::State::kReading);
    EXPECT_EQ(split.Feed("\r\n\f"), PjlReplyFramer::State::kComplete);
    EXPECT_EQ(split.reply().size(), kCap);
    // A cap of 0: only an echo first.
    EXPECT_EQ(FeedInPieces(EchoAnswer(), 1, 0).state(), PjlReplyFramer::State::kComplete);
    EXPECT_EQ(FeedInPieces("x" + EchoAnswer(), 1, 0).state(), PjlReplyFramer::State::kTooLarge);
}

TEST(UsbDeviceId, LengthPrefixBigEndianElseLittleEndianClampedToTheBuffer) {
    const std::string id = "MFG:Maker;MDL:Model 1;";
    auto buffer = [&](uint8_t first, uint8_t second, size_t size) {
        std::vector<uint8_t> bytes(size, 0);
        bytes[0] = first;
        bytes[1] = second;
        for (size_t i = 0; i < id.size() && i + 2 < size; ++i) bytes[i + 2] = static_cast<uint8_t>(id[i]);
        return bytes;
    };
    const auto length = static_cast<uint8_t>(id.size() + 2);
    // Big-endian, as the standard says.
    EXPECT_EQ(DeviceIdFromIoctlBuffer(buffer(0, length, 1024)), id);
    // Little-endian: the big-endian reading is larger than the buffer.
    EXPECT_EQ(DeviceIdFromIoctlBuffer(buffer(length, 0, 1024)), id);
    // A length that counts only part of the text cuts it there.
    EXPECT_EQ(DeviceIdFromIoctlBuffer(buffer(0, 16, 1024)), id.substr(0, 14));
    // Under 14 big-endian: read little-endian, then clamped to the buffer.
    EXPECT_EQ(DeviceIdFromIoctlBuffer(buffer(0, 5, 64)), id);
    // Both readings too large: clamped to the buffer, the text ends at its zero.
    EXPECT_EQ(DeviceIdFromIoctlBuffer(buffer(0xFF, 0xFF, 12)), id.substr(0, 10));
    EXPECT_EQ(DeviceIdFromIoctlBuffer(buffer(0xFF, 0xFF, 1024)), id);
    // Too short to hold anything.
    EXPECT_EQ(DeviceIdFromIoctlBuffer(std::vector<uint8_t>{0, 2}), "");
    EXPECT_EQ(DeviceIdFromIoctlBuffer(std::vector<uint8_t>{}), "");
}

}  // namespace
}  // namespace tb58mon
