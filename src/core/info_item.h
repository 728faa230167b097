// Operations on information packet items (the InfoItem tree of the public
// header).  Items the library builds are fixed global memory blocks of
// 48 + data length bytes; packets the caller built are only read.
#pragma once

#include <cstdint>
#include <string_view>

#include "Tb58Wk31InfoItem.h"

namespace tb58 {

// How a data length is checked against the expected length.
enum class SizeRule : uint8_t {
    kExact = 0,           // equal
    kShorterAllowed = 1,  // equal or shorter
    kLongerAllowed = 2,   // equal or longer; a copy takes at most the expected length
};

// A new item with a copy of length data bytes (none when data is null and
// length 0), appended to parent when one is given.  Null when data is null
// but length is not 0, or when memory runs out.
InfoItem* InfoItemCreate(InfoItem* parent, uint32_t key, const void* data, uint32_t length);

// Appends item as the last child of parent; 0 when either is missing or the
// item already has a parent or a next sibling (both trees left unchanged).
int InfoItemAppend(InfoItem* parent, InfoItem* item);

// 1 when item exists; then *key and *length are written where given.
int InfoItemGetInfo(const InfoItem* item, uint32_t* key, uint32_t* length);

InfoItem* InfoItemFirstChild(const InfoItem* item);
InfoItem* InfoItemNext(const InfoItem* item);

// The first item with key from item itself along the sibling chain.
InfoItem* InfoItemFind(InfoItem* item, uint32_t key);

// The item's data, or null when the item is missing or the size rule fails.
void* InfoItemData(InfoItem* item, uint32_t expected_length, SizeRule rule);

// Copies the data into destination (nothing for an expected length of 0);
// 0 when item or destination is missing or the size rule fails.
int InfoItemCopyData(const InfoItem* item, void* destination, uint32_t expected_length, SizeRule rule);

// The item's data as text: up to its first zero byte, never past the data
// length.  Empty for a missing item.
std::string_view InfoItemText(const InfoItem* item);

// Frees a tree the library built: the item, its children and their
// descendants (for packets whose building failed part-way).
void InfoItemFreeTree(InfoItem* root);

}  // namespace tb58
