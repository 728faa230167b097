#include "serve/descriptor_budget.h"

#include <sys/resource.h>

#include <algorithm>

#include "serve/connection_guard.h"

namespace tb58mon {

size_t RaiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
    }
    constexpr rlim_t kLargest = rlim_t{1} << 24;
    return static_cast<size_t>(limit.rlim_cur == RLIM_INFINITY ? kLargest : std::min(limit.rlim_cur, kLargest));
}

ConnectionBudget PlanConnections(size_t open_file_limit, size_t poller_descriptors, size_t wanted) {
    ConnectionBudget budget;
    budget.open_file_limit = open_file_limit;
    budget.reserve = poller_descriptors + kDescriptorMargin;
    const size_t taken = budget.reserve + kClosingSlack;
    const size_t room = open_file_limit > taken ? open_file_limit - taken : 0;
    budget.connections = std::min(wanted, room);
    budget.shrunk = budget.connections < wanted;
    return budget;
}

}  // namespace tb58mon
