// Receivers of notices for the tests, on 127.0.0.1 only: a webhook
// receiver (libmicrohttpd, a thread per connection) that takes, refuses
// (500) or stalls as the test says and records what it was sent, and an
// SMTP receiver that takes every mail and records it.  Both stop when
// destroyed; every wait is bounded.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tb58mon::test {

struct ReceivedHook {
    std::string idempotency_key;
    std::string content_type;
    std::string extra_header;  // X-Test, when sent
    std::string body;
};

class WebhookReceiver {
public:
    // kStream: 200 with a body that never ends.
    enum class Mode { kTake, kRefuse, kStall, kStream };

    // port 0: any free port (then port() tells it).  With a certificate and
    // its key (PEM), HTTPS.
    explicit WebhookReceiver(unsigned port = 0, const std::string& cert_pem = "", const std::string& key_pem = "");
    ~WebhookReceiver();
    WebhookReceiver(const WebhookReceiver&) = delete;
    WebhookReceiver& operator=(const WebhookReceiver&) = delete;

    unsigned port() const { return port_; }
    std::string Url() const { return (tls_ ? "https" : "http") + std::string("://127.0.0.1:") + std::to_string(port_) + "/hook"; }
    void SetMode(Mode mode);

    // The requests taken (answered 200) and all requests seen.
    std::vector<ReceivedHook> Taken() const;
    size_t Seen() const;
    // Waits until count requests were taken, at most for wait.
    bool WaitTaken(size_t count, std::chrono::milliseconds wait) const;
    bool WaitSeen(size_t count, std::chrono::milliseconds wait) const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
    unsigned port_ = 0;
    bool tls_ = false;
};

class SmtpReceiver {
public:
    SmtpReceiver();
    ~SmtpReceiver();
    SmtpReceiver(const SmtpReceiver&) = delete;
    SmtpReceiver& operator=(const SmtpReceiver&) = delete;

    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }
    // Each mail's data (without the final dot line).
    std::vector<std::string> Mails() const;
    std::vector<std::string> Recipients() const;
    bool WaitMails(size_t count, std::chrono::milliseconds wait) const;

private:
    void Serve();
    void Talk(int client);
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    unsigned port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> mails_;
    std::vector<std::string> recipients_;
};

}  // namespace tb58mon::test
