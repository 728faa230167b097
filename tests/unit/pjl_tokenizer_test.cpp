// The PJL tokenizer: the worked token sequences, every error path, the end
// rule, cutting long tokens, and texts that stop anywhere.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pjl/pjl_tokenizer.h"
#include "platform/win32_api.h"
#include "support/test_data.h"

namespace {

using namespace tb58::pjl;

struct Tok {
    std::string text;
    uint32_t type;
    uint32_t result;
    bool operator==(const Tok&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tok& t) {
    return os << "{\"" << t.text << "\", " << t.type << ", " << t.result << "}";
}

// Every token until the end (at most max), with the position after each.
std::vector<Tok> ReadAll(PjlTokenizer& tokenizer, std::string_view text, uint32_t capacity, size_t max,
                         std::vector<size_t>* positions) {
    std::vector<Tok> out;
    for (size_t i = 0; i < max; ++i) {
        uint32_t type = 0;
        std::string_view token;
        const uint32_t result = PjlReadToken(&tokenizer, &token, &type);
        out.push_back({std::string(PjlCutToken(token, capacity)), type, result});
        positions->push_back(static_cast<size_t>(tokenizer.position - text.data()));
        if (type == PJL_TOK_END && result == 0) break;
    }
    return out;
}

std::vector<Tok> Tokens(std::string_view text, uint32_t capacity = kDispatchTokenCapacity, size_t max = 64) {
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, text);
    std::vector<size_t> positions;
    return ReadAll(tokenizer, text, capacity, max, &positions);
}

constexpr uint32_t kBad = ERROR_INVALID_DATA;

TEST(PjlTokenizer, ConfigReplyWithSectionsItemsAndValues) {
    const std::string reply =
        "@PJL INFO CONFIG\r\nIN TRAYS [1 ENUMERATED]\r\n\tINTRAY1 A4\r\nMEMORY=8388608\r\n\f";
    EXPECT_EQ(Tokens(reply), (std::vector<Tok>{{"@PJL", 1, 0},
                                               {"INFO", 2, 0},
                                               {"CONFIG", 4, 0},
                                               {"\n", 3, 0},
                                               {"IN TRAYS", 8, 0},
                                               {"1", 10, 0},
                                               {"ENUMERATED", 11, 0},
                                               {"\n", 3, 0},
                                               {"\t", 15, 0},
                                               {"INTRAY1", 12, 0},
                                               {"A4", 13, 0},
                                               {"\n", 3, 0},
                                               {"MEMORY", 8, 0},
                                               {"8388608", 9, 0},
                                               {"\n", 3, 0},
                                               {"\f", 14, 0},
                                               {"", 255, 0}}));
}

TEST(PjlTokenizer, InquireAnswerAndQueryLines) {
    EXPECT_EQ(Tokens("\x1b%-12345X@PJL INQUIRE INTRAY1SIZE\r\nA4\r\n\f"),
              (std::vector<Tok>{{"@PJL", 1, 0},
                                {"INQUIRE", 2, 0},
                                {"INTRAY1SIZE", 4, 0},
                                {"\n", 3, 0},
                                {"A4", 8, 0},
                                {"\n", 3, 0},
                                {"\f", 14, 0},
                                {"", 255, 0}}));
    EXPECT_EQ(Tokens("@PJL INFO CONFIG\r\n@PJL INFO OUTBINSTATUS\r\n\x1b%-12345X"),
              (std::vector<Tok>{{"@PJL", 1, 0},
                                {"INFO", 2, 0},
                                {"CONFIG", 4, 0},
                                {"\n", 3, 0},
                                {"@PJL", 1, 0},
                                {"INFO", 2, 0},
                                {"OUTBINSTATUS", 4, 0},
                                {"\n", 3, 0},
                                {"", 255, 0}}));
}

TEST(PjlTokenizer, EmptyTextsAndTheEndRule) {
    EXPECT_EQ(Tokens(""), (std::vector<Tok>{{"", 255, 0}}));
    EXPECT_EQ(Tokens("noise only"), (std::vector<Tok>{{"", 255, 0}}));
    EXPECT_EQ(Tokens("@PJL\r\n"), (std::vector<Tok>{{"@PJL", 1, 0}, {"\n", 3, 0}, {"", 255, 0}}));
    EXPECT_EQ(Tokens("@PJL INFO"), (std::vector<Tok>{{"@PJL", 1, 0}, {"INFO", 2, 0}, {"", 255, kBad}, {"", 255, 0}}));
}

TEST(PjlTokenizer, QualifiersAndQuotedArguments) {
    const auto tokens = Tokens("@PJL INQUIRE LPARM:PCL FONTSOURCE\r\n");
    ASSERT_GE(tokens.size(), 5u);
    EXPECT_EQ(tokens[2], (Tok{"LPARM", 5, 0}));
    EXPECT_EQ(tokens[3], (Tok{"PCL", 6, 0}));
    EXPECT_EQ(tokens[4], (Tok{"FONTSOURCE", 4, 0}));
    EXPECT_EQ(Tokens("@PJL INQUIRE \"A B\"\r\n")[2], (Tok{"A B", 4, 0}));
}

TEST(PjlTokenizer, LongTokensAreCutAndSkippedWhole) {
    const std::string argument(40, 'X');
    const auto tokens = Tokens("@PJL INQUIRE " + argument + "\r\n");
    EXPECT_EQ(tokens[2], (Tok{std::string(32, 'X'), 4, 0}));
    EXPECT_EQ(tokens[3], (Tok{"\n", 3, 0}));
    EXPECT_EQ(Tokens("@PJL INQUIRE ABCDEF\r\n", 1)[2], (Tok{"", 4, 0}));  // capacity 1: empty token
}

TEST(PjlTokenizer, MisfitsGiveErrorAndResumeAtTheNextCommand) {
    // The item value must end its line.
    const auto item = Tokens("@PJL INFO CONFIG\r\nIN TRAYS [1 ENUMERATED]\r\n\tINTRAY1 PAPER=LETTER\r\n@PJL X Y\r\n");
    EXPECT_EQ(item[9], (Tok{"INTRAY1", 12, 0}));
    EXPECT_EQ(item[10], (Tok{"PAPER", 13, kBad}));
    EXPECT_EQ(item[11], (Tok{"@PJL", 1, 0}));
    // A further word ends the body line; the line end is then met where a
    // body line must start.
    const auto memory = Tokens("@PJL INFO CONFIG\r\nMEMORY=123 MB\r\n\f");
    EXPECT_EQ(memory[4], (Tok{"MEMORY", 8, 0}));
    EXPECT_EQ(memory[5], (Tok{"123", 9, 0}));
    EXPECT_EQ(memory[6], (Tok{"MB", 3, 0}));
    EXPECT_EQ(memory[7], (Tok{"\n", 3, kBad}));
}

TEST(PjlTokenizer, TextEndsAtItsFirstZeroOrItsEnd) {
    const std::string with_zero("@PJL INFO CONFIG\r\n\0@PJL INFO OUTBINSTATUS\r\n", 44);
    // The text ends after the command line, where a body line would start.
    EXPECT_EQ(Tokens(with_zero), (std::vector<Tok>{{"@PJL", 1, 0},
                                                   {"INFO", 2, 0},
                                                   {"CONFIG", 4, 0},
                                                   {"\n", 3, 0},
                                                   {"", 255, kBad},
                                                   {"", 255, 0}}));
    // A view cut in the middle of a word reads only what it holds.
    const std::string full = "@PJL INFO CONFIGURATION\r\n";
    EXPECT_EQ(Tokens(std::string_view(full.data(), 14))[2], (Tok{"CONF", 4, 0}));
}

// Every prefix of a realistic reply, and every byte value in every
// position of a short one, is read without going past the text.
TEST(PjlTokenizer, AnyPrefixAndAnyByteIsReadSafely) {
    const std::string reply =
        "\x1b%-12345X@PJL INFO CONFIG\r\nIN TRAYS [2 ENUMERATED]\r\n\tINTRAY1\r\n\tINTRAYLCT\r\n"
        "VERSION [1 ENUMERATED]\r\n\tFIRMWARE \"1.0 beta\"\r\nMEMORY=1024\r\n\f@PJL INQUIRE A:B C=D\r\nX\r\n\f";
    for (size_t length = 0; length <= reply.size(); ++length) {
        const std::string prefix = reply.substr(0, length);  // no terminator beyond the view
        const auto tokens = Tokens(std::string_view(prefix.data(), prefix.size()), kDispatchTokenCapacity, 200);
        EXPECT_EQ(tokens.back().type, 255u) << length;
    }
    std::string mutated = reply.substr(0, 60);
    for (size_t at = 0; at < mutated.size(); ++at) {
        for (int byte = 0; byte < 256; byte += 7) {
            std::string copy = mutated;
            copy[at] = static_cast<char>(byte);
            const auto tokens = Tokens(copy, kDispatchTokenCapacity, 200);
            ASSERT_EQ(tokens.back().type, 255u) << at << " " << byte;
        }
    }
}

// A stray word-ending character inside square brackets used to leave the
// tokenizer reading the same empty word forever.
TEST(PjlTokenizer, StrayCharacterInsideBracketsIsAnError) {
    for (const char* line : {"IN TRAYS [2 =]\r\n", "IN TRAYS [2 [\r\n", "IN TRAYS [2 :x]\r\n"}) {
        const auto tokens = Tokens(std::string("@PJL INFO CONFIG\r\n") + line + "\f", kDispatchTokenCapacity, 50);
        EXPECT_EQ(tokens.back(), (Tok{"", 255, 0})) << line;
        EXPECT_LT(tokens.size(), 50u) << line;
    }
}

TEST(DecimalValue, StandardConversionWithSaturation) {
    EXPECT_EQ(DecimalValue("8388608"), 8388608);
    EXPECT_EQ(DecimalValue("  -12abc"), -12);
    EXPECT_EQ(DecimalValue("+7"), 7);
    EXPECT_EQ(DecimalValue("x12"), 0);
    EXPECT_EQ(DecimalValue(""), 0);
    EXPECT_EQ(DecimalValue("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(DecimalValue("-99999999999999999999"), INT32_MIN);
}

}  // namespace
