#include "sim/agent_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "base/cli_error.h"

namespace tb58mon {
namespace {

constexpr const char* kLockName = "lock";

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1) {
        if (fd_ >= 0) close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// True when the entry name of parent is an agent folder no agent holds: a
// directory (not a link) of this user whose lock can be taken, or that has
// no lock file and is older than kLocklessFolderAge.  lock keeps the lock
// taken until the caller has removed the folder.
bool IsStale(int parent, const char* name, Descriptor& lock) {
    struct stat entry {};
    if (fstatat(parent, name, &entry, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISDIR(entry.st_mode) || entry.st_uid != geteuid()) return false;
    const Descriptor folder(openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    if (folder.get() < 0 || fstat(folder.get(), &opened) != 0) return false;
    if (opened.st_dev != entry.st_dev || opened.st_ino != entry.st_ino) return false;
    lock.reset(openat(folder.get(), kLockName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (lock.get() < 0) {
        return errno == ENOENT && std::time(nullptr) - opened.st_mtime > kLocklessFolderAge.count();
    }
    return flock(lock.get(), LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

AgentFolder::AgentFolder(const std::string& parent) {
    std::string pattern = parent + "/" + std::string(kAgentFolderPrefix) + "XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw Failure("cannot create a folder for the SNMP agent in " + parent + ": " + std::strerror(errno));
    }
    path_ = pattern;
    // Locked under another name first, so that a cleaner never finds the
    // lock file before it is locked.
    const std::string lock = path_ + "/" + kLockName;
    const std::string unlocked = lock + ".new";
    lock_ = open(unlocked.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock_ < 0 || flock(lock_, LOCK_EX | LOCK_NB) != 0 || rename(unlocked.c_str(), lock.c_str()) != 0) {
        const std::string cause = std::strerror(errno);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        if (lock_ >= 0) close(lock_);
        throw Failure("cannot lock " + lock + ": " + cause);
    }
}

AgentFolder::~AgentFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    close(lock_);
}

size_t RemoveStaleAgentFolders(const std::string& parent) {
    DIR* listing = opendir(parent.c_str());
    if (listing == nullptr) return 0;
    const int parent_fd = dirfd(listing);
    size_t removed = 0;
    while (const dirent* entry = readdir(listing)) {
        const std::string_view name(entry->d_name);
        if (!name.starts_with(kAgentFolderPrefix) || name.size() == kAgentFolderPrefix.size()) continue;
        Descriptor lock;
        if (!IsStale(parent_fd, entry->d_name, lock)) continue;
        std::error_code error;
        std::filesystem::remove_all(parent + "/" + std::string(name), error);
        if (!error) ++removed;
    }
    closedir(listing);
    return removed;
}

}  // namespace tb58mon
