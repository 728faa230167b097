// Appending to a record's chains while one reply is taken in.  Each chain's
// last node is remembered, so that a reply listing thousands of options or
// bins costs the same per line as one listing three.  The remembered ends
// stay right as long as every change of the chains during that time goes
// through this object; the reply dispatch makes all of its changes so.
#pragma once

#include <array>
#include <cstdint>

#include "Tb58Wk31PrnInfoEx.h"
#include "core/prn_info_ex.h"
#include "core/record_journal.h"

namespace tb58 {

class ChainTails {
public:
    // With a journal, the nodes a clear takes out are kept for it (see
    // record_journal.h) instead of freed.
    explicit ChainTails(PrnInfoEx& record, RecordJournal* journal = nullptr) : record_(record), journal_(journal) {}
    ChainTails(const ChainTails&) = delete;
    ChainTails& operator=(const ChainTails&) = delete;

    PrnInfoEx& record() { return record_; }
    RecordJournal* journal() { return journal_; }

    // Links node (whose next must be null) behind the chain's last node and
    // counts it; the record owns the node from then on.
    void Append(ChainId chain, ChainNode* node);

    // Frees every node of the chain; pointer null, count 0.
    void Clear(ChainId chain);

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
    RecordJournal* journal_;
    std::array<ChainNode*, kChainCount> last_{};   // null: not known yet
    std::array<ChainNode*, kChainCount> found_{};  // FindOrAdd's last node; null after a clear
};

}  // namespace tb58
