// The simulated window manager: what windows draw, the screen that shows them, and the
// program's pictures of them (see the header).
#include <cstdio>
#include <functional>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

std::string rectText(const Rect& r) {
  char text[64];
  snprintf(text, sizeof text, "%d,%d,%d,%d", r.left, r.top, r.right, r.bottom);
  return text;
}

}  // namespace

void SimWindowManager::setColor(Hwnd window, ColorRef color) {
  if (Window* w = live(window)) w->color = color;
}

ColorRef SimWindowManager::colorOf(Hwnd window) const {
  const Window* w = live(window);
  if (w == nullptr) return 0;
  if (w->color) return *w->color;
  const uint32_t v = window.value;
  return rgb(static_cast<uint8_t>(64 + (v * 53) % 160), static_cast<uint8_t>(64 + (v * 97) % 160),
             static_cast<uint8_t>(64 + (v * 29) % 160));
}

BitmapHandle SimWindowManager::createPicture(Size size) {
  ++portCalls;
  picturesCreated.push_back(size);
  return newBitmap(size, "blank", 0);
}

bool SimWindowManager::copyScreenInto(BitmapHandle picture, const Rect& area) {
  ++portCalls;
  ++screenCopies;
  auto into = bitmaps_.find(picture.value);
  const Rect all = virtualScreen();
  if (into == bitmaps_.end() || area.right <= all.left || area.left >= all.right ||
      area.bottom <= all.top || area.top >= all.bottom || area.width() <= 0 || area.height() <= 0) {
    return false;
  }
  const Point centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  ColorRef color = desktopColor;
  for (const Hwnd h : zOrder_) {
    const Window* w = live(h);
    if (w == nullptr || !w->visible() || w->iconic()) continue;
    const bool layered = (w->exStyle & WS_EX_LAYERED) != 0;
    if ((w->own && layered && !screenHoldsLayered) || (layered && w->alpha && *w->alpha == 0)) {
      continue;
    }
    const Rect& r = w->rect;
    if (centre.x < r.left || centre.x >= r.right || centre.y < r.top || centre.y >= r.bottom) {
      continue;
    }
    color = colorOf(h);
    break;
  }
  into->second.picture = "screen " + rectText(area);
  into->second.color = color;
  return true;
}

uint64_t SimWindowManager::pixelHash(BitmapHandle handle) {
  ++portCalls;
  const SimBitmap* b = bitmap(handle);
  if (b == nullptr) return 0;
  // A picture is its description and its one colour.
  return std::hash<std::string>{}(b->picture) * 31 + b->color + 1;
}

BitmapHandle SimWindowManager::placeBitmap(BitmapHandle part, const Rect& at, Size size, ColorRef) {
  ++portCalls;
  const SimBitmap* from = bitmap(part);
  if (from == nullptr) return {};
  const std::string picture = from->picture + " at " + rectText(at);
  const ColorRef color = from->color;
  return newBitmap(size, picture, color);
}

bool SimWindowManager::isBlack(BitmapHandle handle) {
  ++portCalls;
  const SimBitmap* b = bitmap(handle);
  return b == nullptr || b->color == 0;
}

void SimWindowManager::paintBitmap(Hwnd window, BitmapHandle handle) {
  ++portCalls;
  ++bitmapsPainted;
  Window* w = live(window);
  if (w == nullptr) return;
  const SimBitmap* b = bitmap(handle);
  if (b == nullptr) {
    actions_.push_back("paint unknown bitmap");
  } else {
    w->paintedBitmap = *b;
    w->painted.clear();
  }
  beginEndPaint(window);
}

void SimWindowManager::paintLabel(Hwnd window, IconHandle icon, const std::string& text, ColorRef) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr) return;
  char prefix[32] = "";
  if (icon.value != 0)
    snprintf(prefix, sizeof prefix, "icon i%llx ", static_cast<unsigned long long>(icon.value));
  w->painted = prefix + text;
  w->paintedBitmap.reset();
  beginEndPaint(window);
}

const SimWindowManager::SimBitmap* SimWindowManager::paintedBitmap(Hwnd window) const {
  const Window* w = live(window);
  return w == nullptr || !w->paintedBitmap ? nullptr : &*w->paintedBitmap;
}

IconHandle SimWindowManager::windowIcon(Hwnd window) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr) return {};
  if (w->own) return {};
  ++crossProcessMessages;
  // WM_GETICON waits for the window's thread: a hung one answers nothing.
  if (w->icon.value != 0 && !hungForeign(*w)) return w->icon;
  return w->classIcon.value != 0 ? w->classIcon : kApplicationIcon;
}

}  // namespace sim
