#include "notify/retry_delay.h"

#include <algorithm>
#include <cmath>

namespace tb58mon {

std::chrono::seconds RetryDelay(const RetryPolicy& policy, int tries, double jitter01, std::chrono::seconds retry_after) {
    const double longest = static_cast<double>(std::max<int64_t>(1, policy.longest.count()));
    const int doublings = std::clamp(tries - 1, 0, 40);
    const double full = std::min(longest, static_cast<double>(policy.first.count()) * std::ldexp(1.0, doublings));
    const double jitter = std::isfinite(jitter01) ? std::clamp(jitter01, 0.0, 1.0) : 1.0;
    const auto delay = std::max<int64_t>(1, static_cast<int64_t>(std::llround(full * (0.5 + 0.5 * jitter))));
    const int64_t asked = std::min<int64_t>(std::max<int64_t>(0, retry_after.count()), policy.longest.count());
    return std::chrono::seconds(std::max(delay, asked));
}

}  // namespace tb58mon
