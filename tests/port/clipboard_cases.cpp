// Pictures of windows, and the clipboard that takes them.
#include "port_case.h"

namespace {

using namespace platform;

class Plain : public MessageHandler {
 public:
  explicit Plain(OwnWindows& own) : own_(own) {}
  LResult onMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) override {
    return own_.defaultProc(hwnd, message, wParam, lParam);
  }

 private:
  OwnWindows& own_;
};

}  // namespace

// A picture of part of another program's window, of the size asked, is the clipboard's only
// once it is open and emptied; a second close, or data set after it, fails, and the bitmap
// not taken is still the caller's to delete.
PORT_CASE(ClipboardTakesAPictureOnlyWhileOpen) {
  Platform& p = fixture.platform();
  const Hwnd other = fixture.otherProgramWindow("Printed", {300, 200, 700, 500});
  Plain handler(p.ownWindows);
  const Hwnd owner =
      p.ownWindows.createWindow({0, WS_POPUP, WS_EX_TOOLWINDOW, {0, 0, 80, 60}}, &handler);
  PORT_EXPECT(owner);
  PORT_EXPECT(!p.drawing.printWindowPart(Hwnd{0x7ffffff0}, {0, 0, 10, 10}, {8, 8}, 0));

  const BitmapHandle picture =
      p.drawing.printWindowPart(other, {7, 0, 393, 293}, {160, 120}, PW_RENDERFULLCONTENT);
  PORT_EXPECT(picture);
  const BitmapHandle own = p.drawing.copyClientArea(owner, {80, 60});
  PORT_EXPECT(own);
  PORT_EXPECT(!p.clipboard.setBitmap(own));
  p.drawing.deleteBitmap(own);

  PORT_EXPECT(p.clipboard.open(owner));
  PORT_EXPECT(p.clipboard.empty());
  PORT_EXPECT(p.clipboard.setBitmap(picture));
  PORT_EXPECT(p.clipboard.close());
  PORT_EXPECT(!p.clipboard.close());
  PORT_EXPECT_EQ(fixture.clipboardBitmap(), std::string("160x120"));
  p.ownWindows.destroyWindow(owner);
}
