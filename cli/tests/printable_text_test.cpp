// Printer texts on a terminal: escape sequences, carriage returns and C1
// controls must not reach it; tabs, line breaks where kept, and every
// printable character, ASCII or not, must.
#include <gtest/gtest.h>

#include <string>

#include "base/printable_text.h"
#include "library/library_calls.h"
#include "report/record_report.h"
#include "report/status_report.h"
#include "run_tb58mon.h"

namespace tb58mon {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(PrintableText, ControlCharactersBecomeQuestionMarks) {
    EXPECT_EQ(PrintableText("\x1b[2J\x1b[31mJam"), "?[2J?[31mJam");
    EXPECT_EQ(PrintableText("Ready\rError 42"), "Ready?Error 42");
    EXPECT_EQ(PrintableText("a\nb"), "a?b");
    EXPECT_EQ(PrintableText("del\x7f"), "del?");
    EXPECT_EQ(PrintableText(std::string("nul\0end", 7)), "nul?end");
    // Every C0 code but tab, at both ends of the range.
    for (int c = 0; c < 0x20; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(PrintableText(std::string(1, static_cast<char>(c))), c == '\t' ? "\t" : "?");
    }
    EXPECT_EQ(PrintableText(" ~"), " ~");  // the printable ends of ASCII
}

TEST(PrintableText, C1AndLineReorderingControlsAreHidden) {
    EXPECT_EQ(PrintableText("\xC2\x80"), "?");         // U+0080, the first C1
    EXPECT_EQ(PrintableText("a\xC2\x9B" "2Jb"), "a?2Jb");  // U+009B, CSI
    EXPECT_EQ(PrintableText("\xC2\x9F"), "?");         // U+009F, the last C1
    EXPECT_EQ(PrintableText("\xC2\xA0"), "\xC2\xA0");  // U+00A0, the first after them
    EXPECT_EQ(PrintableText("\xE2\x80\xAE" "evil"), "?evil");     // U+202E right-to-left override
    EXPECT_EQ(PrintableText("\xE2\x80\xAA\xE2\x81\xA9"), "??");   // U+202A, U+2069
    EXPECT_EQ(PrintableText("\xE2\x80\xA9\xE2\x81\xAA"), "\xE2\x80\xA9\xE2\x81\xAA");  // U+2029, U+206A kept
}

TEST(PrintableText, InvalidUtf8BecomesTheReplacementCharacter) {
    EXPECT_EQ(PrintableText("\x9b" "2J"), kReplacement + "2J");        // a raw C1 byte
    EXPECT_EQ(PrintableText("\x80"), kReplacement);                     // a stray continuation
    EXPECT_EQ(PrintableText("ab\xE3\x83"), "ab" + kReplacement + kReplacement);  // cut short
    EXPECT_EQ(PrintableText("\xC0\xAF"), kReplacement + kReplacement);  // overlong '/'
    EXPECT_EQ(PrintableText("\xE0\x80\x9B"), kReplacement + kReplacement + kReplacement);  // overlong C1
    EXPECT_EQ(PrintableText("\xED\xA0\x80"), kReplacement + kReplacement + kReplacement);  // a surrogate
    EXPECT_EQ(PrintableText("\xF4\x90\x80\x80"), std::string() + kReplacement + kReplacement + kReplacement +
                                                     kReplacement);  // past U+10FFFF
    EXPECT_EQ(PrintableText("\xFF\xFE"), kReplacement + kReplacement);
}

TEST(PrintableText, KeepsPrintableCharacters) {
    const std::string japanese = "\xE3\x83\x88\xE3\x83\xAC\xE3\x82\xA4" "3";  // トレイ3
    EXPECT_EQ(PrintableText(japanese), japanese);
    EXPECT_EQ(PrintableText("Brosch\xC3\xBCreneinheit\tA4"), "Brosch\xC3\xBCreneinheit\tA4");
    EXPECT_EQ(PrintableText("\xF0\x9F\x96\xA8"), "\xF0\x9F\x96\xA8");  // a four-byte character
    EXPECT_EQ(PrintableText("\xF4\x8F\xBF\xBF"), "\xF4\x8F\xBF\xBF");  // U+10FFFF, the last
    EXPECT_EQ(PrintableText("\xEF\xBF\xBD"), kReplacement);
    EXPECT_EQ(PrintableText(""), "");
}

TEST(PrintableText, LinesKeepTheirBreaks) {
    EXPECT_EQ(PrintableLines("one\r\ntwo\nthree"), "one\ntwo\nthree");
    EXPECT_EQ(PrintableLines("over\rwrite\x1b[A"), "over?write?[A");
    EXPECT_EQ(PrintableLines("end\r"), "end?");
}

// The reports a person reads: the record's texts from the printer and the
// status texts, which hold the panel text.
TEST(PrintableText, ReportsShowNoControlsOfThePrinter) {
    RecordView view;
    view.model = "Model\x1b]0;owned\x07";
    view.firmware = "1.0\r\nforged line";
    view.engine_status.push_back({10001, "Ready\x1b[2J"});
    view.emulations.push_back({18, "PCL 5c", "\xC2\x9B" "1m"});
    std::ostringstream out;
    PrintRecord(out, view);
    EXPECT_EQ(out.str().find('\x1b'), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find('\r'), std::string::npos);
    EXPECT_EQ(out.str().find("\xC2\x9B"), std::string::npos);
    EXPECT_NE(out.str().find("Model?]0;owned?"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("1.0??forged line"), std::string::npos) << out.str();

    std::ostringstream status;
    PrintStatus(status, Json{{"short", "Jam\x1b[31m"}, {"long", "Open cover\r\nA\rB"}});
    EXPECT_NE(status.str().find("Jam?[31m"), std::string::npos) << status.str();
    EXPECT_NE(status.str().find("Open cover\n"), std::string::npos) << status.str();
    EXPECT_NE(status.str().find("A?B"), std::string::npos) << status.str();
    EXPECT_EQ(status.str().find('\r'), std::string::npos);
}

// The status command with a panel text that tries to clear the screen.
TEST(PrintableText, StatusCommandShowsThePanelTextSafely) {
    const Outcome outcome =
        Tb58mon({"status", "--codes", "40800", "--display", "Call service\x1b[2J\x1b[H SC541", "--long"});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(outcome.out.find('\x1b'), std::string::npos) << outcome.out;
}

}  // namespace
}  // namespace tb58mon
