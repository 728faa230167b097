// Input tray names: English name -> tray code, display name string id.
#include "convert/device_name_tables.h"

#include "Tb58Wk31Codes.h"

namespace tb58::convert {

const DeviceNameRow kTrayNames[] = {
    {"Tray 1", TB58_TRAY_1, 5000},
    {"Tray 2", TB58_TRAY_2, 5001},
    {"Tray 3", TB58_TRAY_3, 5002},
    {"Tray 4", TB58_TRAY_4, 5003},
    {"Bypass Tray", TB58_TRAY_BYPASS, 5004},
    {"LCT", TB58_TRAY_LCT, 5005},
    {"Interposer Tray", TB58_TRAY_INTERPOSER, 0},
    {nullptr, 0, 0},
};

}  // namespace tb58::convert
