// Pictures of windows, and the clipboard that takes them.
#include "port_case.h"

namespace {

using namespace platform;

struct Plain : MessageHandler {
  explicit Plain(OwnWindows& own) : own(own) {}
  LResult onMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) override {
    return own.defaultProc(hwnd, message, wParam, lParam);
  }
  OwnWindows& own;
};

}  // namespace

// A picture of part of another program's window is taken by the clipboard only while it is
// open (with an owner: without one, Windows refuses data); printing no window gives none.
PORT_CASE(ClipboardTakesAPictureOnlyWhileOpen) {
  Platform& p = fixture.platform();
  const Hwnd other = fixture.otherProgramWindow("Printed", {300, 200, 700, 500});
  Plain handler(p.ownWindows);
  const Hwnd owner = p.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 80, 60}}, &handler);
  PORT_EXPECT(!p.drawing.printWindowPart(Hwnd{0x7ffffff0}, {0, 0, 9, 9}, {8, 8}, 0));
  const BitmapHandle picture =
      p.drawing.printWindowPart(other, {7, 0, 393, 293}, {160, 120}, PW_RENDERFULLCONTENT);
  PORT_EXPECT(picture);
  PORT_EXPECT(!p.clipboard.setBitmap(picture));
  PORT_EXPECT(p.clipboard.open(owner));
  PORT_EXPECT(p.clipboard.empty());
  PORT_EXPECT(p.clipboard.setBitmap(picture));
  PORT_EXPECT(p.clipboard.close());
  PORT_EXPECT(!p.clipboard.close());
  p.ownWindows.destroyWindow(owner);
}

// The screen where another program's window lies is copied into a picture, not black; off every
// screen there is nothing. The same picture taken twice hashes the same, another not. A picture
// placed on a background is not black; every window has an icon to show (the system's, when
// neither it nor its class gives one), a window that has gone none.
PORT_CASE(ScreenCopiesAndPlacedPictures) {
  Platform& p = fixture.platform();
  const Hwnd other = fixture.otherProgramWindow("Copied", {300, 200, 700, 500});
  const BitmapHandle shot = p.drawing.createPicture({60, 40});
  PORT_EXPECT(shot);
  PORT_EXPECT(p.drawing.isBlack(shot));
  PORT_EXPECT(!p.drawing.copyScreenInto(shot, {-40000, -40000, -39000, -39000}));
  PORT_EXPECT(p.drawing.isBlack({}));
  PORT_EXPECT(p.drawing.pixelHash({}) == 0);
  const uint64_t blank = p.drawing.pixelHash(shot);
  // The other program paints its window in its own time.
  for (int i = 0; i < 40; ++i) {
    if (p.drawing.copyScreenInto(shot, {350, 250, 650, 450}) && !p.drawing.isBlack(shot)) break;
    p.system.sleep(50);
  }
  PORT_EXPECT(!p.drawing.isBlack(shot));
  const uint64_t hash = p.drawing.pixelHash(shot);
  PORT_EXPECT(hash != blank);
  PORT_EXPECT(p.drawing.copyScreenInto(shot, {350, 250, 650, 450}));
  PORT_EXPECT(p.drawing.pixelHash(shot) == hash);
  const BitmapHandle placed = p.drawing.placeBitmap(shot, {10, 5, 40, 25}, {50, 30}, 0);
  PORT_EXPECT(placed);
  PORT_EXPECT(!p.drawing.isBlack(placed));
  PORT_EXPECT(!p.drawing.placeBitmap({}, {0, 0, 5, 5}, {5, 5}, 0));
  PORT_EXPECT(p.icons.windowIcon(other).value != 0);
  PORT_EXPECT(p.icons.windowIcon(Hwnd{0x7ffffff0}).value == 0);
  p.drawing.deleteBitmap(placed);
  p.drawing.deleteBitmap(shot);
}
