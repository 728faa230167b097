// tb58mon demo: the whole query cycle against the simulated printer, then
// everything a status monitor shows for the record it got.
//
// The cycle runs in rounds, as a monitor polls: the first round asks for the
// configuration (the printer lists its trays there); the second asks with
// every request flag, and its tray inquiries follow the trays the record now
// lists (a fresh record would ask for the fixed trays only, never for the
// large-capacity tray or the inserter, and would ask for a tray 4 that the
// printer may not have).  A third round asks for the TZMO emulation's own
// information when the printer has that emulation.  A round the printer
// does not answer sets bNoResponse, as a monitor does.
#include <CLI/CLI.hpp>

#include <Tb58Wk31Platform.h>

#include "base/cli_error.h"
#include "base/printable_text.h"
#include "commands/commands.h"
#include "image/image_files.h"
#include "library/library_calls.h"
#include "monitor/query_round.h"
#include "report/record_report.h"
#include "sim/scenario_library.h"
#include "transport/sim_transport.h"
#include "monitor/monitor_cycle.h"
#include "report/status_report.h"
#include "base/terminal_text.h"
#include "base/text_format.h"
#include "base/value_lists.h"

namespace tb58mon {
namespace {

Json RoundJson(const QueryRound& round) {
    return {{"title", round.title},
            {"call", round.call},
            {"query_text", round.request.text},
            {"device_id_requested", round.request.device_id_requested},
            {"answered", round.answered},
            {"reply", round.answered ? Json(AnsiToUtf8(round.reply, 1252)) : Json(nullptr)},
            {"device_id", round.answered && !round.device_id.empty() ? Json(AnsiToUtf8(round.device_id, 1252))
                                                                     : Json(nullptr)}};
}

void PrintRound(std::ostream& out, size_t number, const QueryRound& round) {
    Heading(out, "Round " + std::to_string(number) + ": " + round.title);
    Field(out, "Call", round.call);
    Field(out, "Query text", round.request.text.empty() ? "(none)" : VisibleControls(round.request.text));
    Field(out, "Device ID", round.request.device_id_requested ? "requested" : "not requested");
    if (!round.answered) {
        Field(out, "Answer", "none: the printer does not answer (record.bNoResponse = 1)");
        return;
    }
    if (!round.reply.empty()) Field(out, "Reply", PrintableLines(VisibleControls(AnsiToUtf8(round.reply, 1252))));
    if (!round.device_id.empty()) Field(out, "Device ID", PrintableText(AnsiToUtf8(round.device_id, 1252)));
    Field(out, "Stored", "PatSetCentroDataTo(packet, 0, record, 2) succeeded");
}

}  // namespace

void RunDemo(const DemoOptions& options, std::ostream& out) {
    if (options.list) {
        for (const EmbeddedFile& file : EmbeddedScenarioFiles()) {
            const Scenario scenario = ParseScenario(file.name, file.text);
            out << Pad(scenario.name, 24) << scenario.title << "\n";
        }
        return;
    }
    if (!options.scenario.empty() && !options.scenario_file.empty()) {
        throw BadArgument("give --scenario or --scenario-file, not both");
    }
    const uint32_t kind = ParseFunctionKind("--kind", options.kind) | (options.alternate ? TB58_KIND_ALTERNATE : 0);
    const std::string picture_file = options.out.empty() ? DefaultPictureFile() : options.out;
    CheckPictureFileName(picture_file);
    const Scenario scenario = options.scenario_file.empty()
                                  ? LoadScenario(options.scenario.empty() ? kDefaultScenario : options.scenario)
                                  : LoadScenarioFile(options.scenario_file);
    SetLocale(options.lang);
    const uint32_t code_page = CodePageOfLanguage(options.lang);

    OwnedRecord record;
    const std::unique_ptr<Transport> printer = OpenSimTransport(scenario);
    const MonitorCycle cycle =
        RunMonitorCycle(record.get(), *printer, std::chrono::steady_clock::now() + std::chrono::seconds(5), true);
    const std::vector<QueryRound>& rounds = cycle.rounds;
    for (const QueryRound& round : rounds) {
        if (round.answered && !round.stored) throw Failure(round.store_error);
    }

    Json report;
    report["scenario"] = scenario.name;
    report["title"] = scenario.title;
    report["language"] = options.lang;
    report["code_page"] = code_page;
    Json rounds_json = Json::array();
    for (const QueryRound& round : rounds) rounds_json.push_back(RoundJson(round));
    report["rounds"] = rounds_json;
    const RecordView view = ViewRecord(*record.get(), StoredReplies(rounds));
    report["record"] = RecordJson(view);
    report["status"] = StatusJson(record.get(), kind, code_page);
    report["names"] = NamesJson(view, code_page);
    const std::vector<Layer> layers = PictureLayers(record.get(), kind);
    report["layers"] = LayersJson(layers);
    ModuleBitmaps bitmaps;
    const Picture picture =
        DrawLayers(layers, [&](const std::string& name) -> const Image& { return bitmaps.Get(name); });
    WritePicture(picture_file, picture.image);
    report["picture"] = {{"file", picture_file},
                         {"width", picture.image.width},
                         {"height", picture.image.height},
                         {"origin_x", picture.origin_x},
                         {"origin_y", picture.origin_y}};

    if (options.json) {
        out << report.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        return;
    }
    out << "tb58mon demo: scenario " << scenario.name << " - " << scenario.title << "\n";
    out << "Language " << options.lang << " (code page " << code_page << "), function kind "
        << FunctionKindName(kind) << ((kind & TB58_KIND_ALTERNATE) != 0 ? ", alternate presentation" : "") << "\n";
    for (size_t i = 0; i < rounds.size(); ++i) PrintRound(out, i + 1, rounds[i]);
    Heading(out, "Record (PrnInfoEx)");
    PrintRecord(out, view);
    Heading(out, "Status texts (PatGetStatusString)");
    PrintStatus(out, report["status"]);
    Heading(out, "Device names (PatGetDeviceName)");
    PrintNames(out, report["names"]);
    Heading(out, "Picture layers (PatCreateBitmapInfo), in drawing order");
    PrintLayers(out, report["layers"]);
    Heading(out, "Picture");
    Field(out, "Written", picture_file + " (" + std::to_string(picture.image.width) + " x " +
                              std::to_string(picture.image.height) + " pixels; the main body's origin at x " +
                              std::to_string(picture.origin_x) + ")");
}

Command AddDemoCommand(CLI::App& app, std::ostream& out, std::ostream&) {
    const auto options = std::make_shared<DemoOptions>();
    DemoOptions& demo = *options;
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
    return {demo_command, [options, &out] {
        RunDemo(*options, out);
        return kExitSuccess;
    }};
}

}  // namespace tb58mon
