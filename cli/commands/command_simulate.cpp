// tb58mon simulate: the simulated printer as a network printer, until
// Ctrl-C, SIGTERM, --run-for or the end of a timed script.  Every event is
// one line with the time of day, flushed at once (the output may be a pipe
// another program reads).

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "base/cli_error.h"
#include "base/stop_signals.h"
#include "commands/commands.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"
#include "sim/sim_script.h"

namespace tb58mon {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kLargestHuge = 64 * 1024 * 1024;
constexpr auto kTick = std::chrono::milliseconds(20);

// Lines from the main thread and the server thread, one at a time.
class EventLog {
public:
    explicit EventLog(std::ostream& out) : out_(out) {}
    void Line(const std::string& text) {
        const auto now = std::chrono::system_clock::now();
        const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
        const auto millis =
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
        std::tm local{};
        localtime_r(&seconds, &local);
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                      static_cast<int>(millis));
        const std::lock_guard<std::mutex> lock(mutex_);
        out_ << stamp << " " << text << "\n";
        out_.flush();
    }

private:
    std::ostream& out_;
    std::mutex mutex_;
};

struct ListenAddress {
    std::string host;
    unsigned port = 0;
};

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

Clock::duration Seconds(double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

void CheckOptions(const SimulateOptions& options) {
    if (!std::isfinite(options.run_for) || options.run_for < 0) {
        throw BadArgument("--run-for takes seconds, 0 or more (0: until Ctrl-C)");
    }
    if (options.snmp_port > 65535) throw BadArgument("--snmp-port: " + std::to_string(options.snmp_port) + " is not a port");
    if (!options.scenario.empty() && !options.scenario_file.empty()) {
        throw BadArgument("give --scenario or --scenario-file, not both");
    }
    if (!options.script.empty() && !options.scenario.empty()) {
        throw BadArgument("give --scenario or --script, not both: the script names the scenarios");
    }
    const FaultSwitches& f = options.faults;
    if (f.stall_after < -1 || f.drop_after < -1) throw BadArgument("--stall-after and --drop-after take a byte count");
    if (f.huge > kLargestHuge) throw BadArgument("--huge takes at most 67108864 bytes");
}

}  // namespace

void RunSimulate(const SimulateOptions& options, std::ostream& out) {
    CheckOptions(options);
    const ListenAddress listen = ParseListen(options.listen);
    const std::vector<ScriptStep> steps = options.script.empty() ? std::vector<ScriptStep>() : ParseSimScript(options.script);

    // Every scenario is read before the printer starts, so that a wrong
    // name stops the command at once.  A script may name the scenario file
    // by its name.
    std::optional<Scenario> from_file;
    if (!options.scenario_file.empty()) from_file = LoadScenarioFile(options.scenario_file);
    std::map<std::string, Scenario> scenarios;
    for (const ScriptStep& step : steps) {
        if (step.off || scenarios.contains(step.scenario)) continue;
        scenarios.emplace(step.scenario, from_file && from_file->name == step.scenario ? *from_file
                                                                                         : LoadScenario(step.scenario));
    }
    Scenario first;
    const auto first_step = std::find_if(steps.begin(), steps.end(), [](const ScriptStep& s) { return !s.off; });
    if (first_step != steps.end()) {
        first = scenarios.at(first_step->scenario);
    } else if (from_file) {
        first = *from_file;
    } else {
        first = LoadScenario(options.scenario.empty() ? kDefaultScenario : options.scenario);
    }

    EventLog log(out);
    const StopSignals signals;
    NetworkPrinterConfig config;
    config.listen_host = listen.host;
    config.listen_port = listen.port;
    config.snmp_port = options.snmp_port;
    config.faults = options.faults;
    config.available = steps.empty() || !steps.front().off;
    config.on_event = [&log](const std::string& line) { log.Line(line); };
    const std::string first_name = first.name;
    NetworkPrinter printer(std::move(first), config);

    std::string serving = "serving scenario " + first_name + " on " + HostPort(listen.host, printer.pjl_port());
    if (printer.snmp_port() != 0) {
        serving += ", device ID over SNMP on udp " + HostPort(printer.snmp_host(), printer.snmp_port());
    }
    const std::string faults = DescribeFaults(options.faults);
    if (!faults.empty()) serving += ", faults: " + faults;
    log.Line(serving);
    if (!config.available) log.Line("switched off");

    const auto start = Clock::now();
    const auto end = options.run_for > 0 ? start + Seconds(options.run_for) : Clock::time_point::max();
    size_t step = 0;
    auto step_end = steps.empty() || steps[0].seconds < 0 ? Clock::time_point::max() : start + Seconds(steps[0].seconds);
    bool on = config.available;
    std::string stopped = "stopped";
    while (true) {
        if (StopSignals::Requested().load()) {
            stopped = "stopped by a signal";
            break;
        }
        const auto now = Clock::now();
        if (now >= end) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%g", options.run_for);
            stopped = "stopped after " + std::string(seconds) + " s";
            break;
        }
        if (now >= step_end) {
            if (step + 1 >= steps.size()) {
                stopped = "script ended";
                break;
            }
            const ScriptStep& next = steps[++step];
            step_end = next.seconds < 0 ? Clock::time_point::max() : step_end + Seconds(next.seconds);
            if (next.off) {
                if (on) {
                    printer.SetAvailable(false);
                    on = false;
                    log.Line("switched off");
                }
            } else {
                // A step starts its scenario afresh, even the one already served.
                printer.SetScenario(scenarios.at(next.scenario));
                log.Line("scenario now " + next.scenario);
                if (!on) {
                    printer.SetAvailable(true);
                    on = true;
                    log.Line("switched on");
                }
            }
            continue;
        }
        const auto next_event = std::min(end, step_end);
        std::this_thread::sleep_for(next_event - now < kTick ? next_event - now : Clock::duration(kTick));
    }
    log.Line(stopped);
}

}  // namespace tb58mon
