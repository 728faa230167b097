#include "serve/http_service.h"

#include <microhttpd.h>
#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "base/cli_error.h"
#include "base/listen_address.h"
#include "serve/http_router.h"

namespace tb58mon {
namespace {

using Clock = ConnectionGuard::Clock;

// The library's own idle timeout: a backstop behind the guard's deadlines.
constexpr unsigned kIdleSeconds = 15;
// How often the guard looks for connections past their deadline.
constexpr auto kWatchInterval = std::chrono::milliseconds(100);

struct SocketAddress {
    sockaddr_storage storage{};
    int family = AF_UNSPEC;
};

std::optional<SocketAddress> Resolve(const std::string& host, unsigned port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    SocketAddress address;
    address.family = found->ai_family;
    std::memcpy(&address.storage, found->ai_addr, std::min<size_t>(found->ai_addrlen, sizeof address.storage));
    freeaddrinfo(found);
    return address;
}

uintptr_t IdOf(const MHD_Connection* connection) {
    return reinterpret_cast<uintptr_t>(connection);
}

MHD_Result CollectField(void* fields, MHD_ValueKind, const char* name, const char* value) {
    static_cast<HttpFields*>(fields)->emplace_back(name != nullptr ? name : "", value != nullptr ? value : "");
    return MHD_YES;
}

bool DeclaresBody(MHD_Connection* connection) {
    return MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH) != nullptr ||
           MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING) != nullptr;
}

MHD_Result Send(MHD_Connection* connection, HttpReply& reply) {
    MHD_Response* response = MHD_create_response_from_buffer(reply.body.size(), reply.body.data(), MHD_RESPMEM_MUST_COPY);
    if (response == nullptr) return MHD_NO;
    bool headers_added = MHD_add_response_header(response, "Content-Type", reply.content_type.c_str()) == MHD_YES;
    for (const auto& [name, value] : reply.headers) {
        headers_added = headers_added && MHD_add_response_header(response, name.c_str(), value.c_str()) == MHD_YES;
    }
    const MHD_Result queued = headers_added ? MHD_queue_response(connection, reply.status, response) : MHD_NO;
    MHD_destroy_response(response);
    return queued;
}

}  // namespace

struct HttpService::Impl {
    RouteSources sources;
    RouterOptions router;
    HttpServiceOptions options;
    ConnectionGuard guard;
    MHD_Daemon* daemon = nullptr;
    std::thread watchdog;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;

    Impl(RouteSources route_sources, HttpServiceOptions service_options)
        : sources(std::move(route_sources)),
          options(std::move(service_options)),
          guard(options.limits, [](int socket) {
              if (socket >= 0) shutdown(socket, SHUT_RDWR);
          }) {
        router.default_lang = options.default_lang;
    }

