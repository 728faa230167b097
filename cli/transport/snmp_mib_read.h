// A printer's MIB over SNMP for snmp://: one GET of the single objects
// (device ID, sysDescr, Host Resources objects, serial number, page count),
// then GETBULK walks (GETNEXT for SNMPv1) of the Printer MIB columns the
// monitor reads, all columns side by side in each request.  Bounded in
// rows (kMaxMibRows per column), bytes, requests and time (the one
// deadline): a hostile agent yields what could be read, never more.
#pragma once

#include <asio/io_context.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "transport/snmp_exchange.h"

namespace tb58mon {

struct MibReading {
    bool answered = false;           // the agent answered the first request
    std::string error;               // why not: "SNMP did not answer (udp:...)", ...
    std::vector<MibBinding> bindings;
    std::string note;                // what was left unread: "the walk stopped: ..."
};

// Value bytes a reading keeps at most, and requests a walk sends at most.
constexpr size_t kMaxMibBytes = 256 * 1024;
constexpr size_t kMaxWalkRequests = 64;

class SnmpMibRead {
public:
    virtual ~SnmpMibRead() = default;
    virtual void Cancel() = 0;  // done is never called
};

// Starts the read on io (from the loop's thread); done is called once, on
// the loop's thread, by the deadline -- unless Cancel comes first.
std::shared_ptr<SnmpMibRead> StartPrinterMibRead(asio::io_context& io, const SnmpTarget& target, Deadline deadline,
                                                 std::function<void(MibReading)> done);

}  // namespace tb58mon
