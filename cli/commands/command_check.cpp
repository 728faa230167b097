// tb58mon check: one cycle against one printer, reported as a monitoring
// plugin reports: exit 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN, and one line
// "TB58 STATE - text | performance data" (more lines with -v).  Its command
// line is its own: a wrong one is UNKNOWN (3), never CRITICAL, and nothing
// it meets escapes as another exit code.
#include <CLI/CLI.hpp>

#include <chrono>
#include <new>

#include "base/cli_error.h"
#include "base/terminal_text.h"
#include "check/check_findings.h"
#include "check/check_result.h"
#include "commands/commands.h"
#include "transport/transport.h"

#ifndef TB58MON_VERSION
#define TB58MON_VERSION "unknown"
#endif

namespace tb58mon {
namespace {

struct CheckOptions {
    std::string uri;
    std::string hostname;
    std::string port;
    double timeout = 10;
    std::string community = "public";
    unsigned snmp_port = 161;
    bool no_snmp = false;
    std::optional<std::string> warning;  // given, even empty
    std::optional<std::string> critical;
    std::string offline = "critical";
    std::string lang = "EN";
    int verbosity = 0;
    bool version = false;
};

void AddCheckOptions(CLI::App& app, CheckOptions& o) {
    app.add_option("URI", o.uri, "the printer: socket://HOST[:PORT], snmp://HOST[:PORT], usb:///dev/usb/lpN or sim:SCENARIO");
    app.add_option("-H,--hostname", o.hostname, "the printer's host name or address (socket://HOST:PORT)");
    app.add_option("-p,--port", o.port, "with -H: the PJL port (default 9100)");
    app.add_option("-t,--timeout", o.timeout, "seconds the whole check may take")->capture_default_str();
    app.add_option("-C,--community", o.community, "SNMP community")->capture_default_str();
    app.add_option("--snmp-port", o.snmp_port, "SNMP UDP port")->capture_default_str();
    app.add_flag("--no-snmp", o.no_snmp, "socket://: do not read the device ID over SNMP");
    app.add_option("-w,--warning", o.warning, "WARNING range of the lowest tray level in percent, e.g. 20:");
    app.add_option("-c,--critical", o.critical, "CRITICAL range of the lowest tray level in percent, e.g. 5:");
    app.add_option("--offline", o.offline, "the state of a printer that does not answer: ok, warning or critical")
        ->capture_default_str();
    app.add_option("--lang", o.lang, "display language of the status texts")->capture_default_str();
    app.add_flag("-v,--verbose", o.verbosity, "more lines: the long status text; -vv also codes and trays");
    app.add_flag("-V,--version", o.version, "the version");
}

std::string CheckUri(const CheckOptions& o) {
    if (o.hostname.empty()) {
        if (o.uri.empty()) throw BadArgument("give the printer's URI or -H HOST");
        if (!o.port.empty()) throw BadArgument("-p goes with -H; give the port in the URI");
        return o.uri;
    }
    if (!o.uri.empty()) throw BadArgument("give either a URI or -H, not both");
    const bool ipv6 = o.hostname.find(':') != std::string::npos && !o.hostname.starts_with('[');
    const std::string host = ipv6 ? "[" + o.hostname + "]" : o.hostname;
    return "socket://" + host + (o.port.empty() ? "" : ":" + o.port);
}

CheckThresholds ReadThresholds(const CheckOptions& o) {
    CheckThresholds thresholds;
    const std::optional<CheckState> offline = CheckStateOfOption(o.offline);
    if (!offline) throw BadArgument("--offline must be ok, warning or critical");
    thresholds.offline = *offline;
    if (o.warning) {
        RangeParse parsed = ParseThresholdRange("-w", *o.warning);
        if (!parsed.range) throw BadArgument(parsed.error);
        thresholds.warning = std::move(parsed.range);
    }
    if (o.critical) {
        RangeParse parsed = ParseThresholdRange("-c", *o.critical);
        if (!parsed.range) throw BadArgument(parsed.error);
        thresholds.critical = std::move(parsed.range);
    }
    return thresholds;
}

int Check(const CheckOptions& o, std::ostream& out) {
    if (!(o.timeout >= 0.05) || o.timeout > 86400) throw BadArgument("-t must be a number of seconds from 0.05 to 86400");
    if (o.snmp_port == 0 || o.snmp_port > 65535) throw BadArgument("--snmp-port must be from 1 to 65535");
    const CheckThresholds thresholds = ReadThresholds(o);
    const std::string uri = CheckUri(o);
    SetLocale(o.lang);
    const uint32_t code_page = CodePageOfLanguage(o.lang);
    TransportOptions transport;
    transport.snmp = !o.no_snmp;
    transport.community = o.community;
    transport.snmp_port = o.snmp_port;
    const std::unique_ptr<Transport> printer = OpenTransport(uri, transport);

    OwnedRecord record;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int64_t>(o.timeout * 1000));
    const MonitorCycle cycle = RunMonitorCycle(record.get(), *printer, deadline);
    const CheckFindings findings = FindingsOfCycle(record.get(), cycle, code_page);
    const CheckState state = Worse(StatusState(findings, thresholds.offline), LevelState(findings, thresholds));
    out << CheckLine(findings, state, thresholds) << "\n";
    for (const std::string& line : VerboseLines(findings, o.verbosity)) out << line << "\n";
    return static_cast<int>(state);
}

int Unknown(std::ostream& out, std::string_view message) {
    out << "TB58 UNKNOWN - " << ShortenText(PluginText(message)) << "\n";
    return static_cast<int>(CheckState::kUnknown);
}

}  // namespace

int RunCheckCommand(int argc, const char* const* argv, std::ostream& out) {
    try {
        CheckOptions options;
        CLI::App app("tb58mon check: one look at a printer as Nagios, Icinga and their kin call a check.\n"
                     "Exit 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN (a wrong command line, an internal failure).",
                     "tb58mon check");
        AddCheckOptions(app, options);
        try {
            app.parse(argc, argv);
        } catch (const CLI::CallForHelp& e) {
            app.exit(e, out, out);
            return 0;
        } catch (const CLI::ParseError& e) {
            return Unknown(out, e.what());
        }
        if (options.version) {
            out << "tb58mon check " << TB58MON_VERSION << "\n";
            return 0;
        }
        return Check(options, out);
    } catch (const CliError& e) {
        return Unknown(out, e.what());
    } catch (const std::bad_alloc&) {
        return Unknown(out, "out of memory");
    } catch (const std::exception& e) {
        return Unknown(out, e.what());
    }
}

// Listed in tb58mon's help only: 'check' reads its own command line (above).
Command AddCheckCommand(CLI::App& app, std::ostream&, std::ostream&) {
    CLI::App* check_command =
        app.add_subcommand("check", "one look at a printer as a monitoring plugin: exit 0 OK, 1 WARNING, 2 CRITICAL, "
                                    "3 UNKNOWN (tb58mon check --help)");
    check_command->allow_extras();
    return {check_command, {}};
}

}  // namespace tb58mon
