// tb58mon serve --check-config: reads and checks everything 'serve' would
// read at its start (the fleet file, the --printer options, the notifiers
// and their password files, the service's options) without polling,
// listening or touching the state folder.  For ExecStartPre= and for a
// person who has just edited the fleet file: one line of summary and exit
// 0, or the fault with its file and line and exit 2.
#include <ostream>
#include <string>

#include "base/cli_error.h"
#include "base/listen_address.h"
#include "base/printable_text.h"
#include "commands/commands.h"
#include "commands/serve_setup.h"

namespace tb58mon {
namespace {

std::string Counted(size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string SourceName(const ServeOptions& options) {
    if (options.config.empty()) return "--printer";
    return options.printers.empty() ? options.config : options.config + " and --printer";
}

void CheckEverything(const ServeOptions& options, std::ostream& out) {
    ParseListen(options.listen);
    const PollerOptions poller = ServePollerOptions(options);
    ServeStoreOptions(options);
    CheckPublicUrl(options);
    const FleetConfig fleet = ReadServeFleet(options);
    ServeHttpOptions(options, fleet);
    CheckFleetUris(fleet, poller);
    NotifiersWithPasswords(fleet);
    out << PrintableText(SourceName(options)) << ": " << Counted(fleet.printers.size(), "printer", "printers") << ", "
        << Counted(fleet.notifiers.size(), "notifier", "notifiers") << "\n";
}

}  // namespace

int RunServeCheckConfig(const ServeOptions& options, std::ostream& out) {
    try {
        CheckEverything(options, out);
    } catch (const CliError& e) {
        // A password file that cannot be read is as much a fault of the
        // configuration as a bad key: the same exit code for both.
        if (e.exit_code() != kExitBadArguments) throw BadArgument(e.what());
        throw;
    }
    return kExitSuccess;
}

}  // namespace tb58mon
