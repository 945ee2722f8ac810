// The simulated program's own plain windows: creation, animation, what only their owner does.
// Menus and message boxes: sim_modal_loops.cpp.
#include "platform/sim/sim_own_windows.h"

#include <cstdio>

#include "platform/sim/sim_texts.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kWsClipSiblings = 0x04000000u;  // WS_CLIPSIBLINGS
constexpr LParam kPrintClient = 0x4 | 0x8;         // PRF_CLIENT | PRF_ERASEBKGND
constexpr LResult kCreateFailed = -1;

}  // namespace

SimOwnWindows::SimOwnWindows(SimWindows& windows) : windows_(windows) {
  windows_.listen(*this);
}

Hwnd SimOwnWindows::createWindow(const CreateWindowArgs& params, MessageHandler* handler) {
  ++windows_.portCalls;
  // A top-level window cannot be a child; an overlapped one always has a caption.
  if ((params.style & WS_CHILD) != 0) {
    windows_.clock().actions.push_back("window failed " + rectText(params.rect));
    return {};
  }
  if (refuseWindowCreations > 0) {  // the system out of resources, say
    --refuseWindowCreations;
    windows_.clock().actions.push_back("window refused " + rectText(params.rect));
    return {};
  }
  uint32_t style = params.style;
  if ((style & WS_POPUP) == 0) style |= WS_CAPTION | kWsClipSiblings;

  SimWindow& w = windows_.newWindow(windows_.nextHandle());
  const Hwnd h = w.handle;
  w.own = true;
  w.processId = windows_.ownProcessId;
  w.style = style & ~WS_VISIBLE;  // shown after WM_CREATE
  w.drawnFrame = style & (WS_THICKFRAME | WS_CAPTION | WS_BORDER);
  w.exStyle = params.exStyle;
  w.rect = params.rect;
  w.handler = handler;
  windows_.placeOnTop(w);
  windows_.clock().actions.push_back("window " + handleText(h) + " " + rectText(params.rect));

  if (windows_.dispatch(h, WM_CREATE, 0, 0) == kCreateFailed) {
    windows_.destroy(h);
    return {};
  }
  SimWindow* created = windows_.live(h);
  if (created == nullptr) return {};
  if ((params.style & WS_VISIBLE) != 0 && !created->visible()) windows_.show(h, SW_SHOW);
  return windows_.live(h) != nullptr ? h : Hwnd{};
}

bool SimOwnWindows::animateWindow(Hwnd window, Dword milliseconds, Dword flags) {
  ++windows_.portCalls;
  char text[64];
  snprintf(text, sizeof text, "animate %s %u %x", handleText(window).c_str(), milliseconds, flags);
  windows_.clock().actions.push_back(text);
  SimWindow* w = windows_.live(window);
  const bool hide = (flags & AW_HIDE) != 0;
  // Only the owner thread animates, and only a change of visibility.
  if (w == nullptr || !w->own || window == SimWindows::kDesktop || hide != w->visible())
    return false;
  if (!hide) {
    // The picture to animate comes from the window itself.
    windows_.dispatch(window, WM_PRINTCLIENT, windows_.newDeviceContext(), kPrintClient);
    if (windows_.live(window) == nullptr) return false;
  }
  windows_.clock().elapse(milliseconds);  // the thread is busy animating: nothing is delivered
  w = windows_.live(window);
  if (hide) {
    w->style &= ~WS_VISIBLE;
    windows_.deactivate(*w);
    return true;
  }
  if ((flags & AW_ACTIVATE) != 0 && !w->parent) {
    windows_.activate(*w);
    return windows_.changePosition(
        window, {window, kHwndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW});
  }
  return windows_.changePosition(
      window, {window,
               {},
               0,
               0,
               0,
               0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW});
}

bool SimOwnWindows::adjustWindowRect(Rect& rect, uint32_t style, uint32_t exStyle) {
  ++windows_.portCalls;
  const Rect in = windows_.insets(style, exStyle);
  rect = {rect.left - in.left, rect.top - in.top, rect.right + in.right, rect.bottom + in.bottom};
  return true;
}

bool SimOwnWindows::destroyWindow(Hwnd window) {
  ++windows_.portCalls;
  windows_.clock().actions.push_back("destroy " + handleText(window));
  return windows_.destroy(window);
}

bool SimOwnWindows::invalidateRect(Hwnd window, bool erase) {
  ++windows_.portCalls;
  windows_.clock().actions.push_back("invalidate " + handleText(window));
  if (!window) {  // the whole screen
    for (const auto& [value, w] : windows_.records()) {
      if (w->alive && !w->parent) windows_.invalidate(*w, erase);
    }
    return true;
  }
  SimWindow* w = windows_.live(window);
  if (w == nullptr) return false;
  windows_.invalidate(*w, erase);
  return true;
}

bool SimOwnWindows::setWindowText(Hwnd window, const std::string& text) {
  ++windows_.portCalls;
  SimWindow* w = windows_.live(window);
  if (w == nullptr || window == SimWindows::kDesktop) return false;
  w->text = text;
  return true;
}

bool SimOwnWindows::redrawNow(Hwnd window) {
  ++windows_.portCalls;
  SimWindow* w = windows_.live(window);
  if (w == nullptr || !w->own) return false;
  windows_.invalidate(*w, true);
  if (w->needsPaint && windows_.visibleChain(*w)) windows_.dispatch(window, WM_PAINT, 0, 0);
  return true;
}

}  // namespace sim
