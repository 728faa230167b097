// Which Host headers the status service answers.  A page on another site
// can make a browser send requests to the service on 127.0.0.1 under a
// name of that site's choosing (DNS rebinding); a service on a loopback
// address therefore answers only requests for a loopback name, and the
// names given with --allow-host.
//
//   loopback names   localhost, 127.x.y.z, [::1], each with or without :PORT
//   no Host header   answered (HTTP/1.0)
//
// On any other listen address the Host is not checked, unless --allow-host
// names hosts: then only those and the loopback names are answered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tb58mon {

struct HostRule {
    bool check = false;
    std::vector<std::string> allowed;  // lower case, IPv6 in brackets, no port
};

// True for localhost, 127.0.0.0/8 and ::1 (also IPv4-mapped), as a listen
// host is written (IPv6 without brackets).
bool IsLoopbackHost(std::string_view host);

// The rule for a service on listen_host with these --allow-host names
// (already normalised).
HostRule HostRuleFor(std::string_view listen_host, const std::vector<std::string>& allow_hosts);

// A --allow-host value in the form the rule compares: lower case, an IPv6
// address in brackets.  Throws BadArgument for anything but a host name or
// an address (a port, a path, spaces, an empty name).
std::string NormalizeAllowHost(std::string_view name);

// Whether a request with this Host header value may be answered.
bool HostAllowed(std::string_view host_header, const HostRule& rule);

}  // namespace tb58mon
