#include "sim/snmp_agent.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "base/cli_error.h"
#include "sim/agent_folder.h"
#include "sim/mib_responder.h"

extern char** environ;

namespace tb58mon {
namespace {

using Clock = std::chrono::steady_clock;

// The subtrees snmpd hands to the responders: sysDescr, the Host Resources
// MIB, the Printer MIB and the Port Monitor MIB.
constexpr std::string_view kServedSubtrees[] = {
    ".1.3.6.1.2.1.1.1", ".1.3.6.1.2.1.25", ".1.3.6.1.2.1.43", ".1.3.6.1.4.1.2699.1.2",
};
// snmpd's own modules that would answer in those subtrees (the machine's
// system description, storage, devices and processes), and SMUX, which
// would listen on TCP port 199 of every address (when run as root).
constexpr std::string_view kModulesLeftOut =
    "-smux,system_mib,hr_system,hrh_storage,hr_device,hr_other,hr_proc,hr_network,hr_print,hr_disk,"
    "hr_partition,hrh_filesys,hrSWRunTable,hrSWRunPerfTable,hrSWInstalledTable";
constexpr auto kStartLimit = std::chrono::seconds(3);
constexpr auto kStopLimit = std::chrono::seconds(2);
constexpr auto kPollStep = std::chrono::milliseconds(10);

// A directory for temporary files whose name needs no quoting in the
// configuration and the responders' arguments: TMPDIR when it is plain, /tmp
// otherwise.
std::string TemporaryParent() {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir == nullptr || *tmpdir != '/') return "/tmp";
    for (const char* c = tmpdir; *c != '\0'; ++c) {
        const bool plain = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') ||
                           *c == '/' || *c == '.' || *c == '_' || *c == '-';
        if (!plain) return "/tmp";
    }
    return tmpdir;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) throw Failure("cannot write " + path);
}


std::string LastLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::string last;
    while (std::getline(file, line)) {
        if (!line.empty()) last = line;
    }
    return last;
}

// snmpd's configuration: it listens on the one address it was given; on a
// loopback address it also answers local requests only.  (Not the plain
// "pass": snmpd keeps what a pass program printed for some seconds, so new
// values would show late.)
std::string AgentConfiguration(const std::string& host, unsigned port, const std::string& directory,
                               const std::string& program) {
    const bool loopback = host.starts_with("127.");
    std::string text = "agentAddress udp:" + host + ":" + std::to_string(port) + "\n";
    for (std::string_view subtree : kServedSubtrees) text += "view printer included " + std::string(subtree) + "\n";
    text += "rocommunity public " + std::string(loopback ? "127.0.0.0/8" : "default") + " -V printer\n";
    text += "dontLogTCPWrappersConnects yes\n";
    for (std::string_view subtree : kServedSubtrees) {
        text += "pass_persist " + std::string(subtree) + " " + std::string(kMawkPath) + " -W interactive -v PREFIX=" +
                std::string(subtree) + " -v DATA=" + directory + "/mib -v STAMP=" + directory + "/stamp -f " +
                program + "\n";
    }
    return text;
}

std::string DescribeExit(int status) {
    if (WIFEXITED(status)) return "exit code " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
}

}  // namespace

// True when a UDP socket of this machine is bound to the port, on any
// address: the lines of /proc/net/udp and /proc/net/udp6 hold the local
// address as HEX:PORT in hexadecimal.
bool UdpPortBound(unsigned port) {
    char wanted[8];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    for (const char* table : {"/proc/net/udp", "/proc/net/udp6"}) {
        std::ifstream file(table);
        std::string line;
        std::getline(file, line);  // the column titles
        while (std::getline(file, line)) {
            std::istringstream fields(line);
            std::string slot;
            std::string local;
            fields >> slot >> local;
            if (local.size() > 5 && local.compare(local.size() - 5, 5, wanted) == 0) return true;
        }
    }
    return false;
}

