// The simulated window table: when the program's own windows are painted.
//
// As in Windows: showing a window, changing its size, moveWindow with repaint and
// invalidateRect mark it for painting (all but invalidateRect without erasing also for
// erasing); WM_PAINT comes when no posted message is left, and only BeginPaint/EndPaint (the
// default processing, paintFill, paintIcon) validates it, sending WM_ERASEBKGND first when
// erasing is due: a window whose class has no brush is erased by its handler or not at all. A
// handler that never validates would get WM_PAINT for ever: here it is recorded as
// "paint not validated h..." and dropped. The frame follows a style change only with
// SWP_FRAMECHANGED, as SetWindowLong's documentation says (Wine shows it so; Windows often
// redraws it on the next size change anyway).
#include <cstdio>

#include "platform/sim/sim_windows.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kFrameBits = WS_THICKFRAME | WS_CAPTION | WS_BORDER;

}  // namespace

void SimWindows::invalidate(SimWindow& window, bool erase) {
  if (!window.own || (window.control && window.handler == nullptr)) return;
  window.needsPaint = true;
  window.needsErase = window.needsErase || erase;
}

void SimWindows::beginEndPaint(Hwnd window) {
  SimWindow* w = live(window);
  if (w == nullptr) return;
  if (w->needsErase) {
    w->needsErase = false;
    dispatch(window, WM_ERASEBKGND, newDeviceContext(), 0);
    w = live(window);
    if (w == nullptr) return;
  }
  w->needsPaint = false;
  for (SimWindowsListener* listener : listeners_) listener->validated(window);  // painted over
}

bool SimWindows::deliverPaint() {
  for (const auto& [value, w] : windows_) {
    if (!w->alive || !w->needsPaint || !visibleChain(*w)) continue;
    const Hwnd h = w->handle;
    dispatch(h, WM_PAINT, 0, 0);
    if (SimWindow* after = live(h); after != nullptr && after->needsPaint) {
      actions_.push_back("paint not validated h" + [&] {
        char text[16];
        snprintf(text, sizeof text, "%x", h.value);
        return std::string(text);
      }());
      after->needsPaint = false;
    }
    return true;  // the handler may have changed the windows: start again
  }
  return false;
}

void SimWindows::noteFrameChange(SimWindow& window, uint32_t flags) {
  if ((flags & SWP_FRAMECHANGED) != 0) {
    window.drawnFrame = window.style & kFrameBits;
    invalidate(window);
  }
}

uint32_t SimWindows::drawnFrame(Hwnd window) const {
  const SimWindow* w = live(window);
  return w == nullptr ? 0 : w->drawnFrame;
}

}  // namespace sim
