#include "core/chain_node.h"

namespace tb58 {

ChainNode* ChainNodeAlloc(uint32_t total_size) {
    if (total_size < sizeof(ChainNode)) return nullptr;
    auto* node = static_cast<ChainNode*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, total_size));
    if (node == nullptr) return nullptr;
    node->next = nullptr;
    node->size = total_size;
    return node;
}

void ChainFree(ChainNode* first) {
    while (first != nullptr) {
        ChainNode* next = NextNode(first);
        GlobalFree(first);
        first = next;
    }
}

ChainNode* ChainAppend(ChainNode* first, ChainNode* node) {
    if (first == nullptr) return node;
    ChainNode* last = first;
    while (last->next != nullptr) last = NextNode(last);
    last->next = node;
    return first;
}

ChainNode* ChainFindCode(ChainNode* first, uint16_t code) {
    for (ChainNode* node = first; node != nullptr; node = NextNode(node)) {
        if (node->code == code) return node;
    }
    return nullptr;
}

}  // namespace tb58
