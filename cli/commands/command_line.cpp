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

// The commands in the order of the help.
constexpr Command (*kAddCommands[])(CLI::App&, std::ostream&, std::ostream&) = {
    AddDemoCommand,  AddCheckCommand, AddWatchCommand,  AddSimulateCommand, AddServeCommand, AddNotifyTestCommand,
    AddQueryCommand, AddReadCommand,  AddStatusCommand, AddPictureCommand,  AddNamesCommand,
};

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    // The check has a command line and exit codes of its own (0 to 3).
    if (argc >= 2 && std::string_view(argv[1]) == "check") return RunCheckCommand(argc - 1, argv + 1, out);
    CLI::App app(kDescription, "tb58mon");
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "help for every command");

    std::vector<Command> added;
    for (const auto add : kAddCommands) added.push_back(add(app, out, err));

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

    for (const Command& command : added) {
        if (command.app != nullptr && command.app->parsed() && command.run) return command.run();
    }
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
