// The SNMP side of the simulated network printer: Debian's snmpd, run as a
// child process with a configuration of its own, publishing the printer's
// device ID (an OCTET STRING) under kDeviceIdOid and nothing else.
//
// snmpd reads the object through its "pass_persist" directive: a small
// shell script in the agent's temporary directory answers each request with
// the value held in a file there, which SetDeviceId rewrites atomically, so
// the agent answers the newest device ID without being restarted.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <sys/types.h>

#include "sim/agent_folder.h"

namespace tb58mon {

// The device ID object of the printer MIB.
constexpr std::string_view kDeviceIdOid = "1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1";
constexpr std::string_view kSnmpdPath = "/usr/sbin/snmpd";

class SnmpAgent {
public:
    // Starts snmpd on udp HOST:PORT alone (an IPv4 address; "public" may
    // read from 127.0.0.0/8 only when HOST is a loopback address, from
    // anywhere otherwise) and waits until it is bound.  Its folder (see
    // sim/agent_folder.h) is locked while it runs; the first agent of a
    // process removes the folders that killed agents left behind.  Throws Failure when snmpd is
    // not installed, the port is taken, or the agent does not start within
    // a few seconds.
    //
    // The agent is stopped when the thread that started it ends (the child
    // is told so by the kernel), so start it from a thread that outlives it.
    SnmpAgent(std::string host, unsigned port, const std::string& device_id);
    ~SnmpAgent();  // stops snmpd and deletes its folder
    SnmpAgent(const SnmpAgent&) = delete;
    SnmpAgent& operator=(const SnmpAgent&) = delete;

    // The value the agent answers from now on (line ends become blanks).
    // Thread-safe.  Throws Failure when the file cannot be written.
    void SetDeviceId(const std::string& device_id);
    // From now on the object is missing (noSuchInstance): a printer that
    // does not answer.  Thread-safe.
    void ClearDeviceId();

    const std::string& host() const { return host_; }
    unsigned port() const { return port_; }

private:
    void WriteValue(const std::string& text);
    void Start();
    void Stop();

    std::string host_;
    unsigned port_;
    std::unique_ptr<AgentFolder> folder_;  // locked while the agent lives
    std::string directory_;
    std::mutex write_mutex_;
    pid_t pid_ = -1;
};

}  // namespace tb58mon
