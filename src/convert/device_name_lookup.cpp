#include <cstring>

#include "convert/device_name_tables.h"

namespace tb58::convert {

const DeviceNameRow* FindDeviceName(const DeviceNameRow* rows, const char* name) {
    const DeviceNameRow* row = rows;
    while (row->name != nullptr && std::strcmp(row->name, name) != 0) ++row;
    return row;
}

}  // namespace tb58::convert
