// tb58mon serve: polls a fleet of printers and serves their status as a web
// page, JSON and Prometheus metrics.  The fleet comes from a file
// (--config) and from --printer NAME=URI options, which take the watch
// options of the command line (--interval, --timeout, ...).  SIGHUP reads
// the file again; Ctrl-C or SIGTERM ends the service.  The open-file limit
// is raised to the hard limit, and the HTTP connections get what is left of
// it after a reserve for the poller.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <ctime>
#include <mutex>
#include <set>
#include <thread>

#include "base/cli_error.h"
#include "base/listen_address.h"
#include "base/read_file.h"
#include "base/stop_signals.h"
#include "base/text_format.h"
#include "base/terminal_text.h"
#include "commands/commands.h"
#include "events/event_metrics.h"
#include "events/event_store.h"
#include "events/state_folder.h"
#include "events/view_observation.h"
#include "serve/descriptor_budget.h"
#include "serve/fleet_poller.h"
#include "serve/host_rule.h"
#include "serve/http_service.h"

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

void Line(std::ostream& out, const std::string& text) {
    out << LocalTimeStamp() << "  " << text << "\n";
    out.flush();
}

// The fleet from the file and the --printer options; names are unique.
FleetConfig ReadFleet(const ServeOptions& options) {
    const PrinterSettings& settings = options.settings;
    CheckSettings(settings, "the command line");
    FleetConfig fleet;
    if (!options.config.empty()) fleet = ParseFleetConfig(ReadRegularFile(options.config), options.config);
    std::set<std::string> names;
    for (const PrinterConfig& printer : fleet.printers) names.insert(printer.name);
    for (const std::string& text : options.printers) {
        PrinterConfig printer = ParsePrinterOption(text, settings);
        if (!names.insert(printer.name).second) throw BadArgument("a second printer named '" + printer.name + "'");
        fleet.printers.push_back(std::move(printer));
    }
    if (fleet.printers.empty()) throw BadArgument("no printers: give --config FILE or --printer NAME=URI");
    return fleet;
}

// The HTTP front's options: the connection caps within the open-file
// limit, the Host names, the default language.
HttpServiceOptions HttpOptions(const ServeOptions& options, const FleetConfig& fleet, const PollerOptions& poller,
                               std::ostream& out) {
    constexpr size_t kMostConnections = 100000;
    if (options.max_connections == 0 || options.max_connections > kMostConnections ||
        options.max_connections_per_client == 0 || options.max_connections_per_client > kMostConnections) {
        throw BadArgument("--max-connections and --max-connections-per-client must be from 1 to 100000");
    }
    HttpServiceOptions http;
    for (const std::string& name : options.allow_hosts) http.allow_hosts.push_back(NormalizeAllowHost(name));
    http.default_lang = LanguageCode(options.lang.empty() ? fleet.defaults.lang : options.lang);
    const size_t open_files = RaiseOpenFileLimit();
    const ConnectionBudget budget = PlanConnections(open_files, PollerDescriptors(poller), options.max_connections);
    if (budget.connections == 0) {
        throw Failure("the open-file limit (" + std::to_string(open_files) + ") leaves no descriptors for HTTP " +
                      "connections after " + std::to_string(budget.reserve) +
                      " for polling: raise it (ulimit -n) or lower --max-in-flight");
    }
    if (budget.shrunk) {
        Line(out, "warning: " + std::to_string(budget.connections) + " HTTP connections at most, not " +
                      std::to_string(options.max_connections) + ": the open-file limit is " + std::to_string(open_files) +
                      " and " + std::to_string(budget.reserve) + " stay for polling");
    }
    http.limits.max_connections = budget.connections;
    http.limits.max_per_client = std::min(options.max_connections_per_client, budget.connections);
    return http;
}

// The event store's options from the command line.
EventStoreOptions StoreOptions(const ServeOptions& options) {
    if (options.keep_days < 1 || options.keep_days > 36500) throw BadArgument("--keep-days must be from 1 to 36500");
    if (options.max_events < 1000 || options.max_events > 1'000'000'000) {
        throw BadArgument("--max-events must be from 1000 to 1000000000");
    }
    EventStoreOptions store;
    store.directory = options.state_dir;
    store.keep_days = options.keep_days;
    store.max_events = options.max_events;
    return store;
}

int64_t UnixNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

void RunServe(const ServeOptions& options, std::ostream& out) {
    const ListenAddress listen = ParseListen(options.listen);
    if (options.max_in_flight == 0 || options.max_in_flight > 4096) {
        throw BadArgument("--max-in-flight must be from 1 to 4096");
    }
    ServeOptions with_lang = options;
    if (!options.lang.empty()) with_lang.settings.lang = options.lang;
    const FleetConfig fleet = ReadFleet(with_lang);
    EventStoreOptions store_options = StoreOptions(options);
    PollerOptions poller_options;
    poller_options.max_in_flight = options.max_in_flight;
    const HttpServiceOptions http_options = HttpOptions(options, fleet, poller_options, out);
    // The store's writer thread reports on the same output as this one.
    std::mutex output_lock;
    const auto say = [&](const std::string& text) {
        const std::lock_guard<std::mutex> lock(output_lock);
        Line(out, text);
    };
    const StateFolder state_folder(options.state_dir);
    store_options.report = say;
    EventMetrics event_metrics;
    EventStoreHooks store_hooks;  // the notifier's tables and outbox rows (event_store.h)
    EventStore store(store_options, std::move(store_hooks), &event_metrics);
    poller_options.on_view = [&store](const PrinterView& view) {
        store.Observe(view.name, view.uri, ObservationOfView(view, UnixNow()));
    };
    FleetMetrics metrics;
    FleetPoller poller(fleet, poller_options, metrics);
    RouteSources sources;
    sources.snapshot = [&poller] { return poller.Snapshot(); };
    sources.metrics = [&metrics, &event_metrics] { return metrics.Text() + event_metrics.Text(); };
    sources.read_events = [&store](const std::function<void(sqlite3*)>& read) { return store.Read(read); };
    sources.recent_events = [&store] { return store.Recent(); };
    HttpService http(std::move(sources), http_options);
    const unsigned port = http.Start(listen.host, listen.port);
    const StopSignals signals;
    const ReloadSignal reload;
    say("serving " + std::to_string(fleet.printers.size()) + " printers on http://" + HostPort(listen.host, port) +
                  "/ (the page; /printers.json, /events.json, /history.json, /metrics, /healthz), in " + http_options.default_lang + ", at most " +
                  std::to_string(http_options.limits.max_connections) + " connections, " +
                  std::to_string(http_options.limits.max_per_client) + " per client");

    using Clock = std::chrono::steady_clock;
    const auto end = options.run_for > 0
                         ? Clock::now() + std::chrono::milliseconds(static_cast<int64_t>(options.run_for * 1000))
                         : Clock::time_point::max();
    while (!StopSignals::Requested().load() && Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!g_reload_requested.exchange(false)) continue;
        try {
            const FleetConfig next = ReadFleet(with_lang);
            poller.Reload(next);
            say("reloaded: " + std::to_string(next.printers.size()) + " printers");
        } catch (const std::exception& e) {
            say(std::string("reload failed, the fleet stays as it was: ") + e.what());
        }
    }
    http.Stop();
    say(StopSignals::Requested().load() ? "stopped by a signal" : "stopped");
}

}  // namespace tb58mon