    // Called when a request's head is in, then for each piece of its body,
    // then once more with none.  A request that declares a body is answered
    // at once (its connection then closes: the body is never read); any
    // other is answered on the last call, so that its connection may stay
    // open for the next request.
    static MHD_Result Answer(void* self, MHD_Connection* connection, const char* url, const char* method,
                             const char*, const char*, size_t* upload_size, void** request_state) {
        Impl& impl = *static_cast<Impl*>(self);
        try {
            if (*request_state == nullptr) {
                *request_state = self;
                impl.guard.HeadReceived(IdOf(connection), Clock::now());
                if (!DeclaresBody(connection)) return MHD_YES;
            } else if (*upload_size != 0) {
                *upload_size = 0;
                return MHD_YES;
            }
            HttpRequest request;
            request.method = method != nullptr ? method : "";
            request.path = url != nullptr ? url : "";
            MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &CollectField, &request.query);
            MHD_get_connection_values(connection, MHD_HEADER_KIND, &CollectField, &request.headers);
            HttpReply reply = RouteRequest(request, impl.sources, impl.router);
            return Send(connection, reply);
        } catch (...) {
            return MHD_NO;  // the library closes the connection
        }
    }

    static void Completed(void* self, MHD_Connection* connection, void**, MHD_RequestTerminationCode) {
        static_cast<Impl*>(self)->guard.AnswerSent(IdOf(connection), Clock::now());
    }

    static void Notify(void* self, MHD_Connection* connection, void**, MHD_ConnectionNotificationCode code) {
        Impl& impl = *static_cast<Impl*>(self);
        if (code != MHD_CONNECTION_NOTIFY_STARTED) {
            // Before the library closes the descriptor.
            impl.guard.Closed(IdOf(connection));
            return;
        }
        const MHD_ConnectionInfo* socket = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
        const MHD_ConnectionInfo* peer = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
        try {
            impl.guard.Opened(IdOf(connection), socket != nullptr ? socket->connect_fd : -1,
                              ClientOfAddress(peer != nullptr ? peer->client_addr : nullptr), Clock::now());
        } catch (...) {
            if (socket != nullptr) shutdown(socket->connect_fd, SHUT_RDWR);  // out of memory: not this one
        }
    }

    void Watch() {
        std::unique_lock<std::mutex> lock(mutex);
        while (!wake.wait_for(lock, kWatchInterval, [this] { return stopping; })) {
            lock.unlock();
            guard.CloseOverdue(Clock::now());
            lock.lock();
        }
    }
};

HttpService::HttpService(SnapshotSource snapshot, MetricsSource metrics, HttpServiceOptions options)
    : HttpService(RouteSources{std::move(snapshot), std::move(metrics), {}, {}}, std::move(options)) {}

HttpService::HttpService(RouteSources sources, HttpServiceOptions options)
    : impl_(std::make_unique<Impl>(std::move(sources), std::move(options))) {}

HttpService::~HttpService() { Stop(); }

unsigned HttpService::Start(const std::string& host, unsigned port) {
    Impl& impl = *impl_;
    if (impl.daemon != nullptr) throw Failure("the web service runs already");
    const std::string where = "cannot listen on " + HostPort(host, port);
    auto address = Resolve(host, port);
    if (!address) throw Failure(where + ": no such address");
    impl.router.hosts = HostRuleFor(host, impl.options.allow_hosts);
    const ConnectionLimits& limits = impl.options.limits;
    const unsigned flags = MHD_USE_EPOLL_INTERNAL_THREAD | (address->family == AF_INET6 ? MHD_USE_IPv6 : 0);
    impl.daemon = MHD_start_daemon(
        flags, static_cast<uint16_t>(port), nullptr, nullptr, &Impl::Answer, &impl,
        MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&address->storage),
        MHD_OPTION_CONNECTION_LIMIT, static_cast<unsigned>(limits.max_connections + kClosingSlack),
        MHD_OPTION_PER_IP_CONNECTION_LIMIT, static_cast<unsigned>(limits.max_per_client + kClosingSlack),
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, impl.options.connection_memory,
        MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds,
        MHD_OPTION_NOTIFY_CONNECTION, &Impl::Notify, &impl,
        MHD_OPTION_NOTIFY_COMPLETED, &Impl::Completed, &impl,
        MHD_OPTION_END);
    if (impl.daemon == nullptr) throw Failure(where);
    const MHD_DaemonInfo* bound = MHD_get_daemon_info(impl.daemon, MHD_DAEMON_INFO_BIND_PORT);
    {
        const std::lock_guard<std::mutex> lock(impl.mutex);
        impl.stopping = false;
    }
    impl.watchdog = std::thread([&impl] { impl.Watch(); });
    return bound != nullptr ? bound->port : port;
}

void HttpService::Stop() {
    Impl& impl = *impl_;
    {
        const std::lock_guard<std::mutex> lock(impl.mutex);
        impl.stopping = true;
    }
    impl.wake.notify_all();
    if (impl.watchdog.joinable()) impl.watchdog.join();
    if (impl.daemon != nullptr) {
        MHD_stop_daemon(impl.daemon);  // reports every connection closed to the guard
        impl.daemon = nullptr;
    }
}

}  // namespace tb58mon
