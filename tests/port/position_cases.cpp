// The position protocol of the program's own windows: what WM_WINDOWPOSCHANGING lets a handler
// rewrite, what follows it, the z-order's bands.
#include <optional>

#include "port_case.h"
#include "window_log.h"

namespace {

using namespace platform;
using port_test::WindowLog;

constexpr uint32_t kStay = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

LParam pointParam(int32_t x, int32_t y) {
  return static_cast<LParam>((static_cast<uint32_t>(y) & 0xFFFF) << 16 |
                             (static_cast<uint32_t>(x) & 0xFFFF));
}

using port_test::stacked;

}  // namespace

// A handler may keep a window hidden, move it elsewhere, and what it leaves is what
// WM_WINDOWPOSCHANGED reports; WM_MOVE and WM_SIZE (client origin and size) come from the
// default processing of WM_WINDOWPOSCHANGED, and only for what changed.
PORT_CASE(WindowPosChangingRewritesTheChange) {
  Platform& p = fixture.platform();
  WindowLog log(p.ownWindows);
  bool keepHidden = true;
  bool snap = true;
  log.on = [&](Hwnd, uint32_t message, WParam, LParam lParam) -> std::optional<LResult> {
    if (message != WM_WINDOWPOSCHANGING) return std::nullopt;
    auto* pos = reinterpret_cast<WindowPos*>(lParam);
    if (keepHidden) pos->flags &= ~SWP_SHOWWINDOW;
    if (snap && (pos->flags & SWP_NOMOVE) == 0) pos->x = 400;
    return std::nullopt;
  };
  constexpr uint32_t kFramed = WS_POPUP | WS_CAPTION;
  Rect frame{0, 0, 0, 0};
  p.ownWindows.adjustWindowRect(frame, kFramed, 0);
  const Hwnd window = p.ownWindows.createWindow({0, kFramed, 0, {10, 10, 200, 150}}, &log);
  p.windows.showWindow(window, SW_SHOWNOACTIVATE);
  PORT_EXPECT(!p.windows.isWindowVisible(window));

  keepHidden = false;
  log.log.clear();
  PORT_EXPECT(p.windows.setWindowPos(window, {}, 100, 200, 400, 300,
                                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW));
  PORT_EXPECT(p.windows.isWindowVisible(window));
  Rect rect;
  p.windows.getWindowRect(window, rect);
  PORT_EXPECT(rect == (Rect{400, 200, 800, 500}));
  PORT_EXPECT_EQ(log.only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
                 WindowLog::names({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  if (log.last(WM_SIZE) != nullptr) {
    PORT_EXPECT_EQ(log.last(WM_WINDOWPOSCHANGED)->pos.x, 400);
    PORT_EXPECT_EQ(log.last(WM_MOVE)->lParam, pointParam(400 - frame.left, 200 - frame.top));
    PORT_EXPECT_EQ(log.last(WM_SIZE)->wParam, WParam{0});  // SIZE_RESTORED
    PORT_EXPECT_EQ(log.last(WM_SIZE)->lParam,
                   pointParam(400 - frame.width(), 300 - frame.height()));
  }

  // Coordinates travel as signed 16-bit halves; an unchanged size sends no WM_SIZE.
  snap = false;
  log.log.clear();
  p.windows.setWindowPos(window, {}, -100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PORT_EXPECT_EQ(log.only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
                 WindowLog::names({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));
  if (log.last(WM_MOVE) != nullptr) {
    PORT_EXPECT_EQ(log.last(WM_MOVE)->lParam, pointParam(-100 - frame.left, 50 - frame.top));
    PORT_EXPECT(log.last(WM_WINDOWPOSCHANGED)->pos.flags & SWP_NOSIZE);
  }

  // A handler that adds SWP_SHOWWINDOW to every change cannot keep a visible window from
  // hiding, while on a hidden window any change with it shows the window.
  log.on = [](Hwnd, uint32_t message, WParam, LParam lParam) -> std::optional<LResult> {
    if (message == WM_WINDOWPOSCHANGING)
      reinterpret_cast<WindowPos*>(lParam)->flags |= SWP_SHOWWINDOW;
    return std::nullopt;
  };
  PORT_EXPECT(p.windows.showWindow(window, SW_HIDE));  // it was visible
  PORT_EXPECT(!p.windows.isWindowVisible(window));
  p.windows.setWindowPos(window, {}, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PORT_EXPECT(p.windows.isWindowVisible(window));

  // A handler of WM_WINDOWPOSCHANGED that skips the default processing gets neither.
  log.on = [](Hwnd, uint32_t message, WParam, LParam) -> std::optional<LResult> {
    if (message == WM_WINDOWPOSCHANGED) return 0;
    return std::nullopt;
  };
  log.log.clear();
  p.windows.setWindowPos(window, {}, 10, 10, 300, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  PORT_EXPECT_EQ(log.only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
                 WindowLog::names({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
  p.ownWindows.destroyWindow(window);
}

// Windows stack newest first within two bands, the topmost above the rest: HWND_TOP stays in
// the window's band, HWND_TOPMOST and HWND_NOTOPMOST move it to the top of the other, a
// window goes after a given one, and SWP_NOZORDER leaves the order alone.
PORT_CASE(ZOrderKeepsTheTopmostBandFirst) {
  Platform& p = fixture.platform();
  WindowLog la(p.ownWindows), lb(p.ownWindows), lc(p.ownWindows);
  const Hwnd a = p.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 40, 40}}, &la);
  const Hwnd b = p.ownWindows.createWindow({0, WS_POPUP, WS_EX_TOPMOST, {0, 0, 40, 40}}, &lb);
  const Hwnd c = p.ownWindows.createWindow({0, WS_POPUP, 0, {0, 0, 40, 40}}, &lc);
  const std::vector<Hwnd> ours{a, b, c};
  auto topmost = [&](Hwnd h) {
    return (p.windows.getWindowLong(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  PORT_EXPECT(stacked(p.windows, ours) == (std::vector<Hwnd>{b, c, a}));

  p.windows.setWindowPos(a, kHwndTopmost, 0, 0, 0, 0, kStay);
  PORT_EXPECT(stacked(p.windows, ours) == (std::vector<Hwnd>{a, b, c}));
  PORT_EXPECT(topmost(a));
  // Leaving the band puts it above the other normal windows.
  p.windows.setWindowPos(a, kHwndNotopmost, 0, 0, 0, 0, kStay);
  PORT_EXPECT(stacked(p.windows, ours) == (std::vector<Hwnd>{b, a, c}));
  PORT_EXPECT(!topmost(a));

  p.windows.setWindowPos(c, kHwndTop, 0, 0, 0, 0, kStay);
  PORT_EXPECT(stacked(p.windows, ours) == (std::vector<Hwnd>{b, c, a}));
  // HWND_BOTTOM takes a topmost window out of its band.
  p.windows.setWindowPos(b, kHwndBottom, 0, 0, 0, 0, kStay);
  PORT_EXPECT(stacked(p.windows, ours) == (std::vector<Hwnd>{c, a, b}));
  PORT_EXPECT(!topmost(b));

  p.windows.setWindowPos(c, a, 0, 0, 0, 0, kStay);
  PORT_EXPECT(stacked(p.windows, ours) == (std::vector<Hwnd>{a, c, b}));
  p.windows.setWindowPos(b, kHwndTopmost, 0, 0, 0, 0, kStay | SWP_NOZORDER);
  PORT_EXPECT(stacked(p.windows, ours) == (std::vector<Hwnd>{a, c, b}));
  PORT_EXPECT(!topmost(b));

  // What a handler writes into WM_WINDOWPOSCHANGING is where the window goes: the bottom,
  // then the topmost band (the previews rely on this for their place in the z-order).
  std::optional<Hwnd> forced, asked;
  la.on = [&](Hwnd, uint32_t message, WParam, LParam lParam) -> std::optional<LResult> {
    if (message != WM_WINDOWPOSCHANGING || !forced) return std::nullopt;
    auto& pos = *reinterpret_cast<WindowPos*>(lParam);
    asked = pos.insertAfter;
    pos.insertAfter = *forced;
    pos.flags &= ~SWP_NOZORDER;
    return std::nullopt;
  };
  forced = kHwndBottom;
  p.windows.setWindowPos(a, kHwndTop, 0, 0, 0, 0, kStay);
  PORT_EXPECT(asked == kHwndTop);
  PORT_EXPECT(stacked(p.windows, ours) == (std::vector<Hwnd>{c, b, a}));
  PORT_EXPECT(p.windows.enumWindows().back() == a);
  forced = kHwndTopmost;
  p.windows.setWindowPos(a, kHwndBottom, 0, 0, 0, 0, kStay);
  PORT_EXPECT(asked == kHwndBottom);
  PORT_EXPECT(p.windows.enumWindows().front() == a);
  PORT_EXPECT(topmost(a));
  for (Hwnd h : ours) p.ownWindows.destroyWindow(h);
}
