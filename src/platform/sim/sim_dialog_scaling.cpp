// The simulated window manager: what the dialog manager does for a dialog at a new DPI.
#include <vector>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

void SimWindowManager::scaleDialog(Hwnd dialog, const Rect& suggested, uint32_t old, uint32_t dpi) {
  if (live(dialog) == nullptr || old == 0) return;
  placeAt(dialog, suggested, SWP_NOZORDER | SWP_NOACTIVATE);
  relayoutForDpi(dialog, old, dpi);
}

void SimWindowManager::relayoutForDpi(Hwnd dialog, uint32_t old, uint32_t dpi) {
  Window* d = live(dialog);
  if (d == nullptr) return;
  d->fontDpi = dpi;
  const Point origin = clientOrigin(*d);
  auto scaled = [&](int32_t v) { return static_cast<int32_t>(int64_t{v} * dpi / old); };
  const std::vector<Hwnd> children = d->children;  // a handler may change the list
  for (const Hwnd child : children) {
    Window* c = live(child);
    if (c == nullptr) continue;
    const int32_t x = origin.x + scaled(c->rect.left - origin.x);
    const int32_t y = origin.y + scaled(c->rect.top - origin.y);
    placeAt(child, {x, y, x + scaled(c->rect.width()), y + scaled(c->rect.height())},
            SWP_NOZORDER | SWP_NOACTIVATE);
    if (Window* moved = live(child)) moved->fontDpi = dpi;
    dispatch(child, WM_SETFONT, 0, 1);  // a font made for `dpi`; redraw
    if (Window* page = live(child); page != nullptr && page->dialog) {
      relayoutForDpi(child, old, dpi);
    }
  }
}

uint32_t SimWindowManager::fontDpi(Hwnd window) const {
  const Window* w = live(window);
  return w != nullptr ? w->fontDpi : 0;
}

}  // namespace sim
