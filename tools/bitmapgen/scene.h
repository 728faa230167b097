// Where things stand on the composite canvas (the main body picture's
// 320 x 200 pixels).  The markers of the composition tables sit at fixed
// positions; the parts they point at are placed here so that each marker
// lands on its part, and the option pictures line up with the main body.
#pragma once

#include "raster.h"

namespace bitmapgen::scene {

constexpr int kCanvasWidth = 320;
constexpr int kCanvasHeight = 200;
constexpr int kFloorY = 190;  // the first floor row; units stand on row 189

// ---- Main body -----------------------------------------------------------------
constexpr int kBodyLeft = 145;
constexpr int kBodyRight = 247;
constexpr Rect kAdfCover{152, 19, 240, 29};
constexpr Rect kAdfLower{152, 30, 240, 41};
constexpr Rect kScanner{kBodyLeft, 42, kBodyRight, 53};
constexpr Rect kScannerGlassBand{152, 44, 240, 51};
constexpr Rect kInnerTray{kBodyLeft, 54, kBodyRight, 60};
constexpr Rect kEngine{kBodyLeft, 61, kBodyRight, 119};
constexpr Rect kFrontCover{148, 62, 244, 117};
constexpr Rect kPaperBank{kBodyLeft, 120, kBodyRight, 175};
constexpr int kTrayLeft = 155;
constexpr int kTrayRight = 238;
constexpr int kTrayPitch = 13;
constexpr int kTrayFrontHeight = 11;
constexpr int kTray1Top = 124;                 // trays 1-4 of the body with four trays
constexpr Rect kLargeTray1{kTrayLeft, 126, kTrayRight, 146};  // tray 1 of the body with three trays
constexpr Rect kBypassTray{250, 86, 286, 102};

constexpr Rect TrayFront(int tray) {  // tray 1-4 of the body with four trays
    return {kTrayLeft, kTray1Top + kTrayPitch * (tray - 1), kTrayRight,
            kTray1Top + kTrayPitch * (tray - 1) + kTrayFrontHeight - 1};
}

// ---- Options right of the body -------------------------------------------------
constexpr Rect kLct{250, 107, 314, 182};

// ---- Units left of the body, where they stand without interposer or Z-folding unit
constexpr int kInterposerWidth = 13;   // the offset rule's widths
constexpr int kZFoldWidth = 30;

constexpr Rect kInterposerColumn{kBodyLeft - kInterposerWidth, 42, kBodyLeft - 1, 183};
constexpr Rect kInterposerHead{92, 31, kBodyLeft - 1, 41};
constexpr Rect kInterposerTrays{92, 31, 124, 39};
constexpr Rect kInterposerCover{128, 30, 143, 58};

constexpr Rect kZFold{kBodyLeft - kZFoldWidth, 52, kBodyLeft - 1, 183};
constexpr Rect kZFoldUpperCover{118, 54, 142, 91};
constexpr Rect kZFoldInternalUnit{118, 97, 142, 148};

constexpr Rect kCopyTray{115, 71, 143, 83};

constexpr Rect kMailbox{86, 2, 143, 183};
constexpr Rect kMailboxCover{131, 14, 143, 59};
constexpr int kMailboxBinLeft = 80;         // where a bin's lip ends
constexpr int MailboxBinCentre(int bin) { return 58 - 6 * (bin - 1); }  // bins 1 (lowest) to 9

// Finishers 21, 115 and 114 share the front door; 38 has a narrower one.
constexpr Rect kFinisherDoor{84, 66, 140, 180};
constexpr Rect kFinisher38Door{96, 67, 140, 180};
constexpr Rect Shifted(Rect r, int dx) { return {r.x0 + dx, r.y0, r.x1 + dx, r.y1}; }

constexpr int kFinisher21Left = 56;
constexpr int kFinisher21ShiftTrayY = 85;   // centre row at the cabinet's edge
constexpr int kFinisherKeyX = 62;           // the Suspend/Resume key (centre)
constexpr int kFinisherKeyY = 68;
constexpr Rect kFinisher21UpperTray{83, 42, 128, 53};

constexpr int kFinisher38Left = 76;
constexpr int kFinisher38ShiftTray1Y = 78;  // centre rows at the cabinet's edge
constexpr int kFinisher38ShiftTray2Y = 102;
constexpr Rect kFinisher38ShiftTrays{42, 64, 76, 110};
constexpr Rect kFinisher38UpperTray{88, 46, 130, 55};
constexpr int kFinisher38PictureX = 30;     // the table draws its picture at x = 30

constexpr int kFinisherLeft = 59;           // finishers 115 and 114
constexpr int kFinisherShiftTrayY = 82;
constexpr int kFinisherBookletTrayY = 140;
constexpr Rect kFinisherUpperTray{60, 49, 100, 55};
constexpr Rect kFinisher115Trays{30, 70, 59, 148};

// The booklet processor and the bridge that joins it to the finisher.
constexpr int kBookletProcessorPictureX = -69;
constexpr Rect kBookletProcessor{-66, 70, 13, 183};
constexpr Rect kBookletProcessorCover{-4, 81, 13, 150};
constexpr Rect kBookletBridge{14, 118, kFinisherLeft - 1, 150};

}  // namespace bitmapgen::scene
