// Making one reply walk's changes of a record undoable, so that the walk
// can store as it reads while whether the reply answers its query is still
// open.  The journal keeps what the walk replaces (cleared chains, replaced
// texts) instead of freeing it, remembers where each chain ended and the
// bytes of the nodes the walk may change in place (trays, the emulation's
// unique information) and of the record itself.  Commit frees what was
// replaced; Rollback frees what was added and puts everything back.
//
// Memory is fixed: a record with more in-place nodes than the journal holds
// is not journaled (Begin returns false), and the caller checks the reply
// before it stores anything instead.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "Tb58Wk31PrnInfoEx.h"
#include "core/prn_info_ex.h"

namespace tb58 {

class RecordJournal {
public:
    RecordJournal() = default;
    RecordJournal(const RecordJournal&) = delete;
    RecordJournal& operator=(const RecordJournal&) = delete;

    // Starts keeping the changes of record; false (nothing kept) when the
    // record holds more tray or emulation nodes than the journal can hold.
    bool Begin(PrnInfoEx& record);

    // A chain is about to be emptied: true when the journal has taken its
    // nodes over (the caller then only empties the record's fields), false
    // when the caller frees them (nodes the walk added itself).
    bool KeepClearedChain(ChainId chain, ChainNode* first);

    // A text slot is about to be replaced: true when the journal keeps the
    // old text (the caller then must not free it).
    bool KeepReplacedText(char* const* field);

    void Commit();
    void Rollback();

private:
    static constexpr size_t kTrayNodes = 16;
    static constexpr size_t kEmulNodes = 4;
    static constexpr size_t kTextSlots = 6;

    struct NodeCopy {
        ChainNode* node;
        size_t length;
        unsigned char bytes[sizeof(EmulUniqInfoNode)];
    };

    bool CopyNodes(ChainNode* first, size_t capacity, size_t node_size);
    void Reset();

    PrnInfoEx* record_ = nullptr;
    PrnInfoEx before_{};
    std::array<ChainNode*, kChainCount> original_last_{};
    std::array<bool, kChainCount> cleared_{};
    std::array<ChainNode*, kChainCount> cleared_first_{};
    std::array<char*, kTextSlots> replaced_text_{};
    std::array<bool, kTextSlots> text_kept_{};
    std::array<NodeCopy, kTrayNodes + kEmulNodes> copies_{};
    size_t copy_count_ = 0;
};

}  // namespace tb58
