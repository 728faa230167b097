#include "status/picture/bitmap_lookup.h"

namespace tb58::status {

const StatusBitmapRecord* FindDeviceBitmapTable(int16_t device) {
    for (const DeviceBitmapIndexEntry* entry = kDeviceBitmapIndex; entry->device != kEndOfDeviceIndex; ++entry) {
        if (entry->device == device) return entry->table;
    }
    return nullptr;
}

bool StatusKeyExists(uint32_t code) {
    const StatusCode key(code);
    bool found = false;
    for (const DeviceBitmapIndexEntry* entry = kDeviceBitmapIndex; entry->device != kEndOfDeviceIndex && !found;
         ++entry) {
        if (entry->table == nullptr) continue;
        ForEachRowMatching(entry->table, key, KeyMatch::kEqual, [&found](const StatusBitmapRecord&) {
            found = true;
            return false;
        });
    }
    return found;
}

const StatusBitmapRecord* FindStatusBitmapRecord(const StatusBitmapRecord* table, uint32_t code, bool wildcard) {
    if (table == nullptr || table->key == nullptr) return nullptr;
    const StatusBitmapRecord* found = nullptr;
    ForEachRowMatching(table, StatusCode(code), wildcard ? KeyMatch::kCovering : KeyMatch::kEqual,
                       [&found](const StatusBitmapRecord& record) {
                           found = &record;
                           return false;
                       });
    if (found != nullptr) return found;
    for (const StatusBitmapRecord* record = table; record->key != nullptr; ++record) {
        if (record->is_default) found = record;  // the table's last default record
    }
    return found;
}

}  // namespace tb58::status
