// The Windows build has no net-snmp (Debian has no MinGW-w64 package of it)
// and no USB printer class devices: there tb58mon polls sim: printers only.
#include "base/cli_error.h"
#include "transport/transport.h"

namespace tb58mon {

bool NetworkTransportsBuilt() { return false; }

std::unique_ptr<Transport> OpenSocketTransport(std::string_view, unsigned, const TransportOptions&) {
    throw BadArgument("socket:// printers are not supported by the Windows build of tb58mon; use the Linux build");
}

std::unique_ptr<Transport> OpenSnmpTransport(std::string_view, unsigned, const TransportOptions&) {
    throw BadArgument("snmp:// printers are not supported by the Windows build of tb58mon; use the Linux build");
}

std::unique_ptr<Transport> OpenUsbTransport(std::string_view, const TransportOptions&) {
    throw BadArgument("usb:// printers are not supported by the Windows build of tb58mon; use the Linux build");
}

}  // namespace tb58mon
