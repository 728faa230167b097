// tb58mon simulate: the simulated printer as a network printer, until
// Ctrl-C, SIGTERM, --run-for or the end of a timed script.  Every event is
// one line with the time of day, flushed at once (the output may be a pipe
// another program reads).

#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "base/cli_error.h"
#include "base/listen_address.h"
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


Clock::duration Seconds(double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// One line when the printer can be reached from other machines.
void WarnBeyondLoopback(EventLog& log, const NetworkPrinter& printer, const std::string& where) {
    if (printer.loopback_only()) return;
    log.Line("warning: listening on " + where + ", beyond loopback: other machines can reach the simulated printer" +
             std::string(printer.snmp_port() != 0 ? " and its SNMP agent" : ""));
}

constexpr size_t kLargestSnmpRows = 20000;

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
    if (f.delay_ms < 0 || f.delay_ms > 600000) throw BadArgument("--delay takes 0 to 600000 milliseconds");
    if (f.snmp_rows > kLargestSnmpRows) throw BadArgument("--snmp-rows takes at most 20000 rows");
}

// A fleet: printer i (from 1) serves scenario i of the built-in ones, in
// turn, on the port after printer i-1's; some printers get a fault switch:
// every tenth from the 7th trickles, from the 8th sends unsolicited status,
// from the 9th sends NUL/EOT; every 25th stalls (it never finishes a reply);
// with plain_fleet none does.
void RunFleet(const SimulateOptions& options, std::ostream& out) {
    constexpr size_t kLargestFleet = 5000;
    if (options.fleet > kLargestFleet) throw BadArgument("--fleet takes at most 5000 printers");
    if (options.silent > options.fleet) throw BadArgument("--silent takes at most as many printers as --fleet");
    if (!options.script.empty() || !options.scenario.empty() || !options.scenario_file.empty()) {
        throw BadArgument("--fleet chooses the scenarios itself: give no --scenario, --scenario-file or --script");
    }
    const ListenAddress listen = ParseListen(options.listen);
    if (listen.port != 0 && listen.port + options.fleet - 1 > 65535) throw BadArgument("--fleet: the ports run past 65535");
    if (options.snmp_port != 0 && options.snmp_port + options.fleet - 1 > 65535) {
        throw BadArgument("--fleet: the SNMP ports run past 65535");
    }
    EventLog log(out);
    const StopSignals signals;
    const auto files = EmbeddedScenarioFiles();
    std::vector<std::unique_ptr<NetworkPrinter>> printers;
    std::string fleet_file = "# The simulated fleet of 'tb58mon simulate --fleet " + std::to_string(options.fleet) + "'\n";
    for (size_t i = 1; i <= options.fleet && !StopSignals::Requested().load(); ++i) {
        Scenario scenario = ParseScenario(files[(i - 1) % files.size()].name, files[(i - 1) % files.size()].text);
        NetworkPrinterConfig config;
        config.listen_host = listen.host;
        config.listen_port = listen.port == 0 ? 0 : listen.port + static_cast<unsigned>(i - 1);
        config.snmp_port = options.snmp_port == 0 ? 0 : options.snmp_port + static_cast<unsigned>(i - 1);
        config.faults = options.faults;
        if (!options.plain_fleet) {
            if (i % 10 == 7) config.faults.trickle = true;
            if (i % 10 == 8) config.faults.ustatus = true;
            if (i % 10 == 9) config.faults.nul_prefix = true;
            if (i % 25 == 0) config.faults.stall_after = 200;
        }
        const bool silent = i > options.fleet - options.silent;
        if (silent) config.faults.stall_after = 0;
        std::string number = std::to_string(i);
        if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
        const std::string name = "printer-" + number + "-" + (silent ? "silent" : scenario.name);
        printers.push_back(std::make_unique<NetworkPrinter>(std::move(scenario), config));
        const NetworkPrinter& printer = *printers.back();
        if (i == 1) WarnBeyondLoopback(log, printer, listen.host);
        fleet_file += "\n[[printer]]\nname = \"" + name + "\"\nuri = \"socket://" + HostPort(listen.host, printer.pjl_port()) +
                      "\"\n";
        fleet_file += printer.snmp_port() != 0 ? "snmp_port = " + std::to_string(printer.snmp_port()) + "\n" : "snmp = false\n";
        const std::string faults = DescribeFaults(config.faults);
        log.Line(name + " on " + HostPort(listen.host, printer.pjl_port()) +
                 (printer.snmp_port() != 0 ? ", SNMP on udp " + std::to_string(printer.snmp_port()) : "") +
                 (faults.empty() ? "" : ", faults: " + faults));
    }
    if (!options.write_config.empty()) {
        std::ofstream file(options.write_config, std::ios::binary);
        file << fleet_file;
        if (!file.flush()) throw Failure("cannot write " + options.write_config);
        log.Line("fleet file written: " + options.write_config);
    }
    log.Line("serving a fleet of " + std::to_string(printers.size()) + " printers");
    const auto end = options.run_for > 0 ? Clock::now() + Seconds(options.run_for) : Clock::time_point::max();
    while (!StopSignals::Requested().load() && Clock::now() < end) std::this_thread::sleep_for(kTick * 5);
    log.Line(StopSignals::Requested().load() ? "stopped by a signal" : "stopped");
}


