// A UDP port on 127.0.0.1 that nothing uses at this moment, for the SNMP
// agents the tests start.
#pragma once

#include <asio.hpp>

namespace tb58mon {

inline unsigned FreeUdpPort() {
    asio::io_context io;
    asio::ip::udp::socket socket(io, asio::ip::udp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    return socket.local_endpoint().port();
}

}  // namespace tb58mon
