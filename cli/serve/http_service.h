// The status service's HTTP front, on GNU libmicrohttpd: one thread with
// its own epoll loop reads every connection without blocking, hands each
// whole request to the router (http_router.h: the routes, status codes and
// bodies) and sends its answer back.  A request never polls a printer: the
// answers come from the poller's latest snapshot and the metrics' text.
//
// What keeps hostile clients from taking the service down or holding it:
//   - connection_guard.h: caps on connections overall and per client, a
//     deadline for the whole request head (a client that trickles its
//     head a byte at a time is closed all the same) and for an answer;
//   - 32 KiB of memory per connection: a larger request head gets 431 (an
//     overlong URI 414) from the library itself, with its own short body;
//   - no Range support: every answer is the whole body, once;
//   - a body is never read: a request that declares one is answered as
//     soon as its head is in, and its connection closed.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "serve/connection_guard.h"
#include "serve/fleet_poller.h"
#include "serve/http_router.h"

namespace tb58mon {

struct HttpServiceOptions {
    std::string default_lang = "EN";        // without ?lang=
    std::vector<std::string> allow_hosts;   // NormalizeAllowHost'ed
    ConnectionLimits limits;
    size_t connection_memory = 32 * 1024;   // per connection: the request head and the answer's head
};

class HttpService {
public:
    using SnapshotSource = std::function<std::shared_ptr<const FleetSnapshot>()>;
    using MetricsSource = std::function<std::string()>;

    HttpService(SnapshotSource snapshot, MetricsSource metrics, HttpServiceOptions options);
    // With the event store's readers too (the history routes).
    HttpService(RouteSources sources, HttpServiceOptions options);
    ~HttpService();  // stops serving
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds host:port (0: any free port) and serves on a thread of its own;
    // throws Failure when the address cannot be bound.  Returns the port.
    unsigned Start(const std::string& host, unsigned port);
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tb58mon
