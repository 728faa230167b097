#include "notice_receivers.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace tb58mon::test {

struct WebhookReceiver::Impl {
    MHD_Daemon* daemon = nullptr;
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    Mode mode = Mode::kTake;
    std::vector<ReceivedHook> taken;
    size_t seen = 0;
    bool stopping = false;

    struct Request {
        ReceivedHook hook;
    };

    static MHD_Result Answer(void* self, MHD_Connection* connection, const char*, const char*, const char*,
                             const char* upload, size_t* upload_size, void** state) {
        auto* impl = static_cast<Impl*>(self);
        if (*state == nullptr) {
            auto* request = new Request;
            const char* key = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "Idempotency-Key");
            const char* type = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "Content-Type");
            const char* extra = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, "X-Test");
            request->hook.idempotency_key = key ? key : "";
            request->hook.content_type = type ? type : "";
            request->hook.extra_header = extra ? extra : "";
            *state = request;
            return MHD_YES;
        }
        auto* request = static_cast<Request*>(*state);
        if (*upload_size > 0) {
            if (request->hook.body.size() < 1'000'000) request->hook.body.append(upload, *upload_size);
            *upload_size = 0;
            return MHD_YES;
        }
        Mode mode;
        {
            std::unique_lock lock(impl->mutex);
            ++impl->seen;
            mode = impl->mode;
            impl->changed.notify_all();
            if (mode == Mode::kStall) {
                // Until the client gives up (its timeout) or the receiver stops.
                impl->changed.wait_for(lock, std::chrono::seconds(20), [impl] { return impl->stopping; });
            }
            if (mode == Mode::kTake) impl->taken.push_back(request->hook);
            impl->changed.notify_all();
        }
        if (mode == Mode::kStream) {
            // Zeros for as long as the client reads (MHD_SIZE_UNKNOWN: chunked).
            MHD_Response* endless = MHD_create_response_from_callback(
                MHD_SIZE_UNKNOWN, 4096,
                [](void*, uint64_t, char* buffer, size_t most) -> ssize_t {
                    std::memset(buffer, 'x', most);
                    return static_cast<ssize_t>(most);
                },
                nullptr, nullptr);
            const MHD_Result queued = MHD_queue_response(connection, 200, endless);
            MHD_destroy_response(endless);
            return queued;
        }
        const unsigned status = mode == Mode::kTake ? 200 : 500;
        static const char kOk[] = "ok\n";
        static const char kNo[] = "not now\n";
        MHD_Response* response =
            MHD_create_response_from_buffer(mode == Mode::kTake ? 3 : 8, const_cast<char*>(mode == Mode::kTake ? kOk : kNo),
                                            MHD_RESPMEM_PERSISTENT);
        const MHD_Result queued = MHD_queue_response(connection, status, response);
        MHD_destroy_response(response);
        return queued;
    }

    static void Completed(void*, MHD_Connection*, void** state, MHD_RequestTerminationCode) {
        delete static_cast<Request*>(*state);
        *state = nullptr;
    }
};

WebhookReceiver::WebhookReceiver(unsigned port, const std::string& cert_pem, const std::string& key_pem)
    : impl_(std::make_unique<Impl>()), tls_(!cert_pem.empty()) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const unsigned flags = MHD_USE_THREAD_PER_CONNECTION | MHD_USE_INTERNAL_POLLING_THREAD | (tls_ ? MHD_USE_TLS : 0);
    impl_->daemon = MHD_start_daemon(flags, 0, nullptr, nullptr, &Impl::Answer, impl_.get(),
                                     MHD_OPTION_HTTPS_MEM_CERT, tls_ ? cert_pem.c_str() : nullptr,
                                     MHD_OPTION_HTTPS_MEM_KEY, tls_ ? key_pem.c_str() : nullptr, MHD_OPTION_SOCK_ADDR, &address,
                                     MHD_OPTION_LISTENING_ADDRESS_REUSE, 1u, MHD_OPTION_NOTIFY_COMPLETED,
                                     &Impl::Completed, nullptr, MHD_OPTION_CONNECTION_TIMEOUT, 30u, MHD_OPTION_END);
    if (impl_->daemon == nullptr) throw std::runtime_error("the webhook receiver did not start");
    port_ = MHD_get_daemon_info(impl_->daemon, MHD_DAEMON_INFO_BIND_PORT)->port;
}

