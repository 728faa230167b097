// Appending to a record's chains while one reply is taken in.  Each chain's
// last node is remembered, so that a reply listing thousands of options or
// bins costs the same per line as one listing three.  The remembered ends
// stay right as long as every change of the chains during that time goes
// through this object; the reply dispatch makes all of its changes so.
//
// A reply that lists a chain again clears it and adds the same kind of
// nodes: the nodes a clear takes out are kept as spares for the new ones of
// that chain, and the spares left over are freed with this object.
#pragma once

#include <array>
#include <cstdint>

#include "Tb58Wk31PrnInfoEx.h"
#include "core/prn_info_ex.h"

namespace tb58 {

class ChainTails {
public:
    explicit ChainTails(PrnInfoEx& record) : record_(record) {}
    ~ChainTails();
    ChainTails(const ChainTails&) = delete;
    ChainTails& operator=(const ChainTails&) = delete;

    PrnInfoEx& record() { return record_; }

    // Links node (whose next must be null) behind the chain's last node and
    // counts it; the record owns the node from then on.
    void Append(ChainId chain, ChainNode* node);

    // Takes every node out of the chain (kept as spares until this object
    // goes); pointer null, count 0.
    void Clear(ChainId chain);

    // A zero-filled node of node_size bytes (size set, next null) for the
    // chain: a spare of the chain when one is left, else a new block; null
    // when memory runs out.  Not linked yet: Append links it.
    ChainNode* NewNode(ChainId chain, uint32_t node_size);

    template <typename Node>
    Node* New(ChainId chain) {
        static_assert(sizeof(Node) >= sizeof(ChainNode));
        return reinterpret_cast<Node*>(NewNode(chain, sizeof(Node)));
    }

    // The chain's node whose item code is the low 16 bits of code, added
    // (zero-filled, node_size bytes) when the chain has none; null when
    // memory runs out.  The node found last is tried first: a reply asks
    // about one tray several times in a row.
    ChainNode* FindOrAdd(ChainId chain, uint32_t node_size, uint32_t code) {
        ChainNode* recent = found_[static_cast<size_t>(chain)];
        if (recent != nullptr && recent->code == static_cast<uint16_t>(code & 0xFFFF)) return recent;
        return FindOrAddNode(chain, node_size, code);
    }

private:
    ChainNode* FindOrAddNode(ChainId chain, uint32_t node_size, uint32_t code);

    PrnInfoEx& record_;
    std::array<ChainNode*, kChainCount> last_{};   // null: not known yet
    std::array<ChainNode*, kChainCount> found_{};  // FindOrAdd's last node; null after a clear
    std::array<ChainNode*, kChainCount> spare_{};  // nodes cleared out, for NewNode
};

}  // namespace tb58
