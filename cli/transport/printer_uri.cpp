#include "transport/printer_uri.h"

#include <charconv>
#include <memory>

#include "base/cli_error.h"
#include "sim/scenario_library.h"
#include "transport/sim_transport.h"
#include "transport/transport.h"

namespace tb58mon {
namespace {

constexpr std::string_view kForms = "socket://HOST[:PORT], usb:///dev/usb/lpN or sim:SCENARIO";

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_';
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

PrinterUri ParsePrinterUri(std::string_view uri) {
    PrinterUri parsed;
    if (uri.starts_with("socket://")) {
        parsed.scheme = UriScheme::kSocket;
        std::string_view rest = uri.substr(9);
        if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
        std::string_view port_text;
        bool has_port = false;
        if (rest.starts_with("[")) {
            const size_t close = rest.find(']');
            if (close == std::string_view::npos) throw BadUri(uri, "an IPv6 address needs its closing ']'");
            parsed.host = std::string(rest.substr(1, close - 1));
            rest = rest.substr(close + 1);
            has_port = rest.starts_with(":");
            if (has_port) port_text = rest.substr(1);
            else if (!rest.empty()) throw BadUri(uri, "unexpected text after the address");
        } else {
            const size_t colon = rest.find(':');
            parsed.host = std::string(rest.substr(0, colon));
            has_port = colon != std::string_view::npos;
            if (has_port) port_text = rest.substr(colon + 1);
            for (char c : parsed.host) {
                if (!IsHostCharacter(c)) throw BadUri(uri, "the host name holds a character no host name has");
            }
        }
        if (parsed.host.empty()) throw BadUri(uri, "the host is missing");
        parsed.port = kDefaultPjlPort;
        if (has_port) {
            unsigned port = 0;
            const auto [end, error] = std::from_chars(port_text.data(), port_text.data() + port_text.size(), port);
            if (port_text.empty() || error != std::errc() || end != port_text.data() + port_text.size() || port == 0 ||
                port > 65535) {
                throw BadUri(uri, "the port must be a number from 1 to 65535");
            }
            parsed.port = port;
        }
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
        case UriScheme::kUsb: return OpenUsbTransport(parsed.path, options);
        case UriScheme::kSim: break;
    }
    return OpenSimTransport(LoadScenario(parsed.path));
}

}  // namespace tb58mon
