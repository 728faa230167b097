// tb58mon status, picture and names: the status presentation for a record
// described on the command line (engine status codes, options, trays), and
// the display names of trays, bins and options.
#include <CLI/CLI.hpp>

#include <Tb58Wk31Platform.h>

#include "base/cli_error.h"
#include "base/printable_text.h"
#include "commands/commands.h"
#include "image/image_files.h"
#include "library/library_calls.h"
#include "report/status_report.h"
#include "base/terminal_text.h"
#include "base/text_format.h"
#include "base/value_lists.h"

namespace tb58mon {
namespace {

// A record filled by the caller, as a monitor fills one from its own
// sources; all nodes are fixed global memory the record releases.
struct CallerRecord {
    OwnedRecord record;
    uint32_t kind = 0;
    std::vector<int32_t> codes;
};

void FillRecord(const RecordOptions& options, CallerRecord& caller) {
    caller.kind = ParseFunctionKind("--kind", options.kind) | (options.alternate ? TB58_KIND_ALTERNATE : 0);
    if (!options.codes.empty()) caller.codes = ParseStatusCodes("--codes", options.codes);
    for (int32_t code : caller.codes) caller.record.AddEngineStatus(code, options.display);
    for (uint16_t option : ParseSmallCodes("--options", options.options)) caller.record.AddOption(option);
    for (uint16_t tray : ParseSmallCodes("--trays", options.trays)) caller.record.AddTray(tray);
    caller.record->bNoResponse = options.no_response ? 1 : 0;
}

Json CodesJson(const std::vector<int32_t>& codes) {
    Json json = Json::array();
    for (int32_t code : codes) json.push_back(code);
    return json;
}

}  // namespace

void RunStatus(const StatusOptions& options, std::ostream& out) {
    CallerRecord caller;
    FillRecord(options.record, caller);
    SetLocale(options.record.lang);
    const uint32_t code_page = CodePageOfLanguage(options.record.lang);
    Json status = StatusJson(caller.record.get(), caller.kind, code_page);
    if (options.record.json) {
        status["codes"] = CodesJson(caller.codes);
        status["no_response"] = options.record.no_response;
        out << status.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        return;
    }
    const Json& text = status[options.long_text ? "long" : "short"];
    out << (text.is_null() ? "(no text: PatGetStatusString reports TB58_ERROR_NOT_FOUND)"
                           : PrintableLines(text.get<std::string>()))
        << "\n";
}

void RunPicture(const PictureOptions& options, std::ostream& out) {
    const std::string picture_file = options.out.empty() ? DefaultPictureFile() : options.out;
    CheckPictureFileName(picture_file);
    CallerRecord caller;
    FillRecord(options.record, caller);
    const std::vector<Layer> layers = PictureLayers(caller.record.get(), caller.kind);
    ModuleBitmaps bitmaps;
    const Picture picture =
        DrawLayers(layers, [&](const std::string& name) -> const Image& { return bitmaps.Get(name); });
    WritePicture(picture_file, picture.image);
    const Json json = {{"file", picture_file},
                       {"width", picture.image.width},
                       {"height", picture.image.height},
                       {"origin_x", picture.origin_x},
                       {"origin_y", picture.origin_y},
                       {"layers", LayersJson(layers)}};
    if (options.record.json) {
        out << json.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        return;
    }
    out << "Layers (PatCreateBitmapInfo), in drawing order\n";
    PrintLayers(out, json["layers"]);
    out << "Written " << picture_file << " (" << picture.image.width << " x " << picture.image.height
        << " pixels; the main body's origin at x " << picture.origin_x << ")\n";
}

void RunNames(const NamesOptions& options, std::ostream& out) {
    SetLocale(options.lang);
    const uint32_t code_page = CodePageOfLanguage(options.lang);
    std::optional<std::string> name;
    std::string asked;
    if (!options.tray.empty()) {
        asked = "tray \"" + options.tray + "\"";
        name = GetDeviceName(TB58_DEVICE_NAME_TRAY, options.tray.c_str());
    } else if (!options.bin.empty()) {
        asked = "output bin \"" + options.bin + "\"";
        name = GetDeviceName(TB58_DEVICE_NAME_OUTBIN, options.bin.c_str());
    } else {
        const std::vector<uint16_t> codes = ParseSmallCodes("--option", options.option);
        if (codes.size() != 1) throw BadArgument("--option takes one device code, e.g. 649");
        const int32_t device_code = codes.front();
        asked = "option " + std::to_string(device_code);
        name = GetDeviceName(TB58_DEVICE_NAME_OPTION, &device_code);
    }
    if (!name) {
        // The name is what the user typed: a name the library does not know
        // is a bad argument.
        throw BadArgument("the library has no display name for " + asked +
                          " (names are English and exact, e.g. \"Tray 3\", \"Mailbox Tray 4\"; options are "
                          "device codes such as 649)");
    }
    const std::string text = AnsiToUtf8(*name, code_page);
    if (options.json) {
        out << Json{{"asked", asked}, {"name", text}}.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        return;
    }
    out << text << "\n";
}

namespace {

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

}  // namespace

Command AddStatusCommand(CLI::App& app, std::ostream& out, std::ostream&) {
    const auto options = std::make_shared<StatusOptions>();
    StatusOptions& status = *options;
    CLI::App* status_command = app.add_subcommand("status", "the status text for engine status codes");
    AddRecordOptions(status_command, status.record);
    status_command->add_flag("--long", status.long_text, "the long text (default: the short one)");
    status_command->add_option("--lang", status.record.lang, "display language")->capture_default_str();
    return {status_command, [options, &out] {
        RunStatus(*options, out);
        return kExitSuccess;
    }};
}

Command AddPictureCommand(CLI::App& app, std::ostream& out, std::ostream&) {
    const auto options = std::make_shared<PictureOptions>();
    PictureOptions& picture = *options;
    CLI::App* picture_command = app.add_subcommand("picture", "draw the status picture for engine status codes");
    AddRecordOptions(picture_command, picture.record);
    picture_command->add_option("--out", picture.out, "picture file (default " + DefaultPictureFile() + ")");
    return {picture_command, [options, &out] {
        RunPicture(*options, out);
        return kExitSuccess;
    }};
}

Command AddNamesCommand(CLI::App& app, std::ostream& out, std::ostream&) {
    const auto options = std::make_shared<NamesOptions>();
    NamesOptions& names = *options;
    CLI::App* names_command = app.add_subcommand("names", "the display name of a tray, output bin or option");
    CLI::Option_group* asked = names_command->add_option_group("name", "the one name to look up");
    asked->add_option("--tray", names.tray, "English tray name, e.g. \"Tray 3\"");
    asked->add_option("--bin", names.bin, "English bin name, e.g. \"Mailbox Tray 4\"");
    asked->add_option("--option", names.option, "option device code, e.g. 649");
    asked->require_option(1);
    names_command->add_option("--lang", names.lang, "display language")->capture_default_str();
    names_command->add_flag("--json", names.json, "JSON output");
    return {names_command, [options, &out] {
        RunNames(*options, out);
        return kExitSuccess;
    }};
}

}  // namespace tb58mon
