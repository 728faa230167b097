#include "platform/win32_api.h"

namespace tb58::platform {
namespace {
// Allocations still allowed before the one that fails; -1 when disarmed.
thread_local int allowed_allocations = -1;
}  // namespace

void FailAllocationAfter(int successful_allocations) {
    allowed_allocations = successful_allocations < 0 ? -1 : successful_allocations;
}

bool AllocationShouldFail() {
    if (allowed_allocations < 0) return false;
    if (allowed_allocations == 0) {
        allowed_allocations = -1;  // fail once, then behave normally again
        return true;
    }
    --allowed_allocations;
    return false;
}

}  // namespace tb58::platform
