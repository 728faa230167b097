// The Windows build has no network (no net-snmp): 'tb58mon simulate' and
// 'tb58mon serve' and 'tb58mon notify-test' are Linux commands.
#include "base/cli_error.h"
#include "commands/commands.h"

namespace tb58mon {

void RunSimulate(const SimulateOptions&, std::ostream&) {
    throw BadArgument("'simulate' is not part of the Windows build of tb58mon (it needs net-snmp); use the Linux build");
}

void RunServe(const ServeOptions&, std::ostream&) {
    throw BadArgument("'serve' is not part of the Windows build of tb58mon (it needs net-snmp); use the Linux build");
}

int RunServeCheckConfig(const ServeOptions& options, std::ostream& out) {
    RunServe(options, out);
    return kExitBadArguments;
}

int RunNotifyTest(const NotifyTestOptions&, std::ostream&) {
    throw BadArgument("'notify-test' is not part of the Windows build of tb58mon; use the Linux build");
}

// Nothing to add to the command line: the command line names these
// commands and runs the functions above for them.
Command AddSimulateCommand(CLI::App&, std::ostream&, std::ostream&) { return {}; }
Command AddServeCommand(CLI::App&, std::ostream&, std::ostream&) { return {}; }
Command AddNotifyTestCommand(CLI::App&, std::ostream&, std::ostream&) { return {}; }

}  // namespace tb58mon
