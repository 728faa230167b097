// The temporary folders of the SNMP agents of 'simulate'.  Each agent works
// in a folder of its own, tb58mon-snmpd-XXXXXX, and holds an exclusive lock
// (flock) on the file "lock" in it for its whole life.  A simulate that was
// killed leaves its folder behind; the next one removes such folders when it
// starts: only its own user's, only real folders (never a link of that
// name), and only those whose lock it can take (no live agent, of this
// process or another, holds it).
#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>
#include <string>

namespace tb58mon {

constexpr std::string_view kAgentFolderPrefix = "tb58mon-snmpd-";

// A folder without a lock file is an agent's only in the moment between
// creating the folder and its lock: one older than this was left behind.
constexpr std::chrono::seconds kLocklessFolderAge{60};

class AgentFolder {
public:
    // Creates tb58mon-snmpd-XXXXXX in parent (mode 0700) and locks it.
    // Throws Failure naming the cause.
    explicit AgentFolder(const std::string& parent);
    ~AgentFolder();  // removes the folder, then lets go of the lock
    AgentFolder(const AgentFolder&) = delete;
    AgentFolder& operator=(const AgentFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    int lock_ = -1;
};

// Removes the agent folders in parent that no agent holds (see above) and
// returns how many it removed.  Never throws: a folder it cannot look at or
// remove is left as it is.
size_t RemoveStaleAgentFolders(const std::string& parent);

}  // namespace tb58mon
