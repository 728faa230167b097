// tb58mon notify-test: one sample notice to each notifier of a fleet file
// (or the one named), sent as the service sends its notices, and what each
// receiver answered.  The sample is a paper jam of the simulated printer,
// with its texts in the notifier's language and its picture.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>

#include "base/cli_error.h"
#include "base/read_file.h"
#include "commands/commands.h"
#include "notify/notice_request.h"
#include "notify/notifier_config_file.h"
#include "serve/printer_view.h"
#include "transport/transport.h"

namespace tb58mon {
namespace {

constexpr const char* kSampleUri = "sim:jam-tray2-lct";

// The simulated printer's view after one cycle: its codes and picture.
std::shared_ptr<const PrinterView> SampleView() {
    PrinterConfig printer;
    printer.name = "sample";
    printer.uri = kSampleUri;
    const std::unique_ptr<Transport> transport = OpenTransport(kSampleUri, TransportOptions{});
    auto record = std::make_shared<OwnedRecord>();
    const MonitorCycle cycle =
        RunMonitorCycle(record->get(), *transport, std::chrono::steady_clock::now() + std::chrono::seconds(5));
    return ViewAfterCycle(*WaitingView(printer), record, cycle, 0);
}

// The sample notice for a notifier: about the first printer of the fleet it
// watches, or "sample" when it watches none.
Notice SampleNotice(const NotifierConfig& notifier, const FleetConfig& fleet, const PrinterView& view) {
    Notice notice;
    notice.kind = NoticeKind::kTest;
    NotifyEvent& event = notice.event;
    event.time = std::chrono::system_clock::now();
    event.id = std::chrono::duration_cast<std::chrono::seconds>(event.time.time_since_epoch()).count();
    event.printer = "sample";
    event.uri = kSampleUri;
    const auto watched = std::find_if(fleet.printers.begin(), fleet.printers.end(), [&](const PrinterConfig& printer) {
        return NotifierWatchesPrinter(notifier, printer.name);
    });
    if (watched != fleet.printers.end()) {
        event.printer = watched->name;
        event.uri = watched->uri;
    }
    event.kind = "code_began";
    event.health = "error";
    event.codes = view.codes;
    if (!view.codes.empty()) event.code = view.codes.front();
    return notice;
}

std::vector<NotifierConfig> Chosen(const FleetConfig& fleet, const NotifyTestOptions& options) {
    if (fleet.notifiers.empty()) throw BadArgument(options.config + " has no [[notify]] tables");
    if (options.notifier.empty()) return fleet.notifiers;
    for (const NotifierConfig& notifier : fleet.notifiers) {
        if (notifier.name == options.notifier) return {notifier};
    }
    throw BadArgument(options.config + " has no notifier named '" + options.notifier + "'");
}

}  // namespace

int RunNotifyTest(const NotifyTestOptions& options, std::ostream& out) {
    const FleetConfig fleet = ParseFleetConfig(ReadRegularFile(options.config), options.config);
    std::vector<NotifierConfig> notifiers = Chosen(fleet, options);
    ReadNotifierPasswords(notifiers);
    const std::shared_ptr<const PrinterView> view = SampleView();
    const DeliveryLimits limits;
    CurlDelivery delivery(limits);
    std::map<uint64_t, DeliveryOutcome> outcomes;
    for (size_t i = 0; i < notifiers.size(); ++i) {
        const Notice notice = SampleNotice(notifiers[i], fleet, *view);
        const DeliveryRequest request =
            ComposeRequest(notice, notifiers[i], fleet.defaults.lang, options.public_url, view->png, i);
        DeliveryOutcome refused;
        if (!delivery.Start(request, refused)) outcomes[i] = refused;
        // Beyond the transfers one delivery runs at once, the rest wait for room.
        while (delivery.Running() >= limits.most_transfers) {
            for (DeliveryOutcome& outcome : delivery.Poll(std::chrono::milliseconds(200))) outcomes[outcome.tag] = outcome;
        }
    }
    const auto end = std::chrono::steady_clock::now() + limits.total_timeout + std::chrono::seconds(5);
    while (delivery.Running() > 0 && std::chrono::steady_clock::now() < end) {
        for (DeliveryOutcome& outcome : delivery.Poll(std::chrono::milliseconds(200))) outcomes[outcome.tag] = outcome;
    }
    bool all_taken = true;
    for (size_t i = 0; i < notifiers.size(); ++i) {
        const auto found = outcomes.find(i);
        const bool taken = found != outcomes.end() && found->second.taken;
        all_taken = all_taken && taken;
        out << notifiers[i].name << " (" << notifiers[i].url << "): " << (taken ? "taken" : "NOT taken") << " - "
            << (found == outcomes.end() ? "no answer" : found->second.answer) << "\n";
    }
    return all_taken ? kExitSuccess : kExitFailure;
}

Command AddNotifyTestCommand(CLI::App& app, std::ostream& out, std::ostream&) {
    const auto options = std::make_shared<NotifyTestOptions>();
    NotifyTestOptions& notify_test = *options;
    CLI::App* notify_test_command = app.add_subcommand(
        "notify-test", "send one sample notification to each notifier of a fleet file and show the answers");
    notify_test_command->add_option("--config", notify_test.config, "the fleet file with [[notify]] tables")
        ->required();
    notify_test_command->add_option("--notifier", notify_test.notifier, "only the notifier of this name");
    notify_test_command->add_option("--public-url", notify_test.public_url,
                                    "the service's URL for the links in the notification")
        ->capture_default_str();
    return {notify_test_command, [options, &out] { return RunNotifyTest(*options, out); }};
}

}  // namespace tb58mon
