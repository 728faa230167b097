// Input tray names: English name -> tray code, display name string id.
#include "convert/device_name_tables.h"

namespace tb58::convert {

const DeviceNameRow kTrayNames[] = {
    {"Tray 1", 3, 5000},
    {"Tray 2", 4, 5001},
    {"Tray 3", 5, 5002},
    {"Tray 4", 6, 5003},
    {"Bypass Tray", 1, 5004},
    {"LCT", 11, 5005},
    {"Interposer Tray", 101, 0},
    {nullptr, 0, 0},
};

}  // namespace tb58::convert
