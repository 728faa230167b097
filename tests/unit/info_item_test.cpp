// Information packet items: building, linking, finding, the size rules and
// reading texts within their data length.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Tb58Wk31PrnInfoEx.h"
#include "core/info_item.h"
#include "platform/win32_api.h"
#include "support/allocation_switch.h"

namespace {

using namespace tb58;
using test::AllocationSwitchGuard;

struct TreeOwner {
    InfoItem* root = nullptr;
    ~TreeOwner() { InfoItemFreeTree(root); }
};

TEST(InfoItem, QueryShapedPacketWithBothRequests) {
    TreeOwner tree;
    tree.root = InfoItemCreate(nullptr, ITEM_QUERY_INFO, nullptr, 0);
    ASSERT_NE(tree.root, nullptr);
    const std::string text = "\x1b%-12345X@PJL INFO CONFIG\r\n\x1b%-12345X";
    InfoItem* id = InfoItemCreate(tree.root, ITEM_DEVICE_ID, nullptr, 0);
    InfoItem* pjl = InfoItemCreate(tree.root, ITEM_PJL_TEXT, text.c_str(), static_cast<uint32_t>(text.size() + 1));
    ASSERT_NE(id, nullptr);
    ASSERT_NE(pjl, nullptr);
    EXPECT_EQ(tree.root->firstChild, id);
    EXPECT_EQ(tree.root->lastChild, pjl);
    EXPECT_EQ(id->next, pjl);
    EXPECT_EQ(pjl->next, nullptr);
    EXPECT_EQ(id->parent, tree.root);
    EXPECT_EQ(pjl->parent, tree.root);
    EXPECT_EQ(GlobalSize(id), 48u);
    EXPECT_EQ(GlobalSize(pjl), 48u + text.size() + 1);
    EXPECT_EQ(pjl->dataLength, text.size() + 1);
    EXPECT_EQ(InfoItemText(pjl), text);
    uint32_t key = 0;
    uint32_t length = 99;
    ASSERT_EQ(InfoItemGetInfo(tree.root, &key, &length), 1);
    EXPECT_EQ(key, ITEM_QUERY_INFO);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(InfoItemGetInfo(nullptr, &key, &length), 0);
    EXPECT_EQ(InfoItemGetInfo(pjl, nullptr, nullptr), 1);
}

TEST(InfoItem, DataWithoutAddressIsRefusedAndAddressWithoutLengthGivesNoData) {
    EXPECT_EQ(InfoItemCreate(nullptr, ITEM_PJL_TEXT, nullptr, 5), nullptr);
    InfoItem* empty = InfoItemCreate(nullptr, ITEM_PJL_TEXT, "abc", 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->dataLength, 0u);
    EXPECT_EQ(GlobalSize(empty), 48u);
    EXPECT_EQ(InfoItemText(empty), "");
    InfoItemFreeTree(empty);
}

TEST(InfoItem, AppendingAnItemThatAlreadyHasAParentFails) {
    TreeOwner first;
    TreeOwner second;
    first.root = InfoItemCreate(nullptr, ITEM_CENTRO_DATA, nullptr, 0);
    second.root = InfoItemCreate(nullptr, ITEM_CENTRO_DATA, nullptr, 0);
    InfoItem* child = InfoItemCreate(first.root, ITEM_PJL_TEXT, nullptr, 0);
    EXPECT_EQ(InfoItemAppend(second.root, child), 0);
    EXPECT_EQ(second.root->firstChild, nullptr);
    EXPECT_EQ(child->parent, first.root);
    EXPECT_EQ(InfoItemAppend(first.root, nullptr), 0);
    EXPECT_EQ(InfoItemAppend(nullptr, child), 0);
    EXPECT_EQ(InfoItemAppend(first.root, first.root), 0);
}

TEST(InfoItem, FindSearchesOneLevelAndYieldsTheFirstMatch) {
    TreeOwner tree;
    tree.root = InfoItemCreate(nullptr, ITEM_CENTRO_DATA, nullptr, 0);
    InfoItem* first_text = InfoItemCreate(tree.root, ITEM_PJL_TEXT, "a", 2);
    InfoItem* second_text = InfoItemCreate(tree.root, ITEM_PJL_TEXT, "b", 2);
    InfoItem* query = InfoItemCreate(tree.root, ITEM_QUERY_INFO, nullptr, 0);
    InfoItemCreate(query, ITEM_DEVICE_ID, nullptr, 0);
    InfoItem* children = InfoItemFirstChild(tree.root);
    EXPECT_EQ(InfoItemFind(children, ITEM_PJL_TEXT), first_text);
    EXPECT_EQ(InfoItemFind(InfoItemNext(first_text), ITEM_PJL_TEXT), second_text);
    EXPECT_EQ(InfoItemFind(children, ITEM_QUERY_INFO), query);
    EXPECT_EQ(InfoItemFind(children, ITEM_DEVICE_ID), nullptr);  // only one level
    EXPECT_EQ(InfoItemFind(nullptr, ITEM_PJL_TEXT), nullptr);
    EXPECT_EQ(InfoItemFirstChild(nullptr), nullptr);
    EXPECT_EQ(InfoItemNext(nullptr), nullptr);
}

TEST(InfoItem, SizeRules) {
    const uint32_t code = 15;
    InfoItem* item = InfoItemCreate(nullptr, ITEM_EMUL_CENTRO_DATA, &code, 4);
    uint64_t out = 0;
    EXPECT_NE(InfoItemData(item, 4, SizeRule::kExact), nullptr);
    EXPECT_EQ(InfoItemData(item, 8, SizeRule::kExact), nullptr);
    EXPECT_NE(InfoItemData(item, 8, SizeRule::kShorterAllowed), nullptr);
    EXPECT_EQ(InfoItemData(item, 2, SizeRule::kShorterAllowed), nullptr);
    EXPECT_NE(InfoItemData(item, 2, SizeRule::kLongerAllowed), nullptr);
    EXPECT_EQ(InfoItemCopyData(item, &out, 8, SizeRule::kExact), 0);
    EXPECT_EQ(InfoItemCopyData(item, &out, 8, SizeRule::kShorterAllowed), 1);
    EXPECT_EQ(out, 15u);  // only the 4 bytes the item holds
    uint16_t half = 0;
    EXPECT_EQ(InfoItemCopyData(item, &half, 2, SizeRule::kLongerAllowed), 1);
    EXPECT_EQ(half, 15u);
    EXPECT_EQ(InfoItemCopyData(item, nullptr, 4, SizeRule::kExact), 0);
    EXPECT_EQ(InfoItemCopyData(nullptr, &out, 4, SizeRule::kExact), 0);
    EXPECT_EQ(InfoItemData(nullptr, 0, SizeRule::kExact), nullptr);
    InfoItemFreeTree(item);
}

TEST(InfoItem, StatusChildCarriesARecordAddress) {
    TreeOwner tree;
    tree.root = InfoItemCreate(nullptr, ITEM_STATUS, nullptr, 0);
    PrnInfoEx record{};
    PrnInfoEx* address = &record;
    InfoItemCreate(tree.root, ITEM_STATUS_MACHINE, &address, sizeof address);
    PrnInfoEx* read_back = nullptr;
    InfoItem* child = InfoItemFind(InfoItemFirstChild(tree.root), ITEM_STATUS_MACHINE);
    ASSERT_EQ(InfoItemCopyData(child, &read_back, 8, SizeRule::kExact), 1);
    EXPECT_EQ(read_back, &record);
}

TEST(InfoItem, TextWithoutZeroEndsAtTheDataLength) {
    InfoItem* item = InfoItemCreate(nullptr, ITEM_DEVICE_ID, "MFG:X;MDL:Y;", 5);
    EXPECT_EQ(InfoItemText(item), "MFG:X");
    InfoItemFreeTree(item);
    InfoItem* inner_zero = InfoItemCreate(nullptr, ITEM_DEVICE_ID, "ab\0cd", 5);
    EXPECT_EQ(InfoItemText(inner_zero), "ab");
    InfoItemFreeTree(inner_zero);
}

TEST(InfoItem, AllocationFailureGivesNoItemAndLeavesTheParentAlone) {
    TreeOwner tree;
    tree.root = InfoItemCreate(nullptr, ITEM_QUERY_INFO, nullptr, 0);
    {
        AllocationSwitchGuard fail_next(0);
        EXPECT_EQ(InfoItemCreate(tree.root, ITEM_PJL_TEXT, "x", 2), nullptr);
    }
    EXPECT_EQ(tree.root->firstChild, nullptr);
    EXPECT_EQ(tree.root->lastChild, nullptr);
}

}  // namespace
