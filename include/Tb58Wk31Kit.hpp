/*
 * The caller's side of the library in C++, header-only, over the public C
 * headers: building information packets and status packets, filling and
 * releasing printer information records.  Everything the library hands to
 * a caller or takes from one lives in fixed global memory (GlobalAlloc /
 * GlobalFree); these helpers allocate and release it the way the library
 * expects.  They never throw: an allocation that fails gives a null
 * pointer and leaves everything else as it was.
 *
 * A status monitor's cycle with them:
 *
 *   tb58kit::Record record;                       // dwSize set, all else empty
 *   InfoItem* packet = tb58kit::NewItem(ITEM_CENTRO_DATA, nullptr, 0);
 *   tb58kit::AppendChild(packet, PatCreateQueryInfo(record.get(), TB58_REVISION_QUERY, flags));
 *   tb58kit::AppendChild(packet, tb58kit::NewTextItem(ITEM_PJL_TEXT, reply));
 *   PatSetCentroDataTo(packet, 0, record.get(), TB58_REVISION_QUERY);
 *   tb58kit::FreeTree(packet);
 *
 *   InfoItem* status = tb58kit::NewItem(ITEM_STATUS, nullptr, 0);
 *   tb58kit::AppendRecordItem(status, ITEM_STATUS_MACHINE, record.get());
 *   tb58kit::AppendRecordItem(status, ITEM_STATUS_PRINTER, record.get());
 *   PatGetStatusString(TB58_KIND_PRINTER, status, TB58_REVISION_STATUS, TB58_STATUS_SHORT_TEXT, text, &size);
 *   tb58kit::FreeTree(status);                    // the records stay the caller's
 */
#ifndef TB58WK31_KIT_HPP
#define TB58WK31_KIT_HPP

#include <cstdint>
#include <cstring>
#include <string_view>

#include "Tb58Wk31Platform.h"

namespace tb58kit {

// ---- Information packets ----------------------------------------------------

// A new item: INFO_ITEM_HEADER_SIZE header bytes, then length data bytes
// copied from data (zeros when data is null).  Null when memory runs out.
inline InfoItem* NewItem(uint32_t key, const void* data, uint32_t length) {
    auto* item = static_cast<InfoItem*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, INFO_ITEM_HEADER_SIZE + length));
    if (item == nullptr) return nullptr;
    item->key = key;
    item->dataLength = length;
    if (length != 0 && data != nullptr) std::memcpy(reinterpret_cast<char*>(item) + INFO_ITEM_HEADER_SIZE, data, length);
    return item;
}

// A new text item: the text and its terminating zero.
inline InfoItem* NewTextItem(uint32_t key, std::string_view text) {
    InfoItem* item = NewItem(key, nullptr, static_cast<uint32_t>(text.size() + 1));
    if (item != nullptr && !text.empty()) {
        std::memcpy(reinterpret_cast<char*>(item) + INFO_ITEM_HEADER_SIZE, text.data(), text.size());
    }
    return item;
}

// Links child (may be null: nothing happens) as the last child of parent.
inline void AppendChild(InfoItem* parent, InfoItem* child) {
    if (parent == nullptr || child == nullptr) return;
    child->parent = parent;
    child->next = nullptr;
    if (parent->lastChild == nullptr) {
        parent->firstChild = child;
    } else {
        parent->lastChild->next = child;
    }
    parent->lastChild = child;
}

// A status packet child: an item whose data is the address of a record.
// The record stays the caller's; false when memory runs out.
inline bool AppendRecordItem(InfoItem* parent, uint32_t key, PrnInfoEx* record) {
    InfoItem* item = NewItem(key, &record, sizeof record);
    AppendChild(parent, item);
    return item != nullptr;
}

