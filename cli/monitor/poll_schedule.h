// How a printer is polled, the same for 'watch' and 'serve': the transport
// options its settings give, and the wait before its next cycle, which
// doubles after each cycle without a response.
#pragma once

#include <cstddef>

#include "base/printer_settings.h"
#include "transport/transport.h"

namespace tb58mon {

// After this many cycles in a row without a response the wait stops
// growing: 2^3 = 8 intervals.
constexpr int kLongestBackOff = 3;

// The failures counted after a cycle: one more (up to kLongestBackOff)
// when the printer did not answer, else none.
int FailuresAfter(int failures, bool responded);

// The wait before the next cycle, in intervals: 2^failures.
double BackOffFactor(int failures);

// The transport's options for a printer's settings (checked where they were
// read) and the largest reply the monitor reads.
TransportOptions TransportOptionsOf(const PrinterSettings& settings, size_t max_reply);

}  // namespace tb58mon
