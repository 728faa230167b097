// Global memory as the library relies on it: capacity from GlobalSize,
// zero-filled blocks and growth, and a failed reallocation that leaves the
// block as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "core/global_block.h"
#include "platform/win32_api.h"

namespace {

class AllocationSwitchGuard {
public:
    ~AllocationSwitchGuard() { tb58::platform::FailAllocationAfter(-1); }
};

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

TEST(LastError, IsKeptPerThread) {
    SetLastError(1234);
    DWORD seen_elsewhere = 99;
    std::thread other([&] {
        seen_elsewhere = GetLastError();
        SetLastError(5678);
    });
    other.join();
    EXPECT_EQ(seen_elsewhere, 0u);
    EXPECT_EQ(GetLastError(), 1234u);
}

}  // namespace
