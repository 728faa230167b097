#include "serve/connection_guard.h"

#include <netinet/in.h>

#include <cstring>
#include <tuple>

namespace tb58mon {

std::string ClientOfAddress(const sockaddr* address) {
    if (address == nullptr) return {};
    if (address->sa_family == AF_INET) {
        sockaddr_in v4{};
        std::memcpy(&v4, address, sizeof v4);
        return "4:" + std::string(reinterpret_cast<const char*>(&v4.sin_addr), sizeof v4.sin_addr);
    }
    if (address->sa_family == AF_INET6) {
        sockaddr_in6 v6{};
        std::memcpy(&v6, address, sizeof v6);
        const auto* bytes = reinterpret_cast<const char*>(v6.sin6_addr.s6_addr);
        if (IN6_IS_ADDR_V4MAPPED(&v6.sin6_addr)) return "4:" + std::string(bytes + 12, 4);
        return "6:" + std::string(bytes, 8);
    }
    return {};
}

ConnectionGuard::ConnectionGuard(const ConnectionLimits& limits, ShutSocket shut)
    : limits_(limits), shut_(std::move(shut)) {}

void ConnectionGuard::Shut(Entry& entry) {
    if (entry.state == State::kClosing) return;
    entry.state = State::kClosing;
    --live_;
    --live_of_client_[entry.client];
    shut_(entry.socket);
}

// Shuts the waiting connection that has waited longest, of the client or
// (without one) of the client with the most live connections; never the
// spare one.  False when no connection waits.
bool ConnectionGuard::ShutLongestWaiting(uintptr_t spare, const std::string* client) {
    Entry* chosen = nullptr;
    std::tuple<size_t, int64_t, int64_t> best{};
    for (auto& [id, entry] : entries_) {
        if (id == spare || entry.state != State::kWaiting) continue;
        if (client != nullptr && entry.client != *client) continue;
        // More connections of its client first, then waiting longer, then older.
        const std::tuple<size_t, int64_t, int64_t> rank{live_of_client_[entry.client],
                                                        -entry.since.time_since_epoch().count(),
                                                        -static_cast<int64_t>(entry.order)};
        if (chosen == nullptr || rank > best) {
            chosen = &entry;
            best = rank;
        }
    }
    if (chosen == nullptr) return false;
    Shut(*chosen);
    return true;
}

void ConnectionGuard::Opened(uintptr_t id, int socket, const std::string& client, Clock::time_point now) {
    const std::lock_guard<std::mutex> lock(mutex_);
    auto [at, added] = entries_.try_emplace(id);
    if (!added) return;
    Entry& entry = at->second;
    entry.socket = socket;
    entry.client = client;
    entry.since = now;
    entry.order = next_order_++;
    ++live_;
    if (++live_of_client_[client] > limits_.max_per_client && !ShutLongestWaiting(id, &client)) Shut(entry);
    if (entry.state != State::kClosing && live_ > limits_.max_connections && !ShutLongestWaiting(id, nullptr)) {
        Shut(entry);
    }
}

void ConnectionGuard::HeadReceived(uintptr_t id, Clock::time_point now) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto at = entries_.find(id);
    if (at == entries_.end() || at->second.state != State::kWaiting) return;
    at->second.state = State::kBusy;
    at->second.since = now;
}

void ConnectionGuard::AnswerSent(uintptr_t id, Clock::time_point now) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto at = entries_.find(id);
    if (at == entries_.end() || at->second.state != State::kBusy) return;
    at->second.state = State::kWaiting;
    at->second.since = now;
}

void ConnectionGuard::Closed(uintptr_t id) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto at = entries_.find(id);
    if (at == entries_.end()) return;
    const Entry& entry = at->second;
    if (entry.state != State::kClosing) {
        --live_;
        --live_of_client_[entry.client];
    }
    if (live_of_client_[entry.client] == 0) live_of_client_.erase(entry.client);
    entries_.erase(at);
}

void ConnectionGuard::CloseOverdue(Clock::time_point now) {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (auto& [id, entry] : entries_) {
        const auto waited = now - entry.since;
        if ((entry.state == State::kWaiting && waited >= limits_.head_time) ||
            (entry.state == State::kBusy && waited >= limits_.answer_time)) {
            Shut(entry);
        }
    }
}

size_t ConnectionGuard::Live() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return live_;
}

size_t ConnectionGuard::LiveOf(const std::string& client) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto at = live_of_client_.find(client);
    return at == live_of_client_.end() ? 0 : at->second;
}

}  // namespace tb58mon
