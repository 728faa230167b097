// 'tb58mon check' as Nagios or Icinga run it, against the built-in
// simulated printers (sim:): every exit code, the line matched against the
// plugin output grammar, its performance data, and wrong command lines,
// which are UNKNOWN (3) and never CRITICAL.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "run_tb58mon.h"

namespace tb58mon {
namespace {

// One line of plugin output: "TB58 STATE - text", then optionally " | " and
// performance data items 'label'=value[UOM];[warn];[crit];[min];[max].
const std::regex& PluginLine() {
    static const std::regex line(
        R"(TB58 (OK|WARNING|CRITICAL|UNKNOWN) - [^|\n]*)"
        R"(( \| (('([^'=]|'')+'|[^ '=|]+)=(U|-?[0-9]+(\.[0-9]+)?)(c|%|s|ms|us|B|KB|MB|TB)?)"
        R"((;[-0-9.~:@]*)?(;[-0-9.~:@]*)?(;(-?[0-9]+(\.[0-9]+)?)?)?(;(-?[0-9]+(\.[0-9]+)?)?)?)"
        R"(( |$))+)?)");
    return line;
}

std::string FirstLine(const std::string& out) { return out.substr(0, out.find('\n')); }

void ExpectPluginOutput(const Outcome& run, int lines = 1) {
    EXPECT_TRUE(run.err.empty()) << run.err;
    const std::string first = FirstLine(run.out);
    EXPECT_TRUE(std::regex_match(first, PluginLine())) << first;
    EXPECT_EQ(static_cast<int>(std::count(run.out.begin(), run.out.end(), '\n')), lines) << run.out;
}

TEST(CheckCommand, EveryScenarioGivesItsExitCode) {
    const struct {
        const char* scenario;
        int code;
        const char* state;
    } cases[] = {{"all-well", 0, "OK"},           {"toner-low", 1, "WARNING"},      {"tray-empty", 1, "WARNING"},
                 {"finisher-full", 1, "WARNING"}, {"jam-tray2-lct", 2, "CRITICAL"}, {"service-call", 2, "CRITICAL"},
                 {"no-response", 2, "CRITICAL"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        const Outcome run = Tb58mon({"check", std::string("sim:") + c.scenario});
        EXPECT_EQ(run.code, c.code) << run.out;
        EXPECT_TRUE(run.out.starts_with(std::string("TB58 ") + c.state + " - ")) << run.out;
        ExpectPluginOutput(run);
    }
}

TEST(CheckCommand, TheLineNamesTheConditionAndItsPlaceWithThePerformanceData) {
    const Outcome jam = Tb58mon({"check", "sim:jam-tray2-lct"});
    EXPECT_EQ(FirstLine(jam.out),
              "TB58 CRITICAL - Paper Misfeed: Front Cover, LCT Cover | pages=48990c tray1=80%;;;0;100 "
              "tray2=60%;;;0;100 tray3=100%;;;0;100 tray4=20%;;;0;100 lct=80%;;;0;100 tray_lowest=20%;;;0;100");
    const Outcome service = Tb58mon({"check", "sim:service-call"});
    EXPECT_TRUE(service.out.starts_with("TB58 CRITICAL - Call Service Center: SC541 | pages=91822c ")) << service.out;
    const Outcome ready = Tb58mon({"check", "sim:all-well"});
    EXPECT_NE(ready.out.find(" tray3=60%;;;0;100 "), std::string::npos) << ready.out;
    const Outcome empty = Tb58mon({"check", "sim:tray-empty"});
    EXPECT_NE(empty.out.find(" tray3=0%;;;0;100 "), std::string::npos) << empty.out;
}

TEST(CheckCommand, APrinterThatDoesNotAnswerTakesTheOfflineChoice) {
    const std::pair<const char*, int> choices[] = {{"ok", 0}, {"warning", 1}, {"critical", 2}};
    for (const auto& [choice, code] : choices) {
        const Outcome run = Tb58mon({"check", "sim:no-response", "--offline", choice});
        EXPECT_EQ(run.code, code) << choice << ": " << run.out;
        ExpectPluginOutput(run);
    }
    const Outcome fallback = Tb58mon({"check", "sim:no-response"});
    EXPECT_EQ(fallback.code, 2);
}

TEST(CheckCommand, ThresholdsOnTheLowestTrayLevel) {
    // all-well: the lowest tray level is 40 %.
    const struct {
        std::vector<std::string> options;
        int code;
    } cases[] = {{{"-w", "40:"}, 0},          {{"-w", "41:"}, 1},          {{"-w", "50:", "-c", "40:"}, 1},
                 {{"-w", "50:", "-c", "41:"}, 2}, {{"-c", "@40:100"}, 2}, {{"-c", "@41:100"}, 0},
                 {{"--warning", "~:39"}, 1},   {{"--critical", "40"}, 0}};
    for (const auto& c : cases) {
        std::vector<std::string> args = {"check", "sim:all-well"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome run = Tb58mon(args);
        EXPECT_EQ(run.code, c.code) << c.options[1] << ": " << run.out;
        ExpectPluginOutput(run);
    }
    const Outcome marked = Tb58mon({"check", "sim:all-well", "-w", "50:", "-c", "@0:5"});
    EXPECT_NE(marked.out.find("lowest tray level 40 %"), std::string::npos) << marked.out;
    EXPECT_NE(marked.out.find(" tray_lowest=40%;50:;@0:5;0;100"), std::string::npos) << marked.out;
    // A jam stays CRITICAL whatever the levels.
    EXPECT_EQ(Tb58mon({"check", "sim:jam-tray2-lct", "-w", "0:"}).code, 2);
}

TEST(CheckCommand, WrongCommandLinesAreUnknown) {
    const std::vector<std::vector<std::string>> wrong = {
        {"check"},
        {"check", "sim:all-well", "--bogus"},
        {"check", "sim:all-well", "-H", "127.0.0.1"},
        {"check", "-p", "9100", "sim:all-well"},
        {"check", "-H", "127.0.0.1", "-p", "0"},
        {"check", "-H", "127.0.0.1", "-p", "65536"},
        {"check", "-H", "127.0.0.1", "-p", "-1"},
        {"check", "-H", "127.0.0.1", "-p", "99999999999999999999"},
        {"check", "-H", "bad host/x"},
        {"check", "-H", "bad\nhost"},
        {"check", "sim:all-well", "-w", "10:5"},
        {"check", "sim:all-well", "-c", "x"},
        {"check", "sim:all-well", "-w", ""},
        {"check", "sim:all-well", "--offline", "unknown"},
        {"check", "sim:all-well", "-t", "0"},
        {"check", "sim:all-well", "-t", "-5"},
        {"check", "sim:all-well", "-t", "nan"},
        {"check", "sim:all-well", "-t", "1e9"},
        {"check", "sim:all-well", "--lang", "XX"},
        {"check", "sim:no-such-scenario"},
        {"check", "ftp://printer"},
        {"check", "sim:all-well", "--snmp-port", "0"},
        {"check", "sim:all-well", "sim:toner-low"},
    };
    for (const auto& args : wrong) {
        const Outcome run = Tb58mon(args);
        SCOPED_TRACE(args.back());
        EXPECT_EQ(run.code, 3) << run.out;
        EXPECT_TRUE(run.out.starts_with("TB58 UNKNOWN - ")) << run.out;
        ExpectPluginOutput(run);
    }
}

TEST(CheckCommand, HostAndPortMakeASocketUri) {
    // A port the URI refuses shows the URI that -H and -p made.
    const Outcome v6 = Tb58mon({"check", "-H", "::1", "-p", "0"});
    EXPECT_EQ(v6.code, 3);
    EXPECT_NE(v6.out.find("socket://[::1]:0"), std::string::npos) << v6.out;
    const Outcome v4 = Tb58mon({"check", "--hostname", "127.0.0.1", "--port", "70000"});
    EXPECT_EQ(v4.code, 3);
    EXPECT_NE(v4.out.find("socket://127.0.0.1:70000"), std::string::npos) << v4.out;
}

TEST(CheckCommand, HelpVersionVerboseAndLanguage) {
    const Outcome help = Tb58mon({"check", "--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* option : {"-H,--hostname", "-p,--port", "-t,--timeout", "-C,--community", "-w,--warning",
                               "-c,--critical", "-v,--verbose", "-V,--version", "--offline", "--lang"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(Tb58mon({"check", "-h"}).code, 0);
    const Outcome version = Tb58mon({"check", "-V"});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("tb58mon check [0-9]+(\\.[0-9]+)+\n"))) << version.out;

    const Outcome verbose = Tb58mon({"check", "sim:jam-tray2-lct", "-v"});
    EXPECT_EQ(verbose.code, 2);
    EXPECT_NE(verbose.out.find("\nOpen the indicated cover, and then remove any jammed paper.\nFront Cover, LCT Cover\n"),
              std::string::npos)
        << verbose.out;
    const Outcome more = Tb58mon({"check", "sim:jam-tray2-lct", "-vv"});
    EXPECT_NE(more.out.find("\nstatus codes: 42000\n"), std::string::npos) << more.out;

    const Outcome german = Tb58mon({"check", "sim:jam-tray2-lct", "--lang", "DE"});
    EXPECT_EQ(german.code, 2);
    ExpectPluginOutput(german);
    EXPECT_EQ(german.out.find("Paper Misfeed"), std::string::npos) << german.out;
    // The main help lists the check.
    EXPECT_NE(Tb58mon({"--help"}).out.find("check"), std::string::npos);
}

}  // namespace
}  // namespace tb58mon
