// The checks and readings that 'serve' and 'serve --check-config' share.
#include "commands/serve_setup.h"

#include <set>

#include "base/cli_error.h"
#include "base/read_file.h"
#include "base/terminal_text.h"
#include "notify/notifier_config_file.h"
#include "serve/host_rule.h"

namespace tb58mon {

FleetConfig ReadServeFleet(const ServeOptions& options) {
    PrinterSettings settings = options.settings;
    if (!options.lang.empty()) settings.lang = options.lang;
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

PollerOptions ServePollerOptions(const ServeOptions& options) {
    if (options.max_in_flight == 0 || options.max_in_flight > 4096) {
        throw BadArgument("--max-in-flight must be from 1 to 4096");
    }
    PollerOptions poller;
    poller.max_in_flight = options.max_in_flight;
    return poller;
}

HttpServiceOptions ServeHttpOptions(const ServeOptions& options, const FleetConfig& fleet) {
    constexpr size_t kMostConnections = 100000;
    if (options.max_connections == 0 || options.max_connections > kMostConnections ||
        options.max_connections_per_client == 0 || options.max_connections_per_client > kMostConnections) {
        throw BadArgument("--max-connections and --max-connections-per-client must be from 1 to 100000");
    }
    HttpServiceOptions http;
    for (const std::string& name : options.allow_hosts) http.allow_hosts.push_back(NormalizeAllowHost(name));
    http.default_lang = LanguageCode(options.lang.empty() ? fleet.defaults.lang : options.lang);
    http.limits.max_connections = options.max_connections;
    http.limits.max_per_client = options.max_connections_per_client;
    return http;
}

EventStoreOptions ServeStoreOptions(const ServeOptions& options) {
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

void CheckPublicUrl(const ServeOptions& options) {
    if (!options.public_url.empty() && !options.public_url.starts_with("http://") &&
        !options.public_url.starts_with("https://")) {
        throw BadArgument("--public-url must start with http:// or https://");
    }
}

std::vector<NotifierConfig> NotifiersWithPasswords(const FleetConfig& fleet) {
    std::vector<NotifierConfig> notifiers = fleet.notifiers;
    ReadNotifierPasswords(notifiers);
    return notifiers;
}

}  // namespace tb58mon
