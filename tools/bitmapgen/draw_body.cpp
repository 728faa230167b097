// The main body: scanner with document feeder on top, operation panel,
// inner output tray, front cover, the paper trays, bypass tray on the right.
#include "pictures.h"
#include "scene.h"

namespace bitmapgen {

using namespace scene;

namespace {

void DrawBackground(Canvas& canvas) {
    FillRect(canvas, {0, 0, kCanvasWidth - 1, kFloorY - 1}, kWhite);
    FillRect(canvas, {0, kFloorY, kCanvasWidth - 1, kCanvasHeight - 1}, kFloor);
}

void DrawTrayFront(Canvas& canvas, Rect front) {
    Panel(canvas, front, kBody, kOutline, 1);
    const int middle = (front.y0 + front.y1) / 2;
    const int centre = (front.x0 + front.x1) / 2;
    Panel(canvas, {centre - 9, middle - 1, centre + 9, middle + 1}, kHandle, kHandle, 1);
    // Paper level: a short gauge at the left.
    for (int i = 0; i < 3; ++i) VLine(canvas, front.x0 + 5 + 3 * i, middle - 1, middle + 1, kTrim);
}

}  // namespace

void DrawMainBody(Canvas& canvas, bool fourth_tray) {
    DrawBackground(canvas);
    FillRect(canvas, {kBodyLeft - 3, kFloorY, kBodyRight + 3, kFloorY + 1}, kFloorShadow);

    // Feet, plinth and paper bank.
    Panel(canvas, {kBodyLeft + 5, 184, kBodyLeft + 13, 189}, kHandle, kOutline, 1);
    Panel(canvas, {kBodyRight - 13, 184, kBodyRight - 5, 189}, kHandle, kOutline, 1);
    Panel(canvas, {kBodyLeft + 1, 176, kBodyRight - 1, 183}, kBodyDark);
    Panel(canvas, kPaperBank, kBodyShade);
    if (fourth_tray) {
        for (int tray = 1; tray <= 4; ++tray) DrawTrayFront(canvas, TrayFront(tray));
    } else {
        DrawTrayFront(canvas, kLargeTray1);
        DrawTrayFront(canvas, TrayFront(3));
        DrawTrayFront(canvas, TrayFront(4));
    }

    // Engine with the front cover.
    Panel(canvas, kEngine, kBodyShade);
    Panel(canvas, kFrontCover, kBody, kOutline, 2);
    const int centre = (kFrontCover.x0 + kFrontCover.x1) / 2;
    Panel(canvas, {centre - 10, kFrontCover.y0 + 4, centre + 10, kFrontCover.y0 + 6}, kHandle, kHandle, 1);
    HLine(canvas, kFrontCover.x0 + 1, kFrontCover.x1 - 1, kFrontCover.y0 + 10, kBodyShade);
    // The toner window: yellow, magenta, cyan, black.
    const Colour toners[] = {kTonerYellow, kTonerMagenta, kTonerCyan, kTonerBlack};
    Panel(canvas, {kFrontCover.x0 + 8, kFrontCover.y1 - 15, kFrontCover.x0 + 43, kFrontCover.y1 - 7}, kBodyShade);
    for (int i = 0; i < 4; ++i) {
        const int x = kFrontCover.x0 + 11 + 8 * i;
        FillRect(canvas, {x, kFrontCover.y1 - 13, x + 5, kFrontCover.y1 - 9}, toners[i]);
    }
    // The family's stripe.
    FillRect(canvas, {kFrontCover.x1 - 30, kFrontCover.y1 - 12, kFrontCover.x1 - 8, kFrontCover.y1 - 10}, kAccent);

    // Inner output tray between the engine and the scanner, open to the left.
    FillRect(canvas, kInnerTray, kBodyDark);
    FillRect(canvas, {kInnerTray.x0, kInnerTray.y0 + 1, kInnerTray.x1 - 8, kInnerTray.y1 - 1}, kGlass);
    FillRect(canvas, {kInnerTray.x0 + 12, kInnerTray.y1 - 2, kInnerTray.x0 + 70, kInnerTray.y1 - 1}, kPaper);
    VLine(canvas, kInnerTray.x1, kInnerTray.y0, kInnerTray.y1, kOutline);

    // Scanner: the contact glass along its top, the operation panel in front.
    Panel(canvas, kScanner, kBody);
    HLine(canvas, kScannerGlassBand.x0, kScannerGlassBand.x1, kScanner.y0 + 1, kGlass);
    HLine(canvas, kScannerGlassBand.x0, kScannerGlassBand.x1, kScanner.y0 + 2, kAccentLight);
    HLine(canvas, kScanner.x0 + 1, kScanner.x1 - 1, kScanner.y0 + 3, kBodyShade);
    Panel(canvas, {206, 45, 244, 52}, kHandle, kOutline, 1);
    FillRect(canvas, {209, 47, 227, 50}, kAccentLight);
    FillRect(canvas, {231, 47, 233, 49}, kLed);
    FillRect(canvas, {236, 47, 241, 49}, kAccent);

    // Document feeder: its exit below, the cover on top, originals waiting.
    Panel(canvas, kAdfLower, kBodyShade);
    FillRect(canvas, {kAdfLower.x0 + 6, kAdfLower.y0 + 4, kAdfLower.x0 + 50, kAdfLower.y1 - 2}, kGlass);
    FillRect(canvas, {kAdfLower.x0 + 10, kAdfLower.y1 - 3, kAdfLower.x0 + 46, kAdfLower.y1 - 2}, kPaper);
    Panel(canvas, kAdfCover, kBody, kOutline, 3);
    HLine(canvas, kAdfCover.x0 + 4, kAdfCover.x1 - 4, kAdfCover.y1 - 2, kBodyShade);
    Panel(canvas, {kAdfCover.x1 - 44, kAdfCover.y0 - 5, kAdfCover.x1 - 6, kAdfCover.y0 - 1}, kPaper, kPaperEdge);

    // Bypass tray, open on the right side.
    Panel(canvas, {kBodyRight - 2, 93, kBodyRight + 2, 103}, kTrim, kOutline, 1);
    Polygon(canvas, {{kBodyRight + 1.0, 97}, {284, 88}, {287, 90}, {287, 92}, {kBodyRight + 1.0, 102}}, kBodyShade);
    Polygon(canvas, {{kBodyRight + 5.0, 96}, {279, 89}, {280, 91}, {kBodyRight + 5.0, 98}}, kPaper, kPaperEdge);
}

}  // namespace bitmapgen
