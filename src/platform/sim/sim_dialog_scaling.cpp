// The simulated dialog manager: what it does for a dialog at a new DPI.
#include <vector>

#include "platform/sim/sim_dialogs.h"

namespace sim {

using namespace platform;

void SimDialogs::scaleDialog(Hwnd dialog, const Rect& suggested, uint32_t old, uint32_t dpi) {
  if (windows_.live(dialog) == nullptr || old == 0) return;
  windows_.placeAt(dialog, suggested, SWP_NOZORDER | SWP_NOACTIVATE);
  relayoutForDpi(dialog, old, dpi);
}

void SimDialogs::relayoutForDpi(Hwnd dialog, uint32_t old, uint32_t dpi) {
  SimWindow* d = windows_.live(dialog);
  if (d == nullptr) return;
  fontDpi_[dialog.value] = dpi;
  const Point origin = windows_.clientOrigin(*d);
  auto scaled = [&](int32_t v) { return static_cast<int32_t>(int64_t{v} * dpi / old); };
  const std::vector<Hwnd> children = d->children;  // a handler may change the list
  for (const Hwnd child : children) {
    SimWindow* c = windows_.live(child);
    if (c == nullptr) continue;
    const int32_t x = origin.x + scaled(c->rect.left - origin.x);
    const int32_t y = origin.y + scaled(c->rect.top - origin.y);
    windows_.placeAt(child, {x, y, x + scaled(c->rect.width()), y + scaled(c->rect.height())},
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (windows_.live(child) != nullptr) fontDpi_[child.value] = dpi;
    windows_.dispatch(child, WM_SETFONT, 0, 1);  // a font made for `dpi`; redraw
    if (windows_.live(child) != nullptr && isDialog(child)) {
      relayoutForDpi(child, old, dpi);
    }
  }
}

uint32_t SimDialogs::fontDpi(Hwnd window) const {
  const auto found = fontDpi_.find(window.value);
  return windows_.live(window) != nullptr && found != fontDpi_.end() ? found->second : 0;
}

}  // namespace sim
