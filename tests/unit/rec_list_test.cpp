// RecList and RecListIter: positions, insertion, iteration, growth.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/rec_list.h"
#include "platform/win32_api.h"
#include "support/allocation_switch.h"

namespace {

using namespace tb58;
using test::AllocationSwitchGuard;

std::vector<uint32_t> Values(RecList* list) {
    std::vector<uint32_t> values;
    RecListIter it;
    RecListIterInit(list, &it);
    uint32_t value = 0;
    while (RecListIterNext(&it, &value)) values.push_back(value);
    return values;
}

RecListPtr ListOf(std::initializer_list<uint32_t> values) {
    RecListPtr list(RecListCreate(4, 20, 1));
    for (uint32_t v : values) EXPECT_TRUE(RecListAdd(list.get(), &v));
    return list;
}

TEST(RecList, StatusCodeListStartsWithOneStepAndGrowsByOne) {
    RecListPtr list(RecListCreate(4, 20, 1));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GlobalSize(list->block->data), 80u);
    for (uint32_t i = 0; i < 20; ++i) ASSERT_TRUE(RecListAdd(list.get(), &i));
    EXPECT_EQ(GlobalSize(list->block->data), 80u);
    const uint32_t extra = 20;
    ASSERT_TRUE(RecListAdd(list.get(), &extra));
    EXPECT_EQ(GlobalSize(list->block->data), 160u);
    EXPECT_EQ(RecListCount(list.get()), 21u);
}

TEST(RecList, InsertFirstInTheMiddleAndBeyondTheEnd) {
    RecListPtr list = ListOf({10, 20, 30});
    const uint32_t first = 5;
    const uint32_t middle = 15;
    const uint32_t last = 99;
    ASSERT_TRUE(RecListInsert(list.get(), &first, 1));
    EXPECT_EQ(Values(list.get()), (std::vector<uint32_t>{5, 10, 20, 30}));
    ASSERT_TRUE(RecListInsert(list.get(), &middle, 3));
    EXPECT_EQ(Values(list.get()), (std::vector<uint32_t>{5, 10, 15, 20, 30}));
    ASSERT_TRUE(RecListInsert(list.get(), &last, 40));
    EXPECT_EQ(Values(list.get()), (std::vector<uint32_t>{5, 10, 15, 20, 30, 99}));
    EXPECT_FALSE(RecListInsert(list.get(), &last, 0));
}

TEST(RecList, InsertAtCountPlusOneAppends) {
    RecListPtr list = ListOf({1, 2, 3});
    const uint32_t value = 4;
    ASSERT_TRUE(RecListInsert(list.get(), &value, 4));
    EXPECT_EQ(Values(list.get()), (std::vector<uint32_t>{1, 2, 3, 4}));
}

TEST(RecList, GetByPosition) {
    RecListPtr list = ListOf({7, 8, 9});
    uint32_t value = 0;
    EXPECT_TRUE(RecListGet(list.get(), 2, &value));
    EXPECT_EQ(value, 8u);
    EXPECT_EQ(*static_cast<uint32_t*>(RecListGetPtr(list.get(), 3)), 9u);
    EXPECT_EQ(RecListGetPtr(list.get(), 4), nullptr);
    EXPECT_EQ(RecListGetPtr(list.get(), 0), nullptr);
    value = 123;
    EXPECT_FALSE(RecListGet(list.get(), 4, &value));
    EXPECT_EQ(value, 123u);
}

TEST(RecList, IteratorOnAnEmptyListWritesNothing) {
    RecListPtr list(RecListCreate(264, 20, 1));
    RecListIter it;
    RecListIterInit(list.get(), &it);
    void* out = &it;
    EXPECT_FALSE(RecListIterNextPtr(&it, &out));
    EXPECT_EQ(out, &it);
}

TEST(RecList, IteratorKeepsItsPlaceWhileTheListIsUsed) {
    RecListPtr list = ListOf({1, 2, 3});
    RecListIter it;
    RecListIterInit(list.get(), &it);
    void* record = nullptr;
    ASSERT_TRUE(RecListIterNextPtr(&it, &record));
    EXPECT_EQ(*static_cast<uint32_t*>(record), 1u);
    uint32_t ignored = 0;
    RecListGet(list.get(), 3, &ignored);  // moves the block's cursor, not the iterator
    ASSERT_TRUE(RecListIterNextPtr(&it, &record));
    EXPECT_EQ(*static_cast<uint32_t*>(record), 2u);
}

TEST(RecList, LargeRecordsKeepTheirBytes) {
    struct Entry {
        int32_t message;
        int32_t place;
        char text[256];
    };
    static_assert(sizeof(Entry) == 264);
    RecListPtr list(RecListCreate(264, 20, 1));
    for (int32_t i = 0; i < 45; ++i) {
        Entry e{i, -i, {}};
        std::snprintf(e.text, sizeof e.text, "entry %d", i);
        ASSERT_TRUE(RecListAdd(list.get(), &e));
    }
    Entry e{};
    ASSERT_TRUE(RecListGet(list.get(), 45, &e));
    EXPECT_EQ(e.message, 44);
    EXPECT_EQ(e.place, -44);
    EXPECT_STREQ(e.text, "entry 44");
    EXPECT_EQ(GlobalSize(list->block->data), 3u * 264 * 20);
}

TEST(RecList, FailedGrowthLeavesTheListUnchanged) {
    RecListPtr list(RecListCreate(4, 2, 1));
    const uint32_t a = 1;
    const uint32_t b = 2;
    const uint32_t c = 3;
    ASSERT_TRUE(RecListAdd(list.get(), &a));
    ASSERT_TRUE(RecListAdd(list.get(), &b));
    {
        AllocationSwitchGuard fail_next(0);
        EXPECT_FALSE(RecListInsert(list.get(), &c, 1));
    }
    {
        AllocationSwitchGuard fail_next(0);
        EXPECT_FALSE(RecListAdd(list.get(), &c));
    }
    EXPECT_EQ(Values(list.get()), (std::vector<uint32_t>{1, 2}));
}

TEST(RecList, CreateFailuresLeaveNothingAllocated) {
    for (int allowed : {0, 1, 2}) {  // block header, block data, list header
        AllocationSwitchGuard fail(allowed);
        EXPECT_EQ(RecListCreate(12, 10, 10), nullptr) << allowed;
    }
    EXPECT_EQ(RecListCreate(0, 10, 1), nullptr);
}

}  // namespace
