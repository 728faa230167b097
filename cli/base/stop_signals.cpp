#include "base/stop_signals.h"

#include <csignal>

namespace tb58mon {
namespace {

std::atomic<bool> g_stop_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);  // safe to set in a signal handler

extern "C" void RequestStop(int) { g_stop_requested.store(true); }

}  // namespace

StopSignals::StopSignals() {
    g_stop_requested.store(false);
    previous_int_ = std::signal(SIGINT, RequestStop);
    previous_term_ = std::signal(SIGTERM, RequestStop);
}

StopSignals::~StopSignals() {
    std::signal(SIGINT, previous_int_);
    std::signal(SIGTERM, previous_term_);
}

const std::atomic<bool>& StopSignals::Requested() { return g_stop_requested; }

}  // namespace tb58mon
