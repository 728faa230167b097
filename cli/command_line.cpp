// tb58mon's command line (CLI11): the subcommands, their options and help,
// and the one place where errors become an exit code and one line of text.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <exception>
#include <new>
#include <vector>

#include "cli_error.h"
#include "commands.h"
#include "image_files.h"
#include "scenario_library.h"

namespace tb58mon {
namespace {

constexpr const char* kDescription =
    "tb58mon - the reference status monitor of the Tb58Wk31 printer data library.\n"
    "It drives the library through its exports only, as a status monitor does:\n"
    "'demo' runs a whole query cycle against a simulated printer; the other\n"
    "commands show single steps for people integrating the library.";

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

int Run(int argc, const char* const* argv, std::ostream& out) {
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
    const std::string commands = "demo, query, read, status, picture or names (tb58mon --help)";
    if (argc < 2) throw BadArgument("a command is needed: " + commands);
    const std::string first = argv[1];
    constexpr std::string_view kCommands[] = {"demo", "query", "read", "status", "picture", "names"};
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
    try {
        return Run(argc, argv, out);
    } catch (const CliError& e) {
        out.flush();
        err << "tb58mon: " << e.what() << "\n";
        return e.exit_code();
    } catch (const std::bad_alloc&) {
        out.flush();
        err << "tb58mon: out of memory\n";
        return kExitFailure;
    } catch (const std::exception& e) {
        out.flush();
        err << "tb58mon: " << e.what() << "\n";
        return kExitFailure;
    }
}

}  // namespace tb58mon
