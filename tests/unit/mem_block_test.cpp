// MemBlock: growth from the capacity the allocator reports, the shared
// cursor, insert and delete in the middle, detach, and failed growth.
#include <gtest/gtest.h>

#include <string>

#include "core/mem_block.h"
#include "platform/win32_api.h"
#include "support/allocation_switch.h"

namespace {

using namespace tb58;
using test::AllocationSwitchGuard;

std::string Contents(const MemBlock* block) {
    return std::string(static_cast<const char*>(block->data), block->used);
}

SIZE_T Capacity(const MemBlock* block) { return block->data == nullptr ? 0 : GlobalSize(block->data); }

TEST(MemBlock, CreateWithAndWithoutInitialSteps) {
    MemBlockPtr eager(MemBlockCreate(80, 1));
    ASSERT_NE(eager, nullptr);
    EXPECT_EQ(Capacity(eager.get()), 80u);
    EXPECT_EQ(MemBlockGetSize(eager.get()), 0u);
    MemBlockPtr lazy(MemBlockCreate(80, 0));
    ASSERT_NE(lazy, nullptr);
    EXPECT_EQ(lazy->data, nullptr);
    EXPECT_EQ(MemBlockCreate(0, 1), nullptr);
}

TEST(MemBlock, GrowsByWholeStepsFromTheReportedCapacity) {
    MemBlockPtr block(MemBlockCreate(80, 1));
    const std::string bytes(200, 'a');
    ASSERT_TRUE(MemBlockWrite(block.get(), bytes.data(), 80));
    EXPECT_EQ(Capacity(block.get()), 80u);
    ASSERT_TRUE(MemBlockWrite(block.get(), bytes.data(), 1));
    EXPECT_EQ(Capacity(block.get()), 160u);  // one step, not a doubling
    ASSERT_TRUE(MemBlockWrite(block.get(), bytes.data(), 200));
    EXPECT_EQ(Capacity(block.get()), 320u);  // 281 bytes need two more steps
    EXPECT_EQ(MemBlockGetSize(block.get()), 281u);
}

TEST(MemBlock, LazyBlockAllocatesOnFirstWrite) {
    MemBlockPtr block(MemBlockCreate(10, 0));
    ASSERT_TRUE(MemBlockWrite(block.get(), "abc", 3));
    EXPECT_EQ(Capacity(block.get()), 10u);
    EXPECT_EQ(Contents(block.get()), "abc");
}

TEST(MemBlock, WriteInTheMiddleOverwritesAndExtendsOnlyPastTheEnd) {
    MemBlockPtr block(MemBlockCreate(16, 1));
    ASSERT_TRUE(MemBlockWrite(block.get(), "abcdef", 6));
    MemBlockSeek(block.get(), 2, kSeekSet);
    ASSERT_TRUE(MemBlockWrite(block.get(), "XY", 2));
    EXPECT_EQ(Contents(block.get()), "abXYef");
    EXPECT_EQ(block->cursor, 4u);
    ASSERT_TRUE(MemBlockWrite(block.get(), "1234", 4));
    EXPECT_EQ(Contents(block.get()), "abXY1234");
}

TEST(MemBlock, InsertAndDeleteInTheMiddle) {
    MemBlockPtr block(MemBlockCreate(4, 1));
    ASSERT_TRUE(MemBlockWrite(block.get(), "abcdef", 6));
    MemBlockSeek(block.get(), 3, kSeekSet);
    ASSERT_TRUE(MemBlockInsert(block.get(), "123", 3));
    EXPECT_EQ(Contents(block.get()), "abc123def");
    EXPECT_EQ(block->cursor, 6u);
    MemBlockSeek(block.get(), -5, kSeekCurrent);
    ASSERT_TRUE(MemBlockDelete(block.get(), 4));
    EXPECT_EQ(Contents(block.get()), "a3def");
    EXPECT_EQ(block->cursor, 1u);  // now at the byte that followed the removed ones
    EXPECT_FALSE(MemBlockDelete(block.get(), 5));
    EXPECT_EQ(Contents(block.get()), "a3def");
}

TEST(MemBlock, ZeroLengthWriteOrInsertChangesNothing) {
    MemBlockPtr block(MemBlockCreate(8, 0));
    EXPECT_TRUE(MemBlockWrite(block.get(), nullptr, 0));
    EXPECT_TRUE(MemBlockInsert(block.get(), nullptr, 0));
    EXPECT_EQ(block->data, nullptr);
    EXPECT_EQ(block->used, 0u);
    EXPECT_EQ(block->cursor, 0u);
}

TEST(MemBlock, ReadReturnsTheBytesInPlaceAndStopsAtTheEnd) {
    MemBlockPtr block(MemBlockCreate(8, 1));
    ASSERT_TRUE(MemBlockWrite(block.get(), "abcd", 4));
    MemBlockSeek(block.get(), 1, kSeekSet);
    const auto* bytes = static_cast<const char*>(MemBlockRead(block.get(), 2));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes, static_cast<const char*>(block->data) + 1);
    EXPECT_EQ(block->cursor, 3u);
    EXPECT_EQ(MemBlockRead(block.get(), 2), nullptr);
    EXPECT_EQ(block->cursor, 3u);
}

