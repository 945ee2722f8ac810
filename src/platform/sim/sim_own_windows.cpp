// The simulated window manager: the program's own plain windows, their animation and the
// painting calls they make.
#include <cstdio>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kWsClipSiblings = 0x04000000u;  // WS_CLIPSIBLINGS
constexpr LParam kPrintClient = 0x4 | 0x8;         // PRF_CLIENT | PRF_ERASEBKGND
constexpr LResult kCreateFailed = -1;

std::string handleText(Hwnd window) {
  char text[24];
  snprintf(text, sizeof text, "h%x", window.value);
  return text;
}

std::string rectText(const Rect& r) {
  char text[64];
  snprintf(text, sizeof text, "%d,%d,%d,%d", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string colorText(ColorRef color) {
  char text[16];
  snprintf(text, sizeof text, "%06x", color);
  return text;
}

}  // namespace

Hwnd SimWindowManager::createWindow(const CreateWindowArgs& params, MessageHandler* handler) {
  ++portCalls;
  // A top-level window cannot be a child; an overlapped one always has a caption.
  if ((params.style & WS_CHILD) != 0) {
    actions_.push_back("window failed " + rectText(params.rect));
    return {};
  }
  if (refuseWindowCreations > 0) {  // the system out of resources, say
    --refuseWindowCreations;
    actions_.push_back("window refused " + rectText(params.rect));
    return {};
  }
  uint32_t style = params.style;
  if ((style & WS_POPUP) == 0) style |= WS_CAPTION | kWsClipSiblings;

  Window& w = newWindow(nextHandle());
  const Hwnd h = w.handle;
  w.own = true;
  w.processId = ownProcessId;
  w.style = style & ~WS_VISIBLE;  // shown after WM_CREATE
  w.drawnFrame = style & (WS_THICKFRAME | WS_CAPTION | WS_BORDER);
  w.exStyle = params.exStyle;
  w.rect = params.rect;
  w.handler = handler;
  placeOnTop(w);
  actions_.push_back("window " + handleText(h) + " " + rectText(params.rect));

  if (dispatch(h, WM_CREATE, 0, 0) == kCreateFailed) {
    destroy(h);
    return {};
  }
  Window* created = live(h);
  if (created == nullptr) return {};
  if ((params.style & WS_VISIBLE) != 0 && !created->visible()) show(h, SW_SHOW);
  return live(h) != nullptr ? h : Hwnd{};
}

bool SimWindowManager::animateWindow(Hwnd window, Dword milliseconds, Dword flags) {
  ++portCalls;
  char text[64];
  snprintf(text, sizeof text, "animate %s %u %x", handleText(window).c_str(), milliseconds, flags);
  actions_.push_back(text);
  Window* w = live(window);
  const bool hide = (flags & AW_HIDE) != 0;
  // Only the owner thread animates, and only a change of visibility.
  if (w == nullptr || !w->own || window == kDesktop || hide != w->visible()) return false;
  if (!hide) {
    // The picture to animate comes from the window itself.
    nextDc_ += 4;
    dispatch(window, WM_PRINTCLIENT, nextDc_, kPrintClient);
    if (live(window) == nullptr) return false;
  }
  time_.elapse(milliseconds);  // the thread is busy animating: nothing is delivered
  w = live(window);
  if (hide) {
    w->style &= ~WS_VISIBLE;
    deactivate(*w);
    return true;
  }
  if ((flags & AW_ACTIVATE) != 0 && !w->parent) {
    activate(*w);
    return changePosition(window,
                          {window, kHwndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW});
  }
  return changePosition(window,
                        {window,
                         {},
                         0,
                         0,
                         0,
                         0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW});
}

bool SimWindowManager::moveWindow(Hwnd window, int32_t x, int32_t y, int32_t cx, int32_t cy,
                                  bool repaint) {
  ++portCalls;
  char text[96];
  snprintf(text, sizeof text, "move %s %d,%d %dx%d", handleText(window).c_str(), x, y, cx, cy);
  actions_.push_back(text);
  Window* w = live(window);
  if (w == nullptr || window == kDesktop) return false;
  if (!changeReaches(window, "move", WM_WINDOWPOSCHANGING, [this, window, x, y, cx, cy, repaint] {
        moveWindow(window, x, y, cx, cy, repaint);
      })) {
    return false;
  }
  w = live(window);
  if (w == nullptr) return false;
  if (repaint) invalidate(*w);
  return changePosition(window, {window, {}, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE});
}

bool SimWindowManager::adjustWindowRect(Rect& rect, uint32_t style, uint32_t exStyle) {
  ++portCalls;
  const Rect in = insets(style, exStyle);
  rect = {rect.left - in.left, rect.top - in.top, rect.right + in.right, rect.bottom + in.bottom};
  return true;
}

void SimWindowManager::fillRect(DeviceContext dc, const Rect& rect, ColorRef color) {
  ++portCalls;
  char text[32];
  snprintf(text, sizeof text, "fill dc%llx ", static_cast<unsigned long long>(dc.value));
  actions_.push_back(text + rectText(rect) + " " + colorText(color));
}

void SimWindowManager::paintFill(Hwnd window, ColorRef color) {
  ++portCalls;
  actions_.push_back("paint fill " + handleText(window) + " " + colorText(color));
  beginEndPaint(window);
}

}  // namespace sim
