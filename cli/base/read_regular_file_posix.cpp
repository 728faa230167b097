// ReadRegularFile on POSIX systems: stat, then open without blocking
// (O_NONBLOCK: a FIFO that appeared in the meantime does not wait for a
// writer), fstat to see that the file opened is the regular file checked.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/cli_error.h"
#include "base/read_file.h"

namespace tb58mon {
namespace {

std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a file";
}

void CheckRegular(const std::string& path, const struct stat& status, size_t most) {
    if (!S_ISREG(status.st_mode)) {
        throw Failure("cannot read " + path + ": " + KindOf(status.st_mode) + ", not a regular file");
    }
    if (static_cast<uintmax_t>(status.st_size) > most) {
        throw Failure("cannot read " + path + ": larger than " + std::to_string(most) + " bytes");
    }
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::string ReadRegularFile(const std::string& path, size_t most) {
    struct stat before {};
    if (stat(path.c_str(), &before) != 0) throw Failure("cannot read " + path + ": " + std::strerror(errno));
    CheckRegular(path, before, most);
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw Failure("cannot read " + path + ": " + std::strerror(errno));
    const Descriptor file(fd);
    struct stat opened {};
    if (fstat(file.get(), &opened) != 0) throw Failure("cannot read " + path + ": " + std::strerror(errno));
    CheckRegular(path, opened, most);
    if (opened.st_dev != before.st_dev || opened.st_ino != before.st_ino) {
        throw Failure("cannot read " + path + ": it was replaced while being opened");
    }
    std::string text;
    char chunk[65536];
    while (true) {
        const ssize_t got = read(file.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw Failure("cannot read " + path + ": " + std::strerror(errno));
        if (got == 0) break;
        if (text.size() + static_cast<size_t>(got) > most) {
            throw Failure("cannot read " + path + ": larger than " + std::to_string(most) + " bytes");
        }
        text.append(chunk, static_cast<size_t>(got));
    }
    return text;
}

}  // namespace tb58mon
