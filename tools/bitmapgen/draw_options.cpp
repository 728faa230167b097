// The options beside the main body: large capacity tray, interposer, copy
// tray, mailbox and Z-folding unit.
#include "pictures.h"
#include "scene.h"

namespace bitmapgen {

using namespace scene;

namespace {

// Feet under a cabinet standing on the floor, and its shadow.
void Feet(Canvas& canvas, int left, int right) {
    FillRect(canvas, {left - 2, kFloorY, right + 2, kFloorY + 1}, kFloorShadow);
    Panel(canvas, {left + 3, 184, left + 9, 189}, kHandle, kOutline, 1);
    Panel(canvas, {right - 9, 184, right - 3, 189}, kHandle, kOutline, 1);
}

void Handle(Canvas& canvas, int x, int y, bool vertical) {
    if (vertical) {
        Panel(canvas, {x - 1, y - 8, x + 1, y + 8}, kHandle, kHandle, 1);
    } else {
        Panel(canvas, {x - 8, y - 1, x + 8, y + 1}, kHandle, kHandle, 1);
    }
}

}  // namespace

void DrawLct(Canvas& canvas) {
    Feet(canvas, kLct.x0, kLct.x1);
    Panel(canvas, {kLct.x0 + 1, 183, kLct.x1 - 1, 183}, kBodyDark, kBodyDark);
    Panel(canvas, kLct, kBodyShade);
    // Top cover, then the front door with its paper window.
    Panel(canvas, {kLct.x0, kLct.y0, kLct.x1, kLct.y0 + 10}, kBody, kOutline, 2);
    Panel(canvas, {kLct.x0 + 4, kLct.y0 + 14, kLct.x1 - 4, kLct.y1 - 4}, kBody, kOutline, 2);
    Handle(canvas, (kLct.x0 + kLct.x1) / 2, kLct.y0 + 20, false);
    Panel(canvas, {kLct.x0 + 12, kLct.y0 + 30, kLct.x1 - 12, kLct.y0 + 58}, kGlass, kOutline, 1);
    for (int y = kLct.y0 + 44; y <= kLct.y0 + 56; y += 2) HLine(canvas, kLct.x0 + 14, kLct.x1 - 14, y, kPaper);
    FillRect(canvas, {kLct.x1 - 24, kLct.y1 - 12, kLct.x1 - 10, kLct.y1 - 10}, kAccent);
    // The link to the body's paper path.
    FillRect(canvas, {kLct.x0 - 3, kLct.y0 + 16, kLct.x0 - 1, kLct.y0 + 30}, kTrim);
}

void DrawInterposer(Canvas& canvas, int dx) {
    const Rect column = Shifted(kInterposerColumn, dx);
    const Rect head = Shifted(kInterposerHead, dx);
    const Rect trays = Shifted(kInterposerTrays, dx);
    const Rect cover = Shifted(kInterposerCover, dx);
    Feet(canvas, column.x0 - 2, column.x1 + 2);
    Panel(canvas, column, kBodyShade);
    VLine(canvas, (column.x0 + column.x1) / 2, column.y0 + 22, column.y1 - 8, kBodyDark);
    // The head with its two insert trays, reaching over the finisher.
    Panel(canvas, {head.x0, head.y0 + 3, head.x1, head.y1}, kBodyShade, kOutline, 1);
    Panel(canvas, {trays.x0 + 2, trays.y0, trays.x1, trays.y0 + 3}, kPaper, kPaperEdge);
    Panel(canvas, {trays.x0 + 2, trays.y0 + 5, trays.x1, trays.y0 + 7}, kPaper, kPaperEdge);
    FillRect(canvas, {trays.x0, trays.y0 + 4, trays.x1 + 2, trays.y0 + 4}, kTrim);
    FillRect(canvas, {trays.x0, trays.y1 - 1, trays.x1 + 2, trays.y1}, kTrim);
    Panel(canvas, cover, kBody, kOutline, 2);
    Handle(canvas, (cover.x0 + cover.x1) / 2, cover.y0 + 14, true);
    FillRect(canvas, {cover.x0 + 3, cover.y1 - 6, cover.x1 - 3, cover.y1 - 5}, kAccent);
}

void DrawCopyTray(Canvas& canvas) {
    // A tray hung on the body's left side below the paper exit.
    Panel(canvas, {kCopyTray.x1 - 3, kCopyTray.y0 - 3, kCopyTray.x1 + 1, kCopyTray.y1 + 4}, kTrim, kOutline, 1);
    Polygon(canvas,
            {{kCopyTray.x0 + 0.0, kCopyTray.y0 + 6.0},
             {kCopyTray.x1 - 2.0, kCopyTray.y0 + 2.0},
             {kCopyTray.x1 - 2.0, kCopyTray.y1 - 2.0},
             {kCopyTray.x0 + 2.0, kCopyTray.y1 + 1.0}},
            kBodyShade);
    Polygon(canvas,
            {{kCopyTray.x0 + 4.0, kCopyTray.y0 + 5.0},
             {kCopyTray.x1 - 4.0, kCopyTray.y0 + 1.0},
             {kCopyTray.x1 - 4.0, kCopyTray.y0 + 4.0},
             {kCopyTray.x0 + 4.0, kCopyTray.y0 + 8.0}},
            kPaper, kPaperEdge);
    Panel(canvas, {kCopyTray.x0, kCopyTray.y0 + 3, kCopyTray.x0 + 2, kCopyTray.y1}, kTrim, kOutline);
}

void DrawMailbox(Canvas& canvas) {
    Feet(canvas, kMailbox.x0 + 8, kMailbox.x1);
    // The stand, then the tower of bins.
    Panel(canvas, {kMailbox.x0 + 10, 62, kMailbox.x1, kMailbox.y1}, kBodyShade);
    Panel(canvas, {kMailbox.x0 + 14, 70, kMailbox.x1 - 4, kMailbox.y1 - 6}, kBody, kOutline, 2);
    Panel(canvas, {kMailbox.x0, kMailbox.y0, kMailbox.x1, 63}, kBodyShade, kOutline, 2);
    for (int bin = 1; bin <= 9; ++bin) {
        const int y = MailboxBinCentre(bin);
        FillRect(canvas, {kMailbox.x0 + 2, y - 2, kMailboxCover.x0 - 3, y + 1}, kBodyDark);
        FillRect(canvas, {kMailbox.x0 + 6, y, kMailboxCover.x0 - 12, y + 1}, kPaper);
        HLine(canvas, kMailboxBinLeft + 1, kMailboxCover.x0 - 3, y + 2, kBody);
        HLine(canvas, kMailboxBinLeft + 1, kMailboxCover.x0 - 3, y + 3, kTrim);
        VLine(canvas, kMailboxBinLeft + 1, y + 1, y + 3, kTrim);
    }
    Panel(canvas, kMailboxCover, kBody, kOutline, 1);
    Handle(canvas, (kMailboxCover.x0 + kMailboxCover.x1) / 2, (kMailboxCover.y0 + kMailboxCover.y1) / 2, true);
    FillRect(canvas, {kMailbox.x0 + 20, 176, kMailbox.x0 + 34, 177}, kAccent);
}

void DrawZFold(Canvas& canvas) {
    Feet(canvas, kZFold.x0, kZFold.x1);
    Panel(canvas, kZFold, kBodyShade);
    Panel(canvas, kZFoldUpperCover, kBody, kOutline, 2);
    Handle(canvas, (kZFoldUpperCover.x0 + kZFoldUpperCover.x1) / 2, kZFoldUpperCover.y1 - 10, false);
    // The unit's emblem: a sheet folded in a Z.
    const int x0 = kZFoldUpperCover.x0 + 6, x1 = kZFoldUpperCover.x1 - 6, y = kZFoldUpperCover.y0 + 8;
    FillRect(canvas, {x0, y, x1, y + 1}, kAccent);
    Polygon(canvas, {{x1 - 1.0, y + 2.0}, {x1 + 1.0, y + 2.0}, {x0 + 2.0, y + 12.0}, {x0 + 0.0, y + 12.0}}, kAccent,
            kAccent);
    FillRect(canvas, {x0, y + 12, x1, y + 13}, kAccent);
    Panel(canvas, kZFoldInternalUnit, kBody, kOutline, 2);
    Handle(canvas, (kZFoldInternalUnit.x0 + kZFoldInternalUnit.x1) / 2, kZFoldInternalUnit.y0 + 8, false);
    Panel(canvas, {kZFold.x0 + 3, 154, kZFold.x1 - 3, kZFold.y1 - 4}, kBody, kOutline, 2);
}

}  // namespace bitmapgen