// The scenarios a run serves, read before the printer starts, so that a
// wrong name stops the command at once: the first one, and each a script
// names (a script may name the scenario file by its name).
struct ServedScenarios {
    Scenario first;
    std::map<std::string, Scenario> by_name;
};

ServedScenarios LoadServedScenarios(const SimulateOptions& options, const std::vector<ScriptStep>& steps) {
    ServedScenarios served;
    std::optional<Scenario> from_file;
    if (!options.scenario_file.empty()) from_file = LoadScenarioFile(options.scenario_file);
    for (const ScriptStep& step : steps) {
        if (step.off || served.by_name.contains(step.scenario)) continue;
        served.by_name.emplace(step.scenario, from_file && from_file->name == step.scenario
                                                  ? *from_file
                                                  : LoadScenario(step.scenario));
    }
    const auto first_step = std::find_if(steps.begin(), steps.end(), [](const ScriptStep& s) { return !s.off; });
    if (first_step != steps.end()) {
        served.first = served.by_name.at(first_step->scenario);
    } else if (from_file) {
        served.first = *from_file;
    } else {
        served.first = LoadScenario(options.scenario.empty() ? kDefaultScenario : options.scenario);
    }
    return served;
}

// Follows the script's steps until it ends, run_for seconds pass or a
// signal comes; returns how it stopped.
std::string FollowScript(NetworkPrinter& printer, const std::vector<ScriptStep>& steps,
                         const std::map<std::string, Scenario>& scenarios, double run_for, bool on, EventLog& log) {
    const auto start = Clock::now();
    const auto end = run_for > 0 ? start + Seconds(run_for) : Clock::time_point::max();
    size_t step = 0;
    auto step_end = steps.empty() || steps[0].seconds < 0 ? Clock::time_point::max() : start + Seconds(steps[0].seconds);
    while (true) {
        if (StopSignals::Requested().load()) return "stopped by a signal";
        const auto now = Clock::now();
        if (now >= end) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%g", run_for);
            return "stopped after " + std::string(seconds) + " s";
        }
        if (now >= step_end) {
            if (step + 1 >= steps.size()) return "script ended";
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
}

}  // namespace

void RunSimulate(const SimulateOptions& options, std::ostream& out) {
    CheckOptions(options);
    if (options.fleet > 0) return RunFleet(options, out);
    if (options.silent > 0) throw BadArgument("--silent goes with --fleet");
    const ListenAddress listen = ParseListen(options.listen);
    const std::vector<ScriptStep> steps = options.script.empty() ? std::vector<ScriptStep>() : ParseSimScript(options.script);
    ServedScenarios served = LoadServedScenarios(options, steps);

    EventLog log(out);
    const StopSignals signals;
    NetworkPrinterConfig config;
    config.listen_host = listen.host;
    config.listen_port = listen.port;
    config.snmp_port = options.snmp_port;
    config.faults = options.faults;
    config.available = steps.empty() || !steps.front().off;
    config.on_event = [&log](const std::string& line) { log.Line(line); };
    const std::string first_name = served.first.name;
    NetworkPrinter printer(std::move(served.first), config);

    std::string serving = "serving scenario " + first_name + " on " + HostPort(listen.host, printer.pjl_port());
    if (printer.snmp_port() != 0) {
        serving += ", its MIB over SNMP on udp " + HostPort(printer.snmp_host(), printer.snmp_port());
    }
    const std::string faults = DescribeFaults(options.faults);
    if (!faults.empty()) serving += ", faults: " + faults;
    log.Line(serving);
    WarnBeyondLoopback(log, printer, HostPort(listen.host, printer.pjl_port()));
    if (!config.available) log.Line("switched off");
    log.Line(FollowScript(printer, steps, served.by_name, options.run_for, config.available, log));
}

