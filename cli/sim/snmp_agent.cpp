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

extern char** environ;

namespace tb58mon {
namespace {

using Clock = std::chrono::steady_clock;

// The subtree snmpd hands to the script: the device ID column.
constexpr std::string_view kDeviceIdSubtree = "1.3.6.1.4.1.2699.1.2.1.2.1.1.3";
constexpr auto kStartLimit = std::chrono::seconds(3);
constexpr auto kStopLimit = std::chrono::seconds(2);
constexpr auto kPollStep = std::chrono::milliseconds(10);

// A directory for temporary files whose name needs no quoting in the
// configuration and the script: TMPDIR when it is plain, /tmp otherwise.
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

std::string LastLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::string last;
    while (std::getline(file, line)) {
        if (!line.empty()) last = line;
    }
    return last;
}

std::string DescribeExit(int status) {
    if (WIFEXITED(status)) return "exit code " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
}

}  // namespace

SnmpAgent::SnmpAgent(std::string host, unsigned port, const std::string& device_id)
    : host_(std::move(host)), port_(port) {
    if (access(std::string(kSnmpdPath).c_str(), X_OK) != 0) {
        throw Failure("snmpd is not installed: apt-get install snmpd");
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
        WriteValue(device_id);
        Start();
    } catch (...) {
        Stop();
        throw;
    }
}

SnmpAgent::~SnmpAgent() { Stop(); }

void SnmpAgent::SetDeviceId(const std::string& device_id) { WriteValue(device_id); }

void SnmpAgent::ClearDeviceId() { WriteValue(std::string()); }

void SnmpAgent::WriteValue(const std::string& text) {
    // One line: the script hands snmpd the first line of the file.  An
    // empty file means no object.
    std::string line = text;
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    if (!line.empty()) line += '\n';
    const std::lock_guard<std::mutex> lock(write_mutex_);
    const std::string path = directory_ + "/device_id";
    WriteFile(path + ".new", line);
    if (std::rename((path + ".new").c_str(), path.c_str()) != 0) {
        throw Failure("cannot replace " + path + ": " + std::strerror(errno));
    }
}

void SnmpAgent::Start() {
    const std::string script = directory_ + "/device-id.sh";
    // Not "snmpd.conf": snmpd writes a file of that name into its
    // persistent directory, which is a directory of its own below.
    const std::string config = directory_ + "/agent.conf";
    const std::string persistent = directory_ + "/persistent";
    if (mkdir(persistent.c_str(), 0700) != 0) {
        throw Failure("cannot create " + persistent + ": " + std::strerror(errno));
    }
    const std::string log = directory_ + "/snmpd.log";
    const std::string subtree = "." + std::string(kDeviceIdSubtree);
    const std::string oid = "." + std::string(kDeviceIdOid);
    // The script speaks snmpd's pass_persist protocol on its standard input
    // and output: "PING" is answered "PONG"; "get" and "getnext" come with
    // an OID on the next line and are answered with the OID, the type and
    // the value, or "NONE".  It reads the value file for every request.
    // (Not the plain "pass": snmpd keeps what a pass program printed for
    // some seconds, so a new device ID would show late.)
    WriteFile(script,
              "#!/bin/sh\n"
              "oid=" + oid + "\n"
              "subtree=" + subtree + "\n"
              "file='" + directory_ + "/device_id'\n"
              "answer() {\n"
              "  id=\n"
              "  [ -f \"$file\" ] && IFS= read -r id < \"$file\"\n"
              "  if [ -n \"$id\" ]; then printf '%s\\nstring\\n%s\\n' \"$oid\" \"$id\"; else echo NONE; fi\n"
              "}\n"
              "while IFS= read -r command; do\n"
              "  case \"$command\" in\n"
              "    PING) echo PONG ;;\n"
              "    get) read -r asked; if [ \"$asked\" = \"$oid\" ]; then answer; else echo NONE; fi ;;\n"
              "    getnext) read -r asked; if [ \"$asked\" = \"$subtree\" ]; then answer; else echo NONE; fi ;;\n"
              "    set) read -r asked; read -r value; echo not-writable ;;\n"
              "    *) echo NONE ;;\n"
              "  esac\n"
              "done\n");
    // The agent listens on the one address it was given; on a loopback
    // address it also answers local requests only.
    const bool loopback = host_.starts_with("127.");
    WriteFile(config,
              "agentAddress udp:" + host_ + ":" + std::to_string(port_) + "\n"
              "view printer included " + subtree + "\n"
              "rocommunity public " + (loopback ? "127.0.0.0/8" : "default") + " -V printer\n"
              "dontLogTCPWrappersConnects yes\n"
              "pass_persist " + subtree + " /bin/sh " + script + "\n");

    // Everything the child needs is made before fork: after it, only
    // async-signal-safe calls.
    // Without the SMUX module: it would listen on TCP port 199 of every
    // address (when run as root).
    std::vector<std::string> arguments = {std::string(kSnmpdPath), "-f", "-C", "-c", config, "-Lf", log,
                                          "-M", "/dev/null", "-I", "-smux"};
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        if (variable.starts_with("SNMP") || variable.starts_with("MIB")) continue;
        environment.emplace_back(variable);
    }
    environment.push_back("SNMP_PERSISTENT_DIR=" + persistent);
    environment.push_back("MIBS=");
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    const pid_t parent = getpid();

    pid_ = fork();
    if (pid_ < 0) {
        pid_ = -1;
        throw Failure("cannot start snmpd: " + std::string(std::strerror(errno)));
    }
    if (pid_ == 0) {
        // Stop with this thread of the parent; not in the parent's process
        // group, so that Ctrl-C reaches the parent alone.
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
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }

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