namespace {

std::vector<MibBinding> DeviceIdBindings(const std::string& device_id) {
    if (device_id.empty()) return {};
    MibBinding binding;
    binding.oid = mib_oid::kPpmPrinterIEEE1284DeviceId;
    binding.type = MibType::kOctets;
    binding.text = device_id;
    for (char& c : binding.text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return {binding};
}

}  // namespace

SnmpAgent::SnmpAgent(std::string host, unsigned port, const std::string& device_id)
    : SnmpAgent(std::move(host), port, DeviceIdBindings(device_id)) {}

SnmpAgent::SnmpAgent(std::string host, unsigned port, const std::vector<MibBinding>& bindings)
    : host_(std::move(host)), port_(port) {
    if (access(std::string(kSnmpdPath).c_str(), X_OK) != 0) {
        throw Failure("snmpd is not installed: apt-get install snmpd");
    }
    if (access(std::string(kMawkPath).c_str(), X_OK) != 0) {
        throw Failure("mawk is not installed: apt-get install mawk");
    }
    in_addr address{};
    if (inet_pton(AF_INET, host_.c_str(), &address) != 1) {
        throw Failure("the SNMP agent needs an IPv4 address, not '" + host_ + "'");
    }
    if (port_ == 0 || port_ > 65535) throw Failure("the SNMP agent needs a port from 1 to 65535");
    if (UdpPortBound(port_)) throw Failure("udp port " + std::to_string(port_) + " is in use: no SNMP agent");

    // Folders that killed agents left behind go once per process, before
    // the first agent makes its own.
    static std::once_flag cleaned;
    std::call_once(cleaned, [] { RemoveStaleAgentFolders(TemporaryParent()); });
    folder_ = std::make_unique<AgentFolder>(TemporaryParent());
    directory_ = folder_->path();
    try {
        SetBindings(bindings);
        Start();
    } catch (...) {
        Stop();
        throw;
    }
}

SnmpAgent::~SnmpAgent() { Stop(); }

void SnmpAgent::SetBindings(const std::vector<MibBinding>& bindings) { WriteData(MibResponderData(bindings)); }

void SnmpAgent::SetDeviceId(const std::string& device_id) { SetBindings(DeviceIdBindings(device_id)); }

void SnmpAgent::ClearDeviceId() { SetBindings({}); }

void SnmpAgent::SetSilent(bool silent) {
    const std::lock_guard<std::mutex> lock(write_mutex_);
    if (silent == silent_ || pid_ <= 0) {
        silent_ = silent;
        return;
    }
    kill(pid_, silent ? SIGSTOP : SIGCONT);
    silent_ = silent;
}

void SnmpAgent::WriteData(const std::string& data) {
    // The data first, then the stamp: a responder that sees the new stamp
    // reads the new data (or newer).
    const std::lock_guard<std::mutex> lock(write_mutex_);
    const std::string path = directory_ + "/mib";
    const std::string stamp = directory_ + "/stamp";
    WriteFile(path + ".new", data);
    if (std::rename((path + ".new").c_str(), path.c_str()) != 0) {
        throw Failure("cannot replace " + path + ": " + std::strerror(errno));
    }
    WriteFile(stamp + ".new", std::to_string(++generation_) + "\n");
    if (std::rename((stamp + ".new").c_str(), stamp.c_str()) != 0) {
        throw Failure("cannot replace " + stamp + ": " + std::strerror(errno));
    }
}

namespace {

// snmpd's environment: this process's without the variables that steer
// net-snmp, with a persistent directory of its own and no MIB files.
std::vector<std::string> AgentEnvironment(const std::string& persistent) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        if (variable.starts_with("SNMP") || variable.starts_with("MIB")) continue;
        environment.emplace_back(variable);
    }
    environment.push_back("SNMP_PERSISTENT_DIR=" + persistent);
    environment.push_back("MIBS=");
    return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// The child after fork: only async-signal-safe calls.  It stops with the
// thread of the parent that started it, and is not in the parent's process
// group, so that Ctrl-C reaches the parent alone.
[[noreturn]] void ExecAgent(char* const* argv, char* const* envp, pid_t parent) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    setpgid(0, 0);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &standard, nullptr);
    sigaction(SIGINT, &standard, nullptr);
    sigaction(SIGPIPE, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
    }
    // No socket of the parent may live on in snmpd: a listener it kept
    // open would still take connections after the parent closed it.
    syscall(SYS_close_range, 3U, ~0U, 0U);
    execve(argv[0], argv, envp);
    _exit(127);
}

}  // namespace

void SnmpAgent::Start() {
    const std::string program = directory_ + "/responder.awk";
    // Not "snmpd.conf": snmpd writes a file of that name into its
    // persistent directory, which is a directory of its own below.
    const std::string config = directory_ + "/agent.conf";
    const std::string persistent = directory_ + "/persistent";
    if (mkdir(persistent.c_str(), 0700) != 0) {
        throw Failure("cannot create " + persistent + ": " + std::strerror(errno));
    }
    const std::string log = directory_ + "/snmpd.log";
    WriteFile(program, std::string(kMibResponderProgram));
    WriteFile(config, AgentConfiguration(host_, port_, directory_, program));

    // Everything the child needs is made before fork.
    std::vector<std::string> arguments = {std::string(kSnmpdPath), "-f", "-C", "-c", config, "-Lf", log,
                                          "-M", "/dev/null", "-I", std::string(kModulesLeftOut)};
    std::vector<std::string> environment = AgentEnvironment(persistent);
    const std::vector<char*> argv = Pointers(arguments);
    const std::vector<char*> envp = Pointers(environment);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) {
        pid_ = -1;
        throw Failure("cannot start snmpd: " + std::string(std::strerror(errno)));
    }
    if (pid_ == 0) ExecAgent(argv.data(), envp.data(), parent);
    WaitUntilBound(log);
}

void SnmpAgent::WaitUntilBound(const std::string& log) {
    const auto deadline = Clock::now() + kStartLimit;
    while (true) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            const std::string said = LastLine(log);
            throw Failure("snmpd did not start on udp " + host_ + ":" + std::to_string(port_) + " (" +
                          DescribeExit(status) + (said.empty() ? "" : ": " + said) + ")");
        }
        if (UdpPortBound(port_)) return;
        if (Clock::now() >= deadline) {
            throw Failure("snmpd did not bind udp " + host_ + ":" + std::to_string(port_) + " within 3 s");
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

void SnmpAgent::Stop() {
    if (pid_ > 0) {
        if (silent_) kill(pid_, SIGCONT);
        kill(pid_, SIGTERM);
        const auto deadline = Clock::now() + kStopLimit;
        int status = 0;
        bool gone = false;
        while (!gone && Clock::now() < deadline) {
            const pid_t waited = waitpid(pid_, &status, WNOHANG);
            gone = waited == pid_ || (waited < 0 && errno == ECHILD);
            if (!gone) std::this_thread::sleep_for(kPollStep);
        }
        if (!gone) {
            kill(pid_, SIGKILL);
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
        }
        pid_ = -1;
    }
    folder_.reset();
    directory_.clear();
}

}  // namespace tb58mon
