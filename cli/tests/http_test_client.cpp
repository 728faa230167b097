#include "http_test_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

namespace tb58mon::test {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Whether the text holds a whole answer: its head, and as many bytes of
// body as its Content-Length says.
bool WholeAnswer(std::string_view text) {
    const auto answer = ParseAnswer(text);
    if (!answer) return false;
    const std::string length = answer->get_header_value("Content-Length");
    const size_t body = text.size() - text.find("\r\n\r\n") - 4;
    return !length.empty() && body >= std::stoul(length);
}

}  // namespace

std::string HttpAnswer::get_header_value(const std::string& name) const {
    const auto at = headers.find(Lower(name));
    return at == headers.end() ? std::string() : at->second;
}

RawConnection::RawConnection(unsigned port) {
    socket_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(socket_);
        socket_ = -1;
    }
}

RawConnection::~RawConnection() {
    if (socket_ >= 0) close(socket_);
}

bool RawConnection::Send(std::string_view bytes) {
    if (socket_ < 0) return false;
    while (!bytes.empty()) {
        pollfd ready{socket_, POLLOUT, 0};
        if (poll(&ready, 1, 5000) != 1) return false;
        const ssize_t sent = send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

std::string RawConnection::ReadToEnd(std::chrono::milliseconds deadline) {
    return Read(deadline, false);
}

std::string RawConnection::ReadAnswer(std::chrono::milliseconds deadline) {
    return Read(deadline, true);
}

std::string RawConnection::Read(std::chrono::milliseconds deadline, bool one_answer) {
    std::string received;
    if (socket_ < 0) return received;
    const auto end = Clock::now() + deadline;
    char buffer[16384];
    while (!one_answer || !WholeAnswer(received)) {
        pollfd ready{socket_, POLLIN, 0};
        if (poll(&ready, 1, RemainingMs(end)) != 1) break;
        const ssize_t got = recv(socket_, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        received.append(buffer, static_cast<size_t>(got));
    }
    return received;
}

bool RawConnection::ClosedWithin(std::chrono::milliseconds deadline) {
    if (socket_ < 0) return true;
    const auto end = Clock::now() + deadline;
    char buffer[4096];
    while (true) {
        pollfd ready{socket_, POLLIN, 0};
        const int events = poll(&ready, 1, RemainingMs(end));
        if (events == 0) return false;
        if (events < 0) return errno == EINTR ? Clock::now() >= end : true;
        const ssize_t got = recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return true;
    }
}

std::optional<HttpAnswer> ParseAnswer(std::string_view response) {
    const size_t head_end = response.find("\r\n\r\n");
    if (head_end == std::string_view::npos || !response.starts_with("HTTP/1.")) return std::nullopt;
    HttpAnswer answer;
    const size_t space = response.find(' ');
    if (space == std::string_view::npos || space + 4 > head_end) return std::nullopt;
    answer.status = std::stoi(std::string(response.substr(space + 1, 3)));
    size_t line = response.find("\r\n") + 2;
    while (line < head_end) {
        const size_t next = response.find("\r\n", line);
        const std::string_view field = response.substr(line, next - line);
        const size_t colon = field.find(':');
        if (colon != std::string_view::npos) {
            std::string value(field.substr(colon + 1));
            value.erase(0, value.find_first_not_of(' '));
            answer.headers[Lower(std::string(field.substr(0, colon)))] = value;
        }
        line = next + 2;
    }
    answer.body = std::string(response.substr(head_end + 4));
    const auto length = answer.headers.find("content-length");
    if (length != answer.headers.end() && answer.body.size() > std::stoul(length->second)) {
        answer.body.resize(std::stoul(length->second));
    }
    return answer;
}

std::optional<HttpAnswer> Exchange(unsigned port, std::string_view request, std::chrono::milliseconds deadline) {
    RawConnection connection(port);
    if (!connection.connected()) return std::nullopt;
    connection.Send(request);  // the answer may come before the whole body went out
    return ParseAnswer(connection.ReadAnswer(deadline));
}

std::optional<HttpAnswer> TestClient::Get(const std::string& target, const std::string& extra_headers) const {
    return Exchange(port_, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) +
                               "\r\nConnection: close\r\n" + extra_headers + "\r\n");
}

std::optional<HttpAnswer> TestClient::Post(const std::string& target, const std::string& body,
                                           const std::string& content_type) const {
    return Exchange(port_, "POST " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) +
                               "\r\nConnection: close\r\nContent-Type: " + content_type +
                               "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
}

size_t ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) return std::stoul(line.substr(6));
    }
    return 0;
}

}  // namespace tb58mon::test
