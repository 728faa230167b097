// The fault switches of the network printer: how its replies go wrong, as
// real printers' replies do (a byte at a time, cut, stalled, with noise),
// and how its SNMP agent's answers do (see sim/agent_bindings.h).
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
    bool snmp_silent = false;    // the SNMP agent answers nothing at all
    size_t snmp_rows = 0;        // prtInputTable and the supplies table hold this many rows
    bool snmp_wrong_types = false;  // strings where numbers belong and numbers where strings do
    bool snmp_extreme = false;   // negative and huge numbers (-5, 2147483647, 4294967295)
};

}  // namespace tb58mon
