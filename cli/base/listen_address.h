// The HOST:PORT of a service that tb58mon offers (simulate, serve).
#pragma once

#include <string>

namespace tb58mon {

struct ListenAddress {
    std::string host;
    unsigned port = 0;  // 0: any free port
};

// HOST:PORT; an IPv6 host in brackets ("[::1]:9100").  Throws BadArgument
// naming the option.
ListenAddress ParseListen(const std::string& text);

// "host:port", an IPv6 host in brackets.
std::string HostPort(const std::string& host, unsigned port);

}  // namespace tb58mon
