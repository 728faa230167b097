// ReplaceFileContents on POSIX systems: open(O_CREAT | O_EXCL | O_NOFOLLOW) of a
// random name, write, fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "base/cli_error.h"
#include "base/replace_file.h"

namespace tb58mon {
namespace {

constexpr int kAttempts = 16;

// "dir/" of "dir/name", "" for a bare name; the name after the last '/'.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string RandomSuffix(std::random_device& random) {
    char text[20];
    std::snprintf(text, sizeof text, "%08x%08x", random(), random());
    return text;
}

// The new file, open for writing; its name in partial.
int CreatePartial(const std::string& path, std::string& partial) {
    const std::string folder = FolderOf(path);
    const std::string name = path.substr(folder.size());
    std::random_device random;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        partial = folder + "." + name + "." + RandomSuffix(random) + ".partial";
        const int fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) return fd;
        if (errno != EEXIST) {
            const std::string where = folder.empty() ? "the current folder" : "the folder " + folder;
            throw Failure("cannot write " + path + ": cannot create a file in " + where + ": " + std::strerror(errno));
        }
    }
    throw Failure("cannot write " + path + ": no free temporary name beside it");
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.back() == '/') throw Failure("cannot write '" + path + "': not a file name");
    std::string partial;
    const int fd = CreatePartial(path, partial);
    bool done = WriteAll(fd, bytes) && fsync(fd) == 0;
    int error = done ? 0 : errno;
    if (close(fd) != 0 && done) {
        done = false;
        error = errno;
    }
    if (done && rename(partial.c_str(), path.c_str()) != 0) {
        done = false;
        error = errno;
    }
    if (!done) {
        unlink(partial.c_str());
        throw Failure("cannot write " + path + ": " + std::strerror(error));
    }
}

}  // namespace tb58mon
