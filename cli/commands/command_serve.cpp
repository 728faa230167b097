// tb58mon serve: polls a fleet of printers and serves their status as a web
// page, JSON and Prometheus metrics.  The fleet comes from a file
// (--config) and from --printer NAME=URI options, which take the watch
// options of the command line (--interval, --timeout, ...).  SIGHUP reads
// the file again; Ctrl-C or SIGTERM ends the service.  The open-file limit
// is raised to the hard limit, and the HTTP connections get what is left of
// it after a reserve for the poller.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <iostream>
#include <thread>

#include "base/cli_error.h"
#include "base/listen_address.h"
#include "base/read_file.h"
#include "base/journal_stream.h"
#include "base/service_log.h"
#include "base/stop_signals.h"
#include "base/text_format.h"
#include "base/terminal_text.h"
#include "commands/commands.h"
#include "commands/serve_setup.h"
#include "events/event_metrics.h"
#include "events/event_store.h"
#include "events/state_folder.h"
#include "events/view_observation.h"
#include "notify/notifier_config_file.h"
#include "notify/notifier_service.h"
#include "notify/notify_metrics.h"
#include "serve/descriptor_budget.h"
#include "serve/fleet_poller.h"
#include "serve/fleet_status_line.h"
#include "serve/host_rule.h"
#include "serve/http_service.h"
#include "serve/service_manager.h"

