// The fault switches of the network printer: how its replies go wrong, as
// real printers' replies do (a byte at a time, cut, stalled, with noise).
#pragma once

#include <cstddef>

namespace tb58mon {

struct FaultSwitches {
    bool trickle = false;        // one byte per write
    bool no_ff = false;          // answers without their form feeds
    long stall_after = -1;       // send this many bytes of a reply, then nothing
    long drop_after = -1;        // send this many bytes of a reply, then close
    bool refuse = false;         // accept no connections
    bool garbage = false;        // noise instead of the answers (the echo still comes)
    size_t huge = 0;             // this many extra bytes in the reply
    bool ustatus = false;        // unsolicited USTATUS sections between answers
    bool nul_prefix = false;     // NUL and EOT bytes before the reply and after each form feed
    long delay_ms = 0;           // wait this many milliseconds before each reply
};

}  // namespace tb58mon
