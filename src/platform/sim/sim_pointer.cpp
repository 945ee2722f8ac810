// The user's pointer: where it is and which of the program's windows hears it move.
#include <cstdio>

#include "platform/sim/sim_window.h"

using namespace platform;

namespace sim {

namespace {

LParam packPoint(int32_t x, int32_t y) {
  return static_cast<LParam>(static_cast<uint32_t>(static_cast<uint16_t>(x)) |
                             (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
}

bool inside(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

Hwnd SimWindowManager::ownWindowAt(Point at) const {
  for (const Hwnd handle : zOrder_) {
    const Window* w = live(handle);
    if (w == nullptr || !w->visible() || !inside(w->rect, at)) continue;
    return w->own ? handle : Hwnd{};  // the first window under the point takes the pointer
  }
  return {};
}

void SimWindowManager::moveCursor(Point at, WParam keys) {
  cursor = at;
  const Hwnd target = ownWindowAt(at);
  Window* w = live(target);
  if (w == nullptr) return;
  const Point origin = clientOrigin(*w);
  dispatch(target, WM_MOUSEMOVE, keys, packPoint(at.x - origin.x, at.y - origin.y));
}

}  // namespace sim
