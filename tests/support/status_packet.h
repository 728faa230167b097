// A status packet built the way a caller builds one, with the caller kit
// (Tb58Wk31Kit.hpp): a root ITEM_STATUS with children that hold the
// addresses of PrnInfoEx records.  The records are owned here and released
// as a caller does.
#pragma once

#include <cstring>
#include <initializer_list>
#include <vector>

#include "Tb58Wk31Platform.h"
#include "support/test_record.h"

namespace tb58::test {

using tb58kit::AppendChild;
using tb58kit::FreeTree;
using tb58kit::NewItem;

inline void AppendEngineStatus(PrnInfoEx* record, int32_t code, const char* text = "") {
    tb58kit::AppendEngineStatus(*record, code, text);
}

inline void AppendDevice(PrnInfoEx* record, uint16_t option) { tb58kit::AppendOption(*record, option); }

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

    void AddChild(uint32_t key, PrnInfoEx* record) { tb58kit::AppendRecordItem(root_, key, record); }

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