Command AddSimulateCommand(CLI::App& app, std::ostream& out, std::ostream&) {
    const auto options = std::make_shared<SimulateOptions>();
    SimulateOptions& simulate = *options;
    CLI::App* simulate_command = app.add_subcommand(
        "simulate", "serve a simulated printer on the network: PJL on TCP, its MIB over SNMP");
    simulate_command->add_option("--listen", simulate.listen, "HOST:PORT of the PJL service")->capture_default_str();
    simulate_command->add_option("--scenario", simulate.scenario,
                                 "the printer, by name (default " + std::string(kDefaultScenario) + ")");
    simulate_command->add_option("--scenario-file", simulate.scenario_file, "the printer from a scenario file");
    simulate_command->add_option("--snmp-port", simulate.snmp_port,
                                 "serve the printer's MIB over SNMP on this UDP port (needs snmpd)");
    simulate_command->add_option("--script", simulate.script,
                                 "timed changes, e.g. all-well:10,jam-tray2-lct:10,off:5,all-well "
                                 "(scenario or off, and seconds)");
    simulate_command->add_option("--run-for", simulate.run_for, "stop after this many seconds");
    simulate_command->add_option("--fleet", simulate.fleet,
                                 "serve this many printers with varied scenarios and some faults, on "
                                 "consecutive ports from --listen (and --snmp-port)");
    simulate_command->add_flag("--plain", simulate.plain_fleet, "with --fleet: no printer gets a fault switch");
    simulate_command->add_option("--silent", simulate.silent,
                                 "with --fleet: the last N printers take every query and never answer");
    simulate_command->add_option("--write-config", simulate.write_config,
                                 "with --fleet: write a fleet file for 'tb58mon serve --config'");
    FaultSwitches& f = simulate.faults;
    simulate_command->add_flag("--trickle", f.trickle, "fault: one byte per write");
    simulate_command->add_flag("--no-ff", f.no_ff, "fault: answers without form feeds");
    simulate_command->add_option("--stall-after", f.stall_after, "fault: send N bytes of a reply, then nothing");
    simulate_command->add_option("--drop-after", f.drop_after, "fault: send N bytes of a reply, then close");
    simulate_command->add_flag("--refuse", f.refuse, "fault: refuse every connection");
    simulate_command->add_flag("--garbage", f.garbage, "fault: noise instead of the answers");
    simulate_command->add_option("--huge", f.huge, "fault: N extra bytes in every reply");
    simulate_command->add_flag("--ustatus", f.ustatus, "fault: unsolicited status sections between answers");
    simulate_command->add_flag("--nul-prefix", f.nul_prefix,
                               "fault: NUL and EOT bytes before the reply and after each form feed");
    simulate_command->add_option("--delay", f.delay_ms, "fault: wait N milliseconds before each reply");
    simulate_command->add_flag("--snmp-silent", f.snmp_silent, "SNMP fault: the agent answers nothing at all");
    simulate_command->add_option("--snmp-rows", f.snmp_rows,
                                 "SNMP fault: the tray and supplies tables hold N rows each");
    simulate_command->add_flag("--snmp-wrong-types", f.snmp_wrong_types,
                               "SNMP fault: strings where numbers belong and numbers where strings do");
    simulate_command->add_flag("--snmp-extreme", f.snmp_extreme,
                               "SNMP fault: negative and huge numbers (-5, 2147483647, 4294967295)");
    return {simulate_command, [options, &out] {
        RunSimulate(*options, out);
        return kExitSuccess;
    }};
}

}  // namespace tb58mon
