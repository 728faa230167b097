// The device ID over the network: an SNMP GET of the Port Monitor MIB
// object ppmPrinterIEEE1284DeviceId for the printer's first port
// (1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1), through net-snmp's asynchronous
// single-session API, on an asio loop: the request costs a UDP socket and a
// timer while it waits, never a thread.
#pragma once

#include <asio/io_context.hpp>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "transport/snmp_exchange.h"

namespace tb58mon {

struct SnmpReading {
    bool ok = false;
    std::string value;  // the device ID text, up to its first zero byte
    std::string error;  // why there is none: "SNMP did not answer (udp:...)", no such object, ...
};

class SnmpDeviceIdRead {
public:
    virtual ~SnmpDeviceIdRead() = default;
    // Ends the request at once; done is never called.
    virtual void Cancel() = 0;
};

// Starts the GET on io (from the loop's thread).  done is called once, on
// the loop's thread, by the deadline -- unless Cancel comes first.  The
// request keeps itself alive while it runs.
std::shared_ptr<SnmpDeviceIdRead> StartSnmpDeviceIdRead(asio::io_context& io, const SnmpTarget& target,
                                                        Deadline deadline, std::function<void(SnmpReading)> done);

// The same GET on a loop of its own, for callers without one: returns by
// timeout.
SnmpReading ReadDeviceIdOverSnmp(const std::string& address, unsigned port, const std::string& community,
                                 const std::string& version, std::chrono::milliseconds timeout);

}  // namespace tb58mon