// Releases a packet item by item with GlobalFree: children before their
// parent, siblings in chain order.  A packet the library made (QueryInfo)
// and one the caller built are released the same way.
inline void FreeTree(InfoItem* item) {
    while (item != nullptr) {
        InfoItem* next = item->next;
        FreeTree(item->firstChild);
        GlobalFree(item);
        item = next;
    }
}

// ---- Printer information records ---------------------------------------------

// Releases every node of a chain, following next before freeing.
inline void ReleaseChain(void* node) {
    while (node != nullptr) {
        void* next = static_cast<ChainNode*>(node)->next;
        GlobalFree(node);
        node = next;
    }
}

// Releases every text and every node of every chain of a record, and leaves
// it empty with its dwSize.
inline void ReleaseRecord(PrnInfoEx& record) {
#define TB58KIT_RELEASE_TEXT(text) \
    if (record.text != nullptr) GlobalFree(record.text);
#define TB58KIT_RELEASE_CHAIN(first, count) ReleaseChain(record.first);
    TB58_PRNINFOEX_TEXTS(TB58KIT_RELEASE_TEXT)
    TB58_PRNINFOEX_CHAINS(TB58KIT_RELEASE_CHAIN)
#undef TB58KIT_RELEASE_TEXT
#undef TB58KIT_RELEASE_CHAIN
    const uint32_t size = record.dwSize;
    std::memset(&record, 0, sizeof record);
    record.dwSize = size;
}

// A new node of the given type (fixed, zero-filled, size set) linked at
// the end of the chain whose first-node field is first and counted in
// count.  Null when memory runs out (the chain is unchanged).
template <typename Node, typename First>
Node* AppendNode(First*& first, uint32_t& count) {
    auto* node = static_cast<Node*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(Node)));
    if (node == nullptr) return nullptr;
    node->size = sizeof(Node);
    void** link = reinterpret_cast<void**>(&first);
    while (*link != nullptr) link = &static_cast<ChainNode*>(*link)->next;
    *link = node;
    ++count;
    return node;
}

// An engine status node with code and text (cut to its field).
inline EngineStatusNode* AppendEngineStatus(PrnInfoEx& record, int32_t code, std::string_view text = {}) {
    auto* node = AppendNode<EngineStatusNode>(record.pEngineStatus, record.nEngineStatus);
    if (node == nullptr) return nullptr;
    node->wCode = static_cast<uint16_t>(static_cast<uint32_t>(code) & 0xFFFFu);
    node->dwCode = code;
    const size_t length = text.size() < sizeof node->szText - 1 ? text.size() : sizeof node->szText - 1;
    if (length != 0) std::memcpy(node->szText, text.data(), length);
    return node;
}

// An installed option (TB58_OPTION_...).
inline DeviceInfoNode* AppendOption(PrnInfoEx& record, uint16_t option) {
    auto* node = AppendNode<DeviceInfoNode>(record.pDeviceInfo, record.nDeviceInfo);
    if (node != nullptr) node->wOptionCode = option;
    return node;
}

// A tray (TB58_TRAY_...).
inline TrayInfoNode* AppendTray(PrnInfoEx& record, uint16_t tray) {
    auto* node = AppendNode<TrayInfoNode>(record.pTrayInfo, record.nTrayInfo);
    if (node != nullptr) node->wTrayCode = tray;
    return node;
}

// A record as the library asks for one (dwSize set, everything else zero),
// released with everything the library stored in it when it goes.
class Record {
public:
    Record() {
        std::memset(&record_, 0, sizeof record_);
        record_.dwSize = sizeof record_;
    }
    ~Record() { ReleaseRecord(record_); }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    PrnInfoEx* get() { return &record_; }
    const PrnInfoEx* get() const { return &record_; }
    PrnInfoEx* operator->() { return &record_; }
    const PrnInfoEx* operator->() const { return &record_; }
    PrnInfoEx& operator*() { return record_; }

private:
    PrnInfoEx record_;
};

}  // namespace tb58kit

#endif /* TB58WK31_KIT_HPP */