WebhookReceiver::~WebhookReceiver() {
    {
        const std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
        impl_->changed.notify_all();
    }
    MHD_stop_daemon(impl_->daemon);
}

void WebhookReceiver::SetMode(Mode mode) {
    const std::lock_guard lock(impl_->mutex);
    impl_->mode = mode;
}

std::vector<ReceivedHook> WebhookReceiver::Taken() const {
    const std::lock_guard lock(impl_->mutex);
    return impl_->taken;
}

size_t WebhookReceiver::Seen() const {
    const std::lock_guard lock(impl_->mutex);
    return impl_->seen;
}

bool WebhookReceiver::WaitTaken(size_t count, std::chrono::milliseconds wait) const {
    std::unique_lock lock(impl_->mutex);
    return impl_->changed.wait_for(lock, wait, [&] { return impl_->taken.size() >= count; });
}

bool WebhookReceiver::WaitSeen(size_t count, std::chrono::milliseconds wait) const {
    std::unique_lock lock(impl_->mutex);
    return impl_->changed.wait_for(lock, wait, [&] { return impl_->seen >= count; });
}

SmtpReceiver::SmtpReceiver() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        pipe(wake_) != 0) {
        throw std::runtime_error("the SMTP receiver did not start");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

SmtpReceiver::~SmtpReceiver() {
    const char stop = 's';
    if (write(wake_[1], &stop, 1) != 1) {}
    thread_.join();
    close(listener_);
    close(wake_[0]);
    close(wake_[1]);
}

void SmtpReceiver::Serve() {
    for (;;) {
        pollfd waits[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(waits, 2, 30000) <= 0 || (waits[1].revents & POLLIN) != 0) return;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        Talk(client);
        close(client);
    }
}

// One SMTP session, one line at a time; at most 10 s of silence.
void SmtpReceiver::Talk(int client) {
    auto say = [client](const std::string& line) { return send(client, line.data(), line.size(), MSG_NOSIGNAL) >= 0; };
    std::string buffer;
    auto next_line = [&](std::string& line) {
        for (;;) {
            const size_t end = buffer.find("\r\n");
            if (end != std::string::npos) {
                line = buffer.substr(0, end);
                buffer.erase(0, end + 2);
                return true;
            }
            pollfd wait{client, POLLIN, 0};
            if (poll(&wait, 1, 10000) <= 0) return false;
            char chunk[4096];
            const ssize_t got = recv(client, chunk, sizeof chunk, 0);
            if (got <= 0 || buffer.size() > 10'000'000) return false;
            buffer.append(chunk, static_cast<size_t>(got));
        }
    };
    say("220 127.0.0.1 test receiver\r\n");
    std::string line;
    std::vector<std::string> recipients;
    while (next_line(line)) {
        const std::string verb = line.substr(0, 4);
        if (verb == "EHLO" || verb == "HELO") {
            say("250 127.0.0.1\r\n");
        } else if (verb == "MAIL") {
            recipients.clear();
            say("250 ok\r\n");
        } else if (verb == "RCPT") {
            recipients.push_back(line);
            say("250 ok\r\n");
        } else if (verb == "DATA") {
            say("354 go on\r\n");
            std::string mail;
            while (next_line(line) && line != ".") mail += (line.starts_with("..") ? line.substr(1) : line) + "\r\n";
            {
                const std::lock_guard lock(mutex_);
                mails_.push_back(mail);
                recipients_.insert(recipients_.end(), recipients.begin(), recipients.end());
                changed_.notify_all();
            }
            say("250 taken\r\n");
        } else if (verb == "QUIT") {
            say("221 bye\r\n");
            return;
        } else {
            say("250 ok\r\n");
        }
    }
}

std::vector<std::string> SmtpReceiver::Mails() const {
    const std::lock_guard lock(mutex_);
    return mails_;
}

std::vector<std::string> SmtpReceiver::Recipients() const {
    const std::lock_guard lock(mutex_);
    return recipients_;
}

bool SmtpReceiver::WaitMails(size_t count, std::chrono::milliseconds wait) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, wait, [&] { return mails_.size() >= count; });
}

}  // namespace tb58mon::test
