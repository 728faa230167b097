// Operations on the texts and chains of the printer information record.
// Every filler reaches them through these, by typed field id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Tb58Wk31PrnInfoEx.h"

namespace tb58 {


// Where a chain slot lies in a record.
struct ChainSlot {
    ChainNode* first;         // the first node when the slot was resolved
    void* first_location;     // the record's first-node pointer field
    uint32_t* count_location;  // the record's node count field
};

// The record's chains and texts, named as their fields, in the order of
// the fields (the lists of Tb58Wk31PrnInfoEx.h): ChainId::pTrayInfo,
// TextId::pModelName.
#define TB58_CHAIN_ID(first, count) first,
enum class ChainId : uint32_t { TB58_PRNINFOEX_CHAINS(TB58_CHAIN_ID) };
#undef TB58_CHAIN_ID
#define TB58_TEXT_ID(text) text,
enum class TextId : uint32_t { TB58_PRNINFOEX_TEXTS(TB58_TEXT_ID) };
#undef TB58_TEXT_ID
inline constexpr size_t kChainCount = 11;
inline constexpr size_t kTextCount = 6;

// The first node of a chain field, read without regard to its node type.
inline ChainNode* FirstNode(const void* first_location) {
    ChainNode* node = nullptr;
    std::memcpy(&node, first_location, sizeof node);
    return node;
}

// Where each chain's fields lie in a record, in the order of ChainId.
struct ChainOffsets {
    size_t first;
    size_t count;
};
inline constexpr ChainOffsets kChainOffsets[] = {
#define TB58_CHAIN_OFFSETS(first, count) {offsetof(PrnInfoEx, first), offsetof(PrnInfoEx, count)},
    TB58_PRNINFOEX_CHAINS(TB58_CHAIN_OFFSETS)
#undef TB58_CHAIN_OFFSETS
};
static_assert(sizeof kChainOffsets / sizeof kChainOffsets[0] == kChainCount);

// Where a chain lies in a record.
inline ChainSlot PrnInfoExChain(PrnInfoEx* record, ChainId chain) {
    const ChainOffsets& offsets = kChainOffsets[static_cast<size_t>(chain)];
    auto* bytes = reinterpret_cast<unsigned char*>(record);
    ChainSlot slot{};
    slot.first_location = bytes + offsets.first;
    slot.count_location = reinterpret_cast<uint32_t*>(bytes + offsets.count);
    slot.first = FirstNode(slot.first_location);
    return slot;
}

// The field name of a chain or a text ("pTrayInfo"), for messages.
std::string_view PrnInfoExChainName(ChainId chain);
std::string_view PrnInfoExTextName(TextId text);

// Replaces a text of the record with a copy of text in its own global
// memory block; a field that holds the same text already keeps its block.
// 0 for a failed allocation (the old text is released and the field left
// null).
int PrnInfoExSetString(PrnInfoEx* record, TextId field, std::string_view text);

// Links node (whose next must be null) behind the last node of the chain
// and counts it; the record owns the node from then on.
void PrnInfoExAppend(PrnInfoEx* record, ChainId chain, ChainNode* node);

// Frees every node of the chain; pointer null, count 0.
void PrnInfoExClear(PrnInfoEx* record, ChainId chain);

// 1 when pDeviceInfo holds a node with the option code.
int PrnInfoExHasDevice(const PrnInfoEx* record, uint16_t option_code);

enum DeviceTestMode : uint32_t {
    kDevicesAll = 1,  // every code present
    kDevicesAny = 2,  // some code present
    // any other mode: the first code alone
};

// Tests count (>= 1) option codes against pDeviceInfo; 0 for count 0.
int PrnInfoExTestDevices(const PrnInfoEx* record, const uint16_t* codes, uint32_t count, uint32_t mode);

// Appends an EngineStatusNode with code and an empty text; a failed
// allocation loses the code silently.
void PrnInfoExAddEngineStatus(PrnInfoEx* record, int32_t code);

}  // namespace tb58
