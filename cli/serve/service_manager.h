// Tells the service manager how 'tb58mon serve' is doing, through the
// notification socket it names in NOTIFY_SOCKET (libsystemd's sd_notify):
// ready, reloading, stopping, a line of status, and the watchdog's pings.
// Without NOTIFY_SOCKET every call does nothing; a message that cannot be
// sent is dropped (the service goes on either way).  Every call may be made
// from any thread, but may wait while the manager's socket is full (libsystemd
// sends on a blocking socket): never from the poller's loop.
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace tb58mon {

// READY=1 with the first STATUS= line: the service listens.
void NotifyReady(std::string_view status);

// RELOADING=1 with MONOTONIC_USEC= (the time of the reload's start on
// CLOCK_MONOTONIC, which the service manager matches against its own);
// NotifyReady when the reload is over, whether it took or not.
void NotifyReloading();

// STOPPING=1: the service is shutting down.
void NotifyStopping();

// STATUS=: one line for 'systemctl status'.
void NotifyStatus(std::string_view status);

// WATCHDOG=1: the service's loop is alive.
void NotifyWatchdog();

// How often to send WATCHDOG=1: half of WATCHDOG_USEC when the service
// manager asks for pings (and WATCHDOG_PID, when set, is this process);
// nothing otherwise.  Kept from 10 ms to an hour.
std::optional<std::chrono::microseconds> WatchdogInterval();

}  // namespace tb58mon
