// The finishers left of the body and the booklet processor further left.
// Every finisher stands with its right side against the body (or the unit
// between) and has its front door at the same height; trays come out of
// its left side.
#include "pictures.h"
#include "scene.h"

namespace bitmapgen {

using namespace scene;

namespace {

constexpr int kRight = kBodyLeft - 1;
constexpr int kBottom = 183;

void Cabinet(Canvas& canvas, int left, int top) {
    FillRect(canvas, {left - 2, kFloorY, kRight + 2, kFloorY + 1}, kFloorShadow);
    Panel(canvas, {left + 4, 184, left + 10, 189}, kHandle, kOutline, 1);
    Panel(canvas, {kRight - 10, 184, kRight - 4, 189}, kHandle, kOutline, 1);
    Panel(canvas, {left, top, kRight, kBottom}, kBodyShade);
    HLine(canvas, left + 1, kRight - 1, top + 1, kBody);
    // Where the paper comes in from the body.
    FillRect(canvas, {kRight - 3, 60, kRight, 63}, kGlass);
}

void Door(Canvas& canvas, Rect door) {
    Panel(canvas, door, kBody, kOutline, 2);
    Panel(canvas, {door.x0 + 5, (door.y0 + door.y1) / 2 - 9, door.x0 + 7, (door.y0 + door.y1) / 2 + 9}, kHandle,
          kHandle, 1);
    FillRect(canvas, {door.x1 - 22, door.y1 - 10, door.x1 - 8, door.y1 - 8}, kAccent);
}

// A tray coming out of the cabinet's left side at edge_x, sloping up to
// the left; centre_y is its middle row at the cabinet.
void SideTray(Canvas& canvas, int edge_x, int centre_y, int length) {
    const double x0 = edge_x - length, x1 = edge_x + 2;
    const double y = centre_y + 0.5;
    Polygon(canvas, {{x0, y - 8}, {x1, y - 2}, {x1, y + 4}, {x0 + 2, y - 2}}, kBodyDark);
    Polygon(canvas, {{x0 + 4, y - 9}, {x1 - 3, y - 4}, {x1 - 3, y - 1}, {x0 + 4, y - 6}}, kPaper, kPaperEdge);
}

// An upper tray lying on the cabinet's top, with its fence at fence_x.
void TopTray(Canvas& canvas, Rect tray, int fence_x) {
    Panel(canvas, {tray.x0, tray.y1 - 3, tray.x1, tray.y1}, kBodyDark, kOutline, 1);
    Panel(canvas, {tray.x0 + 4, tray.y1 - 6, tray.x1 - 5, tray.y1 - 4}, kPaper, kPaperEdge);
    Panel(canvas, {fence_x - 1, tray.y0, fence_x + 1, tray.y1}, kTrim, kOutline);
}

void Bridge(Canvas& canvas, int left, int right) {
    Panel(canvas, {left, kBookletBridge.y0, right, kBookletBridge.y1}, kBodyShade);
    Panel(canvas, {left + 3, kBookletBridge.y0 + 4, right - 3, kBookletBridge.y1 - 4}, kBody, kOutline, 1);
    HLine(canvas, left + 6, right - 6, (kBookletBridge.y0 + kBookletBridge.y1) / 2, kBodyDark);
}

}  // namespace

void DrawFinisher21(Canvas& canvas, bool with_bridge) {
    if (with_bridge) Bridge(canvas, kBookletBridge.x0, kFinisher21Left + 1);
    Cabinet(canvas, kFinisher21Left, 54);
    Door(canvas, kFinisherDoor);
    TopTray(canvas, kFinisher21UpperTray, kFinisher21UpperTray.x1 - 1);
    // The Suspend/Resume key on its small panel.
    Panel(canvas, {kFinisherKeyX - 5, kFinisherKeyY - 4, kFinisherKeyX + 6, kFinisherKeyY + 5}, kBody, kOutline, 1);
    Disc(canvas, kFinisherKeyX + 0.5, kFinisherKeyY + 0.5, 2.5, kAccent, kOutline);
    SideTray(canvas, kFinisher21Left, kFinisher21ShiftTrayY, 36);
}

void DrawFinisher38(Canvas& canvas, bool with_bridge) {
    if (with_bridge) Bridge(canvas, kFinisher38PictureX, kFinisher38Left + 1);
    Cabinet(canvas, kFinisher38Left, 56);
    Door(canvas, kFinisher38Door);
    TopTray(canvas, kFinisher38UpperTray, kFinisher38UpperTray.x0 + 1);
    SideTray(canvas, kFinisher38Left, kFinisher38ShiftTray1Y, 32);
    SideTray(canvas, kFinisher38Left, kFinisher38ShiftTray2Y, 32);
}

void DrawFinisher115(Canvas& canvas, bool with_bridge) {
    if (with_bridge) Bridge(canvas, kBookletBridge.x0, kFinisherLeft + 1);
    Cabinet(canvas, kFinisherLeft, 57);
    Door(canvas, kFinisherDoor);
    TopTray(canvas, kFinisherUpperTray, kFinisherUpperTray.x1 - 1);
    SideTray(canvas, kFinisherLeft, kFinisherShiftTrayY, 29);
    if (!with_bridge) {
        // The booklet tray: folded booklets on a short tray.
        const double y = kFinisherBookletTrayY + 0.5;
        Polygon(canvas, {{34, y - 6}, {61, y - 2}, {61, y + 4}, {36, y}}, kBodyDark);
        Polygon(canvas, {{38, y - 8}, {56, y - 5}, {56, y - 2}, {38, y - 4}}, kPaper, kPaperEdge);
        Polygon(canvas, {{40, y - 11}, {54, y - 8}, {54, y - 6}, {40, y - 8}}, kPaper, kPaperEdge);
    }
}

void DrawFinisher114(Canvas& canvas, bool with_bridge) {
    if (with_bridge) Bridge(canvas, kBookletBridge.x0, kFinisherLeft + 1);
    Cabinet(canvas, kFinisherLeft, 57);
    Door(canvas, kFinisherDoor);
    TopTray(canvas, kFinisherUpperTray, kFinisherUpperTray.x1 - 1);
    SideTray(canvas, kFinisherLeft, kFinisherShiftTrayY, 29);
    // The punch waste drawer below the trays.
    Panel(canvas, {kFinisherLeft + 4, 120, kFinisherDoor.x0 - 4, 150}, kBody, kOutline, 1);
    Panel(canvas, {kFinisherLeft + 8, 124, kFinisherDoor.x0 - 8, 126}, kHandle, kHandle, 1);
}

void DrawFinisherBesideBookletProcessor(Canvas& canvas) {
    Bridge(canvas, kBookletBridge.x0, kFinisherLeft + 1);
    Cabinet(canvas, kFinisherLeft, 57);
    Door(canvas, kFinisherDoor);
    TopTray(canvas, kFinisherUpperTray, kFinisherUpperTray.x1 - 1);
    SideTray(canvas, kFinisherLeft, kFinisherShiftTrayY, 29);
}

void DrawBookletProcessor(Canvas& canvas) {
    const Rect& box = kBookletProcessor;
    FillRect(canvas, {box.x0 - 2, kFloorY, box.x1 + 2, kFloorY + 1}, kFloorShadow);
    Panel(canvas, {box.x0 + 4, 184, box.x0 + 10, 189}, kHandle, kOutline, 1);
    Panel(canvas, {box.x1 - 10, 184, box.x1 - 4, 189}, kHandle, kOutline, 1);
    Panel(canvas, box, kBodyShade);
    Panel(canvas, {box.x0, box.y0, box.x1, box.y0 + 9}, kBody, kOutline, 2);
    // Finished booklets on top.
    for (int i = 0; i < 3; ++i) {
        const double y = box.y0 - 1 - 3 * i;
        Polygon(canvas, {{box.x0 + 10.0 + i, y - 3}, {box.x0 + 44.0 - i, y - 3}, {box.x0 + 46.0 - i, y}, {box.x0 + 8.0 + i, y}},
                kPaper, kPaperEdge);
    }
    Panel(canvas, {box.x0 + 6, box.y0 + 14, kBookletProcessorCover.x0 - 4, box.y1 - 6}, kBody, kOutline, 2);
    Panel(canvas, {box.x0 + 12, box.y0 + 60, box.x0 + 14, box.y0 + 78}, kHandle, kHandle, 1);
    Panel(canvas, kBookletProcessorCover, kBody, kOutline, 2);
    Panel(canvas, {kBookletProcessorCover.x0 + 7, kBookletProcessorCover.y0 + 8, kBookletProcessorCover.x0 + 9,
                   kBookletProcessorCover.y0 + 22},
          kHandle, kHandle, 1);
    // Its own small operation panel.
    Panel(canvas, {box.x0 + 50, box.y0 + 2, box.x0 + 70, box.y0 + 7}, kHandle, kOutline, 1);
    FillRect(canvas, {box.x0 + 52, box.y0 + 4, box.x0 + 62, box.y0 + 5}, kAccentLight);
    FillRect(canvas, {box.x0 + 65, box.y0 + 4, box.x0 + 67, box.y0 + 5}, kLed);
    FillRect(canvas, {box.x0 + 12, box.y1 - 16, box.x0 + 26, box.y1 - 14}, kAccent);
}

}  // namespace bitmapgen
