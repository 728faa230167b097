// The program that answers snmpd's pass_persist requests for the simulated
// printer's agent: an awk program, one process per served subtree, that
// lives as long as snmpd.
//
// It reads the bindings from the file DATA, one a line ("OID<TAB>type<TAB>
// value", in ascending OID order, as pass_persist names the types), keeping
// those below PREFIX, and reads them again when the text of the file STAMP
// changed, so that one request costs a look at a small file.  "get" looks
// the OID up; "getnext" answers the first binding after the OID asked,
// comparing OIDs component by component as numbers (a binary search when the
// OID asked is not itself a binding).  Every answer is flushed at once.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "mib/mib_binding.h"

namespace tb58mon {

// The DATA file's text for the bindings: sorted in OID order, one binding
// per OID (the last given wins), bindings without an OID left out.  A text
// of printable ASCII goes as a "string", any other as "octet" in hex.
std::string MibResponderData(std::span<const MibBinding> bindings);

constexpr std::string_view kMawkPath = "/usr/bin/mawk";

constexpr std::string_view kMibResponderProgram = R"awk(
function reload(   stamp, line, t, rest) {
    stamp = ""
    if ((getline stamp < STAMP) <= 0) stamp = ""
    close(STAMP)
    if (stamp == loaded) return
    loaded = stamp
    n = 0
    split("", at)
    while ((getline line < DATA) > 0) {
        if (substr(line, 1, length(PREFIX) + 1) != PREFIX ".") continue
        t = index(line, "\t"); rest = substr(line, t + 1)
        n++; oid[n] = substr(line, 1, t - 1)
        t = index(rest, "\t"); type[n] = substr(rest, 1, t - 1); value[n] = substr(rest, t + 1)
        at[oid[n]] = n
    }
    close(DATA)
}
function less(a, b,   x, y, na, nb, i) {
    na = split(a, x, "."); nb = split(b, y, ".")
    for (i = 2; i <= na && i <= nb; i++) if (x[i] + 0 != y[i] + 0) return x[i] + 0 < y[i] + 0
    return na < nb
}
function answer(i) {
    if (i >= 1 && i <= n) printf "%s\n%s\n%s\n", oid[i], type[i], value[i]
    else print "NONE"
    fflush()
}
function after(asked,   lo, hi, mid) {
    if (asked in at) return at[asked] + 1
    lo = 1; hi = n + 1
    while (lo < hi) { mid = int((lo + hi) / 2); if (less(asked, oid[mid])) hi = mid; else lo = mid + 1 }
    return lo
}
BEGIN { loaded = "-" }
{
    if ($0 == "PING") { print "PONG"; fflush(); next }
    if ($0 == "get" || $0 == "getnext") {
        command = $0
        if ((getline asked) <= 0) exit
        if (substr(asked, 1, 1) != ".") asked = "." asked
        reload()
        if (command == "get") answer((asked in at) ? at[asked] : 0)
        else answer(after(asked))
        next
    }
    if ($0 == "set") { getline; getline; print "not-writable"; fflush(); next }
    print "NONE"; fflush()
}
)awk";

}  // namespace tb58mon
