// A small HTTP/1.1 client for the tests of the status service, over plain
// sockets to 127.0.0.1: whole requests as a browser sends them, and raw
// connections that send what a hostile client sends.  Every wait is
// bounded.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tb58mon::test {

struct HttpAnswer {
    int status = 0;
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
    std::string get_header_value(const std::string& name) const;
};

// One connection to 127.0.0.1:port.  Closes when destroyed.
class RawConnection {
public:
    explicit RawConnection(unsigned port);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return socket_ >= 0; }
    // False when the service closed or reset the connection.
    bool Send(std::string_view bytes);
    // Whatever arrives until the service closes the connection, at most
    // until the deadline.
    std::string ReadToEnd(std::chrono::milliseconds deadline);
    // One whole answer (its head and Content-Length bytes, or up to the
    // close), at most until the deadline.
    std::string ReadAnswer(std::chrono::milliseconds deadline);
    // Whether the service closes the connection within the deadline.
    bool ClosedWithin(std::chrono::milliseconds deadline);

private:
    std::string Read(std::chrono::milliseconds deadline, bool one_answer);
    int socket_ = -1;
};

// Sends one request and reads the answer; nothing
// when there is none within the deadline.
std::optional<HttpAnswer> Exchange(unsigned port, std::string_view request,
                                   std::chrono::milliseconds deadline = std::chrono::seconds(5));

// The answer from the text of a whole response; nothing when malformed.
std::optional<HttpAnswer> ParseAnswer(std::string_view response);

// GET and POST as a browser sends them (Host: 127.0.0.1:port).
class TestClient {
public:
    explicit TestClient(unsigned port) : port_(port) {}
    std::optional<HttpAnswer> Get(const std::string& target, const std::string& extra_headers = "") const;
    std::optional<HttpAnswer> Post(const std::string& target, const std::string& body,
                                   const std::string& content_type) const;

private:
    unsigned port_;
};

// The resident memory of this process, in KiB (VmRSS).
size_t ResidentKiB();

}  // namespace tb58mon::test
