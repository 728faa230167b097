// The simulated printer on the network, for 'tb58mon simulate' and the
// tests of the socket transport: PJL over TCP (a raw port like 9100) served
// by a background thread, and optionally its MIB over SNMP (an SnmpAgent
// serving sim/agent_bindings.h).
//
// Each connection reads a query until it is complete (a closing UEL after
// at least one "@PJL" line, or the peer closing its side) and answers it as
// SimulatedPrinter::ReplyTo does, then waits for the next query on the same
// connection.  A query must arrive within 10 s and stay under 1 MiB; a
// reply that makes no progress for 30 s (a client that does not read) is
// abandoned.  Many connections are served at once.
//
// The scenario's "answers" counts query rounds over all connections since
// the scenario was set: "first" answers the first round only, "none" never.
// A round that gets no answer is read whole and then the connection is
// closed without a byte, so the client sees the printer hang up at once
// rather than waiting for its deadline.
//
// The fault switches change how a reply goes out (see FaultSwitches):
// trickle (one byte per write, a short pause between), no-ff, stall-after N
// (N bytes, then silence while the client stays, at most 30 s), drop-after
// N (N bytes, then a normal close), refuse (no listener), garbage (noise in
// place of the answers, then the echo answer), huge N (an extra answer of N
// bytes before the echo answer), ustatus (an unsolicited status section
// after every form feed but the last), nul-prefix (NUL NUL EOT before the
// reply and after every form feed), delay N (N milliseconds before each
// reply).  The SNMP switches change what the agent serves (see
// sim/agent_bindings.h): snmp-silent, snmp-rows N, snmp-wrong-types,
// snmp-extreme.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "sim/fault_switches.h"
#include "sim/scenario.h"

namespace tb58mon {

struct NetworkPrinterConfig {
    std::string listen_host = "127.0.0.1";  // an address or a host name
    unsigned listen_port = 0;               // 0: any free port
    unsigned snmp_port = 0;                 // 0: no SNMP agent
    FaultSwitches faults;
    bool available = true;                  // false: starts switched off
    // One line per connection event ("connection 3 from 127.0.0.1:41234:
    // answered 5120 bytes"), called on the server thread; may be empty.
    std::function<void(const std::string&)> on_event;
};

// True for an address of 127.0.0.0/8, ::1 and ::ffff:127.0.0.0/104; false
// for any other address (0.0.0.0 and :: listen everywhere) and for a text
// that is no address.
bool IsLoopbackAddress(const std::string& address);

class NetworkPrinter {
public:
    // Starts serving.  Throws Failure when it cannot listen or the SNMP
    // agent does not start.  With the refuse switch (or switched off) the
    // port is bound once to fix its number and then closed.
    NetworkPrinter(Scenario scenario, NetworkPrinterConfig config);
    ~NetworkPrinter();  // stops the thread, closes every socket, stops the agent
    NetworkPrinter(const NetworkPrinter&) = delete;
    NetworkPrinter& operator=(const NetworkPrinter&) = delete;

    unsigned pjl_port() const;
    unsigned snmp_port() const;  // 0 without an agent
    std::string snmp_host() const;  // the agent's address; empty without one
    // True when the listener's address is a loopback address: only this
    // machine can reach the printer.
    bool loopback_only() const;

    // Thread-safe.  Queries read from now on are answered from the new
    // scenario (its rounds counted afresh); the SNMP agent's MIB follows.
    void SetScenario(Scenario scenario);
    // Thread-safe; replies started from now on use them, the SNMP agent
    // serves under them at once.  Turning refuse on closes the listener,
    // turning it off opens it again.
    void SetFaults(const FaultSwitches& faults);
    // false: the printer is switched off: the listener is closed (connects
    // are refused), open connections are closed, every SNMP object is missing.
    // true: listening again on the same port.  Thread-safe; done when it
    // returns.  Throws Failure when the port cannot be bound again.
    void SetAvailable(bool on);

    size_t connections() const;  // connections accepted so far

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// The switches that are on, by their option names ("trickle, drop-after
// 100"); empty when none is.
std::string DescribeFaults(const FaultSwitches& faults);

}  // namespace tb58mon
