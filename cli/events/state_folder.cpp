#include "events/state_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/cli_error.h"

namespace tb58mon {
namespace {

void CheckDirectory(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) {
        throw Failure("cannot use the state folder " + path + ": " + std::strerror(errno));
    }
    if (S_ISLNK(status.st_mode)) {
        throw BadArgument("the state folder " + path + " is a symbolic link: give the folder itself");
    }
    if (!S_ISDIR(status.st_mode)) throw BadArgument("the state folder " + path + " is not a directory");
}

}  // namespace

StateFolder::StateFolder(const std::string& path) : path_(path) {
    if (path.empty()) throw BadArgument("--state-dir needs a folder");
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        throw Failure("cannot make the state folder " + path + ": " + std::strerror(errno));
    }
    CheckDirectory(path);
    const std::string lock_file = path + "/lock";
    lock_ = open(lock_file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
    if (lock_ < 0) throw Failure("cannot open " + lock_file + ": " + std::strerror(errno));
    struct stat status {};
    if (fstat(lock_, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(lock_);
        throw Failure("cannot use " + lock_file + ": not a regular file");
    }
    if (flock(lock_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(lock_);
        if (error == EWOULDBLOCK) {
            throw Failure("the state folder " + path + " is in use by another tb58mon serve: give each its own --state-dir");
        }
        throw Failure("cannot lock " + lock_file + ": " + std::strerror(error));
    }
}

StateFolder::~StateFolder() { close(lock_); }

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
                        static_cast<int64_t>(status.st_size),
                        static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

}  // namespace tb58mon
