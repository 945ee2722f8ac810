// The simulated window table: activation, the one window that has the keyboard, and the focus
// that goes with it. Which calls activate a window is written down at the top of sim_windows.h; the
// rules live here so that the position protocol and ShowWindow only ask.
#include "platform/sim/sim_windows.h"

namespace sim {

using namespace platform;

namespace {

constexpr int32_t kSwShowNa = 8;  // SW_SHOWNA; the program does not use it

}  // namespace

bool SimWindows::showActivates(int32_t command) {
  switch (command) {
    case SW_HIDE:
    case SW_SHOWNOACTIVATE:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case kSwShowNa:
      return false;
    default:  // SW_SHOWNORMAL, SW_SHOW, SW_RESTORE, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED ...
      return true;
  }
}

bool SimWindows::activatesOnPosition(const SimWindow& window, uint32_t flags) const {
  return (flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) == 0 && !window.parent &&
         window.handle != kDesktop;
}

void SimWindows::bringForwardIfActivating(const SimWindow& window, WindowPos& pos) const {
  if (!activatesOnPosition(window, pos.flags)) return;
  // Activation brings the window to the top of its band, whatever place was asked for (and
  // after WM_WINDOWPOSCHANGING had its say); only a change of band is kept.
  if ((pos.flags & SWP_NOZORDER) != 0 ||
      (pos.insertAfter != kHwndTopmost && pos.insertAfter != kHwndNotopmost)) {
    pos.flags &= ~SWP_NOZORDER;
    pos.insertAfter = kHwndTop;
  }
}

// The focus goes with the activation: it leaves the window that loses it.
void SimWindows::activate(SimWindow& window) {
  if (window.parent || window.handle == kDesktop) return;
  const Hwnd previous = foreground_;
  foreground_ = window.handle;
  if (previous != window.handle && focus_ && !focusWithin(window.handle)) setFocusTo({});
}

void SimWindows::deactivate(const SimWindow& window) {
  if (foreground_ != window.handle) return;
  foreground_ = {};
  if (focusWithin(window.handle)) setFocusTo({});
}

Hwnd SimWindows::getForegroundWindow() {
  ++portCalls;
  return foreground_;
}

void SimWindows::activateByUser(Hwnd window) {
  SimWindow* w = live(window);
  if (w == nullptr || w->parent || window == kDesktop) return;
  activate(*w);
  // The program's own windows see it coming, as with any activation.
  if (w->own) {
    changePosition(window, {window, kHwndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE});
  } else {
    placeOnTop(*w);
  }
}

bool SimWindows::focusWithin(Hwnd window) const {
  for (const SimWindow* w = live(focus_); w != nullptr; w = live(w->parent)) {
    if (w->handle == window) return true;
  }
  return false;
}

void SimWindows::setFocusTo(Hwnd window) {
  const Hwnd old = focus_;
  if (old == window) return;
  focus_ = window;
  if (live(old) != nullptr) dispatch(old, WM_KILLFOCUS, window.value, 0);
  if (focus_ == window && live(window) != nullptr) dispatch(window, WM_SETFOCUS, old.value, 0);
}

}  // namespace sim
