// Device URIs: which transport, and where the printer is.
#pragma once

#include <string>
#include <string_view>

namespace tb58mon {

enum class UriScheme { kSocket, kSnmp, kUsb, kSim };

struct PrinterUri {
    UriScheme scheme = UriScheme::kSim;
    std::string host;   // socket, snmp: a host name, an IPv4 address or [IPv6]
    unsigned port = 0;  // socket: 9100 unless given; snmp: 161
    std::string path;   // usb: the device file; sim: the scenario name
};

constexpr unsigned kDefaultPjlPort = 9100;
constexpr unsigned kDefaultSnmpPort = 161;

// Reads socket://HOST[:PORT], snmp://HOST[:PORT], usb:///dev/usb/lpN (usb:/dev/usb/lpN too) and
// sim:NAME; throws BadArgument naming what is wrong.  HOST is an IPv4
// address, a host name (labels of letters, digits and '-' joined by dots,
// at most 253 characters) or an IPv6 address in brackets (no zone id).
PrinterUri ParsePrinterUri(std::string_view uri);

}  // namespace tb58mon
