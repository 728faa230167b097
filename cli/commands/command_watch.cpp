// tb58mon watch: polls one printer as a status monitor does, and prints
// what changed.  Every cycle starts from a fresh record: the configuration
// round, the status round with every request flag, and the emulation round
// where the printer has that emulation.  A cycle that gets no answer sets
// bNoResponse, shows the library's no-response text, and the next cycle
// waits longer (twice the interval after each such cycle, up to eight
// intervals), so that a printer that is busy printing is never hammered.
#include <CLI/CLI.hpp>

#include <chrono>
#include <ctime>
#include <thread>

#include "base/cli_error.h"
#include "base/printable_text.h"
#include "base/stop_signals.h"
#include "base/terminal_text.h"
#include "base/text_format.h"
#include "base/value_lists.h"
#include "commands/commands.h"
#include "image/image_files.h"
#include "report/status_report.h"
#include "monitor/monitor_cycle.h"
#include "monitor/poll_schedule.h"
#include "watch/watch_view.h"

namespace tb58mon {
namespace {

std::chrono::milliseconds Seconds(std::string_view option, double seconds, double least) {
    if (!(seconds >= least) || seconds > 86400) {
        throw BadArgument(std::string(option) + " must be a number of seconds from " + std::to_string(least).substr(0, 4) +
                          " to 86400");
    }
    return std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000));
}

// Replaces the picture whole (a fresh file beside it, renamed onto it), so
// that a reader never sees half a file.
void RewritePicture(const std::string& path, PrnInfoEx* record, uint32_t kind) {
    const std::vector<Layer> layers = PictureLayers(record, kind);
    ModuleBitmaps bitmaps;
    const Picture picture =
        DrawLayers(layers, [&](const std::string& name) -> const Image& { return bitmaps.Get(name); });
    ReplacePicture(path, picture.image);
}

Json RoundsJson(const MonitorCycle& cycle) {
    Json rounds = Json::array();
    for (const QueryRound& round : cycle.rounds) {
        rounds.push_back({{"title", round.title},
                          {"outcome", std::string(RoundOutcomeName(round.outcome))},
                          {"message", round.message.empty() ? Json(nullptr) : Json(round.message)},
                          {"stored", round.stored},
                          {"store_error", round.store_error.empty() ? Json(nullptr) : Json(round.store_error)},
                          {"device_id_note", round.device_id_note.empty() ? Json(nullptr) : Json(round.device_id_note)}});
    }
    return rounds;
}

// Each line with the time; what the printer said is shown without its
// control characters (base/printable_text.h).
void PrintLines(std::ostream& out, const std::vector<std::pair<std::string, std::string>>& lines) {
    const std::string time = LocalTimeStamp();
    for (const auto& [key, value] : lines) {
        out << time << "  " << PrintableText(key) << ": " << PrintableText(value) << "\n";
    }
    out.flush();
}

// The transport's options from the command line's, each checked.
TransportOptions WatchTransportOptions(const WatchOptions& options) {
    const size_t max_reply = CheckByteCount("--max-reply", options.max_reply, kSmallestMaxReply, kLargestMaxReply);
    if (options.settings.snmp_port == 0 || options.settings.snmp_port > 65535) throw BadArgument("--snmp-port must be from 1 to 65535");
    if (!IsSnmpVersion(options.settings.snmp_version)) {
        throw BadArgument("--snmp-version must be 1 or 2c");
    }
    TransportOptions transport_options = TransportOptionsOf(options.settings, max_reply);
    transport_options.stop = &StopSignals::Requested();
    return transport_options;
}

// --once: the one cycle's report, and the exit code.
int ReportOnce(const WatchOptions& options, const Transport& printer, const MonitorCycle& cycle, const WatchState& state,
               OwnedRecord& record, uint32_t kind, uint32_t code_page, std::ostream& out) {
    if (options.json) {
        Json report;
        report["printer"] = printer.Describe();
        report["time"] = LocalTimeStamp();
        report["language"] = options.settings.lang;
        report["state"] = WatchStateJson(state);
        report["rounds"] = RoundsJson(cycle);
        report["record"] = RecordJson(ViewRecord(*record.get()));
        report["status"] = StatusJson(record.get(), kind, code_page);
        if (!options.out.empty()) report["picture"] = options.out;
        out << report.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
    } else {
        PrintLines(out, WatchLines(state));
    }
    return WatchExitCode(state);
}

