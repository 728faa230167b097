// The device ID over the network: an SNMP GET of the Port Monitor MIB
// object ppmPrinterIEEE1284DeviceId for the printer's first port
// (1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1), through net-snmp's client library.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace tb58mon {

struct SnmpReading {
    bool ok = false;
    std::string value;  // the device ID text
    std::string error;  // why there is none: no answer, no such object, ...
};

// One GET, SNMP version "1" or "2c", with timeout for the whole request
// (one retry within it).  Safe to call from several threads at once.
SnmpReading ReadDeviceIdOverSnmp(std::string_view host, unsigned port, std::string_view community,
                                 std::string_view version, std::chrono::milliseconds timeout);

}  // namespace tb58mon
