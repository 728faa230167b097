// The Windows build has no network printer (no net-snmp for its agent):
// 'tb58mon simulate' is a Linux command.
#include "base/cli_error.h"
#include "commands/commands.h"

namespace tb58mon {

void RunSimulate(const SimulateOptions&, std::ostream&) {
    throw BadArgument("'simulate' is not part of the Windows build of tb58mon (it needs net-snmp); use the Linux build");
}

}  // namespace tb58mon
