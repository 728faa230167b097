// Global memory as the library relies on it: capacity from GlobalSize,
// zero-filled blocks and growth, and a failed reallocation that leaves the
// block as it was.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "core/global_block.h"
#include "platform/win32_api.h"
#include "support/allocation_switch.h"

namespace {

using tb58::test::AllocationSwitchGuard;

TEST(GlobalMemory, SizeIsTheSizeAskedForAndZeroInitFills) {
    tb58::GlobalBlock block(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 37));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block.get()), 37u);
    EXPECT_EQ(GlobalLock(block.get()), block.get());
    const auto* bytes = static_cast<const unsigned char*>(block.get());
    for (int i = 0; i < 37; ++i) EXPECT_EQ(bytes[i], 0) << i;
}

TEST(GlobalMemory, ReallocationKeepsContentsAndZeroFillsGrowth) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 8);
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "abcdefgh", 8);
    HGLOBAL grown = GlobalReAlloc(block, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(GlobalSize(grown), 4096u);
    EXPECT_EQ(std::memcmp(grown, "abcdefgh", 8), 0);
    const auto* bytes = static_cast<const unsigned char*>(grown);
    for (int i = 8; i < 4096; ++i) ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(GlobalFree(grown), nullptr);
}

TEST(GlobalMemory, FailedReallocationLeavesTheBlockIntact) {
    AllocationSwitchGuard guard;
    tb58::GlobalBlock block(GlobalAlloc(GMEM_FIXED, 16));
    ASSERT_NE(block, nullptr);
    std::memcpy(block.get(), "0123456789abcdef", 16);
    tb58::platform::FailAllocationAfter(0);
    SetLastError(0);
    EXPECT_EQ(GlobalReAlloc(block.get(), 1 << 20, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalSize(block.get()), 16u);
    EXPECT_EQ(std::memcmp(block.get(), "0123456789abcdef", 16), 0);
}

TEST(GlobalMemory, SwitchFailsExactlyTheChosenAllocationOnce) {
    AllocationSwitchGuard guard;
    tb58::platform::FailAllocationAfter(2);
    tb58::GlobalBlock first(GlobalAlloc(GMEM_FIXED, 4));
    tb58::GlobalBlock second(GlobalAlloc(GMEM_FIXED, 4));
    tb58::GlobalBlock third(GlobalAlloc(GMEM_FIXED, 4));
    tb58::GlobalBlock fourth(GlobalAlloc(GMEM_FIXED, 4));
    EXPECT_NE(first, nullptr);
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(third, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_NE(fourth, nullptr);
}

TEST(GlobalMemory, ImpossibleAllocationFailsWithNotEnoughMemory) {
    SetLastError(0);
    EXPECT_EQ(GlobalAlloc(GMEM_FIXED, SIZE_MAX / 2), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST(GlobalMemory, FreeingNullIsHarmless) { EXPECT_EQ(GlobalFree(nullptr), nullptr); }

// The two threads set and read their values while both are running; the
// steps are ordered by spinning on atomics, which make no system calls that
// could touch the last error.
TEST(LastError, IsKeptPerThread) {
    std::atomic<int> step{0};
    DWORD seen_elsewhere = 0;
    std::thread other([&] {
        SetLastError(5678);
        step = 1;
        while (step.load() != 2) {
        }
        seen_elsewhere = GetLastError();
        step = 3;
    });
    while (step.load() != 1) {
    }
    SetLastError(1234);
    step = 2;
    while (step.load() != 3) {
    }
    const DWORD seen_here = GetLastError();
    other.join();
    EXPECT_EQ(seen_elsewhere, 5678u);
    EXPECT_EQ(seen_here, 1234u);
}

}  // namespace
