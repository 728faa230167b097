// Arms the platform's failing-allocation switch for one test and disarms it
// at the end, whatever happens in between.
#pragma once

#include "platform/win32_api.h"

namespace tb58::test {

class AllocationSwitchGuard {
public:
    AllocationSwitchGuard() = default;
    explicit AllocationSwitchGuard(int successful_allocations) {
        platform::FailAllocationAfter(successful_allocations);
    }
    ~AllocationSwitchGuard() { platform::FailAllocationAfter(-1); }
    AllocationSwitchGuard(const AllocationSwitchGuard&) = delete;
    AllocationSwitchGuard& operator=(const AllocationSwitchGuard&) = delete;
};

}  // namespace tb58::test
