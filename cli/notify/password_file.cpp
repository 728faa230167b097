#include "notify/password_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/cli_error.h"

namespace tb58mon {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

CliError Cannot(const std::string& path, const std::string& why) {
    return Failure("cannot use the password file " + path + ": " + why);
}

}  // namespace

std::string ReadPasswordFile(const std::string& path) {
    // O_NONBLOCK: a FIFO in its place is refused below, never waited on.
    const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) throw Cannot(path, std::strerror(errno));
    struct stat status {};
    if (fstat(file.get(), &status) != 0) throw Cannot(path, std::strerror(errno));
    if (!S_ISREG(status.st_mode)) throw Cannot(path, "not a regular file");
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        throw Cannot(path, "its group or others may use it (chmod 600 " + path + ")");
    }
    if (status.st_size > static_cast<off_t>(kLargestPasswordFile)) throw Cannot(path, "larger than 4096 bytes");
    std::string text;
    char chunk[1024];
    while (text.size() <= kLargestPasswordFile) {
        const ssize_t got = read(file.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw Cannot(path, std::strerror(errno));
        if (got == 0) break;
        text.append(chunk, static_cast<size_t>(got));
    }
    if (text.size() > kLargestPasswordFile) throw Cannot(path, "larger than 4096 bytes");
    std::string password = text.substr(0, text.find('\n'));
    if (!password.empty() && password.back() == '\r') password.pop_back();
    if (password.empty()) throw Cannot(path, "its first line is empty");
    const bool clean = std::none_of(password.begin(), password.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    if (!clean) throw Cannot(path, "the password holds a control character");
    return password;
}

}  // namespace tb58mon
