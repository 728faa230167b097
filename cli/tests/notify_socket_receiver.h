// The service manager's end of NOTIFY_SOCKET for a test: a datagram socket
// of its own in the test's folder that collects what the service says.
#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace tb58mon::test {

class NotifySocketReceiver {
public:
    explicit NotifySocketReceiver(std::string path) : path_(std::move(path)) {
        fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path_.size() >= sizeof address.sun_path) return;
        std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);
        if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~NotifySocketReceiver() {
        if (fd_ >= 0) ::close(fd_);
        ::unlink(path_.c_str());
    }
    NotifySocketReceiver(const NotifySocketReceiver&) = delete;
    NotifySocketReceiver& operator=(const NotifySocketReceiver&) = delete;

    bool ready() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    const std::vector<std::string>& messages() const { return messages_; }

    // Takes messages until one satisfies wanted (returned), or until most
    // has passed (empty).
    std::string WaitFor(const std::function<bool(const std::string&)>& wanted, std::chrono::milliseconds most) {
        const auto end = std::chrono::steady_clock::now() + most;
        while (fd_ >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd readable{fd_, POLLIN, 0};
            if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[4096];
            const ssize_t size = ::recv(fd_, buffer, sizeof buffer, 0);
            if (size < 0) continue;
            messages_.emplace_back(buffer, static_cast<size_t>(size));
            if (wanted(messages_.back())) return messages_.back();
        }
        return {};
    }

    // A message that holds the line.
    std::string WaitForLine(const std::string& line, std::chrono::milliseconds most) {
        return WaitFor([&line](const std::string& message) { return HasLine(message, line); }, most);
    }

    static bool HasLine(const std::string& message, const std::string& line) {
        return ("\n" + message + "\n").find("\n" + line + "\n") != std::string::npos;
    }

private:
    std::string path_;
    int fd_ = -1;
    std::vector<std::string> messages_;
};

}  // namespace tb58mon::test
