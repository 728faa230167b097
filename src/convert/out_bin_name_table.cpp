// Output bin names: English name -> bin code, display name string id.
#include "convert/device_name_tables.h"

#include "Tb58Wk31Codes.h"

namespace tb58::convert {

const DeviceNameRow kOutBinNames[] = {
    {"Copy Tray", TB58_BIN_COPY_TRAY, 5006},
    {"Mailbox Tray 1", TB58_BIN_MAILBOX_1, 5007},
    {"Mailbox Tray 2", TB58_BIN_MAILBOX_1 + 1, 5008},
    {"Mailbox Tray 3", TB58_BIN_MAILBOX_1 + 2, 5009},
    {"Mailbox Tray 4", TB58_BIN_MAILBOX_1 + 3, 5010},
    {"Mailbox Tray 5", TB58_BIN_MAILBOX_1 + 4, 5011},
    {"Mailbox Tray 6", TB58_BIN_MAILBOX_1 + 5, 5012},
    {"Mailbox Tray 7", TB58_BIN_MAILBOX_1 + 6, 5013},
    {"Mailbox Tray 8", TB58_BIN_MAILBOX_1 + 7, 5014},
    {"Mailbox Tray 9", TB58_BIN_MAILBOX_1 + 8, 5015},
    {"Finisher Upper Tray", TB58_BIN_FINISHER_UPPER, 5016},
    {"Finisher Shift Tray", TB58_BIN_FINISHER_SHIFT, 5017},
    {"Finisher Shift Tray 1", TB58_BIN_FINISHER_SHIFT, 5018},
    {"Finisher Shift Tray 2", TB58_BIN_FINISHER_BOOKLET, 5019},
    {"Finisher Booklet Tray", TB58_BIN_FINISHER_BOOKLET, 5020},
    {"Booklet Processor Tray", TB58_BIN_BOOKLET_PROCESSOR, 5021},
    {nullptr, 255, 0},
};

}  // namespace tb58::convert
