#include "status/device_name.h"

#include "Tb58Wk31.h"
#include "convert/device_name_tables.h"
#include "frame/localized_string.h"
#include "frame/string_id_map.h"
#include "platform/win32_api.h"

namespace tb58::status {
namespace {

void MakeEmpty(char* out, int32_t capacity) {
    if (out != nullptr && capacity > 0) out[0] = '\0';
}

}  // namespace

uint32_t GetDeviceNameText(uint32_t selector, const void* value, uint8_t check, char* out, int32_t capacity) {
    MakeEmpty(out, capacity);
    switch (selector) {
        case TB58_DEVICE_NAME_TRAY:
        case TB58_DEVICE_NAME_OUTBIN:
            if (check != TB58_DEVICE_NAME_CHECK || value == nullptr) return ERROR_INVALID_PARAMETER;
            return LoadTrayName(selector, static_cast<const char*>(value), out, capacity);
        case TB58_DEVICE_NAME_OPTION:
            if (check != TB58_OPTION_NAME_CHECK || value == nullptr) return ERROR_INVALID_PARAMETER;
            return LoadOptionName(*static_cast<const int32_t*>(value), out, capacity);
        default:
            return ERROR_INVALID_PARAMETER;
    }
}

uint32_t LoadTrayName(uint32_t selector, const char* name, char* out, int32_t capacity) {
    MakeEmpty(out, capacity);
    const convert::DeviceNameRow* rows = nullptr;
    if (selector == TB58_DEVICE_NAME_TRAY) {
        rows = convert::kTrayNames;
    } else if (selector == TB58_DEVICE_NAME_OUTBIN) {
        rows = convert::kOutBinNames;
    } else {
        return ERROR_INVALID_PARAMETER;
    }
    if (name == nullptr) return ERROR_INVALID_PARAMETER;
    const convert::DeviceNameRow* row = convert::FindDeviceName(rows, name);
    if (row->name == nullptr || row->string_id == 0) return ERROR_INVALID_PARAMETER;
    return frame::LoadLocalizedString(row->string_id, out, capacity);
}

uint32_t LoadOptionName(int32_t device_code, char* out, int32_t capacity) {
    MakeEmpty(out, capacity);
    const frame::StringIdMap* map = frame::FindStringIdMap(frame::kGroupOptions, frame::kVariantShort);
    if (map == nullptr) return TB58_ERROR_NOT_FOUND;
    return frame::LoadMappedString(map, device_code, out, capacity);
}

}  // namespace tb58::status
