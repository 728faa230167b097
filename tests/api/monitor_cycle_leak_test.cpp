// A monitor that runs for days makes the same cycle again and again: the
// heap must not grow with it.  After a warm-up (per-thread caches of the
// platform layer), many cycles leave the heap exactly as large as it was;
// one lost block per cycle would show as thousands of bytes.  The tests run
// the C allocator without its free-list caches, which would otherwise count
// as in use (see heap_in_use.h).
#include <gtest/gtest.h>

#include "support/heap_in_use.h"
#include "support/monitor_cycle.h"

namespace {

TEST(MonitorCycle, EveryCallSucceedsAndTheHeapDoesNotGrow) {
    PatSetLocale("EN");
    tb58::test::MonitorCycle cycle;
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(cycle.Run()) << cycle.failed_step();
    const size_t before = tb58::test::HeapBytesInUse();
    bool all_ran = true;
    for (int i = 0; i < 2000 && all_ran; ++i) all_ran = cycle.Run();
    const size_t after = tb58::test::HeapBytesInUse();
    ASSERT_TRUE(all_ran) << cycle.failed_step();
    EXPECT_EQ(after, before) << "the heap grew by " << static_cast<long long>(after - before) << " bytes";
}

}  // namespace
