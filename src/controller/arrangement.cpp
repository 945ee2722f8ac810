#include "controller/arrangement.h"

#include <algorithm>

#include "display/dpi.h"

using platform::Rect;

namespace {

// One walk for every edge, in two axes: 0 is x, 1 is y. Cells abut; int64 so that damaged
// margins cannot overflow the walk.
struct Cell {
  int64_t lo[2], hi[2];
};

Rect slotOf(const Cell& c, bool inset, uint32_t dpi) {
  auto v = [](int64_t x) { return static_cast<int32_t>(x); };
  const int64_t dx = inset ? dpi::scale(2, dpi) : 0, dy = inset ? dpi::scale(1, dpi) : 0;
  return {v(c.lo[0] + dx), v(c.lo[1] + dy), v(c.hi[0] - dx), v(c.hi[1] - dy)};
}

}  // namespace

std::vector<Rect> buildSlots(const SettingsRecord& s, const Rect& screen, uint32_t dpi) {
  std::vector<Rect> slots;
  if (s.thumbWidth <= 0 || s.thumbHeight <= 0 || s.location < Top || s.location > Bottom) {
    return slots;
  }
  auto px = [dpi](int32_t v) { return dpi::scale(v, dpi); };
  const int64_t size[2] = {std::max<int64_t>(1, px(s.thumbWidth)),
                           std::max<int64_t>(1, px(s.thumbHeight))};
  const int64_t min[2] = {screen.left + px(s.leftMargin), screen.top + px(s.topMargin)};
  const int64_t max[2] = {screen.right - px(s.rightMargin), screen.bottom - px(s.bottomMargin)};
  // Top and Bottom fill rows, Left and Right columns. A line always runs from its low end;
  // the lines run away from the edge, backward (toward lower coordinates) from Right and
  // Bottom.
  const int along = (s.location == Top || s.location == Bottom) ? 0 : 1;
  const int across = 1 - along;
  const bool backward = s.location == Right || s.location == Bottom;

  Cell c{};
  c.lo[along] = min[along];
  c.hi[along] = min[along] + size[along];
  c.lo[across] = backward ? max[across] - size[across] : min[across];
  c.hi[across] = c.lo[across] + size[across];
  while (slots.size() < kMaxSlots) {
    slots.push_back(slotOf(c, s.location == Top, dpi));
    if (c.hi[along] + size[along] <= max[along]) {
      c.lo[along] = c.hi[along];
      c.hi[along] += size[along];
      continue;
    }
    c.lo[along] = min[along];
    c.hi[along] = min[along] + size[along];
    if (backward) {
      c.hi[across] = c.lo[across];
      c.lo[across] -= size[across];
      if (c.lo[across] < min[across]) break;
    } else {
      c.lo[across] = c.hi[across];
      c.hi[across] += size[across];
      if (c.hi[across] > max[across]) break;
    }
  }
  return slots;
}
