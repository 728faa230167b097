// tb58mon's command line (CLI11): the subcommands, their options and help,
// and the one place where errors become an exit code and one line of text.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <exception>
#include <iostream>
#include <new>
#include <vector>

#include "base/cli_error.h"
#include "base/journal_stream.h"
#include "base/value_lists.h"
#include "commands/commands.h"
#include "image/image_files.h"
#include "sim/scenario_library.h"
#include "transport/transport.h"

namespace tb58mon {
namespace {

constexpr const char* kDescription =
    "tb58mon - the reference status monitor of the Tb58Wk31 printer data library.\n"
    "It drives the library through its exports only, as a status monitor does:\n"
    "'watch' polls a printer (socket://HOST, snmp://HOST, usb:///dev/usb/lpN or sim:SCENARIO)\n"
    "and prints what changes; 'serve' watches a fleet and serves a status page,\n"
    "JSON and Prometheus metrics; 'simulate' serves simulated printers on the\n"
    "network; 'demo' runs a whole query cycle against a simulated printer and\n"
    "shows every step; the other commands show single steps for people\n"
    "integrating the library.";

void AddRecordOptions(CLI::App* command, RecordOptions& options) {
    command->add_option("--codes", options.codes, "engine status codes, e.g. 41201,41301 (also -254)");
    command->add_option("--options", options.options, "installed options (pDeviceInfo codes), e.g. 38,104");
    command->add_option("--trays", options.trays, "trays the record lists (pTrayInfo codes), e.g. 3,4,5,6");
    command->add_option("--display", options.display, "panel text of the status codes, e.g. \"Call service SC541\"");
    command->add_flag("--no-response", options.no_response, "the printer does not answer (bNoResponse)");
    command->add_option("--kind", options.kind, "function kind: 1 printer, 2 scanner, 8 copier, 0x8000 machine")
        ->capture_default_str();
    command->add_flag("--alternate", options.alternate, "the alternate presentation (kind bit 31)");
    command->add_flag("--json", options.json, "JSON output");
}

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    // The check has a command line and exit codes of its own (0 to 3).
    if (argc >= 2 && std::string_view(argv[1]) == "check") return RunCheckCommand(argc - 1, argv + 1, out);
    CLI::App app(kDescription, "tb58mon");
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "help for every command");

    DemoOptions demo;
    CLI::App* demo_command = app.add_subcommand(
        "demo", "run a whole query cycle against a simulated printer and show everything a monitor shows");
    demo_command->add_option("--scenario", demo.scenario,
                             "simulated printer, by name (default " + std::string(kDefaultScenario) + ")");
    demo_command->add_option("--scenario-file", demo.scenario_file, "simulated printer from a scenario file");
    demo_command->add_flag("--list", demo.list, "list the scenarios");
    demo_command->add_option("--lang", demo.lang, "display language (JP EN DE FR IT ES NL SV DA NO CS HU PT PL FI)")
        ->capture_default_str();
    demo_command->add_option("--kind", demo.kind, "function kind of the status: 1 printer, 2 scanner, 8 copier")
        ->capture_default_str();
    demo_command->add_flag("--alternate", demo.alternate, "the alternate presentation (kind bit 31)");
    demo_command->add_option("--out", demo.out, "picture file (default " + DefaultPictureFile() + ")");
    demo_command->add_flag("--json", demo.json, "JSON report");

    // Listed for the help only: 'check' reads its own command line (above).
    app.add_subcommand("check", "one look at a printer as a monitoring plugin: exit 0 OK, 1 WARNING, 2 CRITICAL, "
                                "3 UNKNOWN (tb58mon check --help)")
        ->allow_extras();

