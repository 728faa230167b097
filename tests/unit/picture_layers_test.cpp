// The working layer block of the status picture: adding without
// duplicates, removing and moving layers, the drawing order with masks,
// and the whole export under failing allocations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Tb58Wk31Platform.h"
#include "status/picture/bitmap_composition.h"
#include "status/picture/bitmap_layers.h"
#include "status/picture/bitmap_order.h"
#include "support/allocation_switch.h"
#include "support/status_packet.h"
#include "support/tray_chain.h"

namespace {

using namespace tb58;
using namespace tb58::status;

struct Entry {
    std::string name;
    int32_t x;
    int layer;
    uint32_t rop = 0;
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
    return os << e.name << " x" << e.x << " L" << e.layer << " rop " << std::hex << e.rop << std::dec;
}

std::vector<Entry> Entries(const MemBlock* block) {
    std::vector<Entry> out;
    const auto* layers = static_cast<const BitmapLayer*>(block->data);
    for (uint32_t i = 0; i < LayerCount(block); ++i) {
        out.push_back({layers[i].szName, layers[i].x, layers[i].bLayer, layers[i].dwRop});
    }
    return out;
}

TEST(PictureLayers, AddKeepsOneOfIdenticalLayers) {
    MemBlockPtr block(CreateLayerBlock());
    EXPECT_EQ(AddNamedLayer(block.get(), "BM_A", 1, 2, 10), 0u);
    EXPECT_EQ(AddNamedLayer(block.get(), "BM_A", 1, 2, 10), 0u);  // identical: kept once
    EXPECT_EQ(AddNamedLayer(block.get(), "BM_A", 1, 3, 10), 0u);  // differs in y
    EXPECT_EQ(AddNamedLayer(block.get(), "BM_A", 1, 2, 12), 0u);  // differs in layer
    EXPECT_EQ(AddNamedLayer(block.get(), "BM_AB", 1, 2, 10), 0u); // differs in name
    EXPECT_EQ(LayerCount(block.get()), 4u);
}

TEST(PictureLayers, NamesUpTo31Characters) {
    MemBlockPtr block(CreateLayerBlock());
    const std::string longest(31, 'N');
    EXPECT_EQ(AddNamedLayer(block.get(), longest.c_str(), 0, 0, 1), 0u);
    EXPECT_EQ(AddNamedLayer(block.get(), std::string(32, 'N').c_str(), 0, 0, 1), TB58_ERROR_NOT_FOUND);
    ASSERT_EQ(LayerCount(block.get()), 1u);
    EXPECT_EQ(Entries(block.get())[0].name, longest);
}

TEST(PictureLayers, RecordPlacementsStopAtTheFirstEmptyName) {
    MemBlockPtr block(CreateLayerBlock());
    const BitmapLayer placements[] = {Place("BM_A", 0, 0, 1), Place("BM_B", 5, 0, 2), BitmapLayer{},
                                      Place("BM_AFTER_A_GAP", 0, 0, 3)};
    const StatusBitmapRecord record{"1", placements};
    EXPECT_EQ(AddRecordLayers(block.get(), &record), 0u);
    EXPECT_EQ(AddRecordLayers(block.get(), nullptr), 0u);
    EXPECT_EQ(Entries(block.get()), (std::vector<Entry>{{"BM_A", 0, 1}, {"BM_B", 5, 2}}));
}

TEST(PictureLayers, RemoveAndShiftKeepTheOthersInOrder) {
    MemBlockPtr block(CreateLayerBlock());
    for (auto [name, layer] : {std::pair{"A", 5}, {"B", 7}, {"C", 7}, {"D", 5}, {"E", 7}}) {
        AddNamedLayer(block.get(), name, 0, 0, static_cast<uint8_t>(layer));
    }
    ShiftLayers(block.get(), 5, -13, 0);
    RemoveLayers(block.get(), 7);  // two neighbours and the last record
    EXPECT_EQ(Entries(block.get()), (std::vector<Entry>{{"A", -13, 5}, {"D", -13, 5}}));
    RemoveLayers(block.get(), 9);
    EXPECT_EQ(LayerCount(block.get()), 2u);
    RemoveLayers(block.get(), 5);
    EXPECT_EQ(LayerCount(block.get()), 0u);
}

TEST(PictureLayers, OrderSortsAndMasksEvenLayers) {
    MemBlockPtr block(CreateLayerBlock());
    AddNamedLayer(block.get(), "TOP", 0, 0, 255);
    AddNamedLayer(block.get(), "MARK", 3, 0, 100);
    AddNamedLayer(block.get(), "HIDDEN", 0, 0, 0);
    AddNamedLayer(block.get(), "BASE", 0, 0, 1);
    AddNamedLayer(block.get(), "FIRST", 1, 0, 100);
    MemBlockPtr ordered(OrderLayers(block.get()));
    ASSERT_NE(ordered, nullptr);
    EXPECT_EQ(Entries(ordered.get()), (std::vector<Entry>{{"BASE", 0, 1, TB58_ROP_SRCCOPY},
                                                          {"MARK_B", 3, 100, TB58_ROP_SRCAND},
                                                          {"MARK", 3, 100, TB58_ROP_SRCPAINT},
                                                          {"FIRST_B", 1, 100, TB58_ROP_SRCAND},
                                                          {"FIRST", 1, 100, TB58_ROP_SRCPAINT},
                                                          {"TOP", 0, 255, TB58_ROP_SRCCOPY}}));
    EXPECT_EQ(LayerCount(block.get()), 5u);  // the working block stays as it was

    MemBlockPtr empty(CreateLayerBlock());
    MemBlockPtr none(OrderLayers(empty.get()));
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(LayerCount(none.get()), 0u);
}

TEST(PictureLayers, MaskNameMustFit) {
    MemBlockPtr block(CreateLayerBlock());
    AddNamedLayer(block.get(), std::string(29, 'M').c_str(), 0, 0, 2);
    MemBlockPtr ordered(OrderLayers(block.get()));
    ASSERT_NE(ordered, nullptr);
    EXPECT_EQ(Entries(ordered.get())[0].name, std::string(29, 'M') + "_B");
    // 30 characters and "_B" would not fit the 32-byte name with its end.
    AddNamedLayer(block.get(), std::string(30, 'M').c_str(), 0, 0, 2);
    EXPECT_EQ(OrderLayers(block.get()), nullptr);
    // On an odd layer no mask is needed.
    MemBlockPtr odd(CreateLayerBlock());
    AddNamedLayer(odd.get(), std::string(31, 'M').c_str(), 0, 0, 3);
    MemBlockPtr odd_ordered(OrderLayers(odd.get()));
    EXPECT_NE(odd_ordered, nullptr);
}

TEST(PictureLayers, OrderFailsCleanlyWhenMemoryRunsOut) {
    MemBlockPtr block(CreateLayerBlock());
    for (int i = 0; i < 30; ++i) AddNamedLayer(block.get(), "BM_X", i, 0, 100);  // 60 records: the output grows
    for (int fail = 0; fail < 4; ++fail) {
        test::AllocationSwitchGuard guard(fail);
        EXPECT_EQ(OrderLayers(block.get()), nullptr) << fail;
    }
}

// A marker that cannot be added fails the composition rather than leave a
// picture that shows nothing wrong.
TEST(PictureLayers, LayerThatCannotBeAddedFailsTheComposition) {
    test::TestRecord record;
    test::AppendTray(record.get(), test::kTray4);
    RecListPtr codes(RecListCreate(sizeof(uint32_t), 20, 1));
    const uint32_t code = 46123;
    RecListAdd(codes.get(), &code);
    MemBlockPtr block(CreateLayerBlock());
    for (int i = 0; i < 20; ++i) AddNamedLayer(block.get(), "BM_FILL", i, 0, 3);  // the first step is full
    {
        test::AllocationSwitchGuard fail_next(0);
        EXPECT_EQ(CollectStatusLayers(StatusContext{1, record.get()}, codes.get(), block.get()),
                  ERROR_NOT_ENOUGH_MEMORY);
    }
    EXPECT_EQ(CollectStatusLayers(StatusContext{1, record.get()}, codes.get(), block.get()), 0u);
    EXPECT_EQ(LayerCount(block.get()), 22u);
}

// Every allocation of PatCreateBitmapInfo in turn fails: the result is
// either a description or null with ERROR_NOT_ENOUGH_MEMORY, and nothing
// stays allocated (the sanitizer build checks for leaks).  (A code that the
// status selection cannot keep is missing from the description.)
TEST(PictureLayers, CreateBitmapInfoUnderFailingAllocations) {
    test::StatusPacket packet;
    packet.SetCodes({42000, 42001});
    test::AppendDevice(packet.machine(), 104);
    test::AppendDevice(packet.machine(), 21);
    test::AppendDevice(packet.machine(), 41);
    test::AppendTray(packet.machine(), test::kTray4);
    BitmapInfo* full = PatCreateBitmapInfo(1, packet.root(), 3);
    ASSERT_NE(full, nullptr);
    const uint32_t full_count = full->pLists[0].dwCount;
    EXPECT_EQ(PatDisposeBitmapInfo(full), 1);

    int failures = 0;
    for (int fail = 0; fail < 60; ++fail) {
        BitmapInfo* info = nullptr;
        {
            test::AllocationSwitchGuard guard(fail);
            info = PatCreateBitmapInfo(1, packet.root(), 3);
        }
        if (info == nullptr) {
            EXPECT_EQ(GetLastError(), TB58_ERROR_NOT_ENOUGH_MEMORY) << fail;
            ++failures;
            continue;
        }
        EXPECT_EQ(GetLastError(), 0u);
        EXPECT_LE(info->pLists[0].dwCount, full_count);
        EXPECT_EQ(PatDisposeBitmapInfo(info), 1);
    }
    EXPECT_GE(failures, 4);  // the lists, the blocks, the ordered block, the description
}

}  // namespace
