// The simulated window manager: activation, the one window that has the keyboard. Which calls
// activate a window is written down at the top of sim_window_manager.h; the rules live here so
// that the position protocol and ShowWindow only ask.
#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

constexpr int32_t kSwShowNa = 8;  // SW_SHOWNA; the program does not use it

}  // namespace

bool SimWindowManager::showActivates(int32_t command) {
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

bool SimWindowManager::activatesOnPosition(const Window& window, uint32_t flags) const {
  return (flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) == 0 && !window.parent &&
         window.handle != kDesktop;
}

void SimWindowManager::bringForwardIfActivating(const Window& window, WindowPos& pos) const {
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
void SimWindowManager::activate(Window& window) {
  if (window.parent || window.handle == kDesktop) return;
  const Hwnd previous = foreground_;
  foreground_ = window.handle;
  if (previous != window.handle && focus_ && !focusWithin(window.handle)) setFocusTo({});
}

void SimWindowManager::deactivate(const Window& window) {
  if (foreground_ != window.handle) return;
  foreground_ = {};
  if (focusWithin(window.handle)) setFocusTo({});
}

Hwnd SimWindowManager::getForegroundWindow() {
  ++portCalls;
  return foreground_;
}

void SimWindowManager::activateByUser(Hwnd window) {
  Window* w = live(window);
  if (w == nullptr || w->parent || window == kDesktop) return;
  activate(*w);
  // The program's own windows see it coming, as with any activation.
  if (w->own) {
    changePosition(window, {window, kHwndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE});
  } else {
    placeOnTop(*w);
  }
}

}  // namespace sim
