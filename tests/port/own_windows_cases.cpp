// The program's own plain windows: creation, moves and frames, layered alpha,
// messages and hot-keys.
#include "port_case.h"

namespace {

using namespace platform;

constexpr uint32_t kTimesSix = WM_APP + 1;  // answered with wParam * 6
constexpr uint32_t kVkF12 = 0x7B;

// Records what reaches one plain window.
class Recorder : public MessageHandler {
 public:
  explicit Recorder(OwnWindows& own) : own_(own) {}
  Hwnd window;  // from its first message
  bool created = false;
  bool refuseCreate = false;
  bool ncDestroyed = false;
  int foreignMessages = 0;
  int afterNcDestroy = 0;

  LResult onMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) override {
    if (!window) window = hwnd;
    if (hwnd != window) ++foreignMessages;
    if (ncDestroyed) ++afterNcDestroy;
    switch (message) {
      case WM_CREATE:
        created = true;
        if (refuseCreate) return -1;
        break;
      case kTimesSix:
        return static_cast<LResult>(wParam * 6);
      case WM_NCDESTROY:
        ncDestroyed = true;
        break;
    }
    return own_.defaultProc(hwnd, message, wParam, lParam);
  }

 private:
  OwnWindows& own_;
};

}  // namespace

// A handler that refuses WM_CREATE leaves no window and still sees WM_NCDESTROY; an accepted
// one has its window from the first message to WM_NCDESTROY and nothing after.
PORT_CASE(PlainWindowFromCreationToDestruction) {
  Platform& p = fixture.platform();
  {
    Recorder refused(p.ownWindows);
    refused.refuseCreate = true;
    PORT_EXPECT(!p.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 40, 40}}, &refused));
    PORT_EXPECT(refused.created);
    PORT_EXPECT(refused.ncDestroyed);
    PORT_EXPECT_EQ(refused.afterNcDestroy, 0);
  }
  const Rect asked{600, 500, 700, 580};
  Recorder handler(p.ownWindows);
  const Hwnd window = p.ownWindows.createWindow({CS_DBLCLKS, WS_POPUP, 0, asked}, &handler);
  PORT_EXPECT(window);
  PORT_EXPECT(handler.created);  // before createWindow returned
  PORT_EXPECT(handler.window == window);
  PORT_EXPECT(p.windows.isWindow(window));
  PORT_EXPECT(!p.windows.isWindowVisible(window));
  Rect rect;
  PORT_EXPECT(p.windows.getWindowRect(window, rect));
  PORT_EXPECT(rect == asked);
  PORT_EXPECT_EQ(p.windows.getWindowProcessId(window) != 0, true);
  PORT_EXPECT_EQ(p.processes.baseName(p.windows.getWindowProcessId(window)),
                 fixture.ownProgramName());

  PORT_EXPECT(p.ownWindows.destroyWindow(window));
  PORT_EXPECT(handler.ncDestroyed);
  PORT_EXPECT_EQ(handler.afterNcDestroy, 0);
  PORT_EXPECT_EQ(handler.foreignMessages, 0);
  PORT_EXPECT(!p.windows.isWindow(window));
}

// Moving, placing, and a frame from adjustWindowRect around the client area asked for.
PORT_CASE(MovePlaceAndFrame) {
  Platform& p = fixture.platform();
  Recorder handler(p.ownWindows);
  const Rect home{600, 500, 700, 580};
  const Hwnd window = p.ownWindows.createWindow({0, WS_POPUP, 0, home}, &handler);
  PORT_EXPECT(p.windows.moveWindow(window, 610, 505, 110, 85, true));
  Rect rect;
  p.windows.getWindowRect(window, rect);
  PORT_EXPECT(rect == (Rect{610, 505, 720, 590}));

  WindowPlacement placement;
  PORT_EXPECT(p.windows.getWindowPlacement(window, placement));
  placement.normalPosition = home;
  placement.showCmd = SW_SHOWNOACTIVATE;
  PORT_EXPECT(p.windows.setWindowPlacement(window, placement));
  p.windows.getWindowRect(window, rect);
  PORT_EXPECT(rect == home);
  PORT_EXPECT(p.windows.isWindowVisible(window));
  Rect client;
  PORT_EXPECT(p.windows.getClientRect(window, client));
  PORT_EXPECT(client == (Rect{0, 0, home.width(), home.height()}));
  p.ownWindows.destroyWindow(window);

  const uint32_t framed = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  Rect frame{200, 300, 400, 400};
  PORT_EXPECT(p.ownWindows.adjustWindowRect(frame, framed, 0));
  // A caption above, borders on every side.
  PORT_EXPECT(frame.left < 200 && frame.right > 400 && frame.bottom > 400);
  PORT_EXPECT(300 - frame.top > 200 - frame.left);
  Recorder framedHandler(p.ownWindows);
  const Hwnd withFrame = p.ownWindows.createWindow({0, framed, 0, frame}, &framedHandler);
  p.windows.getClientRect(withFrame, client);
  PORT_EXPECT_EQ(client.width(), 200);
  PORT_EXPECT_EQ(client.height(), 100);
  p.ownWindows.destroyWindow(withFrame);
}

