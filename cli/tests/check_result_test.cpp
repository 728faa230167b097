// The parts of 'tb58mon check' that need no printer: the threshold ranges
// at their edges, the state a status calls for, and the texts and labels
// that go into the plugin's line.
#include <gtest/gtest.h>

#include <limits>

#include "check/check_result.h"
#include "check/threshold_range.h"

namespace tb58mon {
namespace {

ThresholdRange Range(std::string_view text) {
    const RangeParse parsed = ParseThresholdRange("-w", text);
    EXPECT_TRUE(parsed.range.has_value()) << text << ": " << parsed.error;
    return parsed.range.value_or(ThresholdRange{});
}

// Each form, just inside and just outside both of its ends.
TEST(ThresholdRange, EveryFormAtItsEdges) {
    const ThresholdRange upto = Range("10");  // alert outside 0..10
    EXPECT_TRUE(RangeAlerts(upto, -1));
    EXPECT_TRUE(RangeAlerts(upto, -0.001));
    EXPECT_FALSE(RangeAlerts(upto, 0));
    EXPECT_FALSE(RangeAlerts(upto, 10));
    EXPECT_TRUE(RangeAlerts(upto, 10.001));

    const ThresholdRange from = Range("10:");  // alert below 10
    EXPECT_TRUE(RangeAlerts(from, 9));
    EXPECT_TRUE(RangeAlerts(from, 9.999));
    EXPECT_FALSE(RangeAlerts(from, 10));
    EXPECT_FALSE(RangeAlerts(from, 1e12));

    const ThresholdRange below = Range("~:10");  // alert above 10
    EXPECT_FALSE(RangeAlerts(below, -1e12));
    EXPECT_FALSE(RangeAlerts(below, 10));
    EXPECT_TRUE(RangeAlerts(below, 10.5));

    const ThresholdRange between = Range("10:20");
    EXPECT_TRUE(RangeAlerts(between, 9));
    EXPECT_FALSE(RangeAlerts(between, 10));
    EXPECT_FALSE(RangeAlerts(between, 20));
    EXPECT_TRUE(RangeAlerts(between, 21));

    const ThresholdRange inside = Range("@10:20");  // alert inside, both ends included
    EXPECT_FALSE(RangeAlerts(inside, 9));
    EXPECT_TRUE(RangeAlerts(inside, 10));
    EXPECT_TRUE(RangeAlerts(inside, 20));
    EXPECT_FALSE(RangeAlerts(inside, 21));

    const ThresholdRange point = Range("5:5");  // only 5 is fine
    EXPECT_TRUE(RangeAlerts(point, 4));
    EXPECT_FALSE(RangeAlerts(point, 5));
    EXPECT_TRUE(RangeAlerts(point, 6));

    const ThresholdRange negative = Range("-5:-1");
    EXPECT_TRUE(RangeAlerts(negative, -6));
    EXPECT_FALSE(RangeAlerts(negative, -5));
    EXPECT_FALSE(RangeAlerts(negative, -1));
    EXPECT_TRUE(RangeAlerts(negative, 0));

    EXPECT_FALSE(RangeAlerts(Range("~:"), -1e300));  // everything is fine
    EXPECT_FALSE(RangeAlerts(Range("~:"), 1e300));
    EXPECT_TRUE(RangeAlerts(Range("@~:"), 0));        // nothing is
    EXPECT_TRUE(RangeAlerts(Range("@10"), 0));        // inside 0..10
    EXPECT_FALSE(RangeAlerts(Range("@10"), 11));
    EXPECT_FALSE(RangeAlerts(Range("2.5:"), 2.5));
    EXPECT_TRUE(RangeAlerts(Range("+3:"), 2));
    EXPECT_EQ(Range("@10:20").text, "@10:20");  // given back as it came, for the performance data
}

TEST(ThresholdRange, RefusesWhatIsNotARange) {
    for (const char* text : {"", "@", ":", ":10", "~", "~10", "10:5", "@20:10", "a", "10:b", "1e3", "0x10", "inf",
                             "nan", "-inf:", "10::20", "10:20:", "1-2", "10 ", " 10", "--1", "10|20", "10;20",
                             "12345678901234567890123456789012345"}) {
        const RangeParse parsed = ParseThresholdRange("-c", text);
        EXPECT_FALSE(parsed.range.has_value()) << "'" << text << "'";
        EXPECT_NE(parsed.error.find("-c"), std::string::npos) << text;
    }
    EXPECT_TRUE(ParseThresholdRange("-c", "10:10").range.has_value());
    EXPECT_TRUE(ParseThresholdRange("-c", "0").range.has_value());
}

CheckFindings Answered(std::vector<int32_t> codes, bool error = false) {
    CheckFindings findings;
    findings.response = true;
    findings.status_known = true;
    findings.codes = std::move(codes);
    findings.error = error;
    findings.trays = {{"Tray 1", 80}, {"Tray 2", 40}};
    return findings;
}

TEST(CheckState, StatusCallsForItsClass) {
    const CheckState off = CheckState::kCritical;
    EXPECT_EQ(StatusState(Answered({10001}), off), CheckState::kOk);
    for (int32_t normal : {10003, 10023, 10033, 10034}) EXPECT_EQ(StatusState(Answered({normal}), off), CheckState::kOk);
    EXPECT_EQ(StatusState(Answered({10073, 10074}), off), CheckState::kWarning);      // toner low
    EXPECT_EQ(StatusState(Answered({42000}, true), off), CheckState::kCritical);     // jam
    EXPECT_EQ(StatusState(Answered({40800}, true), off), CheckState::kCritical);     // service call
    EXPECT_EQ(StatusState(Answered({40200}, true), off), CheckState::kCritical);     // cover open
    EXPECT_EQ(StatusState(Answered({41200}, true), off), CheckState::kCritical);     // a tray's cover open
    EXPECT_EQ(StatusState(Answered({41401}, true), off), CheckState::kWarning);      // one tray out of paper
    EXPECT_EQ(StatusState(Answered({41099, 41901}, true), off), CheckState::kWarning);
    EXPECT_EQ(StatusState(Answered({41601}, true), off), CheckState::kCritical);     // not a paper source of this model
    for (int32_t full : {40340, 40341, 40343, 40351, 40359, 40380, 40384}) {
        EXPECT_EQ(StatusState(Answered({full}, true), off), CheckState::kWarning) << full;
    }
    for (int32_t other : {40342, 40350, 40360, 40379, 40385}) {
        EXPECT_EQ(StatusState(Answered({other}, true), off), CheckState::kCritical) << other;
    }
    // A jam beside an empty tray is still a jam.
    EXPECT_EQ(StatusState(Answered({41401, 42000}, true), off), CheckState::kCritical);
    // The offline flag alone asks for attention.
    CheckFindings offline = Answered({10001});
    offline.offline = true;
    EXPECT_EQ(StatusState(offline, off), CheckState::kWarning);
}

TEST(CheckState, EveryTrayEmptyStopsPrinting) {
    CheckFindings findings = Answered({41101, 41201}, true);
    findings.trays = {{"Tray 1", 0}, {"Tray 2", 0}};
    EXPECT_EQ(StatusState(findings, CheckState::kCritical), CheckState::kCritical);
    findings.trays = {{"Tray 1", 0}, {"Tray 2", 1}};
    EXPECT_EQ(StatusState(findings, CheckState::kCritical), CheckState::kWarning);
    findings.trays = {{"Tray 1", 0}, {"Tray 2", std::nullopt}};  // one level not read: not known to be empty
    EXPECT_EQ(StatusState(findings, CheckState::kCritical), CheckState::kWarning);
}

TEST(CheckState, UnansweredAndUnknown) {
    CheckFindings silent;
    for (CheckState choice : {CheckState::kOk, CheckState::kWarning, CheckState::kCritical}) {
        EXPECT_EQ(StatusState(silent, choice), choice);
    }
    CheckFindings unknown = Answered({});
    unknown.status_known = false;
    EXPECT_EQ(StatusState(unknown, CheckState::kCritical), CheckState::kWarning);
    EXPECT_EQ(CheckStateOfOption("ok"), CheckState::kOk);
    EXPECT_EQ(CheckStateOfOption("warning"), CheckState::kWarning);
    EXPECT_EQ(CheckStateOfOption("critical"), CheckState::kCritical);
    for (const char* bad : {"", "OK", "unknown", "crit", "critical "}) EXPECT_FALSE(CheckStateOfOption(bad)) << bad;
    EXPECT_EQ(Worse(CheckState::kOk, CheckState::kWarning), CheckState::kWarning);
    EXPECT_EQ(Worse(CheckState::kUnknown, CheckState::kWarning), CheckState::kUnknown);
    EXPECT_EQ(Worse(CheckState::kUnknown, CheckState::kCritical), CheckState::kCritical);
}

TEST(CheckState, LowestTrayLevelAgainstThresholds) {
    CheckThresholds thresholds;
    thresholds.warning = Range("20:");
    thresholds.critical = Range("5:");
    CheckFindings findings = Answered({10001});
    findings.trays = {{"Tray 1", 80}, {"Tray 2", 20}};
    EXPECT_EQ(LevelState(findings, thresholds), CheckState::kOk);
    findings.trays[1].percent = 19;
    EXPECT_EQ(LevelState(findings, thresholds), CheckState::kWarning);
    findings.trays[1].percent = 5;
    EXPECT_EQ(LevelState(findings, thresholds), CheckState::kWarning);
    findings.trays[1].percent = 4;
    EXPECT_EQ(LevelState(findings, thresholds), CheckState::kCritical);
    findings.trays = {{"Tray 1", std::nullopt}};  // nothing to compare
    EXPECT_EQ(LevelState(findings, thresholds), CheckState::kOk);
    EXPECT_FALSE(LowestTrayLevel(findings));
}

TEST(CheckText, PrinterTextsCannotBreakTheLine) {
    EXPECT_EQ(PluginText("Misfeed | x=1;2"), "Misfeed / x=1;2");
    EXPECT_EQ(PluginText("a\nb\rc\x1b[2Jd\te"), "a?b?c?[2Jd e");
    EXPECT_EQ(PluginText("\xff"), "\xef\xbf\xbd");
    EXPECT_EQ(PerfLabel("tray1"), "tray1");
    EXPECT_EQ(PerfLabel("Tray 1"), "'Tray 1'");
    EXPECT_EQ(PerfLabel("it's"), "'it''s'");
    EXPECT_EQ(PerfLabel("a=b"), "a_b");
    EXPECT_EQ(PerfLabel("a|b"), "a/b");
    EXPECT_EQ(PerfLabel(""), "''");
    EXPECT_EQ(TrayLabel("Tray 1"), "tray1");
    EXPECT_EQ(TrayLabel("LCT"), "lct");
    EXPECT_EQ(TrayLabel("=|'"), "tray");
}

TEST(CheckText, LongTextsAreCutAtACharacter) {
    EXPECT_EQ(ShortenText("abcdef", 6), "abcdef");
    EXPECT_EQ(ShortenText("abcdefg", 6), "abc...");
    const std::string umlauts = "\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4";  // four two-byte letters
    EXPECT_EQ(ShortenText(umlauts, 7), "\xc3\xa4\xc3\xa4...");
    EXPECT_EQ(ShortenText(umlauts, 6), "\xc3\xa4...");  // not half a letter
    EXPECT_EQ(ShortenText("abcdef", 2), "...");
    CheckFindings flood;
    flood.response = true;
    flood.status_note = std::string(100000, 'x');
    const std::string line = CheckLine(flood, CheckState::kWarning, {});
    EXPECT_EQ(line.size(), std::string("TB58 WARNING - ").size() + kCheckTextLimit + std::string(" | pages=U").size());
}

TEST(CheckText, LineHasStateTextPlaceAndPerformanceData) {
    CheckFindings findings = Answered({42000}, true);
    findings.short_text = "Paper Misfeed";
    findings.long_text = "Open the indicated cover, and then remove any jammed paper.\nFront Cover, LCT Cover";
    findings.pages = 48990;
    findings.trays = {{"Tray 1", 80}, {"Tray 2", std::nullopt}};
    CheckThresholds thresholds;
    thresholds.warning = Range("20:");
    EXPECT_EQ(CheckLine(findings, CheckState::kCritical, thresholds),
              "TB58 CRITICAL - Paper Misfeed: Front Cover, LCT Cover | pages=48990c tray1=80%;;;0;100 "
              "tray2=U;;;0;100 tray_lowest=80%;20:;;0;100");
    EXPECT_EQ(VerboseLines(findings, 0).size(), 0u);
    EXPECT_EQ(VerboseLines(findings, 1),
              (std::vector<std::string>{"Open the indicated cover, and then remove any jammed paper.",
                                        "Front Cover, LCT Cover"}));
    EXPECT_EQ(VerboseLines(findings, 2).at(2), "status codes: 42000");

    CheckFindings silent;
    silent.short_text = "No response";
    silent.reason = "timed out | after 10 s\n";
    EXPECT_EQ(CheckLine(silent, CheckState::kCritical, {}), "TB58 CRITICAL - No response (timed out / after 10 s?) | pages=U");
}

}  // namespace
}  // namespace tb58mon
