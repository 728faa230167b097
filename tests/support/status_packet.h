// A status packet built the way a caller builds one, from the public layout:
// a root ITEM_STATUS with children that hold the addresses of PrnInfoEx
// records.  The records are owned here and released as a caller does.
#pragma once

#include <cstring>
#include <initializer_list>
#include <vector>

#include "Tb58Wk31Platform.h"
#include "support/test_record.h"

namespace tb58::test {

inline InfoItem* NewItem(uint32_t key, const void* data, uint32_t length) {
    auto* item = static_cast<InfoItem*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, INFO_ITEM_HEADER_SIZE + length));
    item->key = key;
    item->dataLength = length;
    if (length != 0) std::memcpy(reinterpret_cast<char*>(item) + INFO_ITEM_HEADER_SIZE, data, length);
    return item;
}

inline void AppendChild(InfoItem* parent, InfoItem* child) {
    child->parent = parent;
    if (parent->lastChild == nullptr) {
        parent->firstChild = child;
    } else {
        parent->lastChild->next = child;
    }
    parent->lastChild = child;
}

// Frees a packet item by item, children first, as a caller frees what it
// built or what the library built for it.
inline void FreeTree(InfoItem* item) {
    while (item != nullptr) {
        InfoItem* next = item->next;
        FreeTree(item->firstChild);
        GlobalFree(item);
        item = next;
    }
}

inline void AppendEngineStatus(PrnInfoEx* record, int32_t code, const char* text = "") {
    auto* node = static_cast<EngineStatusNode*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(EngineStatusNode)));
    node->size = sizeof(EngineStatusNode);
    node->wCode = static_cast<uint16_t>(code & 0xFFFF);
    node->dwCode = code;
    std::strncpy(node->szText, text, sizeof node->szText - 1);
    void** link = reinterpret_cast<void**>(&record->pEngineStatus);
    while (*link != nullptr) link = &static_cast<ChainNode*>(*link)->next;
    *link = node;
    ++record->nEngineStatus;
}

inline void AppendDevice(PrnInfoEx* record, uint16_t option) {
    auto* node = static_cast<DeviceInfoNode*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(DeviceInfoNode)));
    node->size = sizeof(DeviceInfoNode);
    node->wOptionCode = option;
    void** link = reinterpret_cast<void**>(&record->pDeviceInfo);
    while (*link != nullptr) link = &static_cast<ChainNode*>(*link)->next;
    *link = node;
    ++record->nDeviceInfo;
}

// A status packet for the machine record and one function record (kind 1
// by default); both records start empty.
class StatusPacket {
public:
    explicit StatusPacket(uint32_t function_child = ITEM_STATUS_PRINTER, uint32_t root_data_length = 0) {
        std::vector<char> root_data(root_data_length, 0);
        root_ = NewItem(ITEM_STATUS, root_data.data(), root_data_length);
        AddChild(ITEM_STATUS_MACHINE, machine_.get());
        AddChild(function_child, function_.get());
    }
    ~StatusPacket() {
        for (InfoItem* child = root_->firstChild; child != nullptr;) {
            InfoItem* next = child->next;
            GlobalFree(child);
            child = next;
        }
        GlobalFree(root_);
    }
    StatusPacket(const StatusPacket&) = delete;
    StatusPacket& operator=(const StatusPacket&) = delete;

    void AddChild(uint32_t key, PrnInfoEx* record) {
        AppendChild(root_, NewItem(key, &record, sizeof record));
    }

    InfoItem* root() { return root_; }
    PrnInfoEx* machine() { return machine_.get(); }
    PrnInfoEx* function() { return function_.get(); }

    // Engine status codes, on the machine record (the merged record takes its chain).
    void SetCodes(std::initializer_list<int32_t> codes) {
        for (int32_t code : codes) AppendEngineStatus(machine(), code);
    }

private:
    TestRecord machine_;
    TestRecord function_;
    InfoItem* root_ = nullptr;
};

}  // namespace tb58::test
