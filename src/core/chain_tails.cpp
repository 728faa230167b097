#include "core/chain_tails.h"

#include <cstring>

#include "core/chain_node.h"

namespace tb58 {

void ChainTails::Append(ChainId chain, ChainNode* node) {
    const ChainSlot slot = PrnInfoExChain(&record_, chain);
    ChainNode*& last = last_[static_cast<size_t>(chain)];
    // The first append walks the chain the record came with; later ones
    // start at the node appended last.
    if (last == nullptr) last = slot.first;
    if (last == nullptr) {
        std::memcpy(slot.first_location, &node, sizeof node);
    } else {
        while (last->next != nullptr) last = NextNode(last);
        last->next = node;
    }
    last = node;
    ++*slot.count_location;
}

ChainTails::~ChainTails() {
    for (ChainNode* spare : spare_) ChainFree(spare);
}

void ChainTails::Clear(ChainId chain) {
    const ChainSlot slot = PrnInfoExChain(&record_, chain);
    ChainNode*& spare = spare_[static_cast<size_t>(chain)];
    ChainFree(spare);  // what an earlier clear left over
    spare = slot.first;
    ChainNode* const none = nullptr;
    std::memcpy(slot.first_location, &none, sizeof none);
    *slot.count_location = 0;
    last_[static_cast<size_t>(chain)] = nullptr;
    found_[static_cast<size_t>(chain)] = nullptr;
}

ChainNode* ChainTails::FindOrAddNode(ChainId chain, uint32_t node_size, uint32_t code) {
    const auto item_code = static_cast<uint16_t>(code & 0xFFFF);
    ChainNode*& found = found_[static_cast<size_t>(chain)];
    found = ChainFindCode(PrnInfoExChain(&record_, chain).first, item_code);
    if (found != nullptr) return found;
    ChainNode* node = NewNode(chain, node_size);
    if (node == nullptr) return nullptr;
    node->code = item_code;
    Append(chain, node);
    found = node;
    return node;
}

ChainNode* ChainTails::NewNode(ChainId chain, uint32_t node_size) {
    ChainNode*& spare = spare_[static_cast<size_t>(chain)];
    if (spare == nullptr || node_size < sizeof(ChainNode)) return ChainNodeAlloc(node_size);
    ChainNode* node = spare;
    spare = NextNode(node);
    // A node the caller linked in may be of another size.
    if (GlobalSize(node) < node_size) {
        GlobalFree(node);
        return ChainNodeAlloc(node_size);
    }
    std::memset(static_cast<void*>(node), 0, node_size);
    node->size = node_size;
    return node;
}

}  // namespace tb58
