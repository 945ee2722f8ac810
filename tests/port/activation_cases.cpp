// The program's own windows minimised, restored and activated: through the position protocol,
// in the z-order among other programs' windows.
#include <optional>

#include "port_case.h"
#include "window_log.h"

namespace {

using namespace platform;
using port_test::WindowLog;

const DialogTemplate kPanel =
    port_test::panelTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
using port_test::stacked;

}  // namespace

// The system menu's commands, as the user gives them: minimised, the window stays visible,
// is told SIZE_MINIMIZED and keeps its normal rectangle (in workspace coordinates) in its
// placement; restored, it is back there. IsIconic already answers the new state while
// WM_WINDOWPOSCHANGING is handled.
PORT_CASE(MinimiseAndRestoreOwnWindow) {
  Platform& p = fixture.platform();
  WindowLog log(p.ownWindows);
  std::string iconicWhileChanging;
  log.on = [&](Hwnd h, uint32_t message, WParam, LParam) -> std::optional<LResult> {
    if (message == WM_WINDOWPOSCHANGING) iconicWhileChanging += p.windows.isIconic(h) ? "1" : "0";
    return std::nullopt;
  };
  const Hwnd dialog = p.dialogs.createDialog(kPanel, {}, &log);
  p.windows.setWindowPos(dialog, {}, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  p.windows.showWindow(dialog, SW_SHOWNOACTIVATE);
  Rect home, client;
  p.windows.getWindowRect(dialog, home);
  p.windows.getClientRect(dialog, client);
  const Rect work = port_test::primaryWorkArea(p.monitors);
  log.log.clear();
  iconicWhileChanging.clear();

  p.messages.sendMessage(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PORT_EXPECT(p.windows.isIconic(dialog));
  PORT_EXPECT(p.windows.isWindowVisible(dialog));
  Rect rect;
  p.windows.getWindowRect(dialog, rect);
  // Wine's virtual desktop parks it in a row of icons at its bottom left instead.
  if (!fixture.underWine()) PORT_EXPECT_EQ(rect.left, -32000);
  PORT_EXPECT(log.last(WM_SIZE) != nullptr && log.last(WM_SIZE)->wParam == 1);  // SIZE_MINIMIZED
  WindowPlacement placement;
  PORT_EXPECT(p.windows.getWindowPlacement(dialog, placement));
  PORT_EXPECT_EQ(placement.showCmd, static_cast<uint32_t>(SW_SHOWMINIMIZED));
  PORT_EXPECT(placement.normalPosition == (Rect{home.left - work.left, home.top - work.top,
                                                home.right - work.left, home.bottom - work.top}));
  PORT_EXPECT(!iconicWhileChanging.empty() && iconicWhileChanging.find('0') == std::string::npos);

  iconicWhileChanging.clear();
  p.messages.sendMessage(dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
  PORT_EXPECT(!p.windows.isIconic(dialog));
  p.windows.getWindowRect(dialog, rect);
  PORT_EXPECT(rect == home);
  PORT_EXPECT(log.last(WM_SIZE) != nullptr && log.last(WM_SIZE)->wParam == 0);
  PORT_EXPECT_EQ(log.last(WM_SIZE)->lParam,
                 static_cast<LParam>(client.bottom) << 16 | static_cast<LParam>(client.right));
  PORT_EXPECT(!iconicWhileChanging.empty() && iconicWhileChanging.find('1') == std::string::npos);
  p.ownWindows.destroyWindow(dialog);
}

// Activating one of the program's windows brings it to the top through the position protocol
// (HWND_TOP, neither moved nor sized), so its handler has the last word: it may show it even
// while hidden; one already active gets nothing. Hidden or minimised, it is no longer the
// foreground window. A topmost window stays above a newer window of another program.
PORT_CASE(ActivatingAnOwnWindowGoesThroughThePositionProtocol) {
  Platform& p = fixture.platform();
  // Windows activates a window of the calling thread at once, with SetWindowPos(HWND_TOP);
  // Wine 8's virtual desktop does it at the next messages and raises the window without
  // WM_WINDOWPOSCHANGING, so a handler has no say there.
  const bool protocol = !fixture.underWine();
  WindowLog log(p.ownWindows), otherLog(p.ownWindows);
  bool forceShown = false;
  log.on = [&](Hwnd, uint32_t message, WParam, LParam lParam) -> std::optional<LResult> {
    if (message == WM_WINDOWPOSCHANGING && forceShown) {
      reinterpret_cast<WindowPos*>(lParam)->flags |= SWP_SHOWWINDOW;
    }
    return std::nullopt;
  };
  DialogTemplate shown = kPanel;
  shown.style |= WS_VISIBLE;
  const Hwnd dialog = p.dialogs.createDialog(shown, {}, &log);
  PORT_EXPECT(p.windows.getForegroundWindow() == dialog);  // shown visible at creation
  const Hwnd other = p.dialogs.createDialog(shown, {}, &otherLog);
  PORT_EXPECT(p.windows.getForegroundWindow() == other);
  PORT_EXPECT(stacked(p.windows, {dialog, other}) == (std::vector<Hwnd>{other, dialog}));

  log.log.clear();
  PORT_EXPECT(p.windows.setForegroundWindow(dialog));
  fixture.pumpMessages(100);
  PORT_EXPECT(p.windows.getForegroundWindow() == dialog);
  PORT_EXPECT(stacked(p.windows, {dialog, other}) == (std::vector<Hwnd>{dialog, other}));
  const port_test::Seen* changing = log.last(WM_WINDOWPOSCHANGING);
  PORT_EXPECT_EQ(changing != nullptr, protocol);
  if (changing != nullptr) {
    PORT_EXPECT(changing->pos.insertAfter == kHwndTop);
    PORT_EXPECT_EQ(changing->pos.flags & (SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER),
                   SWP_NOMOVE | SWP_NOSIZE);
  }
  const size_t changes = log.count(WM_WINDOWPOSCHANGING);
  p.windows.setForegroundWindow(dialog);  // already in front
  fixture.pumpMessages(50);
  PORT_EXPECT_EQ(log.count(WM_WINDOWPOSCHANGING), changes);

  p.windows.setWindowPos(dialog, kHwndTopmost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const Hwnd newest = fixture.otherProgramWindow("新しい", {320, 220, 620, 420});
  PORT_EXPECT(stacked(p.windows, {dialog, other, newest}) ==
              (std::vector<Hwnd>{dialog, newest, other}));

  p.windows.showWindow(dialog, SW_HIDE);
  PORT_EXPECT(p.windows.getForegroundWindow() != dialog);
  if (protocol) {
    forceShown = true;
    p.windows.setForegroundWindow(dialog);
    PORT_EXPECT(p.windows.isWindowVisible(dialog));
    forceShown = false;
  } else {
    p.windows.showWindow(dialog, SW_SHOWNOACTIVATE);
  }
  p.windows.showWindow(dialog, SW_MINIMIZE);
  fixture.pumpMessages(50);
  PORT_EXPECT(p.windows.getForegroundWindow() != dialog);
  p.ownWindows.destroyWindow(other);
  PORT_EXPECT(p.windows.setForegroundWindow(dialog));
  fixture.pumpMessages(50);
  p.ownWindows.destroyWindow(dialog);
  PORT_EXPECT(p.windows.getForegroundWindow() != dialog);  // none of it once it is gone
}
