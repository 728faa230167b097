// The service manager's notifications through libsystemd.
#include "serve/service_manager.h"

#include <systemd/sd-daemon.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace tb58mon {
namespace {

void Send(const std::string& message) {
    // sd_notify returns 0 without NOTIFY_SOCKET and a negative errno when
    // the message could not be sent: neither stops the service.
    (void)sd_notify(0, message.c_str());
}

// A status line must stay one line: a line end would start a new
// assignment of the notification.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return line;
}

uint64_t MonotonicMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1'000'000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

}  // namespace

void NotifyReady(std::string_view status) { Send("READY=1\nSTATUS=" + OneLine(status)); }

void NotifyReloading() { Send("RELOADING=1\nMONOTONIC_USEC=" + std::to_string(MonotonicMicroseconds())); }

void NotifyStopping() { Send("STOPPING=1"); }

void NotifyStatus(std::string_view status) { Send("STATUS=" + OneLine(status)); }

void NotifyWatchdog() { Send("WATCHDOG=1"); }

std::optional<std::chrono::microseconds> WatchdogInterval() {
    uint64_t usec = 0;
    if (sd_watchdog_enabled(0, &usec) <= 0 || usec == 0) return std::nullopt;
    // Kept within reason: a few microseconds would spin the loop, and an
    // hour is as good as never.
    constexpr uint64_t kShortest = 10'000;
    constexpr uint64_t kLongest = 3'600'000'000;
    return std::chrono::microseconds(static_cast<int64_t>(std::clamp(usec / 2, kShortest, kLongest)));
}

}  // namespace tb58mon
