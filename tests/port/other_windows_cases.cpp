// Another program's window, as the detector reads it and as the preview's target keeper
// changes it: facts, minimise and restore by message, layered alpha, an off-screen move.
#include <algorithm>
#include <utility>

#include "port_case.h"

namespace {

using namespace platform;

bool listed(Windows& windows, Hwnd window) {
  const std::vector<Hwnd> all = windows.enumWindows();
  return std::find(all.begin(), all.end(), window) != all.end();
}

}  // namespace

PORT_CASE(AnotherProgramsWindowAsTheDetectorReadsIt) {
  Platform& p = fixture.platform();
  const std::string title = "表示ソフト ①";
  const Rect rect{300, 200, 700, 500};
  const Hwnd window = fixture.otherProgramWindow(title, rect);
  PORT_EXPECT(window);
  PORT_EXPECT(listed(p.windows, window));
  PORT_EXPECT(p.windows.isWindowVisible(window));
  PORT_EXPECT(!p.windows.isIconic(window));
  PORT_EXPECT(!p.windows.isZoomed(window));
  constexpr uint32_t kAppWindow = WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  PORT_EXPECT_EQ(p.windows.getWindowLong(window, GWL_STYLE) & kAppWindow, kAppWindow);
  PORT_EXPECT_EQ(port_test::hex(p.windows.getWindowText(window, 256)), port_test::hex(title));
  Rect now;
  PORT_EXPECT(p.windows.getWindowRect(window, now));
  PORT_EXPECT(now == rect);

  const Dword process = p.windows.getWindowProcessId(window);
  PORT_EXPECT(process != 0);
  PORT_EXPECT_EQ(p.processes.baseName(process), fixture.otherProgramName());
  const std::string path = p.processes.imagePath(process);
  const std::string name = fixture.otherProgramName();
  PORT_EXPECT(path.size() > name.size() && path.ends_with(name) &&
              path[path.size() - name.size() - 1] == '\\');
}