    WatchOptions watch;
    CLI::App* watch_command = app.add_subcommand(
        "watch", std::string("poll a printer and print its status, trays, bins, toner and counter when they change") +
                     (NetworkTransportsBuilt() ? "" : " (this Windows build polls sim: printers only)"));
    watch_command->add_option("uri", watch.uri,
                              "the printer: socket://HOST[:PORT] (PJL on TCP, port 9100), usb:///dev/usb/lpN, "
                              "or sim:SCENARIO (the built-in simulated printer)")
        ->required();
    watch_command->add_option("--interval", watch.settings.interval, "seconds between polls")->capture_default_str();
    watch_command->add_option("--timeout", watch.settings.timeout,
                              "seconds one whole check may take: every query round and the SNMP requests "
                              "(with --once, the whole run; otherwise each cycle)")
        ->capture_default_str();
    watch_command->add_option("--lang", watch.settings.lang, "display language of the status texts")
        ->capture_default_str();
    watch_command->add_option("--kind", watch.kind, "function kind of the status: 1 printer, 2 scanner, 8 copier")
        ->capture_default_str();
    watch_command->add_flag("--json", watch.json, "one JSON object per line");
    watch_command->add_option("--out", watch.out, "picture file, rewritten when the status changes");
    watch_command->add_flag("--once", watch.once,
                            "one cycle, then exit: 0 ready, 1 needs attention, 2 bad arguments, 3 no response");
    watch_command->add_option("--cycles", watch.cycles, "stop after this many cycles (default: until Ctrl-C)");
    watch_command->add_flag_callback(
        "--no-snmp", [&watch] { watch.settings.snmp = false; }, "socket://: do not read the device ID over SNMP");
    watch_command->add_option("--community", watch.settings.community, "SNMP community")->capture_default_str();
    watch_command->add_option("--snmp-port", watch.settings.snmp_port, "SNMP UDP port")->capture_default_str();
    watch_command->add_option("--snmp-version", watch.snmp_version, "SNMP version: 1 or 2c")->capture_default_str();
    // Read from the text itself: a number too large for the option's type
    // must not wrap around to a small one, nor "010" be read as octal.
    watch_command
        ->add_option_function<std::string>(
            "--max-reply",
            [&watch](const std::string& text) {
                watch.max_reply = ParseByteCount("--max-reply", text, kSmallestMaxReply, kLargestMaxReply);
            },
            "largest reply read, in bytes (1024 to 67108864)")
        ->type_name("BYTES")
        ->default_str(std::to_string(watch.max_reply));

    SimulateOptions simulate;
    CLI::App* simulate_command = nullptr;
    if (NetworkTransportsBuilt()) {
        simulate_command = app.add_subcommand(
            "simulate", "serve a simulated printer on the network: PJL on TCP, its MIB over SNMP");
        simulate_command->add_option("--listen", simulate.listen, "HOST:PORT of the PJL service")->capture_default_str();
        simulate_command->add_option("--scenario", simulate.scenario,
                                     "the printer, by name (default " + std::string(kDefaultScenario) + ")");
        simulate_command->add_option("--scenario-file", simulate.scenario_file, "the printer from a scenario file");
        simulate_command->add_option("--snmp-port", simulate.snmp_port,
                                     "serve the printer's MIB over SNMP on this UDP port (needs snmpd)");
        simulate_command->add_option("--script", simulate.script,
                                     "timed changes, e.g. all-well:10,jam-tray2-lct:10,off:5,all-well "
                                     "(scenario or off, and seconds)");
        simulate_command->add_option("--run-for", simulate.run_for, "stop after this many seconds");
        simulate_command->add_option("--fleet", simulate.fleet,
                                     "serve this many printers with varied scenarios and some faults, on "
                                     "consecutive ports from --listen (and --snmp-port)");
        simulate_command->add_flag("--plain", simulate.plain_fleet, "with --fleet: no printer gets a fault switch");
        simulate_command->add_option("--silent", simulate.silent,
                                     "with --fleet: the last N printers take every query and never answer");
        simulate_command->add_option("--write-config", simulate.write_config,
                                     "with --fleet: write a fleet file for 'tb58mon serve --config'");
        FaultSwitches& f = simulate.faults;
        simulate_command->add_flag("--trickle", f.trickle, "fault: one byte per write");
        simulate_command->add_flag("--no-ff", f.no_ff, "fault: answers without form feeds");
        simulate_command->add_option("--stall-after", f.stall_after, "fault: send N bytes of a reply, then nothing");
        simulate_command->add_option("--drop-after", f.drop_after, "fault: send N bytes of a reply, then close");
        simulate_command->add_flag("--refuse", f.refuse, "fault: refuse every connection");
        simulate_command->add_flag("--garbage", f.garbage, "fault: noise instead of the answers");
        simulate_command->add_option("--huge", f.huge, "fault: N extra bytes in every reply");
        simulate_command->add_flag("--ustatus", f.ustatus, "fault: unsolicited status sections between answers");
        simulate_command->add_flag("--nul-prefix", f.nul_prefix,
                                   "fault: NUL and EOT bytes before the reply and after each form feed");
        simulate_command->add_option("--delay", f.delay_ms, "fault: wait N milliseconds before each reply");
        simulate_command->add_flag("--snmp-silent", f.snmp_silent, "SNMP fault: the agent answers nothing at all");
        simulate_command->add_option("--snmp-rows", f.snmp_rows,
                                     "SNMP fault: the tray and supplies tables hold N rows each");
        simulate_command->add_flag("--snmp-wrong-types", f.snmp_wrong_types,
                                   "SNMP fault: strings where numbers belong and numbers where strings do");
        simulate_command->add_flag("--snmp-extreme", f.snmp_extreme,
                                   "SNMP fault: negative and huge numbers (-5, 2147483647, 4294967295)");
    }

