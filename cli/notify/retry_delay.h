// When a notice the receiver did not take is tried again: exponential
// back-off with jitter, so that many services whose receiver came back do
// not all knock at once.
#pragma once

#include <chrono>

namespace tb58mon {

struct RetryPolicy {
    std::chrono::seconds first{5};      // after the first failure
    std::chrono::seconds longest{3600}; // the delay grows to this and stays
};

// The delay after the tries-th failure (1, 2, ...): first * 2^(tries-1),
// at most longest, times a jitter factor from [0.5, 1.0] (jitter01 in
// [0, 1]); never less than the receiver's Retry-After (at most longest).
std::chrono::seconds RetryDelay(const RetryPolicy& policy, int tries, double jitter01,
                                std::chrono::seconds retry_after);

}  // namespace tb58mon
