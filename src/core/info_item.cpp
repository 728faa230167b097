#include "core/info_item.h"

#include <cstring>

#include "platform/win32_api.h"

namespace tb58 {
namespace {

unsigned char* DataOf(const InfoItem* item) {
    return reinterpret_cast<unsigned char*>(const_cast<InfoItem*>(item)) + INFO_ITEM_HEADER_SIZE;
}

bool SizeRuleHolds(uint32_t length, uint32_t expected, SizeRule rule) {
    switch (rule) {
        case SizeRule::kExact: return length == expected;
        case SizeRule::kShorterAllowed: return length <= expected;
        case SizeRule::kLongerAllowed: return length >= expected;
    }
    return false;
}

}  // namespace

InfoItem* InfoItemCreate(InfoItem* parent, uint32_t key, const void* data, uint32_t length) {
    if (data == nullptr && length != 0) return nullptr;
    auto* item = static_cast<InfoItem*>(GlobalAlloc(GMEM_FIXED, SIZE_T{INFO_ITEM_HEADER_SIZE} + length));
    if (item == nullptr) return nullptr;
    item->key = key;
    item->parent = nullptr;
    item->firstChild = nullptr;
    item->next = nullptr;
    item->lastChild = nullptr;
    item->dataLength = length;
    if (length != 0) std::memcpy(DataOf(item), data, length);
    if (parent != nullptr) InfoItemAppend(parent, item);
    return item;
}

int InfoItemAppend(InfoItem* parent, InfoItem* item) {
    if (parent == nullptr || item == nullptr || item == parent) return 0;
    if (item->parent != nullptr || item->next != nullptr) return 0;
    item->parent = parent;
    if (parent->lastChild == nullptr) {
        parent->firstChild = item;
    } else {
        parent->lastChild->next = item;
    }
    parent->lastChild = item;
    return 1;
}

int InfoItemGetInfo(const InfoItem* item, uint32_t* key, uint32_t* length) {
    if (item == nullptr) return 0;
    if (key != nullptr) *key = item->key;
    if (length != nullptr) *length = item->dataLength;
    return 1;
}

InfoItem* InfoItemFirstChild(const InfoItem* item) { return item == nullptr ? nullptr : item->firstChild; }

InfoItem* InfoItemNext(const InfoItem* item) { return item == nullptr ? nullptr : item->next; }

InfoItem* InfoItemFind(InfoItem* item, uint32_t key) {
    for (; item != nullptr; item = item->next) {
        if (item->key == key) return item;
    }
    return nullptr;
}

void* InfoItemData(InfoItem* item, uint32_t expected_length, SizeRule rule) {
    if (item == nullptr || !SizeRuleHolds(item->dataLength, expected_length, rule)) return nullptr;
    return DataOf(item);
}

int InfoItemCopyData(const InfoItem* item, void* destination, uint32_t expected_length, SizeRule rule) {
    if (item == nullptr || destination == nullptr) return 0;
    if (!SizeRuleHolds(item->dataLength, expected_length, rule)) return 0;
    const uint32_t n = item->dataLength < expected_length ? item->dataLength : expected_length;
    if (n != 0) std::memcpy(destination, DataOf(item), n);
    return 1;
}

std::string_view InfoItemText(const InfoItem* item) {
    if (item == nullptr || item->dataLength == 0) return {};
    const auto* text = reinterpret_cast<const char*>(DataOf(item));
    const void* zero = std::memchr(text, '\0', item->dataLength);
    return {text, zero == nullptr ? item->dataLength : static_cast<size_t>(static_cast<const char*>(zero) - text)};
}

void InfoItemFreeTree(InfoItem* root) {
    if (root == nullptr) return;
    InfoItem* child = root->firstChild;
    while (child != nullptr) {
        InfoItem* next = child->next;
        InfoItemFreeTree(child);
        child = next;
    }
    GlobalFree(root);
}

}  // namespace tb58