// Only a window with WS_EX_LAYERED takes an alpha, and the system keeps the one given.
PORT_CASE(LayeredAlphaNeedsTheLayeredStyle) {
  Platform& p = fixture.platform();
  Recorder plain(p.ownWindows), layered(p.ownWindows);
  const Hwnd opaque = p.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 50, 50}}, &plain);
  PORT_EXPECT(!p.windows.setLayeredWindowAttributes(opaque, 0, 128, LWA_ALPHA));
  const Hwnd window =
      p.ownWindows.createWindow({0, WS_POPUP, WS_EX_LAYERED, {0, 0, 50, 50}}, &layered);
  PORT_EXPECT(p.windows.setLayeredWindowAttributes(window, 0, 128, LWA_ALPHA));
  PORT_EXPECT_EQ(fixture.layeredAlpha(window), 128);
  // Added later, as the previews add it in WM_CREATE.
  p.windows.setWindowLong(opaque, GWL_EXSTYLE,
                          p.windows.getWindowLong(opaque, GWL_EXSTYLE) | WS_EX_LAYERED);
  PORT_EXPECT(p.windows.setLayeredWindowAttributes(opaque, 0, 200, LWA_ALPHA));
  PORT_EXPECT_EQ(fixture.layeredAlpha(opaque), 200);
  p.ownWindows.destroyWindow(window);
  p.ownWindows.destroyWindow(opaque);
}

// Messages reach the handler and its answer comes back; a handle that is no window gets
// nothing and answers nothing. Registered messages are stable and in the registered range.
PORT_CASE(MessagesAndDeadHandles) {
  Platform& p = fixture.platform();
  Recorder handler(p.ownWindows);
  const Hwnd window = p.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 50, 50}}, &handler);
  PORT_EXPECT_EQ(p.messages.sendMessage(window, kTimesSix, 7, 0), 42);
  const TimedResult timed =
      p.messages.sendMessageTimeout(window, kTimesSix, 5, 0, SMTO_ABORTIFHUNG, 1000);
  PORT_EXPECT(timed.answered);
  PORT_EXPECT_EQ(timed.result, 30);
  p.ownWindows.destroyWindow(window);

  const Hwnd dead{0x12345678};
  PORT_EXPECT(!p.messages.sendMessageTimeout(dead, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000).answered);
  PORT_EXPECT(!p.windows.isWindow(dead));
  PORT_EXPECT(!p.windows.isWindow(window));
  PORT_EXPECT_EQ(p.windows.getWindowText(dead, 100), "");
  Rect rect;
  PORT_EXPECT(!p.windows.getWindowRect(dead, rect));
  PORT_EXPECT_EQ(p.processes.baseName(0), "");
  PORT_EXPECT_EQ(p.processes.imagePath(0), "");

  const uint32_t message = p.messages.registerWindowMessage("TaskbarCreated");
  PORT_EXPECT(message >= 0xC000 && message <= 0xFFFF);
  PORT_EXPECT_EQ(p.messages.registerWindowMessage("TaskbarCreated"), message);
  PORT_EXPECT_EQ(p.messages.registerWindowMessage("taskbarcreated"), message);  // an atom
  const uint32_t another = p.messages.registerWindowMessage("QuillmoorPortCase");
  PORT_EXPECT(another >= 0xC000 && another != message);
}

// A key combination has one owner: the second registration fails with the error the control
// page reports, and the key is free again once unregistered.
PORT_CASE(HotKeyHasOneOwner) {
  Platform& p = fixture.platform();
  Recorder handler(p.ownWindows);
  const Hwnd window = p.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 50, 50}}, &handler);
  constexpr uint32_t kMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
  PORT_EXPECT(p.input.registerHotKey(window, 1, kMods, kVkF12));
  PORT_EXPECT(!p.input.registerHotKey(window, 2, kMods, kVkF12));
  PORT_EXPECT_EQ(p.messages.lastError(), ERROR_HOTKEY_ALREADY_REGISTERED);
  PORT_EXPECT(p.input.unregisterHotKey(window, 1));
  PORT_EXPECT(p.input.registerHotKey(window, 2, kMods, kVkF12));
  PORT_EXPECT(p.input.unregisterHotKey(window, 2));
  PORT_EXPECT(!p.input.unregisterHotKey(window, 2));
  p.ownWindows.destroyWindow(window);
}
