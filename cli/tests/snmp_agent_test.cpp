// The SNMP agent of 'simulate' on this machine: it binds the one address it
// is given, and its temporary folders are removed after a simulate that was
// killed, never while an agent (of this process or another) uses them, and
// never through a link.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "sim/agent_folder.h"
#include "sim/network_printer.h"
#include "sim/snmp_agent.h"
#include "test_folder.h"
#include "transport/snmp_device_id.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

bool SnmpdInstalled() { return access(std::string(kSnmpdPath).c_str(), X_OK) == 0; }

unsigned FreeUdpPort() {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

// The local addresses (as /proc/net/udp writes them, HEX:PORT) of the UDP
// sockets of this machine bound to port, IPv4 and IPv6.
std::set<std::string> UdpBindings(unsigned port) {
    char wanted[8];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    std::set<std::string> found;
    for (const char* table : {"/proc/net/udp", "/proc/net/udp6"}) {
        std::ifstream file(table);
        std::string line;
        std::getline(file, line);
        while (std::getline(file, line)) {
            std::istringstream fields(line);
            std::string slot;
            std::string local;
            fields >> slot >> local;
            if (local.size() > 5 && local.compare(local.size() - 5, 5, wanted) == 0) found.insert(local);
        }
    }
    return found;
}

// The TCP sockets of this machine listening on port (state 0A in
// /proc/net/tcp and /proc/net/tcp6).
size_t TcpListeners(unsigned port) {
    char wanted[8];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    size_t count = 0;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream file(table);
        std::string line;
        std::getline(file, line);
        while (std::getline(file, line)) {
            std::istringstream fields(line);
            std::string slot;
            std::string local;
            std::string remote;
            std::string state;
            fields >> slot >> local >> remote >> state;
            if (state == "0A" && local.size() > 5 && local.compare(local.size() - 5, 5, wanted) == 0) ++count;
        }
    }
    return count;
}

// A folder as a simulate killed with SIGKILL leaves it: its files, and the
// lock file no process holds.
std::string LeftBehind(const TestFolder& parent, const std::string& suffix) {
    const std::string folder = parent / (std::string(kAgentFolderPrefix) + suffix);
    fs::create_directories(folder + "/persistent");
    std::ofstream(folder + "/device_id") << "MFG:X;\n";
    std::ofstream(folder + "/lock");
    return folder;
}

void MakeOld(const std::string& path) {
    const timeval old[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    utimes(path.c_str(), old);
}

TEST(AgentFolder, ALeftFolderGoesALiveOneStays) {
    const TestFolder parent;
    const std::string left = LeftBehind(parent, "Left01");
    std::string live_path;
    {
        const AgentFolder live(parent.path());
        live_path = live.path();
        EXPECT_TRUE(fs::is_directory(live_path));
        EXPECT_TRUE(fs::is_regular_file(live_path + "/lock"));
        EXPECT_EQ(RemoveStaleAgentFolders(parent.path()), 1u);
        EXPECT_FALSE(fs::exists(left));
        EXPECT_TRUE(fs::is_directory(live_path));
        EXPECT_EQ(RemoveStaleAgentFolders(parent.path()), 0u);
    }
    EXPECT_FALSE(fs::exists(live_path));  // an agent removes its own
}

TEST(AgentFolder, ALockHeldElsewhereKeepsTheFolder) {
    const TestFolder parent;
    const std::string held = LeftBehind(parent, "Held01");
    // Another agent's lock: another open file, as another process has it.
    const int fd = open((held + "/lock").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(RemoveStaleAgentFolders(parent.path()), 0u);
    EXPECT_TRUE(fs::exists(held + "/device_id"));
    close(fd);  // the agent's process ends
    EXPECT_EQ(RemoveStaleAgentFolders(parent.path()), 1u);
    EXPECT_FALSE(fs::exists(held));
}

TEST(AgentFolder, LinksFilesAndFoldersOfOthersAreLeftAlone) {
    const TestFolder parent;
    const TestFolder elsewhere;
    // A folder that looks left behind, reached only through a link of the prefix.
    const std::string target = LeftBehind(elsewhere, "Target");
    MakeOld(target);
    const std::string link = parent / (std::string(kAgentFolderPrefix) + "Link01");
    fs::create_directory_symlink(target, link);
    const std::string file = parent / (std::string(kAgentFolderPrefix) + "File01");
    std::ofstream(file) << "not a folder";
    const std::string other = parent / "tb58mon-other-Left01";
    fs::create_directory(other);
    std::ofstream(other + "/lock");
    const std::string bare = parent / std::string(kAgentFolderPrefix);
    fs::create_directory(bare);
    std::ofstream(bare + "/lock");
    EXPECT_EQ(RemoveStaleAgentFolders(parent.path()), 0u);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::exists(target + "/device_id"));
    EXPECT_TRUE(fs::exists(file));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::exists(bare));
    // A folder of another user (only root can make one here).
    if (geteuid() == 0) {
        const std::string foreign = LeftBehind(parent, "Other1");
        ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
        EXPECT_EQ(RemoveStaleAgentFolders(parent.path()), 0u);
        EXPECT_TRUE(fs::exists(foreign));
    }
}