namespace tb58mon {
namespace {

std::atomic<bool> g_reload_requested{false};

extern "C" void RequestReload(int) { g_reload_requested.store(true); }

// SIGHUP asks for a reload while the service runs.
class ReloadSignal {
public:
    ReloadSignal() : previous_(std::signal(SIGHUP, RequestReload)) { g_reload_requested.store(false); }
    ~ReloadSignal() { std::signal(SIGHUP, previous_); }
    ReloadSignal(const ReloadSignal&) = delete;
    ReloadSignal& operator=(const ReloadSignal&) = delete;

private:
    void (*previous_)(int);
};

// The HTTP front's connection caps within the open-file limit.
HttpServiceOptions HttpOptions(const ServeOptions& options, const FleetConfig& fleet, const PollerOptions& poller,
                               ServiceLog& log) {
    HttpServiceOptions http = ServeHttpOptions(options, fleet);
    const size_t open_files = RaiseOpenFileLimit();
    const ConnectionBudget budget = PlanConnections(open_files, PollerDescriptors(poller), options.max_connections);
    if (budget.connections == 0) {
        throw Failure("the open-file limit (" + std::to_string(open_files) + ") leaves no descriptors for HTTP " +
                      "connections after " + std::to_string(budget.reserve) +
                      " for polling: raise it (ulimit -n) or lower --max-in-flight");
    }
    if (budget.shrunk) {
        log.Warning("warning: " + std::to_string(budget.connections) + " HTTP connections at most, not " +
                      std::to_string(options.max_connections) + ": the open-file limit is " + std::to_string(open_files) +
                      " and " + std::to_string(budget.reserve) + " stay for polling");
    }
    http.limits.max_connections = budget.connections;
    http.limits.max_per_client = std::min(options.max_connections_per_client, budget.connections);
    return http;
}

// The notifier's options: the service's language, and the printers'
// pictures from the poller's latest views.
NotifierServiceOptions NotifierOptions(const ServeOptions& options, const HttpServiceOptions& http,
                                       const FleetPoller*& poller) {
    CheckPublicUrl(options);
    NotifierServiceOptions notifier;
    notifier.service_lang = http.default_lang;
    notifier.picture = [&poller](const std::string& printer) -> std::shared_ptr<const std::string> {
        if (poller == nullptr) return nullptr;
        for (const auto& view : poller->Snapshot()->printers) {
            if (view->name == printer) return view->png;
        }
        return nullptr;
    };
    return notifier;
}

int64_t UnixNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Reads the fleet file again and hands it to the poller and the notifier;
// the service manager hears of it around.  A file that does not read
// leaves everything as it was.
void Reload(const ServeOptions& options, FleetPoller& poller, NotifierService& notifier, ServiceLog& log) {
    NotifyReloading();
    try {
        const FleetConfig next = ReadServeFleet(options);
        std::vector<NotifierConfig> notifiers = NotifiersWithPasswords(next);
        poller.Reload(next);
        notifier.Reload(std::move(notifiers));
        log.Info("reloaded: " + std::to_string(next.printers.size()) + " printers");
    } catch (const std::exception& e) {
        log.Error(std::string("reload failed, the fleet stays as it was: ") + e.what());
    }
    NotifyReady(FleetStatusLine(*poller.Snapshot()));
}

// Until a signal or --run-for ends the service: reloads on SIGHUP, the
// service manager's status line kept current, and a watchdog ping for each
// tick of the poller's loop.  The ping is sent from here, not from the
// loop: sd_notify blocks while the manager's socket is full, and the loop
// must never wait on it.
void ServeUntilStopped(const ServeOptions& options, FleetPoller& poller, NotifierService& notifier,
                       ServiceLog& log, const std::atomic<uint64_t>& poller_ticks) {
    using Clock = std::chrono::steady_clock;
    constexpr double kLongestRun = 1e9;  // seconds: beyond it, until stopped
    const auto end = options.run_for > 0 && options.run_for < kLongestRun
                         ? Clock::now() + std::chrono::milliseconds(static_cast<int64_t>(options.run_for * 1000))
                         : Clock::time_point::max();
    std::string status = FleetStatusLine(*poller.Snapshot());
    NotifyReady(status);
    uint64_t pinged = 0;
    while (!StopSignals::Requested().load() && Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const uint64_t ticks = poller_ticks.load();
        if (ticks != pinged) NotifyWatchdog();
        pinged = ticks;
        if (g_reload_requested.exchange(false)) Reload(options, poller, notifier, log);
        std::string now = FleetStatusLine(*poller.Snapshot());
        if (now != status) NotifyStatus(now);
        status = std::move(now);
    }
}

}  // namespace

void RunServe(const ServeOptions& options, std::ostream& out) {
    const ListenAddress listen = ParseListen(options.listen);
    PollerOptions poller_options = ServePollerOptions(options);
    const FleetConfig fleet = ReadServeFleet(options);
    EventStoreOptions store_options = ServeStoreOptions(options);
    // The store's writer thread writes to the same log as this one.
    ServiceLog log(out, &out == &std::cout && StandardOutputIsJournal());
    const HttpServiceOptions http_options = HttpOptions(options, fleet, poller_options, log);
    const StateFolder state_folder(options.state_dir);
    store_options.report = [&log](LogPriority priority, const std::string& text) { log.Write(priority, text); };
    EventMetrics event_metrics;
    NotifyMetrics notify_metrics;
    const FleetPoller* poller_of_pictures = nullptr;  // set before the notifier starts
    NotifierService notifier(NotifiersWithPasswords(fleet), NotifierOptions(options, http_options, poller_of_pictures),
                             &notify_metrics);
    EventStore store(store_options, notifier.Hooks(), &event_metrics);
    poller_options.on_view = [&store](const PrinterView& view) {
        store.Observe(view.name, view.uri, ObservationOfView(view, UnixNow()));
    };
    std::atomic<uint64_t> poller_ticks{0};
    if (const auto watchdog = WatchdogInterval()) {
        poller_options.on_tick = [&poller_ticks] { poller_ticks.fetch_add(1); };
        poller_options.tick_interval = *watchdog;
    }
    FleetMetrics metrics;
    FleetPoller poller(fleet, poller_options, metrics);
    poller_of_pictures = &poller;
    RouteSources sources;
    sources.snapshot = [&poller] { return poller.Snapshot(); };
    sources.metrics = [&metrics, &event_metrics, &notify_metrics] {
        return metrics.Text() + event_metrics.Text() + notify_metrics.Text();
    };
    sources.read_events = [&store](const std::function<void(sqlite3*)>& read) { return store.Read(read); };
    sources.recent_events = [&store] { return store.Recent(); };
    HttpService http(std::move(sources), http_options);
    const unsigned port = http.Start(listen.host, listen.port);
    notifier.SetBaseUrl(options.public_url.empty() ? "http://" + HostPort(listen.host, port) : options.public_url);
    const NotifierRunning notifying(notifier, store);
    const StopSignals signals;
    const ReloadSignal reload;
    log.Info("serving " + std::to_string(fleet.printers.size()) + " printers on http://" + HostPort(listen.host, port) +
             "/ (the page; /printers.json, /events.json, /history.json, /metrics, /healthz), in " +
             http_options.default_lang + ", at most " + std::to_string(http_options.limits.max_connections) +
             " connections, " + std::to_string(http_options.limits.max_per_client) + " per client");
    ServeUntilStopped(options, poller, notifier, log, poller_ticks);
    NotifyStopping();
    http.Stop();
    log.Info(StopSignals::Requested().load() ? "stopped by a signal" : "stopped");
}

Command AddServeCommand(CLI::App& app, std::ostream& out, std::ostream&) {
    const auto options = std::make_shared<ServeOptions>();
    ServeOptions& serve = *options;
    CLI::App* serve_command = app.add_subcommand(
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
    return {serve_command, [options, &out] {
        if (options->check_config) return RunServeCheckConfig(*options, out);
        RunServe(*options, out);
        return kExitSuccess;
    }};
}

}  // namespace tb58mon