TEST(MemBlock, SeekStaysWithinTheUsedBytes) {
    MemBlockPtr block(MemBlockCreate(8, 1));
    ASSERT_TRUE(MemBlockWrite(block.get(), "abcd", 4));
    MemBlockSeek(block.get(), -1, kSeekEnd);
    EXPECT_EQ(block->cursor, 3u);
    MemBlockSeek(block.get(), 5, kSeekSet);  // beyond the used bytes: ignored
    EXPECT_EQ(block->cursor, 3u);
    MemBlockSeek(block.get(), -4, kSeekCurrent);  // before the start: ignored
    EXPECT_EQ(block->cursor, 3u);
    MemBlockSeek(block.get(), 0, 7);  // unknown mode
    EXPECT_EQ(block->cursor, 3u);
    MemBlockSeek(block.get(), 0, kSeekSet);
    EXPECT_EQ(block->cursor, 0u);
}

TEST(MemBlock, DetachHandsOverTheDataAndFreeLeavesIt) {
    MemBlock* block = MemBlockCreate(8, 1);
    ASSERT_TRUE(MemBlockWrite(block, "keep", 4));
    void* data = MemBlockDetach(block);
    EXPECT_EQ(block->data, nullptr);
    EXPECT_EQ(block->used, 0u);
    EXPECT_EQ(block->cursor, 0u);
    MemBlockFree(block);
    EXPECT_EQ(std::string(static_cast<const char*>(data), 4), "keep");
    EXPECT_EQ(GlobalFree(data), nullptr);
}

TEST(MemBlock, FailedGrowthLeavesTheBlockExactlyAsItWas) {
    MemBlockPtr block(MemBlockCreate(4, 1));
    ASSERT_TRUE(MemBlockWrite(block.get(), "abcd", 4));
    MemBlockSeek(block.get(), 2, kSeekSet);
    const void* data_before = block->data;
    {
        AllocationSwitchGuard fail_next(0);
        EXPECT_FALSE(MemBlockInsert(block.get(), "XYZ", 3));
    }
    EXPECT_EQ(block->data, data_before);
    EXPECT_EQ(Capacity(block.get()), 4u);
    EXPECT_EQ(block->cursor, 2u);
    EXPECT_EQ(Contents(block.get()), "abcd");
    {
        AllocationSwitchGuard fail_next(0);
        EXPECT_FALSE(MemBlockWrite(block.get(), "XYZ", 3));
    }
    EXPECT_EQ(Contents(block.get()), "abcd");
    EXPECT_EQ(block->cursor, 2u);
    // The first allocation of a lazy block fails the same way.
    MemBlockPtr lazy(MemBlockCreate(4, 0));
    {
        AllocationSwitchGuard fail_next(0);
        EXPECT_FALSE(MemBlockWrite(lazy.get(), "a", 1));
    }
    EXPECT_EQ(lazy->data, nullptr);
    EXPECT_EQ(lazy->used, 0u);
}

TEST(MemBlock, CreateFreesWhatItAllocatedWhenTheDataFails) {
    AllocationSwitchGuard fail_second(1);  // header succeeds, data fails
    EXPECT_EQ(MemBlockCreate(16, 1), nullptr);  // LeakSanitizer checks the header was freed
}

}  // namespace