    ServeOptions serve;
    CLI::App* serve_command = nullptr;
    if (NetworkTransportsBuilt()) {
        serve_command = app.add_subcommand(
            "serve", "poll a fleet of printers and serve a status page, JSON and Prometheus metrics over HTTP");
        serve_command->add_option("--config", serve.config, "the fleet file (TOML: [defaults] and [[printer]])");
        serve_command->add_option("--listen", serve.listen, "HOST:PORT of the web service")->capture_default_str();
        serve_command->add_option("--printer", serve.printers, "a printer NAME=URI (repeatable)");
        serve_command->add_option("--interval", serve.settings.interval, "seconds between polls of a --printer")
            ->capture_default_str();
        serve_command->add_option("--timeout", serve.settings.timeout,
                                  "seconds one cycle of a --printer may take: every query round and the SNMP requests")
            ->capture_default_str();
        serve_command->add_option("--community", serve.settings.community, "SNMP community")->capture_default_str();
        serve_command->add_option("--snmp-port", serve.settings.snmp_port, "SNMP UDP port")->capture_default_str();
        serve_command->add_flag_callback(
            "--no-snmp", [&serve] { serve.settings.snmp = false; }, "do not read device IDs over SNMP");
        serve_command->add_option("--lang", serve.lang,
                                  "display language of the page and the JSON without ?lang= and of a --printer "
                                  "(default: the fleet file's [defaults] lang, else EN)");
        serve_command->add_option("--max-in-flight", serve.max_in_flight,
                                  "cycles (open exchanges) at once over the whole fleet; printers that did not "
                                  "answer last time may hold half of them")
            ->capture_default_str();
        serve_command->add_option("--max-connections", serve.max_connections, "HTTP connections at once")
            ->capture_default_str();
        serve_command->add_option("--max-connections-per-client", serve.max_connections_per_client,
                                  "HTTP connections at once from one address (an IPv6 /64)")
            ->capture_default_str();
        serve_command->add_option("--allow-host", serve.allow_hosts,
                                  "answer requests for this Host name too (repeatable; on a loopback address only "
                                  "loopback names are answered otherwise)");
        serve_command->add_option("--state-dir", serve.state_dir,
                                  "the folder of the event history (events.db; made 0700 when missing)")
            ->capture_default_str();
        serve_command->add_option("--keep-days", serve.keep_days, "days of events kept (1 to 36500)")
            ->capture_default_str();
        serve_command->add_option("--max-events", serve.max_events,
                                  "events kept at most; the oldest beyond are deleted (1000 to 1000000000)")
            ->capture_default_str();
        serve_command->add_option("--run-for", serve.run_for, "stop after this many seconds");
        serve_command->add_option("--public-url", serve.public_url,
                                  "the service's URL in notifications, for the links to the page and pictures "
                                  "(default: http:// and the listen address)");
        serve_command->add_flag("--check-config", serve.check_config,
                                "read and check the fleet file, the notifiers and the options, then exit (0: good, "
                                "2: the fault with its file and line); polls nothing, listens nowhere");
    }

    NotifyTestOptions notify_test;
    CLI::App* notify_test_command = nullptr;
    if (NetworkTransportsBuilt()) {
        notify_test_command = app.add_subcommand(
            "notify-test", "send one sample notification to each notifier of a fleet file and show the answers");
        notify_test_command->add_option("--config", notify_test.config, "the fleet file with [[notify]] tables")
            ->required();
        notify_test_command->add_option("--notifier", notify_test.notifier, "only the notifier of this name");
        notify_test_command->add_option("--public-url", notify_test.public_url,
                                        "the service's URL for the links in the notification")
            ->capture_default_str();
    }

    QueryOptions query;
    CLI::App* query_command = app.add_subcommand("query", "show the QueryInfo that PatCreateQueryInfo builds");
    query_command->add_option("--flags", query.flags,
                              "request flags: status, system, tray, outbin, emul, font, identity, device, "
                              "engine-status, all (or a number)")
        ->capture_default_str();
    query_command->add_option("--trays", query.trays, "trays the record lists (pTrayInfo codes), e.g. 11,3");
    query_command->add_flag("--emulation", query.emulation, "the TZMO query of PatCreateEmulUniqQueryInfo");
    query_command->add_flag("--json", query.json, "JSON output");

