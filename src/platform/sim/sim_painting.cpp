// The simulated window manager: when the program's own windows are painted.
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
#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kFrameBits = WS_THICKFRAME | WS_CAPTION | WS_BORDER;

}  // namespace

void SimWindowManager::invalidate(Window& window, bool erase) {
  if (!window.own || (window.control && window.handler == nullptr)) return;
  window.needsPaint = true;
  window.needsErase = window.needsErase || erase;
}

void SimWindowManager::beginEndPaint(Hwnd window) {
  Window* w = live(window);
  if (w == nullptr) return;
  if (w->needsErase) {
    w->needsErase = false;
    nextDc_ += 4;
    dispatch(window, WM_ERASEBKGND, nextDc_, 0);
    w = live(window);
    if (w == nullptr) return;
  }
  w->needsPaint = false;
  w->badge.clear();  // painted over
  w->badgeBox = {};
}

bool SimWindowManager::deliverPaint() {
  for (const auto& [value, w] : windows_) {
    if (!w->alive || !w->needsPaint || !visibleChain(*w)) continue;
    const Hwnd h = w->handle;
    dispatch(h, WM_PAINT, 0, 0);
    if (Window* after = live(h); after != nullptr && after->needsPaint) {
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

void SimWindowManager::noteFrameChange(Window& window, uint32_t flags) {
  if ((flags & SWP_FRAMECHANGED) != 0) {
    window.drawnFrame = window.style & kFrameBits;
    invalidate(window);
  }
}

bool SimWindowManager::redrawNow(Hwnd window) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr || !w->own) return false;
  invalidate(*w, true);
  if (w->needsPaint && visibleChain(*w)) dispatch(window, WM_PAINT, 0, 0);
  return true;
}

int32_t SimWindowManager::paintText(Hwnd window, const std::string& text, Point at) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr) return 0;
  w->painted = text;
  w->paintedAt = at;
  beginEndPaint(window);
  return static_cast<int32_t>(7 * text.size());
}

Size SimWindowManager::drawBadge(Hwnd window, const std::string& text, Point bottomLeft,
                                 uint32_t dpi) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr || !w->own || text.empty()) return {};
  const auto scaled = [dpi](size_t px) { return static_cast<int32_t>(px * dpi / 96); };
  const Size box{scaled(7 * text.size() + 6), scaled(16 + 6)};
  w->badge = text;
  w->badgeBox = {bottomLeft.x, bottomLeft.y - box.cy, bottomLeft.x + box.cx, bottomLeft.y};
  return box;
}

std::string SimWindowManager::badge(Hwnd window) const {
  const Window* w = live(window);
  return w == nullptr ? std::string() : w->badge;
}

Rect SimWindowManager::badgeBox(Hwnd window) const {
  const Window* w = live(window);
  return w == nullptr ? Rect{} : w->badgeBox;
}

std::string SimWindowManager::paintedText(Hwnd window) const {
  const Window* w = live(window);
  return w == nullptr ? std::string() : w->painted;
}

Point SimWindowManager::paintedTextAt(Hwnd window) const {
  const Window* w = live(window);
  return w == nullptr ? Point{} : w->paintedAt;
}

uint32_t SimWindowManager::drawnFrame(Hwnd window) const {
  const Window* w = live(window);
  return w == nullptr ? 0 : w->drawnFrame;
}

}  // namespace sim
