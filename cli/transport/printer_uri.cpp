#include "transport/printer_uri.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "base/cli_error.h"
#include "base/ip_literal.h"
#include "sim/scenario_library.h"
#include "transport/sim_transport.h"
#include "transport/transport.h"

namespace tb58mon {
namespace {

constexpr std::string_view kForms = "socket://HOST[:PORT], snmp://HOST[:PORT], usb:///dev/usb/lpN or sim:SCENARIO";

constexpr size_t kLongestHostName = 253;
constexpr size_t kLongestLabel = 63;

bool IsLabelCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// Why host (outside brackets) is no IPv4 address and no host name; empty
// when it is one.  A host name is labels of 1 to 63 letters, digits and
// '-' (not first or last) joined by dots, at most 253 characters, with one
// dot at the end allowed; a name of digits and dots alone must be an IPv4
// address (a resolver would read "10.1" or "3232235777" as one).
std::string HostProblem(std::string_view host) {
    if (host.empty()) return "the host is missing";
    if (host.find_first_not_of("0123456789.") == std::string_view::npos) {
        return IsIpv4Literal(host) ? "" : "the host is not an IPv4 address (four numbers from 0 to 255)";
    }
    if (host.back() == '.') host.remove_suffix(1);
    if (host.size() > kLongestHostName) return "the host name is longer than 253 characters";
    size_t start = 0;
    while (start <= host.size()) {
        const size_t dot = std::min(host.find('.', start), host.size());
        const std::string_view label = host.substr(start, dot - start);
        if (label.empty()) return "the host name has an empty label";
        if (label.size() > kLongestLabel) return "a label of the host name is longer than 63 characters";
        if (!std::all_of(label.begin(), label.end(), IsLabelCharacter)) {
            return "the host name holds a character no host name has (letters, digits, '-' and '.')";
        }
        if (label.front() == '-' || label.back() == '-') return "a label of the host name starts or ends with '-'";
        start = dot + 1;
    }
    return "";
}

// Why the text inside brackets is no IPv6 address; empty when it is one.
std::string BracketedHostProblem(std::string_view host) {
    if (host.find('%') != std::string_view::npos) return "zone ids (fe80::1%eth0) are not supported";
    if (!IsIpv6Literal(host)) return "only an IPv6 address stands in brackets";
    return "";
}

CliError BadUri(std::string_view uri, std::string_view why) {
    return BadArgument("bad printer URI '" + std::string(uri) + "': " + std::string(why) + " (give " +
                       std::string(kForms) + ")");
}

}  // namespace

std::string_view RoundOutcomeName(RoundOutcome outcome) {
    switch (outcome) {
        case RoundOutcome::kAnswered: return "answered";
        case RoundOutcome::kNoAnswer: return "no answer";
        case RoundOutcome::kRefused: return "connection refused";
        case RoundOutcome::kReset: return "connection reset";
        case RoundOutcome::kClosed: return "closed before the reply ended";
        case RoundOutcome::kTimedOut: return "timed out";
        case RoundOutcome::kTooLarge: return "reply too large";
        case RoundOutcome::kDeviceError: return "device error";
    }
    return "unknown";
}

namespace {

// Reads HOST[:PORT] (HOST an IPv4 address, a host name or [IPv6]) after a
// network scheme into parsed.
void ParseHostPort(std::string_view uri, std::string_view rest, unsigned default_port, PrinterUri& parsed) {
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    std::string_view port_text;
    bool has_port = false;
    if (rest.starts_with("[")) {
        const size_t close = rest.find(']');
        if (close == std::string_view::npos) throw BadUri(uri, "an IPv6 address needs its closing ']'");
        parsed.host = std::string(rest.substr(1, close - 1));
        if (const std::string problem = BracketedHostProblem(parsed.host); !problem.empty()) {
            throw BadUri(uri, problem);
        }
        rest = rest.substr(close + 1);
        has_port = rest.starts_with(":");
        if (has_port) port_text = rest.substr(1);
        else if (!rest.empty()) throw BadUri(uri, "unexpected text after the address");
    } else {
        const size_t colon = rest.find(':');
        parsed.host = std::string(rest.substr(0, colon));
        has_port = colon != std::string_view::npos;
        if (has_port) port_text = rest.substr(colon + 1);
        if (const std::string problem = HostProblem(parsed.host); !problem.empty()) throw BadUri(uri, problem);
    }
    parsed.port = default_port;
    if (has_port) {
        unsigned port = 0;
        const auto [end, error] = std::from_chars(port_text.data(), port_text.data() + port_text.size(), port);
        if (port_text.empty() || error != std::errc() || end != port_text.data() + port_text.size() || port == 0 ||
            port > 65535) {
            throw BadUri(uri, "the port must be a number from 1 to 65535");
        }
        parsed.port = port;
    }
}

}  // namespace

PrinterUri ParsePrinterUri(std::string_view uri) {
    PrinterUri parsed;
    if (uri.starts_with("socket://")) {
        parsed.scheme = UriScheme::kSocket;
        ParseHostPort(uri, uri.substr(9), kDefaultPjlPort, parsed);
        return parsed;
    }
    if (uri.starts_with("snmp://")) {
        parsed.scheme = UriScheme::kSnmp;
        ParseHostPort(uri, uri.substr(7), kDefaultSnmpPort, parsed);
        return parsed;
    }
    if (uri.starts_with("usb:")) {
        parsed.scheme = UriScheme::kUsb;
        std::string_view path = uri.substr(4);
        if (path.starts_with("//")) path.remove_prefix(2);
        if (!path.starts_with("/") || path.size() < 2) throw BadUri(uri, "give the device file, e.g. usb:///dev/usb/lp0");
        parsed.path = std::string(path);
        return parsed;
    }
    if (uri.starts_with("sim:")) {
        parsed.scheme = UriScheme::kSim;
        parsed.path = std::string(uri.substr(4));
        if (parsed.path.starts_with("//")) parsed.path.erase(0, 2);
        if (parsed.path.empty()) parsed.path = std::string(kDefaultScenario);
        return parsed;
    }
    throw BadUri(uri, "unknown kind of URI");
}

std::unique_ptr<Transport> OpenTransport(std::string_view uri, const TransportOptions& options) {
    const PrinterUri parsed = ParsePrinterUri(uri);
    switch (parsed.scheme) {
        case UriScheme::kSocket: return OpenSocketTransport(parsed.host, parsed.port, options);
        case UriScheme::kSnmp: return OpenSnmpTransport(parsed.host, parsed.port, options);
        case UriScheme::kUsb: return OpenUsbTransport(parsed.path, options);
        case UriScheme::kSim: break;
    }
    return OpenSimTransport(LoadScenario(parsed.path));
}

}  // namespace tb58mon
