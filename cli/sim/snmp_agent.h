// The SNMP side of the simulated network printer: Debian's snmpd, run as a
// child process with a configuration of its own, serving a list of variable
// bindings (the printer's MIB, see sim/scenario_mib.h) below sysDescr, the
// Host Resources MIB, the Printer MIB and the Port Monitor MIB, and nothing
// else (snmpd's own objects in those subtrees are switched off).
//
// snmpd reads the objects through its "pass_persist" directive: an awk
// program per subtree (sim/mib_responder.h) answers each request from a
// file in the agent's temporary directory, which SetBindings replaces
// atomically, so the agent answers the newest values without being
// restarted, and a walk of thousands of objects costs no process per
// request.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "mib/mib_binding.h"
#include "sim/agent_folder.h"

namespace tb58mon {

// The device ID object of the printer MIB.
constexpr std::string_view kDeviceIdOid = "1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1";
constexpr std::string_view kSnmpdPath = "/usr/sbin/snmpd";

// True when a UDP socket of this machine is bound to the port, on any
// address (read from /proc/net/udp and /proc/net/udp6).
bool UdpPortBound(unsigned port);

class SnmpAgent {
public:
    // Starts snmpd on udp HOST:PORT alone (an IPv4 address; "public" may
    // read from 127.0.0.0/8 only when HOST is a loopback address, from
    // anywhere otherwise) and waits until it is bound.  Its folder (see
    // sim/agent_folder.h) is locked while it runs; the first agent of a
    // process removes the folders that killed agents left behind.  Throws Failure when snmpd or
    // mawk is not installed, the port is taken, or the agent does not start within
    // a few seconds.
    //
    // The agent is stopped when the thread that started it ends (the child
    // is told so by the kernel), so start it from a thread that outlives it.
    SnmpAgent(std::string host, unsigned port, const std::string& device_id);
    // The same, serving the bindings (see SetBindings).
    SnmpAgent(std::string host, unsigned port, const std::vector<MibBinding>& bindings);
    ~SnmpAgent();  // stops snmpd and deletes its folder
    SnmpAgent(const SnmpAgent&) = delete;
    SnmpAgent& operator=(const SnmpAgent&) = delete;

    // What the agent answers from now on: these bindings, in OID order
    // (those outside the served subtrees are never asked for).
    // Thread-safe.  Throws Failure when the file cannot be written.
    void SetBindings(const std::vector<MibBinding>& bindings);
    // From now on the agent serves the device ID alone (line ends become
    // blanks).
    void SetDeviceId(const std::string& device_id);
    // From now on every object is missing (noSuchInstance): a printer that
    // does not answer.  Thread-safe.
    void ClearDeviceId();
    // true: snmpd is stopped (SIGSTOP) and answers nothing at all, requests
    // time out; false: it answers again.  Thread-safe.
    void SetSilent(bool silent);

    const std::string& host() const { return host_; }
    unsigned port() const { return port_; }

private:
    void WriteData(const std::string& data);
    void Start();
    // Waits until snmpd has bound its port; throws when it ended or took too long.
    void WaitUntilBound(const std::string& log);
    void Stop();

    std::string host_;
    unsigned port_;
    std::unique_ptr<AgentFolder> folder_;  // locked while the agent lives
    std::string directory_;
    std::mutex write_mutex_;
    unsigned long generation_ = 0;  // the stamp of the data file
    bool silent_ = false;
    pid_t pid_ = -1;
};

}  // namespace tb58mon
