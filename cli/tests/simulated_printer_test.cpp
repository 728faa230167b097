// The simulated printer answers every query the library builds in the reply
// shapes the library reads: after a monitor's query rounds, the record holds
// exactly the printer of each scenario.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "library/library_calls.h"
#include "monitor/query_round.h"
#include "base/reply_words.h"
#include "sim/scenario_library.h"
#include "sim/simulated_printer.h"
#include "transport/sim_transport.h"
#include "monitor/monitor_cycle.h"
#include "base/value_lists.h"

namespace tb58mon {
namespace {

constexpr uint32_t kConfiguration = INFO_SYSTEM | INFO_EMUL | INFO_DEVICE | INFO_IDENTITY;

Deadline Soon() { return std::chrono::steady_clock::now() + std::chrono::seconds(5); }

template <typename Node>
std::vector<const Node*> Nodes(const Node* node) {
    std::vector<const Node*> nodes;
    for (; node != nullptr; node = static_cast<const Node*>(node->next)) nodes.push_back(node);
    return nodes;
}

// A word's code; a test failure (and a code no table has) for a word the
// table does not know.
uint32_t CodeOf(std::span<const WordCode> table, const std::string& word) {
    const WordCode* found = FindWord(table, word);
    if (found == nullptr) ADD_FAILURE() << "no code for the word '" << word << "'";
    return found != nullptr ? found->code : 0xFFFFFFFFu;
}

// The words of a scenario's tray; a test failure when there are none.
const TrayWords& TrayOf(const std::string& name) {
    static const TrayWords kMissing{};
    const TrayWords* found = FindTrayByName(name);
    if (found == nullptr) ADD_FAILURE() << "no tray named '" << name << "'";
    return found != nullptr ? *found : kMissing;
}

// The options the printer reports for a scenario: its option keywords, the
// trays that are options, and the punch unit its keywords name.
std::multiset<uint16_t> ExpectedOptions(const Scenario& s) {
    std::multiset<uint16_t> options;
    for (const std::string& word : s.options) {
        const OptionWords* option = FindOptionByWord(word);
        if (option == nullptr) ADD_FAILURE() << "no option word '" << word << "'";
        else options.insert(option->code);
    }
    for (const ScenarioTray& tray : s.trays) {
        if (const OptionWords* option = FindOptionByWord(TrayOf(tray.name).config_item)) {
            options.insert(option->code);
        }
    }
    std::vector<std::string> punch = s.punch;
    std::sort(punch.begin(), punch.end());
    if (punch == std::vector<std::string>{"JP2", "US3"}) options.insert(139);
    return options;
}

void ExpectRecordIsTheScenario(const Scenario& s, const PrnInfoEx& record) {
    ASSERT_NE(record.pMakerName, nullptr);
    EXPECT_EQ(record.pMakerName, s.maker);
    EXPECT_EQ(record.pModelName, s.model);
    EXPECT_EQ(record.pDescription, s.description);
    EXPECT_EQ(record.pSYSVersion, s.firmware);
    EXPECT_EQ(record.dwMemorySize, s.memory_bytes / 1024);
    EXPECT_EQ(record.bOnline, s.state);
    EXPECT_EQ(record.bNoResponse, 0);

    // Emulations in VERSION order, each with its version.
    const auto emulations = Nodes(record.pLoadedEmul);
    ASSERT_EQ(emulations.size(), s.emulations.size());
    for (size_t i = 0; i < emulations.size(); ++i) {
        EXPECT_EQ(emulations[i]->wEmulCode, CodeOf(EmulationVersionTable(), s.emulations[i].name));
        EXPECT_EQ(emulations[i]->szVersion, s.emulations[i].version);
    }

    // Trays in the printer's order, with every inquiry answered.
    const auto trays = Nodes(record.pTrayInfo);
    ASSERT_EQ(trays.size(), s.trays.size());
    for (size_t i = 0; i < trays.size(); ++i) {
        const ScenarioTray& expected = s.trays[i];
        SCOPED_TRACE(expected.name);
        const TrayWords& words = TrayOf(expected.name);
        EXPECT_EQ(trays[i]->wTrayCode, words.code);
        EXPECT_EQ(trays[i]->wPaperSize, CodeOf(PaperSizeTable(), expected.size));
        if (!words.level_variable.empty()) {
            EXPECT_EQ(trays[i]->wPaperLevel, CodeOf(PaperQuantityTable(), expected.quantity));
        }
        if (!words.media_variable.empty()) {
            EXPECT_EQ(trays[i]->wMediaCode, CodeOf(MediaTable(), expected.media));
        }
        uint32_t attributes = expected.locked && !words.state_variable.empty() ? TRAY_ATTR_LOCKED : 0;
        for (size_t r = 0; r < kSpecialTrayCount; ++r) {
            if (s.special_trays[r] == expected.name) attributes |= SpecialTrayTable()[r].attribute;
        }
        EXPECT_EQ(trays[i]->dwAttributes, attributes);
    }

    const auto bins = Nodes(record.pOutBinInfo);
    ASSERT_EQ(bins.size(), s.bins.size());
    for (size_t i = 0; i < bins.size(); ++i) {
        const auto* bin = FindBinByEntry(s.bins[i].entry);
        ASSERT_NE(bin, nullptr) << s.bins[i].entry;
        EXPECT_EQ(bins[i]->wBinCode, bin->code);
        EXPECT_EQ(bins[i]->wState, CodeOf(BinStateTable(), s.bins[i].state));
    }

    std::multiset<uint16_t> options;
    for (const DeviceInfoNode* node : Nodes(record.pDeviceInfo)) options.insert(node->wOptionCode);
    EXPECT_EQ(options, ExpectedOptions(s));

    const auto status = Nodes(record.pEngineStatus);
    ASSERT_EQ(status.size(), s.status_codes.size());
    for (size_t i = 0; i < status.size(); ++i) {
        EXPECT_EQ(status[i]->dwCode, s.status_codes[i]);
        EXPECT_EQ(status[i]->szText, s.display);
    }
    ASSERT_EQ(record.nCounterInfo, 1u);
    EXPECT_EQ(record.pCounterInfo->dwValue, s.counter);

    if (HasEmulation(s, "TZMO") && !s.tzmo_memory_usage.empty()) {
        ASSERT_EQ(record.nEmulUniqInfo, 1u);
        EXPECT_EQ(record.pEmulUniqInfo->dwMemoryUsage, CodeOf(MemoryUsageTable(), s.tzmo_memory_usage));
        EXPECT_EQ(record.pEmulUniqInfo->dwImageRotation, CodeOf(ImageRotationTable(), s.tzmo_image_rotation));
        EXPECT_EQ(record.pEmulUniqInfo->szOther, s.tzmo_other.substr(0, 32));
    }
}

TEST(SimulatedPrinter, EveryScenarioArrivesWholeInTheRecord) {
    for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
        SCOPED_TRACE(std::string(file.name));
        const Scenario scenario = ParseScenario(file.name, file.text);
        if (scenario.answers != Answers::kAll) continue;
        OwnedRecord record;
        const auto printer = OpenSimTransport(scenario);
        const MonitorCycle cycle = RunMonitorCycle(record.get(), *printer, Soon());
        EXPECT_FALSE(cycle.no_response) << cycle.reason;
        // The emulation round runs exactly when the printer has the emulation.
        ASSERT_EQ(cycle.rounds.size(), HasEmulation(scenario, "TZMO") ? 3u : 2u);
        for (const QueryRound& round : cycle.rounds) EXPECT_TRUE(round.stored) << round.title;
        const QueryRound& poll = cycle.rounds[1];
        ExpectRecordIsTheScenario(scenario, *record.get());
        // The second round asked exactly the trays the first one listed.
        for (const ScenarioTray& tray : scenario.trays) {
            const std::string_view size = TrayOf(tray.name).size_variable;
            EXPECT_NE(poll.request.text.find(std::string(size)), std::string::npos) << size;
        }
    }
}

TEST(SimulatedPrinter, AnswersEveryCommandLineWithAFormFeed) {
    Scenario scenario = ParseScenario("t", "tray: TRAY2 size=A3 quantity=1/5 media=THICK locked\n"
                                           "back-cover-tray: TRAY2\n");
    const SimulatedPrinter printer(scenario);
    const std::string query =
        "\x1b%-12345X@PJL\r\n@PJL INQUIRE INTRAY2SIZE\r\n@PJL INQUIRE NOSUCHVARIABLE\r\n@PJL INFO FOO\r\n"
        "@PJL INQUIRE BACKCOVERPRINTTRAY\r\n@PJL INQUIRE INTRAY2\r\n\x1b%-12345X";
    EXPECT_EQ(printer.ReplyTo(query),
              "\x1b%-12345X@PJL INQUIRE INTRAY2SIZE\r\nA3\r\n"
              "\f@PJL INQUIRE NOSUCHVARIABLE\r\n?\r\n"
              "\f@PJL INFO FOO\r\n?\r\n"
              "\f@PJL INQUIRE BACKCOVERPRINTTRAY\r\nTRAY2\r\n"
              "\f@PJL INQUIRE INTRAY2\r\nLOCKED\r\n\f\x1b%-12345X");
    // A query without command lines gets an empty answer between UELs.
    EXPECT_EQ(printer.ReplyTo("\x1b%-12345X@PJL\r\n\x1b%-12345X"), "\x1b%-12345X\x1b%-12345X");
}

TEST(SimulatedPrinter, ConfigurationSectionsInTheLibrarysShapes) {
    const Scenario scenario = ParseScenario("t",
                                            "firmware: 2.00\nemulation: PCLXL 1.5\nmemory: 64M\n"
                                            "tray: TRAY1\ntray: LCT\noption: OUTTRAYMAILBOX\noption: DUPLEX\n"
                                            "punch: US2\n");
    const SimulatedPrinter printer(scenario);
    EXPECT_EQ(printer.ReplyTo("@PJL INFO CONFIG\r\n"),
              "\x1b%-12345X@PJL INFO CONFIG\r\n"
              "IN TRAYS [2 ENUMERATED]\r\n\tINTRAY1\r\n\tINTRAYLCT\r\n"
              "OUT TRAYS [1 ENUMERATED]\r\n\tOUTTRAYMAILBOX\r\n"
              "VERSION [2 ENUMERATED]\r\n\tFIRMWARE 2.00\r\n\tPCLXL 1.5\r\n"
              "MEMORY=67108864\r\nDUPLEX\r\nPUNCH [1 ENUMERATED]\r\n\tUS2\r\n\f\x1b%-12345X");
}

TEST(SimulatedPrinter, DeviceIdCarriesCodesStateAndPanelText) {
    const Scenario scenario = ParseScenario("t",
                                            "maker: M\nmodel: X 1\ndescription: D\ncommand-set: PJL,PCL\n"
                                            "status: 40800/10001\nstate: 2\ndisplay: Call, SC541\n"
                                            "counter: 7\nsupplies: 80,60\n");
    EXPECT_EQ(SimulatedPrinter(scenario).DeviceId(),
              "MFG:M;MDL:X 1;CMD:PJL,PCL;DES:D;STS:40800/10001,2,Call, SC541;QIJ:7/80,60;");
    OwnedRecord record;
    PacketPtr query = CreateQuery(record.get(), INFO_STATUS);
    StoreReplies(record.get(), std::move(query), false, "", SimulatedPrinter(scenario).DeviceId());
    ASSERT_EQ(record->nEngineStatus, 2u);
    EXPECT_EQ(record->pEngineStatus->dwCode, 40800);
    EXPECT_STREQ(record->pEngineStatus->szText, "Call, SC541");  // the text may hold commas
    EXPECT_EQ(record->bOffline, 1);
}

TEST(SimulatedPrinter, RoundsItDoesNotAnswer) {
    Scenario scenario = ParseScenario("t", "answers: first\n");
    SimulatedPrinter first(scenario);
    EXPECT_TRUE(first.Answer("@PJL INFO CONFIG\r\n", true).has_value());
    EXPECT_FALSE(first.Answer("@PJL INFO CONFIG\r\n", true).has_value());
    scenario.answers = Answers::kNone;
    SimulatedPrinter none(scenario);
    EXPECT_FALSE(none.Answer("@PJL INFO CONFIG\r\n", true).has_value());

    // A round without an answer leaves the record as it was.
    OwnedRecord record;
    scenario = LoadScenario("no-response");
    const auto printer = OpenSimTransport(scenario);
    EXPECT_TRUE(RunQueryRound(record.get(), "configuration", kConfiguration, *printer, Soon()).answered);
    const uint32_t trays = record->nTrayInfo;
    const QueryRound silent = RunQueryRound(record.get(), "poll", AllRequestFlags(), *printer, Soon());
    EXPECT_FALSE(silent.answered);
    EXPECT_EQ(record->nTrayInfo, trays);
    ASSERT_NE(record->pTrayInfo, nullptr);
    EXPECT_EQ(record->pTrayInfo->wPaperSize, 0);  // never answered
}

TEST(SimulatedPrinter, EchoIsAnsweredAndUstatusSwitchesAreNot) {
    const std::string uel = "\x1b%-12345X";
    const Scenario scenario = LoadScenario("all-well");
    ASSERT_GE(scenario.trays.size(), 2u);
    const std::string query = uel + "@PJL\r\n@PJL USTATUSOFF\r\n@PJL USTATUS DEVICE=ON\r\n@PJL INQUIRE INTRAY2SIZE\r\n" +
                              "@PJL ECHO TB58 A1\r\n" + uel;
    EXPECT_EQ(SimulatedPrinter(scenario).ReplyTo(query),
              uel + "@PJL INQUIRE INTRAY2SIZE\r\n" + scenario.trays[1].size + "\r\n\f@PJL ECHO TB58 A1\r\n\f" + uel);

    Scenario jam = LoadScenario("jam-tray2-lct");
    ASSERT_FALSE(jam.status_codes.empty());
    EXPECT_EQ(SimulatedPrinter(jam).UnsolicitedStatus(),
              "@PJL USTATUS DEVICE\r\nCODE=" + std::to_string(jam.status_codes.front()) + "\r\nDISPLAY=\"" +
                  jam.display + "\"\r\nONLINE=TRUE\r\n\f");
    jam.status_codes.clear();
    jam.display.clear();
    EXPECT_EQ(SimulatedPrinter(jam).UnsolicitedStatus(),
              "@PJL USTATUS DEVICE\r\nCODE=10001\r\nDISPLAY=\"Ready\"\r\nONLINE=TRUE\r\n\f");
}

}  // namespace
}  // namespace tb58mon
