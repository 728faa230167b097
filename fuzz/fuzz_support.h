// What the fuzz targets share: the module set up as the library's own, and
// records and packets released the way a caller releases them, so that
// LeakSanitizer sees every leak of the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Tb58Wk31Platform.h"
#include "frame/module_instance.h"
#include "platform/module_of_address.h"

namespace tb58::fuzz {

inline void UseOwnModule() {
    static const int once = [] {
        frame::SetModuleInstance(platform::ModuleOfAddress(reinterpret_cast<const void*>(&UseOwnModule)));
        return 0;
    }();
    (void)once;
}

// Reads the fuzzer's bytes front to back; past the end it yields zeros.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t Word() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = (value << 8) | Byte();
        return value;
    }
    // The next n bytes (fewer at the end).
    std::string_view Bytes(size_t n) {
        const size_t take = n < size_ - at_ ? n : size_ - at_;
        std::string_view out(reinterpret_cast<const char*>(data_ + at_), take);
        at_ += take;
        return out;
    }
    std::string_view Rest() { return Bytes(size_ - at_); }
    bool Empty() const { return at_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

inline void ReleaseChain(void* first) {
    while (first != nullptr) {
        void* next = static_cast<ChainNode*>(first)->next;
        GlobalFree(first);
        first = next;
    }
}

inline void ReleaseRecord(PrnInfoEx& record) {
    for (char* text : {record.pModelName, record.pMakerName, record.pDescription, record.pSYSVersion,
                       record.pMainProgVersion, record.pQXSVersion}) {
        if (text != nullptr) GlobalFree(text);
    }
    for (void* chain : {static_cast<void*>(record.pEngineStatus), static_cast<void*>(record.pLoadedEmul),
                        static_cast<void*>(record.pLoadedFont), static_cast<void*>(record.pTrayInfo),
                        static_cast<void*>(record.pOutBinInfo), static_cast<void*>(record.pDeviceInfo),
                        static_cast<void*>(record.pEmulUniqInfo), static_cast<void*>(record.pCounterInfo),
                        static_cast<void*>(record.pSupplyInfo), record.pColorCorrection, record.pCustomMediaInfo}) {
        ReleaseChain(chain);
    }
    std::memset(&record, 0, sizeof record);
}

// A caller-built item: header and data in one global block.
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

inline void FreeTree(InfoItem* item) {
    while (item != nullptr) {
        InfoItem* next = item->next;
        FreeTree(item->firstChild);
        GlobalFree(item);
        item = next;
    }
}

}  // namespace tb58::fuzz
