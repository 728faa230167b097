// Whether an output of this process goes straight to the system journal:
// the service manager then names the stream in JOURNAL_STREAM
// ("DEVICE:INODE"), and the journal takes a "<N>" at the start of a line as
// the line's syslog priority and stamps the time itself.  The variable is
// inherited by whatever the service starts, so it counts only when it
// names the very stream the descriptor is on.
#pragma once

#include <string_view>

namespace tb58mon {

bool StandardOutputIsJournal();
bool StandardErrorIsJournal();

// The test of the above: journal_stream (the variable's value, empty when
// unset) names the device and inode given.
bool NamesStream(std::string_view journal_stream, unsigned long long device, unsigned long long inode);

}  // namespace tb58mon
