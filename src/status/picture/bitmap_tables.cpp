// The status picture's tables: the device index and one table of status
// records per device, each starting with its default record.  Keys are
// status codes as unsigned decimal text; "y" stands for any one character.
// Each placement list is named once and shared by the records that carry it;
// every list starts with the device's own picture.
#include "status/picture/bitmap_tables.h"

#include "Tb58Wk31Codes.h"
#include "status/picture/picture_layers.h"

namespace tb58::status {
namespace {

// ---- Main body (device key -2) ---------------------------------------------

constexpr BitmapLayer kBase1 = Place("BM_BASE1", 0, 0, kLayerMainBody);
constexpr BitmapLayer kPowerOffOverlay = Place("BM_POWEROFF", 0, 0, kLayerOverlay);
constexpr BitmapLayer kCautionOverlay = Place("BM_CAUTION", 0, 0, kLayerOverlay);
constexpr BitmapLayer kServiceOverlay = Place("BM_SERVICE", 0, 0, kLayerOverlay);
constexpr BitmapLayer kCautionNormal = Place("BM_CAUTION", 0, 0, kLayerNormalOnly);
constexpr BitmapLayer kCautionAlternate = Place("BM_CAUTION", 0, 0, kLayerAlternateOnly);
constexpr BitmapLayer kServiceAlternate = Place("BM_SERVICE", 0, 0, kLayerAlternateOnly);
constexpr BitmapLayer kFrontCover = Place("BM_POINT_5", 146, 60, 106);

constexpr BitmapLayer kBody[] = {kBase1};
constexpr BitmapLayer kBodyPowerOff[] = {kBase1, kPowerOffOverlay};
constexpr BitmapLayer kBodyCaution[] = {kBase1, kCautionOverlay};
constexpr BitmapLayer kBodyBypassTray[] = {kBase1, Place("BM_POINT_8", 248, 84, 100)};
constexpr BitmapLayer kBodyTray1[] = {kBase1, Place("BM_POINT_3", 153, 122, kLayerTray1Marker), Place("BM_POINT_2", 153, 124, kLayerTray1MarkerWithoutTray4)};
constexpr BitmapLayer kBodyTray2[] = {kBase1, Place("BM_POINT_3", 153, 135, kLayerTray2Marker), Place("BM_POINT_3", 153, 148, kLayerTray2MarkerWithoutTray4)};
constexpr BitmapLayer kBodyTray3[] = {kBase1, Place("BM_POINT_3", 153, 148, kLayerTray3Marker), Place("BM_POINT_3", 153, 161, kLayerTray3MarkerWithoutTray4)};
constexpr BitmapLayer kBodyTray4[] = {kBase1, Place("BM_POINT_3", 153, 161, 114)};
constexpr BitmapLayer kBodyFrontCover[] = {kBase1, kFrontCover};
constexpr BitmapLayer kBodyService[] = {kBase1, kServiceOverlay};
constexpr BitmapLayer kBodyAdf[] = {kBase1, Place("BM_POINT_6", 150, 17, 104), Place("BM_POINT_7", 150, 42, 106)};
constexpr BitmapLayer kBodyCautionNormal[] = {kBase1, kCautionNormal};
constexpr BitmapLayer kBodyCautionAlternate[] = {kBase1, kCautionAlternate};
constexpr BitmapLayer kBodyFrontCoverAlternate[] = {kBase1, Place("BM_POINT_5", 146, 60, kLayerAlternateOnly)};
constexpr BitmapLayer kBodyServiceAlternate[] = {kBase1, kServiceAlternate};
constexpr BitmapLayer kBodyTrayError[] = {kBase1, kServiceAlternate, kCautionNormal};

constinit const StatusBitmapRecord kMainBodyBitmaps[] = {
    {kDefaultBitmapKey, kBody},
    {"4294967042", kBodyPowerOff},
    {"40979", kBodyCaution},
    {"40910", kBodyCaution},
    {"40911", kBodyCaution},
    {"40912", kBodyCaution},
    {"40913", kBodyCaution},
    {"40914", kBodyCaution},
    {"40915", kBodyCaution},
    {"40916", kBodyCaution},
    {"40906", kBodyCaution},
    {"40902", kBodyCaution},
    {"450yy", kBodyCaution},
    {"340101", kBodyCaution},
    {"440101", kBodyCaution},
    {"50103", kBodyCaution},
    {"461yy", kBodyBypassTray},
    {"471yy", kBodyBypassTray},
    {"481yy", kBodyBypassTray},
    {"411yy", kBodyBypassTray},
    {"41100", kBodyBypassTray},
    {"462yy", kBodyTray1},
    {"472yy", kBodyTray1},
    {"482yy", kBodyTray1},
    {"412yy", kBodyTray1},
    {"41200", kBodyTray1},
    {"463yy", kBodyTray2},
    {"473yy", kBodyTray2},
    {"483yy", kBodyTray2},
    {"413yy", kBodyTray2},
    {"41300", kBodyTray2},
    {"464yy", kBodyTray3},
    {"474yy", kBodyTray3},
    {"484yy", kBodyTray3},
    {"414yy", kBodyTray3},
    {"41400", kBodyTray3},
    {"465yy", kBodyTray4},
    {"475yy", kBodyTray4},
    {"485yy", kBodyTray4},
    {"415yy", kBodyTray4},
    {"41500", kBodyTray4},
    {"40015", kBodyFrontCover},
    {"40014", kBodyFrontCover},
    {"40013", kBodyFrontCover},
    {"40012", kBodyFrontCover},
    {"40200", kBodyFrontCover},
    {"40100", kBodyFrontCover},
    {"42000", kBodyFrontCover},
    {"42001", kBodyFrontCover},
    {"40137", kBodyFrontCover},
    {"40135", kBodyFrontCover},
    {"40134", kBodyFrontCover},
    {"40133", kBodyFrontCover},
    {"40132", kBodyFrontCover},
    {"40011", kBodyService},
    {"40800", kBodyService},
    {"40763", kBodyService},
    {"240101", kBodyAdf},
    {"242001", kBodyAdf},
    {"440002", kBodyCautionNormal},
    {"50102", kBodyCautionAlternate},
    {"50115", kBodyCautionAlternate},
    {"50108", kBodyCautionAlternate},
    {"50112", kBodyCautionAlternate},
    {"50113", kBodyCautionAlternate},
    {"50109", kBodyCautionAlternate},
    {"50105", kBodyCautionAlternate},
    {"50114", kBodyCautionAlternate},
    {"10075", kBodyCautionAlternate},
    {"10074", kBodyCautionAlternate},
    {"10073", kBodyCautionAlternate},
    {"10072", kBodyCautionAlternate},
    {"10032", kBodyCautionAlternate},
    {"30743", kBodyCautionAlternate},
    {"30765", kBodyCautionAlternate},
    {"30763", kBodyCautionAlternate},
    {"30729", kBodyCautionAlternate},
    {"30722", kBodyCautionAlternate},
    {"30723", kBodyCautionAlternate},
    {"30724", kBodyCautionAlternate},
    {"30725", kBodyCautionAlternate},
    {"30721", kBodyCautionAlternate},
    {"30607", kBodyCautionAlternate},
    {"310033", kBodyCautionAlternate},
    {"50101", kBodyCautionAlternate},
    {"430001", kBodyCautionAlternate},
    {"30015", kBodyFrontCoverAlternate},
    {"30014", kBodyFrontCoverAlternate},
    {"30013", kBodyFrontCoverAlternate},
    {"30609", kBodyServiceAlternate},
    {"40722", kBodyTrayError},
    {"40723", kBodyTrayError},
    {"40724", kBodyTrayError},
    {"40725", kBodyTrayError},
    kEndOfBitmapTable,
};

// ---- Large capacity tray (104) ---------------------------------------------

constexpr BitmapLayer kLct = Place("BM_LCT", 0, 0, kLayerLct);
constexpr BitmapLayer kLctTray = Place("BM_POINT_14", 248, 105, 102);

constexpr BitmapLayer kLctOnly[] = {kLct};
constexpr BitmapLayer kLctMarked[] = {kLct, kLctTray};
constexpr BitmapLayer kLctError[] = {kLct, kServiceAlternate, kCautionNormal};
constexpr BitmapLayer kLctMisfeed[] = {kLct, kFrontCover, kLctTray};

constinit const StatusBitmapRecord kLctBitmaps[] = {
    {kDefaultBitmapKey, kLctOnly},
    {"460yy", kLctMarked},
    {"470yy", kLctMarked},
    {"480yy", kLctMarked},
    {"410yy", kLctMarked},
    {"41000", kLctMarked},
    {"40721", kLctError},
    {"42000", kLctMisfeed},
    kEndOfBitmapTable,
};

// ---- Interposer (41) ---------------------------------------------------------

constexpr BitmapLayer kInterposer = Place("BM_INSER", 0, 0, kLayerInterposer);

constexpr BitmapLayer kInterposerOnly[] = {kInterposer};
constexpr BitmapLayer kInterposerTray[] = {kInterposer, Place("BM_POINT_15", 90, 29, kLayerInterposerTrayMarker)};

constinit const StatusBitmapRecord kInterposerBitmaps[] = {
    {kDefaultBitmapKey, kInterposerOnly},
    {"469yy", kInterposerTray},
    {"479yy", kInterposerTray},
    {"489yy", kInterposerTray},
    {"419yy", kInterposerTray},
    {"41900", kInterposerTray},
    kEndOfBitmapTable,
};

// ---- Device 6: the copy tray -----------------------------------------------

constexpr BitmapLayer kCopyTray = Place("BM_EXTER", 0, 0, kLayerCopyTray);

constexpr BitmapLayer kCopyTrayOnly[] = {kCopyTray};
constexpr BitmapLayer kCopyTrayFull[] = {kCopyTray, Place("BM_POINT_4", 113, 69, kLayerInterposerTrayMarker)};

constinit const StatusBitmapRecord kCopyTrayBitmaps[] = {
    {kDefaultBitmapKey, kCopyTrayOnly},
    {"40300", kCopyTrayFull},
    kEndOfBitmapTable,
};

// ---- Mailbox (8) -------------------------------------------------------------

constexpr BitmapLayer kMailbox = Place("BM_MAILBOX", 0, 0, kLayerMailbox);

// Bin n (key 40350 + n) at y = 51 - 6 (n - 1), layer 146 - 2 (n - 1).
constexpr BitmapLayer kMailboxOnly[] = {kMailbox};
constexpr BitmapLayer kMailboxBin1[] = {kMailbox, Place("BM_POINT_10", 54, 51, 146)};
constexpr BitmapLayer kMailboxBin2[] = {kMailbox, Place("BM_POINT_10", 54, 45, 144)};
constexpr BitmapLayer kMailboxBin3[] = {kMailbox, Place("BM_POINT_10", 54, 39, 142)};
constexpr BitmapLayer kMailboxBin4[] = {kMailbox, Place("BM_POINT_10", 54, 33, 140)};
constexpr BitmapLayer kMailboxBin5[] = {kMailbox, Place("BM_POINT_10", 54, 27, 138)};
constexpr BitmapLayer kMailboxBin6[] = {kMailbox, Place("BM_POINT_10", 54, 21, 136)};
constexpr BitmapLayer kMailboxBin7[] = {kMailbox, Place("BM_POINT_10", 54, 15, 134)};
constexpr BitmapLayer kMailboxBin8[] = {kMailbox, Place("BM_POINT_10", 54, 9, 132)};
constexpr BitmapLayer kMailboxBin9[] = {kMailbox, Place("BM_POINT_10", 54, 3, 130)};
constexpr BitmapLayer kMailboxCover[] = {kMailbox, Place("BM_POINT_9", 129, 12, 130)};

constinit const StatusBitmapRecord kMailboxBitmaps[] = {
    {kDefaultBitmapKey, kMailboxOnly},
    {"40351", kMailboxBin1},
    {"40352", kMailboxBin2},
    {"40353", kMailboxBin3},
    {"40354", kMailboxBin4},
    {"40355", kMailboxBin5},
    {"40356", kMailboxBin6},
    {"40357", kMailboxBin7},
    {"40358", kMailboxBin8},
    {"40359", kMailboxBin9},
    {"40251", kMailboxCover},
    {"42007", kMailboxCover},
    kEndOfBitmapTable,
};

// ---- Z-folding unit (113) ------------------------------------------------------

constexpr BitmapLayer kZFold = Place("BM_ZORI", 0, 0, kLayerZFold);
constexpr BitmapLayer kZFoldUpperCover = Place("BM_POINT_24", 116, 52, 116);

constexpr BitmapLayer kZFoldOnly[] = {kZFold};
constexpr BitmapLayer kZFoldBothCovers[] = {kZFold, kZFoldUpperCover, Place("BM_POINT_25", 116, 95, 118)};
constexpr BitmapLayer kZFoldUpper[] = {kZFold, kZFoldUpperCover};

constinit const StatusBitmapRecord kZFoldBitmaps[] = {
    {kDefaultBitmapKey, kZFoldOnly},
    {"40147", kZFoldBothCovers},
    {"42011", kZFoldBothCovers},
    {"40290", kZFoldUpper},
    kEndOfBitmapTable,
};

// ---- Finishers ---------------------------------------------------------------

// Misfeed in the finisher and the interposer: the finisher's front cover as
// it stands beside an interposer, and the interposer's cover.
constexpr BitmapLayer kInterposerCover = Place("BM_POINT_16", 126, 28, kLayerInterposerCoverMarker);
constexpr BitmapLayer kFinisherCoverBesideInterposer = Place("BM_POINT_19", 68, 64, kLayerFinisherCoverMarker);

// Device 38: a finisher with two shift trays, its picture drawn at x = 30.
constexpr BitmapLayer kFinisher38 = Place("BM_FIN2A", 30, 0, kLayerFinisher);

constexpr BitmapLayer kFinisher38Only[] = {kFinisher38};
constexpr BitmapLayer kFinisher38Cover[] = {kFinisher38, Place("BM_POINT_11", 93, 65, kLayerFinisherMarker1)};
constexpr BitmapLayer kFinisher38BothTrays[] = {kFinisher38, Place("BM_POINT_23", 40, 62, kLayerFinisherMarker5)};
constexpr BitmapLayer kFinisher38ShiftTray2[] = {kFinisher38, Place("BM_POINT_13", 74, 95, kLayerFinisherMarker4)};
constexpr BitmapLayer kFinisher38UpperTray[] = {kFinisher38, Place("BM_POINT_12", 86, 44, kLayerFinisherMarker2)};
constexpr BitmapLayer kFinisher38ShiftTray1[] = {kFinisher38, Place("BM_POINT_13", 74, 71, kLayerFinisherMarker3)};
constexpr BitmapLayer kFinisher38Misfeed[] = {kFinisher38, Place("BM_POINT_17", 80, 64, kLayerFinisherCoverMarker), kInterposerCover};

constinit const StatusBitmapRecord kFinisher38Bitmaps[] = {
    {kDefaultBitmapKey, kFinisher38Only},
    {"40540", kFinisher38Cover},
    {"40392", kFinisher38Cover},
    {"40490", kFinisher38Cover},
    {"40491", kFinisher38Cover},
    {"40492", kFinisher38Cover},
    {"40493", kFinisher38Cover},
    {"40383", kFinisher38Cover},
    {"40241", kFinisher38Cover},
    {"42005", kFinisher38Cover},
    {"40380", kFinisher38BothTrays},
    {"40381", kFinisher38BothTrays},
    {"40382", kFinisher38ShiftTray2},
    {"40343", kFinisher38ShiftTray2},
    {"40384", kFinisher38ShiftTray2},
    {"40340", kFinisher38UpperTray},
    {"40341", kFinisher38ShiftTray1},
    {"42010", kFinisher38Misfeed},
    kEndOfBitmapTable,
};

// Device 21: a finisher with an upper tray and one shift tray.
constexpr BitmapLayer kFinisher21 = Place("BM_FIN1A", 0, 0, kLayerFinisher);

constexpr BitmapLayer kFinisher21Only[] = {kFinisher21};
constexpr BitmapLayer kFinisher21Cover[] = {kFinisher21, Place("BM_POINT_18", 81, 62, kLayerFinisherMarker1)};
constexpr BitmapLayer kFinisher21Key[] = {kFinisher21, Place("BM_POINT_22", 47, 60, kLayerFinisherMarker3)};
constexpr BitmapLayer kFinisher21UpperTray[] = {kFinisher21, Place("BM_POINT_20", 81, 39, kLayerFinisherMarker2)};
constexpr BitmapLayer kFinisher21ShiftTray[] = {kFinisher21, Place("BM_POINT_21", 54, 66, kLayerFinisherMarker3)};
constexpr BitmapLayer kFinisher21Misfeed[] = {kFinisher21, kFinisherCoverBesideInterposer, kInterposerCover};

constinit const StatusBitmapRecord kFinisher21Bitmaps[] = {
    {kDefaultBitmapKey, kFinisher21Only},
    {"40540", kFinisher21Cover},
    {"40392", kFinisher21Cover},
    {"40490", kFinisher21Cover},
    {"40241", kFinisher21Cover},
    {"42005", kFinisher21Cover},
    {"40371", kFinisher21Key},
    {"40340", kFinisher21UpperTray},
    {"40341", kFinisher21ShiftTray},
    {"42010", kFinisher21Misfeed},
    kEndOfBitmapTable,
};

// Devices 115 (with a booklet tray) and 114 share their markers.
constexpr BitmapLayer kFinisherCover = Place("BM_POINT_26", 81, 59, kLayerFinisherMarker1);
constexpr BitmapLayer kFinisherUpperTray = Place("BM_POINT_27", 58, 47, kLayerFinisherMarker2);
constexpr BitmapLayer kFinisherShiftTray = Place("BM_POINT_28", 57, 73, kLayerFinisherMarker3);

constexpr BitmapLayer kFinisher115 = Place("BM_FIN3A", 0, 0, kLayerFinisher);

constexpr BitmapLayer kFinisher115Only[] = {kFinisher115};
constexpr BitmapLayer kFinisher115Cover[] = {kFinisher115, kFinisherCover};
constexpr BitmapLayer kFinisher115BothTrays[] = {kFinisher115, Place("BM_POINT_1", 28, 68, kLayerFinisherMarker5)};
constexpr BitmapLayer kFinisher115BookletTray[] = {kFinisher115, Place("BM_POINT_28", 57, 131, kLayerFinisherMarker4)};
constexpr BitmapLayer kFinisher115UpperTray[] = {kFinisher115, kFinisherUpperTray};
constexpr BitmapLayer kFinisher115ShiftTray[] = {kFinisher115, kFinisherShiftTray};
constexpr BitmapLayer kFinisher115Misfeed[] = {kFinisher115, kFinisherCoverBesideInterposer, kInterposerCover};

constinit const StatusBitmapRecord kFinisher115Bitmaps[] = {
    {kDefaultBitmapKey, kFinisher115Only},
    {"40540", kFinisher115Cover},
    {"40392", kFinisher115Cover},
    {"40490", kFinisher115Cover},
    {"40491", kFinisher115Cover},
    {"40492", kFinisher115Cover},
    {"40493", kFinisher115Cover},
    {"40241", kFinisher115Cover},
    {"42005", kFinisher115Cover},
    {"40380", kFinisher115BothTrays},
    {"40381", kFinisher115BothTrays},
    {"40382", kFinisher115BookletTray},
    {"40383", kFinisher115BookletTray},
    {"40343", kFinisher115BookletTray},
    {"40340", kFinisher115UpperTray},
    {"40341", kFinisher115ShiftTray},
    {"42010", kFinisher115Misfeed},
    kEndOfBitmapTable,
};

constexpr BitmapLayer kFinisher114 = Place("BM_FIN4A", 0, 0, kLayerFinisher);

constexpr BitmapLayer kFinisher114Only[] = {kFinisher114};
constexpr BitmapLayer kFinisher114Cover[] = {kFinisher114, kFinisherCover};
constexpr BitmapLayer kFinisher114UpperTray[] = {kFinisher114, kFinisherUpperTray};
constexpr BitmapLayer kFinisher114ShiftTray[] = {kFinisher114, kFinisherShiftTray};
constexpr BitmapLayer kFinisher114Misfeed[] = {kFinisher114, kFinisherCoverBesideInterposer, kInterposerCover};

constinit const StatusBitmapRecord kFinisher114Bitmaps[] = {
    {kDefaultBitmapKey, kFinisher114Only},
    {"40540", kFinisher114Cover},
    {"40392", kFinisher114Cover},
    {"40490", kFinisher114Cover},
    {"40241", kFinisher114Cover},
    {"42005", kFinisher114Cover},
    {"40340", kFinisher114UpperTray},
    {"40341", kFinisher114ShiftTray},
    {"42010", kFinisher114Misfeed},
    kEndOfBitmapTable,
};

// ---- Booklet processor (22) ------------------------------------------------------

constexpr BitmapLayer kBookletProcessor = Place("BM_PLOCK", -69, 0, kLayerBookletProcessor);

constexpr BitmapLayer kBookletProcessorOnly[] = {kBookletProcessor};
constexpr BitmapLayer kBookletProcessorError[] = {kBookletProcessor, kCautionOverlay};
constexpr BitmapLayer kBookletProcessorMisfeed[] = {kBookletProcessor, Place("BM_POINT_29", -6, 79, kLayerBookletProcessorMarker)};

constinit const StatusBitmapRecord kBookletProcessorBitmaps[] = {
    {kDefaultBitmapKey, kBookletProcessorOnly},
    {"40970", kBookletProcessorError},
    {"42015", kBookletProcessorMisfeed},
    kEndOfBitmapTable,
};

}  // namespace

constinit const DeviceBitmapIndexEntry kDeviceBitmapIndex[] = {
    {kMainBodyDevice, kMainBodyBitmaps},
    {TB58_OPTION_LCT, kLctBitmaps},
    {TB58_OPTION_INTERPOSER, kInterposerBitmaps},
    {TB58_OPTION_STANDARD_OUTPUT_TRAY, kCopyTrayBitmaps},
    {TB58_OPTION_MAILBOX, kMailboxBitmaps},
    {TB58_OPTION_Z_FOLDING_UNIT, kZFoldBitmaps},
    {TB58_OPTION_FINISHER_TWO_SHIFT, kFinisher38Bitmaps},
    {TB58_OPTION_FINISHER_A, kFinisher21Bitmaps},
    {TB58_OPTION_FINISHER_BOOKLET, kFinisher115Bitmaps},
    {TB58_OPTION_FINISHER, kFinisher114Bitmaps},
    {TB58_OPTION_BOOKLET_PROCESSOR, kBookletProcessorBitmaps},
    {kEndOfDeviceIndex, nullptr},
};

}  // namespace tb58::status