    ReadOptions read;
    CLI::App* read_command = app.add_subcommand("read", "read a captured reply with PatSetCentroDataTo");
    read_command->add_option("--reply", read.reply_file, "file with the printer's PJL reply")->required();
    read_command->add_option("--device-id", read.device_id, "the printer's device ID text");
    read_command->add_option("--device-id-file", read.device_id_file, "file with the device ID text");
    read_command->add_option("--flags", read.flags,
                             "flags of the query the reply answers (default: its PJL part, and the device ID "
                             "when one is given)");
    read_command->add_flag("--emulation", read.emulation, "the reply answers the TZMO query");
    read_command->add_flag("--json", read.json, "JSON output");

    StatusOptions status;
    CLI::App* status_command = app.add_subcommand("status", "the status text for engine status codes");
    AddRecordOptions(status_command, status.record);
    status_command->add_flag("--long", status.long_text, "the long text (default: the short one)");
    status_command->add_option("--lang", status.record.lang, "display language")->capture_default_str();

    PictureOptions picture;
    CLI::App* picture_command = app.add_subcommand("picture", "draw the status picture for engine status codes");
    AddRecordOptions(picture_command, picture.record);
    picture_command->add_option("--out", picture.out, "picture file (default " + DefaultPictureFile() + ")");

    NamesOptions names;
    CLI::App* names_command = app.add_subcommand("names", "the display name of a tray, output bin or option");
    CLI::Option_group* asked = names_command->add_option_group("name", "the one name to look up");
    asked->add_option("--tray", names.tray, "English tray name, e.g. \"Tray 3\"");
    asked->add_option("--bin", names.bin, "English bin name, e.g. \"Mailbox Tray 4\"");
    asked->add_option("--option", names.option, "option device code, e.g. 649");
    asked->require_option(1);
    names_command->add_option("--lang", names.lang, "display language")->capture_default_str();
    names_command->add_flag("--json", names.json, "JSON output");

    // A missing or misspelt command gets a message that names the commands.
    const std::string commands =
        "watch, check, serve, simulate, notify-test, demo, query, read, status, picture or names (tb58mon --help)";
    if (argc < 2) throw BadArgument("a command is needed: " + commands);
    const std::string first = argv[1];
    constexpr std::string_view kCommands[] = {"watch", "check",  "serve",  "simulate", "notify-test", "demo",
                                              "query", "read",   "status", "picture",  "names"};
    if (first == "simulate" && !NetworkTransportsBuilt()) RunSimulate({}, out);
    if (first == "serve" && !NetworkTransportsBuilt()) RunServe({}, out);
    if (first == "notify-test" && !NetworkTransportsBuilt()) return RunNotifyTest({}, out);
    if (!first.starts_with("-") && std::find(std::begin(kCommands), std::end(kCommands), first) == std::end(kCommands)) {
        throw BadArgument("unknown command '" + first + "': the commands are " + commands);
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, out, out);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e, out, out);
    } catch (const CLI::ParseError& e) {
        throw BadArgument(e.what());
    }

    if (watch_command->parsed()) return RunWatch(watch, out, err);
    if (simulate_command != nullptr && simulate_command->parsed()) RunSimulate(simulate, out);
    if (serve_command != nullptr && serve_command->parsed()) {
        if (serve.check_config) return RunServeCheckConfig(serve, out);
        RunServe(serve, out);
    }
    if (notify_test_command != nullptr && notify_test_command->parsed()) return RunNotifyTest(notify_test, out);
    if (demo_command->parsed()) RunDemo(demo, out);
    if (query_command->parsed()) RunQuery(query, out);
    if (read_command->parsed()) RunRead(read, out);
    if (status_command->parsed()) RunStatus(status, out);
    if (picture_command->parsed()) RunPicture(picture, out);
    if (names_command->parsed()) RunNames(names, out);
    return kExitSuccess;
}

}  // namespace

int RunTb58mon(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    // The error that ends the program is an error in the journal too.
    const char* head = &err == &std::cerr && StandardErrorIsJournal() ? "<3>tb58mon: " : "tb58mon: ";
    try {
        return Run(argc, argv, out, err);
    } catch (const CliError& e) {
        out.flush();
        err << head << e.what() << "\n";
        return e.exit_code();
    } catch (const std::bad_alloc&) {
        out.flush();
        err << head << "out of memory\n";
        return kExitFailure;
    } catch (const std::exception& e) {
        out.flush();
        err << head << e.what() << "\n";
        return kExitFailure;
    }
}

}  // namespace tb58mon
