// The folder where 'serve' keeps its state (events.db and its WAL files):
// made when missing, refused when it is anything but a real directory, and
// held by one service at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tb58mon {

class StateFolder {
public:
    // Creates path (mode 0700; its parent must exist) when it does not
    // exist.  A path that is a symbolic link (even to a directory) or not a
    // directory is a bad argument (CliError, exit 2).  Then takes an
    // exclusive lock on path/lock (created 0600, never through a link) for
    // the object's life: a folder another service holds is a Failure.
    explicit StateFolder(const std::string& path);
    ~StateFolder();  // releases the lock
    StateFolder(const StateFolder&) = delete;
    StateFolder& operator=(const StateFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    int lock_ = -1;
};

// Which file a path names, and whether it changed: device, inode, size and
// modification time, without following a link.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modified_ns = 0;

    bool operator==(const FileIdentity&) const = default;
};

// nullopt when nothing is there.
std::optional<FileIdentity> IdentifyFile(const std::string& path);

}  // namespace tb58mon
