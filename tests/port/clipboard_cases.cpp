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
