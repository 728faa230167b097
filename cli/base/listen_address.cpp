#include "base/listen_address.h"

#include <algorithm>

#include "base/cli_error.h"

namespace tb58mon {

// HOST:PORT; an IPv6 host in brackets ("[::1]:9100").
ListenAddress ParseListen(const std::string& text) {
    const std::string usage = "--listen takes HOST:PORT, e.g. 127.0.0.1:9100, not '" + text + "'";
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) throw BadArgument(usage);
    ListenAddress address;
    address.host = text.substr(0, colon);
    if (address.host.size() >= 2 && address.host.front() == '[' && address.host.back() == ']') {
        address.host = address.host.substr(1, address.host.size() - 2);
    }
    const std::string port = text.substr(colon + 1);
    if (address.host.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) {
            return c >= '0' && c <= '9';
        })) {
        throw BadArgument(usage);
    }
    address.port = static_cast<unsigned>(std::stoul(port));
    if (address.port > 65535) throw BadArgument("--listen: " + port + " is not a port (0 to 65535)");
    return address;
}

std::string HostPort(const std::string& host, unsigned port) {
    const bool v6 = host.find(':') != std::string::npos;
    return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

}  // namespace tb58mon
