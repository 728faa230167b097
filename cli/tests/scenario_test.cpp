// Scenario files: the compiled-in ones, and the errors a wrong file gets.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/cli_error.h"
#include "sim/scenario_library.h"

namespace tb58mon {
namespace {

// The message and exit code of the error that parsing text raises.
std::pair<std::string, int> ErrorOf(std::string_view text) {
    try {
        ParseScenario("broken", text);
    } catch (const CliError& e) {
        return {e.what(), e.exit_code()};
    }
    return {"", 0};
}

TEST(Scenarios, TheCompiledInSetCoversTheStatusMonitorsCases) {
    std::vector<std::string> names;
    for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
        const Scenario scenario = ParseScenario(file.name, file.text);
        EXPECT_NE(scenario.title, scenario.name) << file.name << " has no title";
        names.emplace_back(file.name);
    }
    for (const char* name : {"all-well", "jam-tray2-lct", "toner-low", "tray-empty", "finisher-full", "service-call",
                             "no-response", "maximal", "waste-nearly-full"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(LoadScenario("all-well").status_codes, std::vector<int32_t>{10001});
    EXPECT_EQ(LoadScenario("no-response").answers, Answers::kFirst);
}

TEST(Scenarios, ValuesAreReadAsThePrinterReportsThem) {
    const Scenario s = ParseScenario("s",
                                     "# a comment\r\n\n  memory: 1G\r\n"
                                     "tray: LCT media=COLOR locked quantity=END\n"
                                     "status: 42000/-254 4294967042\n"
                                     "display: Misfeed: Tray 2\n"
                                     "tzmo: MEMORYUSAGE=PAGE OTHER=fast  mode on\n"
                                     "chapter-tray-2: LCT\n");
    EXPECT_EQ(s.title, "s");
    EXPECT_EQ(s.memory_bytes, 1024u * 1024u * 1024u);
    ASSERT_EQ(s.trays.size(), 1u);
    EXPECT_EQ(s.trays[0].size, "A4LONG");  // the default
    EXPECT_EQ(s.trays[0].media, "COLOR");
    EXPECT_EQ(s.trays[0].quantity, "END");
    EXPECT_TRUE(s.trays[0].locked);
    EXPECT_EQ(s.status_codes, (std::vector<int32_t>{42000, -254, -254}));
    EXPECT_EQ(s.display, "Misfeed: Tray 2");  // the first colon separates the key
    EXPECT_EQ(s.tzmo_memory_usage, "PAGE");
    EXPECT_EQ(s.tzmo_other, "fast  mode on");
    EXPECT_EQ(s.special_trays[3], "LCT");
    EXPECT_EQ(s.special_trays[0], "OFF");
}

TEST(Scenarios, ErrorsNameTheLineAndWhatIsWrong) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"title: x\ncolour: red\n", "line 2: unknown key 'colour'"},
        {"no colon here\n", "line 1: expected 'key: value'"},
        {"tray: TRAY5\n", "unknown tray 'TRAY5'"},
        {"tray: TRAY1\ntray: TRAY1\n", "line 2: tray TRAY1 is listed twice"},
        {"tray: TRAY1 size=B5\n", "unknown paper size 'B5' (known: A3 A4SRT"},
        {"tray: TRAY1 colour=red\n", "is not size=, quantity=, media= or locked"},
        {"option: INTRAYLCT\n", "the LCT, bypass tray and inserter come with their 'tray:' lines"},
        {"option: OUTTRAYNONE\n", "unknown option 'OUTTRAYNONE'"},
        {"emulation: WEXA 4 02\n", "one-word version"},
        {"emulation: FIRMWARE 1.0\n", "goes in 'firmware:'"},
        {"memory: 3G\n", "is not a number up to 2147483647"},
        {"memory: lots\n", "is not a number"},
        {"state: 256\n", "is not a number up to 255"},
        {"status: 42000,abc\n", "'abc' is not a status code"},
        {"display: a;b\n", "may not hold ';'"},
        {"bin: UPPER\n", "bin needs an entry and a state"},
        {"bin: UPPER EMPTY\n", "unknown bin state 'EMPTY'"},
        {"punch: JP2 XX9\n", "unknown punch keyword 'XX9'"},
        {"front-cover-tray: TRAY7\n", "must be OFF or a tray"},
        {"answers: sometimes\n", "must be all, first or none"},
        {"tzmo: OTHER=say \"hi\"\n", "may not hold a double quote"},
        {"firmware: 1.0 beta\n", "must be one word"},
    };
    for (const auto& c : cases) {
        const auto [message, code] = ErrorOf(c.text);
        EXPECT_NE(message.find(c.message), std::string::npos) << c.text << " gave: " << message;
        EXPECT_NE(message.find("scenario 'broken', line "), std::string::npos) << message;
        EXPECT_EQ(code, kExitFailure) << c.text;
    }
}

TEST(Scenarios, UnknownNamesAndUnreadableFiles) {
    try {
        LoadScenario("nope");
        FAIL() << "an unknown scenario was loaded";
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_code(), kExitBadArguments);
        EXPECT_NE(std::string(e.what()).find("known: all-well, finisher-full"), std::string::npos) << e.what();
    }
    try {
        LoadScenarioFile("no/such/dir/scenario.txt");
        FAIL() << "a missing file was read";
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_code(), kExitFailure);
        EXPECT_NE(std::string(e.what()).find("cannot read no/such/dir/scenario.txt"), std::string::npos);
    }
}

}  // namespace
}  // namespace tb58mon