// A folder without a lock file is new (its agent is locking it) until it
// is older than a minute.
TEST(AgentFolder, AFolderWithoutLockGoesOnlyWhenOld) {
    const TestFolder parent;
    const std::string young = parent / (std::string(kAgentFolderPrefix) + "Young1");
    fs::create_directory(young);
    EXPECT_EQ(RemoveStaleAgentFolders(parent.path()), 0u);
    EXPECT_TRUE(fs::exists(young));
    MakeOld(young);
    EXPECT_EQ(RemoveStaleAgentFolders(parent.path()), 1u);
    EXPECT_FALSE(fs::exists(young));
    EXPECT_EQ(RemoveStaleAgentFolders(parent / "missing"), 0u);
}

// A real agent: its folder survives a cleaner, and it answers on its one
// address alone.
TEST(AgentFolder, ALiveAgentKeepsItsFolderAndBindsOneAddress) {
    if (!SnmpdInstalled()) GTEST_SKIP() << "snmpd is not installed";
    const TestFolder parent;
    const char* before = std::getenv("TMPDIR");
    const std::string saved = before == nullptr ? "" : before;
    setenv("TMPDIR", parent.path().c_str(), 1);
    const unsigned port = FreeUdpPort();
    constexpr unsigned kSmuxPort = 199;
    const size_t smux_before = TcpListeners(kSmuxPort);
    {
        SnmpAgent agent("127.0.0.1", port, "MFG:A;");
        EXPECT_EQ(TcpListeners(kSmuxPort), smux_before);  // no SMUX on every address
        size_t folders = 0;
        for (const auto& entry : fs::directory_iterator(parent.path())) {
            folders += entry.path().filename().string().starts_with(kAgentFolderPrefix) ? 1 : 0;
        }
        EXPECT_EQ(folders, 1u);
        EXPECT_EQ(RemoveStaleAgentFolders(parent.path()), 0u);
        char loopback[16];
        std::snprintf(loopback, sizeof loopback, "0100007F:%04X", port);
        EXPECT_EQ(UdpBindings(port), std::set<std::string>{loopback});
        const SnmpReading reading = ReadDeviceIdOverSnmp("127.0.0.1", port, "public", "2c", 2000ms);
        EXPECT_EQ(reading.value, "MFG:A;") << reading.error;
    }
    EXPECT_TRUE(fs::is_empty(parent.path()));
    if (before == nullptr) {
        unsetenv("TMPDIR");
    } else {
        setenv("TMPDIR", saved.c_str(), 1);
    }
}

TEST(SimulateAddress, LoopbackAddressesAreKnown) {
    for (const char* loopback : {"127.0.0.1", "127.255.255.254", "127.0.0.0", "::1", "::ffff:127.0.0.1"}) {
        EXPECT_TRUE(IsLoopbackAddress(loopback)) << loopback;
    }
    for (const char* beyond : {"0.0.0.0", "::", "128.0.0.1", "126.255.255.255", "192.0.2.1", "10.0.0.1", "::2",
                               "::ffff:192.0.2.1", "fe80::1", "localhost", "", "127.0.0.1 "}) {
        EXPECT_FALSE(IsLoopbackAddress(beyond)) << beyond;
    }
}

}  // namespace
}  // namespace tb58mon
