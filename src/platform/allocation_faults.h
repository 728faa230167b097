// A test switch that makes a chosen global allocation fail, so that the
// library's allocation-failure paths can be tested on every platform.
//
// Counting starts when the switch is armed: FailAllocationAfter(n) lets n
// allocations (GlobalAlloc and growing GlobalReAlloc calls, on the calling
// thread) succeed and fails the next one, once.  FailAllocationAfter(-1)
// disarms it.  The switch is per thread, so tests running in parallel on
// other threads are not disturbed.
#pragma once

namespace tb58::platform {

void FailAllocationAfter(int successful_allocations);

// True when the armed switch says the allocation being made now must fail.
// Counts the allocation otherwise.
bool AllocationShouldFail();

}  // namespace tb58::platform

#ifdef _WIN32
// On Windows the library's calls reach the system through these checks.
namespace tb58::platform {
HGLOBAL CheckedGlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL CheckedGlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
}  // namespace tb58::platform
#define GlobalAlloc ::tb58::platform::CheckedGlobalAlloc
#define GlobalReAlloc ::tb58::platform::CheckedGlobalReAlloc
#endif
