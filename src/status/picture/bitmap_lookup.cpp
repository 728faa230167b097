#include "status/picture/bitmap_lookup.h"

namespace tb58::status {

const StatusBitmapRecord* FindDeviceBitmapTable(int16_t device) {
    for (const DeviceBitmapIndexEntry* entry = kDeviceBitmapIndex; entry->device != kEndOfDeviceIndex; ++entry) {
        if (entry->device == device) return entry->table;
    }
    return nullptr;
}

bool StatusKeyExists(uint32_t code) {
    const StatusKeyText text(code);
    for (const DeviceBitmapIndexEntry* entry = kDeviceBitmapIndex; entry->device != kEndOfDeviceIndex; ++entry) {
        if (entry->table == nullptr) continue;
        for (const StatusBitmapRecord* record = entry->table; record->key != nullptr; ++record) {
            if (KeyEquals(record->pattern, record->key, text)) return true;
        }
    }
    return false;
}

const StatusBitmapRecord* FindStatusBitmapRecord(const StatusBitmapRecord* table, uint32_t code, bool wildcard) {
    if (table == nullptr || table->key == nullptr) return nullptr;
    const StatusKeyText text(code);
    const StatusBitmapRecord* fallback = nullptr;
    for (const StatusBitmapRecord* record = table; record->key != nullptr; ++record) {
        const bool matches = wildcard ? KeyMatches(record->pattern, record->key, text)
                                      : KeyEquals(record->pattern, record->key, text);
        if (matches) return record;
        if (record->is_default) fallback = record;
    }
    return fallback;
}

}  // namespace tb58::status
