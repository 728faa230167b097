// Output bin names: English name -> bin code, display name string id.
#include "convert/device_name_tables.h"

namespace tb58::convert {

const DeviceNameRow kOutBinNames[] = {
    {"Copy Tray", 3, 5006},
    {"Mailbox Tray 1", 7, 5007},
    {"Mailbox Tray 2", 8, 5008},
    {"Mailbox Tray 3", 9, 5009},
    {"Mailbox Tray 4", 10, 5010},
    {"Mailbox Tray 5", 11, 5011},
    {"Mailbox Tray 6", 12, 5012},
    {"Mailbox Tray 7", 13, 5013},
    {"Mailbox Tray 8", 14, 5014},
    {"Mailbox Tray 9", 15, 5015},
    {"Finisher Upper Tray", 5, 5016},
    {"Finisher Shift Tray", 4, 5017},
    {"Finisher Shift Tray 1", 4, 5018},
    {"Finisher Shift Tray 2", 27, 5019},
    {"Finisher Booklet Tray", 27, 5020},
    {"Booklet Processor Tray", 22, 5021},
    {nullptr, 255, 0},
};

}  // namespace tb58::convert
