// Ctrl-C and SIGTERM for the commands that run until stopped (watch,
// simulate): while a StopSignals lives, the signals set one flag that the
// command checks between its steps; the handlers that were there before
// come back when it ends.
#pragma once

#include <atomic>

namespace tb58mon {

class StopSignals {
public:
    StopSignals();  // clears the flag
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Set by SIGINT or SIGTERM.
    static const std::atomic<bool>& Requested();

private:
    void (*previous_int_)(int);
    void (*previous_term_)(int);
};

}  // namespace tb58mon
