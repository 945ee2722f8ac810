#include "controller/arrangement.h"

using platform::Rect;

namespace {

// Cells abut; int64 so that damaged margins cannot overflow the walk.
struct Cell {
  int64_t left, top, right, bottom;
};

Rect slotOf(const Cell& c, bool inset) {
  auto v = [](int64_t x) { return static_cast<int32_t>(x); };
  if (inset) return {v(c.left + 2), v(c.top + 1), v(c.right - 2), v(c.bottom - 1)};
  return {v(c.left), v(c.top), v(c.right), v(c.bottom)};
}

}  // namespace

std::vector<Rect> buildSlots(const SettingsRecord& s, const Rect& screen) {
  std::vector<Rect> slots;
  const int64_t w = s.thumbWidth, h = s.thumbHeight;
  if (w <= 0 || h <= 0 || s.location < Top || s.location > Bottom) return slots;
  const int64_t minX = int64_t{screen.left} + s.leftMargin;
  const int64_t minY = int64_t{screen.top} + s.topMargin;
  const int64_t maxX = int64_t{screen.right} - s.rightMargin;
  const int64_t maxY = int64_t{screen.bottom} - s.bottomMargin;
  Cell c{};
  switch (s.location) {
    case Top:
    case Left:
      c = {minX, minY, minX + w, minY + h};
      break;
    case Right:
      c = {maxX - w, minY, maxX, minY + h};
      break;
    default:  // Bottom
      c = {minX, maxY - h, minX + w, maxY};
      break;
  }
  while (slots.size() < kMaxSlots) {
    slots.push_back(slotOf(c, s.location == Top));
    switch (s.location) {
      case Top:  // rows top to bottom, each left to right
      case Bottom:
        if (c.right + w <= maxX) {
          c.left = c.right;
          c.right += w;
          continue;
        }
        c.left = minX;
        c.right = minX + w;
        if (s.location == Top) {
          c.top = c.bottom;
          c.bottom += h;
          if (c.bottom <= maxY) continue;
        } else {
          c.bottom = c.top;
          c.top -= h;
          if (c.top >= minY) continue;
        }
        return slots;
      default:  // Left and Right: columns, each top to bottom
        if (c.bottom + h <= maxY) {
          c.top = c.bottom;
          c.bottom += h;
          continue;
        }
        c.top = minY;
        c.bottom = minY + h;
        if (s.location == Left) {
          c.left = c.right;
          c.right += w;
          if (c.right <= maxX) continue;
        } else {
          c.right = c.left;
          c.left -= w;
          if (c.left >= minX) continue;
        }
        return slots;
    }
  }
  return slots;
}
