#include "frame/string_id_map.h"

#include "Tb58Wk31.h"
#include "frame/localized_string.h"

namespace tb58::frame {
namespace {

void StoreEmptyText(char* buffer, int32_t capacity) {
    if (buffer != nullptr && capacity > 0) buffer[0] = '\0';
}

}  // namespace

const StringIdMap* FindStringIdMap(int32_t group, uint32_t variant) {
    for (const StringIdMapIndexRow* row = kStringIdMapIndex; row->group != 0; ++row) {
        if (row->group == group && row->variant == static_cast<uint8_t>(variant & 0xFF)) return row->map;
    }
    return nullptr;
}

uint32_t LoadMappedString(const StringIdMap* map, int32_t key, char* buffer, int32_t capacity) {
    if (map == nullptr || capacity == 0) {
        StoreEmptyText(buffer, capacity);
        return TB58_ERROR_NOT_FOUND;
    }
    for (const StringIdMap* row = map; row->key != kStringIdMapEnd; ++row) {
        if (row->key != key) continue;
        const uint32_t result = LoadLocalizedString(row->string_id, buffer, capacity);
        if (result != TB58_ERROR_SUCCESS) StoreEmptyText(buffer, capacity);
        return result;
    }
    StoreEmptyText(buffer, capacity);
    return TB58_ERROR_NOT_FOUND;
}

}  // namespace tb58::frame