// What the preview does to a minimised target: restore it by message, make it transparent in
// place or move it off the screen, then put everything back.
PORT_CASE(AnotherProgramsWindowKeptLiveAndPutBack) {
  Platform& p = fixture.platform();
  const Rect rect{300, 200, 700, 500};
  const Hwnd window = fixture.otherProgramWindow("対象", rect);

  TimedResult answer =
      p.messages.sendMessageTimeout(window, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_ABORTIFHUNG, 1000);
  PORT_EXPECT(answer.answered);
  PORT_EXPECT(p.windows.isIconic(window));
  PORT_EXPECT(p.windows.getWindowLong(window, GWL_STYLE) & WS_MINIMIZE);
  answer =
      p.messages.sendMessageTimeout(window, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, 1000);
  PORT_EXPECT(answer.answered);
  PORT_EXPECT(!p.windows.isIconic(window));
  Rect now;
  p.windows.getWindowRect(window, now);
  PORT_EXPECT(now == rect);

  const uint32_t exStyle = p.windows.getWindowLong(window, GWL_EXSTYLE);
  PORT_EXPECT(!p.windows.setLayeredWindowAttributes(window, 0, 0, LWA_ALPHA));
  p.windows.setWindowLong(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  PORT_EXPECT(p.windows.getWindowLong(window, GWL_EXSTYLE) & WS_EX_LAYERED);
  PORT_EXPECT(p.windows.setLayeredWindowAttributes(window, 0, 0, LWA_ALPHA));
  PORT_EXPECT_EQ(fixture.layeredAlpha(window), 0);
  // Read back as they were set, colour key and all: what a put-back gives back.
  PORT_EXPECT(
      p.windows.setLayeredWindowAttributes(window, rgb(1, 2, 3), 200, LWA_ALPHA | LWA_COLORKEY));
  ColorRef key = 0;
  uint8_t alpha = 0;
  Dword flags = 0;
  PORT_EXPECT(p.windows.getLayeredWindowAttributes(window, key, alpha, flags));
  PORT_EXPECT_EQ(key, rgb(1, 2, 3));
  PORT_EXPECT_EQ(alpha, 200);
  PORT_EXPECT_EQ(flags, LWA_ALPHA | LWA_COLORKEY);
  p.windows.setWindowLong(window, GWL_EXSTYLE, exStyle);
  PORT_EXPECT_EQ(p.windows.getWindowLong(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0u);
  PORT_EXPECT(!p.windows.getLayeredWindowAttributes(window, key, alpha, flags));

  constexpr uint32_t kQuiet = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  PORT_EXPECT(
      p.windows.setWindowPos(window, {}, rect.left + 10000, rect.top + 10000, 0, 0, kQuiet));
  p.windows.getWindowRect(window, now);
  PORT_EXPECT_EQ(now.left, rect.left + 10000);
  PORT_EXPECT_EQ(now.top, rect.top + 10000);
  PORT_EXPECT(p.windows.moveWindow(window, rect.left, rect.top, rect.width(), rect.height(), true));
  p.windows.getWindowRect(window, now);
  PORT_EXPECT(now == rect);
}

// A change to a window whose thread is busy gives up after a second and is made once the
// thread is free. The next change to it waits for that one within its own second: made after
// it when the thread is free by then, else refused and never made. The system calls the
// window hung once its thread has read no message for 5 s, no longer once it reads again;
// asking sends it nothing.
PORT_CASE(AChangeToABusyWindowIsMadeLaterAndHoldsNoOne) {
  Platform& p = fixture.platform();
  const Rect rect{300, 200, 700, 500};
  const std::pair<uint32_t, const char*> spans[] = {
      {8000, "止まる"}, {3000, "忙しい"}, {1500, "少し忙しい"}};
  for (const auto& [busyMs, title] : spans) {
    const bool outlastsNext = busyMs > 2000;
    const Hwnd window = fixture.otherProgramWindow(title, rect);
    PORT_EXPECT(!p.windows.isHungAppWindow(window));
    const uint32_t style = p.windows.getWindowLong(window, GWL_STYLE);
    fixture.slowStyleChange(window, busyMs);

    const Dword start = p.system.tickCount();
    PORT_EXPECT_EQ(p.windows.setWindowLong(window, GWL_STYLE, style | WS_DISABLED), 0u);
    PORT_EXPECT_EQ(p.messages.lastError(), ERROR_TIMEOUT);
    // It returned while the window was still inside its handler, not long enough to be hung.
    PORT_EXPECT(!p.messages.sendMessageTimeout(window, WM_NULL, 0, 0, 0, 100).answered);
    PORT_EXPECT(!p.windows.isHungAppWindow(window));
    const bool moved =
        p.windows.moveWindow(window, rect.left + 50, rect.top, rect.width(), rect.height(), true);
    PORT_EXPECT_EQ(moved, !outlastsNext);
    if (!moved) PORT_EXPECT_EQ(p.messages.lastError(), ERROR_TIMEOUT);
    if (busyMs > 5000) {
      bool hung = false;
      while (!hung && p.system.tickCount() - start < 7500) {
        p.system.sleep(250);
        hung = p.windows.isHungAppWindow(window);
      }
      PORT_EXPECT(hung);
      PORT_EXPECT(p.system.tickCount() - start >= 4500);
    }

    bool answered = false;
    for (int i = 0; i < 10 && !answered; ++i) {
      answered = p.messages.sendMessageTimeout(window, WM_NULL, 0, 0, 0, 1000).answered;
    }
    PORT_EXPECT(answered);
    PORT_EXPECT(!p.windows.isHungAppWindow(window));
    PORT_EXPECT(p.windows.getWindowLong(window, GWL_STYLE) & WS_DISABLED);
    Rect now;
    p.windows.getWindowRect(window, now);
    PORT_EXPECT_EQ(now.left, rect.left + (outlastsNext ? 0 : 50));
  }
}
