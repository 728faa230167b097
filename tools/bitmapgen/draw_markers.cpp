// The markers.  Each is drawn at the first position the composition tables
// give it; where a marker is placed several times (tray markers, mailbox
// bins, shift trays), the parts it points at are spaced as its positions.
#include "pictures.h"
#include "scene.h"
#include "glyphs.h"

namespace bitmapgen {

using namespace scene;

void DrawMarker(Canvas& canvas, int number) {
    constexpr int kArrowLength = 28;
    switch (number) {
        case 1: HighlightFrame(canvas, kFinisher115Trays); break;                 // shift and booklet trays
        case 2: HighlightFrame(canvas, kLargeTray1); break;                       // tray 1, body with three trays
        case 3: HighlightFrame(canvas, TrayFront(1)); break;                      // one paper tray
        case 4: HighlightFrame(canvas, kCopyTray); break;
        case 5: HighlightFrame(canvas, kFrontCover); break;
        case 6: HighlightFrame(canvas, kAdfCover); break;
        case 7: HighlightFrame(canvas, kScannerGlassBand); break;
        case 8: HighlightFrame(canvas, kBypassTray); break;
        case 9: HighlightFrame(canvas, kMailboxCover); break;
        case 10:                                                                  // a mailbox bin, bin 1 first
            Arrow(canvas, kMailboxBinLeft - 1, MailboxBinCentre(1), Direction::kRight, 24);
            break;
        case 11: HighlightFrame(canvas, kFinisher38Door); break;
        case 12: HighlightFrame(canvas, kFinisher38UpperTray); break;
        case 13:                                                                  // shift tray 1, then 2
            Arrow(canvas, kFinisher38Left - 1, kFinisher38ShiftTray1Y, Direction::kLeft, kArrowLength);
            break;
        case 14: HighlightFrame(canvas, kLct); break;
        case 15: HighlightFrame(canvas, kInterposerTrays); break;
        case 16: HighlightFrame(canvas, kInterposerCover); break;
        case 17: HighlightFrame(canvas, Shifted(kFinisher38Door, -kInterposerWidth)); break;
        case 18: HighlightFrame(canvas, kFinisherDoor); break;
        case 19: HighlightFrame(canvas, Shifted(kFinisherDoor, -kInterposerWidth)); break;
        case 20: HighlightFrame(canvas, kFinisher21UpperTray); break;
        case 21:
            Arrow(canvas, kFinisher21Left - 1, kFinisher21ShiftTrayY, Direction::kLeft, kArrowLength);
            break;
        case 22: HighlightRing(canvas, kFinisherKeyX, kFinisherKeyY, 7.5); break;  // the Suspend/Resume key
        case 23: HighlightFrame(canvas, kFinisher38ShiftTrays); break;
        case 24: HighlightFrame(canvas, kZFoldUpperCover); break;
        case 25: HighlightFrame(canvas, kZFoldInternalUnit); break;
        case 26: HighlightFrame(canvas, kFinisherDoor); break;
        case 27: HighlightFrame(canvas, kFinisherUpperTray); break;
        case 28:                                                                  // shift tray, booklet tray
            Arrow(canvas, kFinisherLeft - 1, kFinisherShiftTrayY, Direction::kLeft, kArrowLength);
            break;
        case 29: HighlightFrame(canvas, kBookletProcessorCover); break;
        default: break;
    }
}

}  // namespace bitmapgen
