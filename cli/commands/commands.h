// tb58mon's commands.  Each takes its options as read from the command line
// (texts not yet checked), writes its result to out and throws CliError for
// what goes wrong.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "base/printer_settings.h"
#include "sim/fault_switches.h"

namespace CLI {
class App;
}

namespace tb58mon {

// Runs tb58mon with a command line; returns the exit code (0, 1, or 2 for a
// wrong command line).  Errors are written to err as one line.
int RunTb58mon(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The options that describe a record for the offline status commands.
struct RecordOptions {
    std::string codes;        // engine status codes
    std::string options;      // option codes of pDeviceInfo
    std::string trays;        // tray codes of pTrayInfo
    std::string display;      // the panel text of every engine status node
    bool no_response = false;
    std::string kind = "1";
    bool alternate = false;
    std::string lang = "EN";
    bool json = false;
};

struct DemoOptions {
    std::string scenario;
    std::string scenario_file;
    bool list = false;
    std::string lang = "EN";
    std::string kind = "1";
    bool alternate = false;
    std::string out;
    bool json = false;
};

struct QueryOptions {
    std::string flags = "all";
    std::string trays;
    bool emulation = false;
    bool json = false;
};

struct ReadOptions {
    std::string reply_file;
    std::string device_id;
    std::string device_id_file;
    std::string flags;
    bool emulation = false;
    bool json = false;
};

struct StatusOptions {
    RecordOptions record;
    bool long_text = false;
};

struct PictureOptions {
    RecordOptions record;
    std::string out;
};

struct NamesOptions {
    std::string tray;
    std::string bin;
    std::string option;
    std::string lang = "EN";
    bool json = false;
};

// The bounds of watch --max-reply: 1 KiB to 64 MiB.
constexpr size_t kSmallestMaxReply = 1024;
constexpr size_t kLargestMaxReply = 64 * 1024 * 1024;

// tb58mon watch: polls one printer.
struct WatchOptions {
    std::string uri;
    PrinterSettings settings;  // interval, timeout, language, SNMP
    std::string kind = "1";
    bool json = false;
    bool once = false;
    std::string out;          // picture file, rewritten when the status changes
    size_t max_reply = 1024 * 1024;  // kSmallestMaxReply to kLargestMaxReply
    int cycles = 0;           // stop after this many cycles (0: until Ctrl-C)
};

// tb58mon simulate: the simulated printer on the network.
struct SimulateOptions {
    std::string listen = "127.0.0.1:9100";
    std::string scenario;
    std::string scenario_file;
    unsigned snmp_port = 0;      // 0: no SNMP agent
    std::string script;          // timed scenario changes, e.g. "all-well:10,jam-tray2-lct:10,all-well"
    FaultSwitches faults;
    double run_for = 0;          // seconds; 0: until Ctrl-C or SIGTERM
    size_t fleet = 0;            // > 0: this many printers on consecutive ports
    std::string write_config;    // with fleet: write a fleet file for 'serve' here
    bool plain_fleet = false;    // with fleet: no printer gets a fault switch
    size_t silent = 0;           // with fleet: the last this many take queries and never answer
};

// tb58mon serve: polls a fleet and serves its status over HTTP.
struct ServeOptions {
    std::string config;                  // the fleet file
    std::string listen = "127.0.0.1:8631";
    std::vector<std::string> printers;   // NAME=URI
    PrinterSettings settings;            // of the --printer printers
    std::string lang;                    // --lang: the --printer printers' and the service's default
    size_t max_in_flight = 256;          // cycles open at once over the fleet
    double run_for = 0;                  // seconds; 0: until Ctrl-C or SIGTERM
    size_t max_connections = 256;        // HTTP connections at once
    size_t max_connections_per_client = 32;
    std::vector<std::string> allow_hosts;  // Host names answered besides the loopback ones
    std::string state_dir = "tb58mon-state";  // the folder of events.db
    int keep_days = 90;                  // events older than this are deleted
    int64_t max_events = 5'000'000;      // and the oldest beyond this many
    std::string public_url;              // the service's URL in notices; the listen address's when empty
    bool check_config = false;           // --check-config: read and check everything, start nothing
};

// tb58mon notify-test: one sample notice to each notifier of a fleet file.
struct NotifyTestOptions {
    std::string config;
    std::string notifier;    // only this one
    std::string public_url = "http://127.0.0.1:8631";  // for the links in the notice
};

void RunDemo(const DemoOptions& options, std::ostream& out);
void RunQuery(const QueryOptions& options, std::ostream& out);
void RunRead(const ReadOptions& options, std::ostream& out);
void RunStatus(const StatusOptions& options, std::ostream& out);
void RunPicture(const PictureOptions& options, std::ostream& out);
void RunNames(const NamesOptions& options, std::ostream& out);
// Returns the exit code: 0 ready, 1 a status that needs attention, 3 no
// response (for --once; a watch ended by Ctrl-C returns 0).
int RunWatch(const WatchOptions& options, std::ostream& out, std::ostream& err);
void RunSimulate(const SimulateOptions& options, std::ostream& out);
void RunServe(const ServeOptions& options, std::ostream& out);
// serve --check-config: returns 0 with a summary line; throws BadArgument
// (exit 2) for any fault of the configuration.
int RunServeCheckConfig(const ServeOptions& options, std::ostream& out);
// Returns 0 when every receiver took its notice, else 1.
int RunNotifyTest(const NotifyTestOptions& options, std::ostream& out);
// A subcommand on the command line, and what runs it once parsed: the
// exit code.  Each command adds its own, with its options, beside its Run
// function; a command this build lacks adds none (app null).
struct Command {
    CLI::App* app = nullptr;
    std::function<int()> run;
};
Command AddDemoCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddCheckCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddWatchCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddSimulateCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddServeCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddNotifyTestCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddQueryCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddReadCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddStatusCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddPictureCommand(CLI::App& app, std::ostream& out, std::ostream& err);
Command AddNamesCommand(CLI::App& app, std::ostream& out, std::ostream& err);

// tb58mon check with the arguments after "tb58mon" (argv[0] is "check"):
// a monitoring plugin's exit code, 0 to 3, and its lines on out.
int RunCheckCommand(int argc, const char* const* argv, std::ostream& out);

}  // namespace tb58mon
