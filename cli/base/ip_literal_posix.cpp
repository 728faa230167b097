// IP literals on POSIX systems: inet_pton.
#include <arpa/inet.h>

#include <string>

#include "base/ip_literal.h"

namespace tb58mon {
namespace {

constexpr size_t kLongestLiteral = 64;

bool Parses(int family, std::string_view text) {
    if (text.empty() || text.size() > kLongestLiteral || text.find('\0') != std::string_view::npos) return false;
    const std::string copy(text);
    unsigned char address[16];
    return inet_pton(family, copy.c_str(), address) == 1;
}

}  // namespace

bool IsIpv4Literal(std::string_view text) { return Parses(AF_INET, text); }

bool IsIpv6Literal(std::string_view text) { return Parses(AF_INET6, text); }

}  // namespace tb58mon