// What changed since the cycle before: lines, or one JSON object.
void ReportChanges(const WatchOptions& options, const Transport& printer, const WatchState* before,
                   const WatchState& state, std::ostream& out) {
    const auto changed = ChangedLines(before, state);
    if (!changed.empty()) {
        if (options.json) {
            Json line = WatchStateJson(state);
            line["time"] = LocalTimeStamp();
            line["printer"] = printer.Describe();
            Json keys = Json::array();
            for (const auto& change : changed) keys.push_back(change.first);
            line["changed"] = keys;
            out << line.dump(-1, ' ', false, Json::error_handler_t::replace) << "\n";
            out.flush();
        } else {
            PrintLines(out, changed);
        }
    }
    if (!state.ustatus.empty() && (before == nullptr || before->ustatus != state.ustatus) && !options.json) {
        PrintLines(out, {{"unsolicited status", state.ustatus}});
    }
}

// Waits the interval, doubled after each cycle without response (at most
// eight times); false when Ctrl-C came.
bool WaitForNextCycle(std::chrono::milliseconds interval, int failures) {
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::duration_cast<std::chrono::milliseconds>(interval * BackOffFactor(failures));
    while (!StopSignals::Requested().load() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return !StopSignals::Requested().load();
}

}  // namespace

int RunWatch(const WatchOptions& options, std::ostream& out, std::ostream&) {
    const std::chrono::milliseconds timeout = Seconds("--timeout", options.settings.timeout, 0.05);
    const std::chrono::milliseconds interval = Seconds("--interval", options.settings.interval, 0.05);
    const TransportOptions transport_options = WatchTransportOptions(options);
    if (options.cycles < 0) throw BadArgument("--cycles must not be negative");
    const uint32_t kind = ParseFunctionKind("--kind", options.kind);
    if (!options.out.empty()) CheckPictureFileName(options.out);
    SetLocale(options.settings.lang);
    const uint32_t code_page = CodePageOfLanguage(options.settings.lang);
    const std::unique_ptr<Transport> printer = OpenTransport(options.uri, transport_options);

    StopSignals signals;
    PrinterState printer_state;
    std::optional<WatchState> before;
    int failures = 0;
    for (int cycle_number = 1;; ++cycle_number) {
        OwnedRecord record;
        // One deadline for the whole cycle: every round and the SNMP requests.
        const MonitorCycle cycle = RunMonitorCycle(record.get(), *printer, std::chrono::steady_clock::now() + timeout);
        // A cycle cut short by Ctrl-C says nothing about the printer.
        if (StopSignals::Requested().load() && !options.once) break;
        printer_state = StateAfterCycle(printer_state, *record.get(), cycle, std::chrono::system_clock::now());
        WatchState state = DescribeWatchState(record.get(), printer_state, cycle.ustatus, kind, code_page);
        if (!options.out.empty() && StatusChanged(before ? &*before : nullptr, state)) {
            RewritePicture(options.out, record.get(), kind);
        }
        if (options.once) return ReportOnce(options, *printer, cycle, state, record, kind, code_page, out);
        ReportChanges(options, *printer, before ? &*before : nullptr, state, out);
        before = std::move(state);
        if (options.cycles > 0 && cycle_number >= options.cycles) break;
        failures = FailuresAfter(failures, before->response);
        if (!WaitForNextCycle(interval, failures)) break;
    }
    return kExitSuccess;
}

Command AddWatchCommand(CLI::App& app, std::ostream& out, std::ostream& err) {
    const auto options = std::make_shared<WatchOptions>();
    WatchOptions& watch = *options;
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
    watch_command->add_option("--snmp-version", watch.settings.snmp_version, "SNMP version: 1 or 2c")->capture_default_str();
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
    return {watch_command, [options, &out, &err] { return RunWatch(*options, out, err); }};
}

}  // namespace tb58mon
