// Whether a text is an IP address written out (no name lookup).
#pragma once

#include <string_view>

namespace tb58mon {

// Four decimal numbers from 0 to 255 joined by dots ("192.0.2.10").
bool IsIpv4Literal(std::string_view text);

// An IPv6 address in any of its textual forms ("::1", "2001:db8::10",
// "::ffff:192.0.2.10"), without a zone ("fe80::1%eth0" is not one).
bool IsIpv6Literal(std::string_view text);

}  // namespace tb58mon
