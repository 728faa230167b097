// Chain nodes: zero-filled global memory blocks that start with the
// ChainNode header (next, total size, item code) and are linked into the
// chains of a PrnInfoEx.
#pragma once

#include <cstdint>
#include <memory>

#include "Tb58Wk31PrnInfoEx.h"
#include "platform/win32_api.h"

namespace tb58 {

// A zero-filled node of total_size bytes with next null and size set; null
// when memory runs out or total_size is smaller than the ChainNode header.
ChainNode* ChainNodeAlloc(uint32_t total_size);

// A new node of a node type, as ChainNodeAlloc(sizeof(Node)).
template <typename Node>
Node* AllocNode() {
    static_assert(sizeof(Node) >= sizeof(ChainNode));
    return reinterpret_cast<Node*>(ChainNodeAlloc(sizeof(Node)));
}

// Frees every node of a chain, following next before each node is freed.
void ChainFree(ChainNode* first);

// The chain that results from linking node behind the last node of first.
ChainNode* ChainAppend(ChainNode* first, ChainNode* node);

// The first node whose item code equals code, or null.
ChainNode* ChainFindCode(ChainNode* first, uint16_t code);

inline ChainNode* NextNode(const ChainNode* node) { return static_cast<ChainNode*>(node->next); }

struct ChainNodeDeleter {
    void operator()(void* node) const noexcept { GlobalFree(node); }
};

// Owns one node until it is linked into a record.
template <typename Node>
using NodePtr = std::unique_ptr<Node, ChainNodeDeleter>;

}  // namespace tb58
