#include "core/record_journal.h"

#include <cstring>

#include "core/chain_node.h"
#include "platform/win32_api.h"

namespace tb58 {
namespace {

// The record's six text slots stand one after the other.
char** TextSlot(PrnInfoEx& record, size_t at) { return &record.pModelName + at; }

}  // namespace

bool RecordJournal::CopyNodes(ChainNode* first, size_t capacity, size_t node_size) {
    size_t taken = 0;
    for (ChainNode* node = first; node != nullptr; node = NextNode(node)) {
        if (++taken > capacity || node->size < node_size) return false;
        NodeCopy& copy = copies_[copy_count_++];
        copy.node = node;
        copy.length = node_size;
        std::memcpy(copy.bytes, node, node_size);
    }
    return true;
}

void RecordJournal::Reset() {
    record_ = nullptr;
    original_last_.fill(nullptr);
    cleared_.fill(false);
    cleared_first_.fill(nullptr);
    replaced_text_.fill(nullptr);
    text_kept_.fill(false);
    copy_count_ = 0;
}

bool RecordJournal::Begin(PrnInfoEx& record) {
    Reset();
    if (!CopyNodes(reinterpret_cast<ChainNode*>(record.pTrayInfo), kTrayNodes, sizeof(TrayInfoNode)) ||
        !CopyNodes(reinterpret_cast<ChainNode*>(record.pEmulUniqInfo), kEmulNodes, sizeof(EmulUniqInfoNode))) {
        copy_count_ = 0;
        return false;
    }
    for (size_t i = 0; i < kChainCount; ++i) {
        ChainNode* last = PrnInfoExChain(&record, static_cast<ChainId>(i)).first;
        while (last != nullptr && last->next != nullptr) last = NextNode(last);
        original_last_[i] = last;
    }
    std::memcpy(&before_, &record, sizeof before_);
    record_ = &record;
    return true;
}

bool RecordJournal::KeepClearedChain(ChainId chain, ChainNode* first) {
    const auto i = static_cast<size_t>(chain);
    if (record_ == nullptr || cleared_[i]) return false;
    cleared_[i] = true;
    cleared_first_[i] = first;
    return true;
}

bool RecordJournal::KeepReplacedText(char* const* field) {
    if (record_ == nullptr) return false;
    const auto at = static_cast<size_t>(field - TextSlot(*record_, 0));
    if (at >= kTextSlots || text_kept_[at]) return false;
    text_kept_[at] = true;
    replaced_text_[at] = *field;
    return true;
}

void RecordJournal::Commit() {
    if (record_ == nullptr) return;
    for (size_t i = 0; i < kChainCount; ++i) {
        if (cleared_[i]) ChainFree(cleared_first_[i]);
    }
    for (size_t at = 0; at < kTextSlots; ++at) {
        if (text_kept_[at] && replaced_text_[at] != nullptr) GlobalFree(replaced_text_[at]);
    }
    Reset();
}

void RecordJournal::Rollback() {
    if (record_ == nullptr) return;
    PrnInfoEx& record = *record_;
    // What the walk added: every node behind a chain's original end (in the
    // chain it cleared, and in the chain as it stands now) and every new text.
    for (size_t i = 0; i < kChainCount; ++i) {
        ChainNode* now = PrnInfoExChain(&record, static_cast<ChainId>(i)).first;
        ChainNode* original = cleared_[i] ? cleared_first_[i] : now;
        if (cleared_[i]) ChainFree(now);
        if (ChainNode* last = original_last_[i]) {
            ChainFree(NextNode(last));
            last->next = nullptr;
        } else {
            ChainFree(original);
        }
    }
    for (size_t at = 0; at < kTextSlots; ++at) {
        char* now = *TextSlot(record, at);
        if (text_kept_[at] && now != nullptr) GlobalFree(now);
    }
    // What the walk changed in place, then the record's own fields.
    for (size_t c = 0; c < copy_count_; ++c) std::memcpy(copies_[c].node, copies_[c].bytes, copies_[c].length);
    std::memcpy(&record, &before_, sizeof record);
    Reset();
}

}  // namespace tb58
