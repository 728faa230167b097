// The status picture's tables: the device index and one table of status
// records per device, each starting with its default record.  Keys are
// status codes as unsigned decimal text; "y" stands for any one character.
// Every record starts with the device's own picture.
#include "status/bitmap_tables.h"

namespace tb58::status {
namespace {

// ---- Main body (device key -2) ---------------------------------------------

constexpr BitmapLayer kBase1 = Place("BM_BASE1", 0, 0, 1);
constexpr BitmapLayer kPowerOffOverlay = Place("BM_POWEROFF", 0, 0, 250);
constexpr BitmapLayer kCautionOverlay = Place("BM_CAUTION", 0, 0, 250);
constexpr BitmapLayer kServiceOverlay = Place("BM_SERVICE", 0, 0, 250);
constexpr BitmapLayer kCautionNormal = Place("BM_CAUTION", 0, 0, 246);      // normal presentation only
constexpr BitmapLayer kCautionAlternate = Place("BM_CAUTION", 0, 0, 248);   // alternate presentation only
constexpr BitmapLayer kServiceAlternate = Place("BM_SERVICE", 0, 0, 248);
constexpr BitmapLayer kBypassTray = Place("BM_POINT_8", 248, 84, 100);
constexpr BitmapLayer kTray1With4 = Place("BM_POINT_3", 153, 122, 108);
constexpr BitmapLayer kTray1Without4 = Place("BM_POINT_2", 153, 124, 208);
constexpr BitmapLayer kTray2With4 = Place("BM_POINT_3", 153, 135, 110);
constexpr BitmapLayer kTray2Without4 = Place("BM_POINT_3", 153, 148, 210);
constexpr BitmapLayer kTray3With4 = Place("BM_POINT_3", 153, 148, 112);
constexpr BitmapLayer kTray3Without4 = Place("BM_POINT_3", 153, 161, 212);
constexpr BitmapLayer kTray4 = Place("BM_POINT_3", 153, 161, 114);
constexpr BitmapLayer kFrontCover = Place("BM_POINT_5", 146, 60, 106);
constexpr BitmapLayer kFrontCoverAlternate = Place("BM_POINT_5", 146, 60, 248);
constexpr BitmapLayer kAdfCover = Place("BM_POINT_6", 150, 17, 104);
constexpr BitmapLayer kAdfGlass = Place("BM_POINT_7", 150, 42, 106);

constinit const StatusBitmapRecord kMainBodyBitmaps[] = {
    {kDefaultBitmapKey, {kBase1}},
    {"4294967042", {kBase1, kPowerOffOverlay}},
    {"40979", {kBase1, kCautionOverlay}},
    {"40910", {kBase1, kCautionOverlay}},
    {"40911", {kBase1, kCautionOverlay}},
    {"40912", {kBase1, kCautionOverlay}},
    {"40913", {kBase1, kCautionOverlay}},
    {"40914", {kBase1, kCautionOverlay}},
    {"40915", {kBase1, kCautionOverlay}},
    {"40916", {kBase1, kCautionOverlay}},
    {"40906", {kBase1, kCautionOverlay}},
    {"40902", {kBase1, kCautionOverlay}},
    {"450yy", {kBase1, kCautionOverlay}},
    {"340101", {kBase1, kCautionOverlay}},
    {"440101", {kBase1, kCautionOverlay}},
    {"50103", {kBase1, kCautionOverlay}},
    {"461yy", {kBase1, kBypassTray}},
    {"471yy", {kBase1, kBypassTray}},
    {"481yy", {kBase1, kBypassTray}},
    {"411yy", {kBase1, kBypassTray}},
    {"41100", {kBase1, kBypassTray}},
    {"462yy", {kBase1, kTray1With4, kTray1Without4}},
    {"472yy", {kBase1, kTray1With4, kTray1Without4}},
    {"482yy", {kBase1, kTray1With4, kTray1Without4}},
    {"412yy", {kBase1, kTray1With4, kTray1Without4}},
    {"41200", {kBase1, kTray1With4, kTray1Without4}},
    {"463yy", {kBase1, kTray2With4, kTray2Without4}},
    {"473yy", {kBase1, kTray2With4, kTray2Without4}},
    {"483yy", {kBase1, kTray2With4, kTray2Without4}},
    {"413yy", {kBase1, kTray2With4, kTray2Without4}},
    {"41300", {kBase1, kTray2With4, kTray2Without4}},
    {"464yy", {kBase1, kTray3With4, kTray3Without4}},
    {"474yy", {kBase1, kTray3With4, kTray3Without4}},
    {"484yy", {kBase1, kTray3With4, kTray3Without4}},
    {"414yy", {kBase1, kTray3With4, kTray3Without4}},
    {"41400", {kBase1, kTray3With4, kTray3Without4}},
    {"465yy", {kBase1, kTray4}},
    {"475yy", {kBase1, kTray4}},
    {"485yy", {kBase1, kTray4}},
    {"415yy", {kBase1, kTray4}},
    {"41500", {kBase1, kTray4}},
    {"40015", {kBase1, kFrontCover}},
    {"40014", {kBase1, kFrontCover}},
    {"40013", {kBase1, kFrontCover}},
    {"40012", {kBase1, kFrontCover}},
    {"40200", {kBase1, kFrontCover}},
    {"40100", {kBase1, kFrontCover}},
    {"42000", {kBase1, kFrontCover}},
    {"42001", {kBase1, kFrontCover}},
    {"40137", {kBase1, kFrontCover}},
    {"40135", {kBase1, kFrontCover}},
    {"40134", {kBase1, kFrontCover}},
    {"40133", {kBase1, kFrontCover}},
    {"40132", {kBase1, kFrontCover}},
    {"40011", {kBase1, kServiceOverlay}},
    {"40800", {kBase1, kServiceOverlay}},
    {"40763", {kBase1, kServiceOverlay}},
    {"240101", {kBase1, kAdfCover, kAdfGlass}},
    {"242001", {kBase1, kAdfCover, kAdfGlass}},
    {"440002", {kBase1, kCautionNormal}},
    {"50102", {kBase1, kCautionAlternate}},
    {"50115", {kBase1, kCautionAlternate}},
    {"50108", {kBase1, kCautionAlternate}},
    {"50112", {kBase1, kCautionAlternate}},
    {"50113", {kBase1, kCautionAlternate}},
    {"50109", {kBase1, kCautionAlternate}},
    {"50105", {kBase1, kCautionAlternate}},
    {"50114", {kBase1, kCautionAlternate}},
    {"10075", {kBase1, kCautionAlternate}},
    {"10074", {kBase1, kCautionAlternate}},
    {"10073", {kBase1, kCautionAlternate}},
    {"10072", {kBase1, kCautionAlternate}},
    {"10032", {kBase1, kCautionAlternate}},
    {"30743", {kBase1, kCautionAlternate}},
    {"30765", {kBase1, kCautionAlternate}},
    {"30763", {kBase1, kCautionAlternate}},
    {"30729", {kBase1, kCautionAlternate}},
    {"30722", {kBase1, kCautionAlternate}},
    {"30723", {kBase1, kCautionAlternate}},
    {"30724", {kBase1, kCautionAlternate}},
    {"30725", {kBase1, kCautionAlternate}},
    {"30721", {kBase1, kCautionAlternate}},
    {"30607", {kBase1, kCautionAlternate}},
    {"310033", {kBase1, kCautionAlternate}},
    {"50101", {kBase1, kCautionAlternate}},
    {"430001", {kBase1, kCautionAlternate}},
    {"30015", {kBase1, kFrontCoverAlternate}},
    {"30014", {kBase1, kFrontCoverAlternate}},
    {"30013", {kBase1, kFrontCoverAlternate}},
    {"30609", {kBase1, kServiceAlternate}},
    {"40722", {kBase1, kServiceAlternate, kCautionNormal}},
    {"40723", {kBase1, kServiceAlternate, kCautionNormal}},
    {"40724", {kBase1, kServiceAlternate, kCautionNormal}},
    {"40725", {kBase1, kServiceAlternate, kCautionNormal}},
    kEndOfBitmapTable,
};

// ---- Large capacity tray (104) ---------------------------------------------

constexpr BitmapLayer kLct = Place("BM_LCT", 0, 0, 10);
constexpr BitmapLayer kLctTray = Place("BM_POINT_14", 248, 105, 102);

constinit const StatusBitmapRecord kLctBitmaps[] = {
    {kDefaultBitmapKey, {kLct}},
    {"460yy", {kLct, kLctTray}},
    {"470yy", {kLct, kLctTray}},
    {"480yy", {kLct, kLctTray}},
    {"410yy", {kLct, kLctTray}},
    {"41000", {kLct, kLctTray}},
    {"40721", {kLct, kServiceAlternate, kCautionNormal}},
    {"42000", {kLct, kFrontCover, kLctTray}},
    kEndOfBitmapTable,
};

// ---- Interposer (41) ---------------------------------------------------------

constexpr BitmapLayer kInterposer = Place("BM_INSER", 0, 0, 20);
constexpr BitmapLayer kInterposerTray = Place("BM_POINT_15", 90, 29, 122);

constinit const StatusBitmapRecord kInterposerBitmaps[] = {
    {kDefaultBitmapKey, {kInterposer}},
    {"469yy", {kInterposer, kInterposerTray}},
    {"479yy", {kInterposer, kInterposerTray}},
    {"489yy", {kInterposer, kInterposerTray}},
    {"419yy", {kInterposer, kInterposerTray}},
    {"41900", {kInterposer, kInterposerTray}},
    kEndOfBitmapTable,
};

// ---- Device 6: the copy tray -----------------------------------------------

constexpr BitmapLayer kCopyTrayUnit = Place("BM_EXTER", 0, 0, 30);

constinit const StatusBitmapRecord kCopyTrayBitmaps[] = {
    {kDefaultBitmapKey, {kCopyTrayUnit}},
    {"40300", {kCopyTrayUnit, Place("BM_POINT_4", 113, 69, 122)}},
    kEndOfBitmapTable,
};

// ---- Mailbox (8) -------------------------------------------------------------

constexpr BitmapLayer kMailbox = Place("BM_MAILBOX", 0, 0, 40);
constexpr BitmapLayer kMailboxCover = Place("BM_POINT_9", 129, 12, 130);

// Bin n (key 40350 + n) at y = 51 - 6 (n - 1), layer 146 - 2 (n - 1).
constinit const StatusBitmapRecord kMailboxBitmaps[] = {
    {kDefaultBitmapKey, {kMailbox}},
    {"40351", {kMailbox, Place("BM_POINT_10", 54, 51, 146)}},
    {"40352", {kMailbox, Place("BM_POINT_10", 54, 45, 144)}},
    {"40353", {kMailbox, Place("BM_POINT_10", 54, 39, 142)}},
    {"40354", {kMailbox, Place("BM_POINT_10", 54, 33, 140)}},
    {"40355", {kMailbox, Place("BM_POINT_10", 54, 27, 138)}},
    {"40356", {kMailbox, Place("BM_POINT_10", 54, 21, 136)}},
    {"40357", {kMailbox, Place("BM_POINT_10", 54, 15, 134)}},
    {"40358", {kMailbox, Place("BM_POINT_10", 54, 9, 132)}},
    {"40359", {kMailbox, Place("BM_POINT_10", 54, 3, 130)}},
    {"40251", {kMailbox, kMailboxCover}},
    {"42007", {kMailbox, kMailboxCover}},
    kEndOfBitmapTable,
};

// ---- Z-folding unit (113) ------------------------------------------------------

constexpr BitmapLayer kZFold = Place("BM_ZORI", 0, 0, 50);
constexpr BitmapLayer kZFoldUpperCover = Place("BM_POINT_24", 116, 52, 116);

constinit const StatusBitmapRecord kZFoldBitmaps[] = {
    {kDefaultBitmapKey, {kZFold}},
    {"40147", {kZFold, kZFoldUpperCover, Place("BM_POINT_25", 116, 95, 118)}},
    {"42011", {kZFold, kZFoldUpperCover, Place("BM_POINT_25", 116, 95, 118)}},
    {"40290", {kZFold, kZFoldUpperCover}},
    kEndOfBitmapTable,
};

// ---- Finishers ---------------------------------------------------------------

// Misfeed in the finisher and the interposer: the finisher's front cover as
// it stands beside an interposer, and the interposer's cover.
constexpr BitmapLayer kInterposerCover = Place("BM_POINT_16", 126, 28, 120);

// Device 38: a finisher with two shift trays, its picture drawn at x = 30.
constexpr BitmapLayer kFinisher38 = Place("BM_FIN2A", 30, 0, 60);
constexpr BitmapLayer kFinisher38Cover = Place("BM_POINT_11", 93, 65, 154);
constexpr BitmapLayer kFinisher38BothTrays = Place("BM_POINT_23", 40, 62, 162);
constexpr BitmapLayer kFinisher38ShiftTray2 = Place("BM_POINT_13", 74, 95, 160);

constinit const StatusBitmapRecord kFinisher38Bitmaps[] = {
    {kDefaultBitmapKey, {kFinisher38}},
    {"40540", {kFinisher38, kFinisher38Cover}},
    {"40392", {kFinisher38, kFinisher38Cover}},
    {"40490", {kFinisher38, kFinisher38Cover}},
    {"40491", {kFinisher38, kFinisher38Cover}},
    {"40492", {kFinisher38, kFinisher38Cover}},
    {"40493", {kFinisher38, kFinisher38Cover}},
    {"40383", {kFinisher38, kFinisher38Cover}},
    {"40241", {kFinisher38, kFinisher38Cover}},
    {"42005", {kFinisher38, kFinisher38Cover}},
    {"40380", {kFinisher38, kFinisher38BothTrays}},
    {"40381", {kFinisher38, kFinisher38BothTrays}},
    {"40382", {kFinisher38, kFinisher38ShiftTray2}},
    {"40343", {kFinisher38, kFinisher38ShiftTray2}},
    {"40384", {kFinisher38, kFinisher38ShiftTray2}},
    {"40340", {kFinisher38, Place("BM_POINT_12", 86, 44, 156)}},
    {"40341", {kFinisher38, Place("BM_POINT_13", 74, 71, 158)}},
    {"42010", {kFinisher38, Place("BM_POINT_17", 80, 64, 152), kInterposerCover}},
    kEndOfBitmapTable,
};

// Device 21: a finisher with an upper tray and one shift tray.
constexpr BitmapLayer kFinisher21 = Place("BM_FIN1A", 0, 0, 60);
constexpr BitmapLayer kFinisher21Cover = Place("BM_POINT_18", 81, 62, 154);
constexpr BitmapLayer kFinisherCoverBesideInterposer = Place("BM_POINT_19", 68, 64, 152);

constinit const StatusBitmapRecord kFinisher21Bitmaps[] = {
    {kDefaultBitmapKey, {kFinisher21}},
    {"40540", {kFinisher21, kFinisher21Cover}},
    {"40392", {kFinisher21, kFinisher21Cover}},
    {"40490", {kFinisher21, kFinisher21Cover}},
    {"40241", {kFinisher21, kFinisher21Cover}},
    {"42005", {kFinisher21, kFinisher21Cover}},
    {"40371", {kFinisher21, Place("BM_POINT_22", 47, 60, 158)}},
    {"40340", {kFinisher21, Place("BM_POINT_20", 81, 39, 156)}},
    {"40341", {kFinisher21, Place("BM_POINT_21", 54, 66, 158)}},
    {"42010", {kFinisher21, kFinisherCoverBesideInterposer, kInterposerCover}},
    kEndOfBitmapTable,
};

// Devices 115 (with a booklet tray) and 114 share their markers.
constexpr BitmapLayer kFinisherCover = Place("BM_POINT_26", 81, 59, 154);
constexpr BitmapLayer kFinisherUpperTray = Place("BM_POINT_27", 58, 47, 156);
constexpr BitmapLayer kFinisherShiftTray = Place("BM_POINT_28", 57, 73, 158);

constexpr BitmapLayer kFinisher115 = Place("BM_FIN3A", 0, 0, 60);
constexpr BitmapLayer kFinisher115BothTrays = Place("BM_POINT_1", 28, 68, 162);
constexpr BitmapLayer kFinisher115BookletTray = Place("BM_POINT_28", 57, 131, 160);

constinit const StatusBitmapRecord kFinisher115Bitmaps[] = {
    {kDefaultBitmapKey, {kFinisher115}},
    {"40540", {kFinisher115, kFinisherCover}},
    {"40392", {kFinisher115, kFinisherCover}},
    {"40490", {kFinisher115, kFinisherCover}},
    {"40491", {kFinisher115, kFinisherCover}},
    {"40492", {kFinisher115, kFinisherCover}},
    {"40493", {kFinisher115, kFinisherCover}},
    {"40241", {kFinisher115, kFinisherCover}},
    {"42005", {kFinisher115, kFinisherCover}},
    {"40380", {kFinisher115, kFinisher115BothTrays}},
    {"40381", {kFinisher115, kFinisher115BothTrays}},
    {"40382", {kFinisher115, kFinisher115BookletTray}},
    {"40383", {kFinisher115, kFinisher115BookletTray}},
    {"40343", {kFinisher115, kFinisher115BookletTray}},
    {"40340", {kFinisher115, kFinisherUpperTray}},
    {"40341", {kFinisher115, kFinisherShiftTray}},
    {"42010", {kFinisher115, kFinisherCoverBesideInterposer, kInterposerCover}},
    kEndOfBitmapTable,
};

constexpr BitmapLayer kFinisher114 = Place("BM_FIN4A", 0, 0, 60);

constinit const StatusBitmapRecord kFinisher114Bitmaps[] = {
    {kDefaultBitmapKey, {kFinisher114}},
    {"40540", {kFinisher114, kFinisherCover}},
    {"40392", {kFinisher114, kFinisherCover}},
    {"40490", {kFinisher114, kFinisherCover}},
    {"40241", {kFinisher114, kFinisherCover}},
    {"42005", {kFinisher114, kFinisherCover}},
    {"40340", {kFinisher114, kFinisherUpperTray}},
    {"40341", {kFinisher114, kFinisherShiftTray}},
    {"42010", {kFinisher114, kFinisherCoverBesideInterposer, kInterposerCover}},
    kEndOfBitmapTable,
};

// ---- Booklet processor (22) ------------------------------------------------------

constexpr BitmapLayer kBookletProcessor = Place("BM_PLOCK", -69, 0, 70);

constinit const StatusBitmapRecord kBookletProcessorBitmaps[] = {
    {kDefaultBitmapKey, {kBookletProcessor}},
    {"40970", {kBookletProcessor, kCautionOverlay}},
    {"42015", {kBookletProcessor, Place("BM_POINT_29", -6, 79, 180)}},
    kEndOfBitmapTable,
};

}  // namespace

constinit const DeviceBitmapIndexEntry kDeviceBitmapIndex[] = {
    {kMainBodyDevice, kMainBodyBitmaps},
    {104, kLctBitmaps},
    {41, kInterposerBitmaps},
    {6, kCopyTrayBitmaps},
    {8, kMailboxBitmaps},
    {113, kZFoldBitmaps},
    {38, kFinisher38Bitmaps},
    {21, kFinisher21Bitmaps},
    {115, kFinisher115Bitmaps},
    {114, kFinisher114Bitmaps},
    {22, kBookletProcessorBitmaps},
    {kEndOfDeviceIndex, nullptr},
};

}  // namespace tb58::status
