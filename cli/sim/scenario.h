// A simulated printer: its configuration and state, read from a small text
// file (cli/scenarios/*.txt).
//
// A scenario file holds one "key: value" per line; '#' starts a comment
// line, blank lines are skipped, keys that may repeat are marked below.
// Words are the printer's own reply words (upper case).
//
//   title: All well                       what the scenario shows
//   maker: / model: / description:       device ID fields MFG, MDL, DES
//   command-set: PJL,PCL,POSTSCRIPT       device ID field CMD
//   firmware: 1.07                        VERSION item FIRMWARE
//   emulation: WEXA 4.02                  VERSION item (repeats)
//   memory: 512M                          MEMORY, in bytes (K, M, G suffixes)
//   tray: TRAY1 size=A4LONG quantity=4/5 media=PLAIN [locked]   (repeats)
//                                         TRAY1-TRAY4, LCT, BYPASS, INSERTER
//   option: DUPLEX                        INFO CONFIG option keyword (repeats)
//   punch: JP2 US3                        PUNCH items
//   bin: UPPER READY                      INFO OUTBINSTATUS entry (repeats)
//   front-cover-tray: TRAY2               also slip-sheet-tray, chapter-tray-1,
//                                         chapter-tray-2, back-cover-tray
//   status: 42000/10001                   device ID STS: engine status codes
//   state: 1                              STS: the printer state number
//   display: Misfeed Tray 2               STS: the panel text (e.g. ... SC541)
//   counter: 123456 / supplies: 80,60     device ID QIJ
//   tzmo: MEMORYUSAGE=USER IMAGEROTATION=IMPOSSIBLE OTHER=text
//   answers: all | first | none           how many query rounds it answers
//   serial: E3052000123                   prtGeneralSerialNumber over SNMP
//   supply: toner black level=80 capacity=100   a marker supply over SNMP
//                                         (repeats): toner (black, cyan,
//                                         magenta, yellow), drum, developer,
//                                         fuser, transfer-unit, waste-toner,
//                                         staples; level and capacity as
//                                         the MIB gives them (-1 other, -2
//                                         unknown, -3 some remaining; of a
//                                         waste-toner box the room left)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tb58mon {

struct ScenarioTray {
    std::string name;      // TRAY1 ... INSERTER
    std::string size;      // paper size word
    std::string quantity;  // paper quantity word
    std::string media;     // media word
    bool locked = false;
};

struct ScenarioBin {
    std::string entry;  // UPPER, OPTIONALOUTPUTBIN1-9, FINISHERPROOF, FINISHERSHIFT, FINISHERBOOKLET
    std::string state;  // READY, PAPEREXIST, FULL
};

// A marker supply the SNMP agent reports (prtMarkerSuppliesTable).
struct ScenarioSupply {
    std::string kind;     // toner, drum, developer, fuser, transfer-unit, waste-toner, staples
    std::string colour;   // black, cyan, magenta, yellow (toner only); empty otherwise
    int32_t level = 100;  // prtMarkerSuppliesLevel
    int32_t capacity = 100;  // prtMarkerSuppliesMaxCapacity
};

struct ScenarioEmulation {
    std::string name;     // VERSION item word (WEXA, POSTSCRIPT, TZMO, ...)
    std::string version;
};

// How the printer answers the query rounds of a cycle.
enum class Answers {
    kAll,    // every round
    kFirst,  // the first round, then nothing (it stopped answering)
    kNone,   // nothing at all
};

// The special tray roles, in the order the query asks them.
constexpr size_t kSpecialTrayCount = 5;

struct Scenario {
    std::string name;   // the file name without ".txt"
    std::string title;
    std::string maker;
    std::string model;
    std::string description;
    std::string command_set;
    std::string firmware;
    std::vector<ScenarioEmulation> emulations;
    uint64_t memory_bytes = 0;
    std::vector<ScenarioTray> trays;
    std::vector<std::string> options;  // INFO CONFIG keywords (OUTTRAY..., DUPLEX, DISK)
    std::vector<std::string> punch;    // punch keywords
    std::vector<ScenarioBin> bins;
    std::string special_trays[kSpecialTrayCount] = {"OFF", "OFF", "OFF", "OFF", "OFF"};
    std::vector<int32_t> status_codes;
    uint32_t state = 1;
    std::string display;
    uint32_t counter = 0;
    std::string supplies;
    std::string tzmo_memory_usage;     // empty: not reported
    std::string tzmo_image_rotation;
    std::string tzmo_other;
    Answers answers = Answers::kAll;
    std::string serial;                        // empty: the agent's default
    std::vector<ScenarioSupply> marker_supplies;  // empty: the agent's default set
};

// Reads a scenario file's text.  Throws CliError (exit code 1) naming the
// scenario, the line and what is wrong: an unknown key or word, a value
// the printer could not report (a blank inside a version, a second tray of
// the same name), a bad number.
Scenario ParseScenario(std::string_view name, std::string_view text);

// True when the scenario's printer has the emulation (a VERSION item word).
bool HasEmulation(const Scenario& scenario, std::string_view name);

}  // namespace tb58mon
