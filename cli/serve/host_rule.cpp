#include "serve/host_rule.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <optional>

#include "base/cli_error.h"

namespace tb58mon {
namespace {

constexpr size_t kLongestName = 253;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
}

std::optional<in_addr> Ipv4(const std::string& text) {
    in_addr address{};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1) return std::nullopt;
    return address;
}

std::optional<in6_addr> Ipv6(const std::string& text) {
    in6_addr address{};
    if (inet_pton(AF_INET6, text.c_str(), &address) != 1) return std::nullopt;
    return address;
}

bool IsLoopbackIpv4(const in_addr& address) {
    return (ntohl(address.s_addr) >> 24) == 127;
}

bool IsLoopbackIpv6(const in6_addr& address) {
    if (IN6_IS_ADDR_LOOPBACK(&address)) return true;
    return IN6_IS_ADDR_V4MAPPED(&address) && address.s6_addr[12] == 127;
}

// The host of a Host header value, lower case, an IPv6 address in its
// brackets, a trailing dot dropped; nothing when the value is malformed
// (a bad name, a port that is not 1 to 5 digits, stray characters).
std::optional<std::string> HostOfHeader(std::string_view value) {
    if (value.empty() || value.size() > kLongestName + 8) return std::nullopt;
    std::string_view host = value;
    std::string_view rest;
    if (value.front() == '[') {
        const size_t close = value.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = value.substr(0, close + 1);
        rest = value.substr(close + 1);
        if (!Ipv6(std::string(host.substr(1, host.size() - 2)))) return std::nullopt;
    } else {
        const size_t colon = value.find(':');
        if (colon != std::string_view::npos) {
            host = value.substr(0, colon);
            rest = value.substr(colon);
        }
    }
    if (!rest.empty()) {
        const std::string_view port = rest.substr(1);
        if (rest.front() != ':' || port.empty() || port.size() > 5 ||
            !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
    }
    std::string name = Lower(host);
    if (name.front() == '[') return name;
    if (name.size() > 1 && name.back() == '.') name.pop_back();
    if (name.empty() || name.size() > kLongestName || !std::all_of(name.begin(), name.end(), IsNameCharacter)) {
        return std::nullopt;
    }
    return name;
}

// localhost, 127.x.y.z or [::1], as HostOfHeader gives them.
bool IsLoopbackName(const std::string& host) {
    if (host == "localhost") return true;
    if (host.front() == '[') {
        const auto address = Ipv6(host.substr(1, host.size() - 2));
        return address && IsLoopbackIpv6(*address);
    }
    const auto address = Ipv4(host);
    return address && IsLoopbackIpv4(*address);
}

}  // namespace

bool IsLoopbackHost(std::string_view host) {
    std::string text = Lower(host);
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') text = text.substr(1, text.size() - 2);
    if (text == "localhost") return true;
    if (const auto v4 = Ipv4(text)) return IsLoopbackIpv4(*v4);
    if (const auto v6 = Ipv6(text)) return IsLoopbackIpv6(*v6);
    return false;
}

HostRule HostRuleFor(std::string_view listen_host, const std::vector<std::string>& allow_hosts) {
    HostRule rule;
    rule.check = IsLoopbackHost(listen_host) || !allow_hosts.empty();
    rule.allowed = allow_hosts;
    return rule;
}

std::string NormalizeAllowHost(std::string_view name) {
    std::string text = Lower(name);
    if (text.find(':') != std::string::npos && text.front() != '[') text = "[" + text + "]";
    const auto host = HostOfHeader(text);
    const bool with_port = !text.empty() && text.front() == '[' && text.back() != ']';
    if (!host || with_port) {
        throw BadArgument("--allow-host takes a host name or address without a port, not '" + std::string(name) + "'");
    }
    return *host;
}

bool HostAllowed(std::string_view host_header, const HostRule& rule) {
    if (!rule.check) return true;
    const auto host = HostOfHeader(host_header);
    if (!host) return false;
    if (IsLoopbackName(*host)) return true;
    return std::find(rule.allowed.begin(), rule.allowed.end(), *host) != rule.allowed.end();
}

}  // namespace tb58mon
