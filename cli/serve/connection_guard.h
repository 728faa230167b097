// The HTTP front's connections and the rules that keep slow, idle or
// numerous clients from crowding out the others.  A connection is either
// waiting (for the whole head of a request, from the moment it connected or
// its last answer went out) or busy (its request is being answered).
//
//   Deadlines   a connection that waits longer than head_time is closed,
//               however many bytes it trickles in meanwhile; one that takes
//               an answer longer than answer_time is closed too.
//   Per client  a client (an IPv4 address, or an IPv6 /64) has at most
//               max_per_client live connections: when it opens one more,
//               its connection that has waited longest is closed; when none
//               of its connections waits, the new one is closed.
//   Overall     at most max_connections live connections: when one more
//               comes, the waiting connection of the client with the most
//               connections that has waited longest is closed (a newcomer
//               always gets in while anyone merely waits); when none waits,
//               the new one is closed.
//
// Closing means shutting the socket down, under the guard's lock; the
// server then sees the connection end and closes it, and reports it with
// Closed() before the descriptor is released, so a socket number that the
// system hands out again is never shut down by mistake.
#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

namespace tb58mon {

// Connections the server may hold beyond max_connections (and one client
// beyond max_per_client) while the ones shut down are still being closed.
constexpr size_t kClosingSlack = 32;

struct ConnectionLimits {
    size_t max_connections = 256;
    size_t max_per_client = 32;
    std::chrono::milliseconds head_time{5000};
    std::chrono::milliseconds answer_time{30000};
};

// The client a peer address belongs to: the IPv4 address (also when it
// comes IPv4-mapped), the /64 of an IPv6 address; empty for anything else.
std::string ClientOfAddress(const sockaddr* address);

class ConnectionGuard {
public:
    using Clock = std::chrono::steady_clock;
    using ShutSocket = std::function<void(int socket)>;

    ConnectionGuard(const ConnectionLimits& limits, ShutSocket shut);
    ConnectionGuard(const ConnectionGuard&) = delete;
    ConnectionGuard& operator=(const ConnectionGuard&) = delete;

    // The server's events for a connection, known by an id of its own.
    void Opened(uintptr_t id, int socket, const std::string& client, Clock::time_point now);
    void HeadReceived(uintptr_t id, Clock::time_point now);
    void AnswerSent(uintptr_t id, Clock::time_point now);
    void Closed(uintptr_t id);

    // Shuts down the connections past their deadline.
    void CloseOverdue(Clock::time_point now);

    // Connections not yet shut down, overall and of one client.
    size_t Live() const;
    size_t LiveOf(const std::string& client) const;

private:
    enum class State { kWaiting, kBusy, kClosing };
    struct Entry {
        int socket = -1;
        std::string client;
        State state = State::kWaiting;
        Clock::time_point since;
        uint64_t order = 0;
    };

    void Shut(Entry& entry);
    bool ShutLongestWaiting(uintptr_t spare, const std::string* client);

    const ConnectionLimits limits_;
    const ShutSocket shut_;
    mutable std::mutex mutex_;
    std::unordered_map<uintptr_t, Entry> entries_;
    std::unordered_map<std::string, size_t> live_of_client_;
    size_t live_ = 0;
    uint64_t next_order_ = 0;
};

}  // namespace tb58mon
