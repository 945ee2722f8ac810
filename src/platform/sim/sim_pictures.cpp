// The simulated drawing: what windows draw, the screen that shows them, and the
// program's pictures of them (see the header).
#include <cstdio>
#include <functional>

#include "platform/sim/sim_drawing.h"
#include "platform/sim/sim_texts.h"

namespace sim {

using namespace platform;

namespace {

std::string hex(const char* prefix, uint64_t value) {
  char text[32];
  snprintf(text, sizeof text, "%s%llx", prefix, static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

void SimDrawing::setColor(Hwnd window, ColorRef color) {
  if (windows_.live(window) != nullptr) drawn_[window.value].color = color;
}

ColorRef SimDrawing::colorOf(Hwnd window) const {
  if (windows_.live(window) == nullptr) return 0;
  if (const Drawn* d = drawn(window); d != nullptr && d->color) return *d->color;
  const uint32_t v = window.value;
  return rgb(static_cast<uint8_t>(64 + (v * 53) % 160), static_cast<uint8_t>(64 + (v * 97) % 160),
             static_cast<uint8_t>(64 + (v * 29) % 160));
}

BitmapHandle SimDrawing::createPicture(Size size) {
  ++windows_.portCalls;
  picturesCreated.push_back(size);
  return newBitmap(size, "blank", 0);
}

bool SimDrawing::copyScreenInto(BitmapHandle picture, const Rect& area) {
  ++windows_.portCalls;
  ++screenCopies;
  auto into = bitmaps_.find(picture.value);
  const Rect all = windows_.virtualScreen();
  if (into == bitmaps_.end() || area.right <= all.left || area.left >= all.right ||
      area.bottom <= all.top || area.top >= all.bottom || area.width() <= 0 || area.height() <= 0) {
    return false;
  }
  const Point centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  ColorRef color = desktopColor;
  for (const Hwnd h : windows_.zOrder()) {
    const SimWindow* w = windows_.live(h);
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

uint64_t SimDrawing::pixelHash(BitmapHandle handle) {
  ++windows_.portCalls;
  const SimBitmap* b = bitmap(handle);
  if (b == nullptr) return 0;
  // A picture is its description and its one colour.
  return std::hash<std::string>{}(b->picture) * 31 + b->color + 1;
}

BitmapHandle SimDrawing::placeBitmap(BitmapHandle part, const Rect& at, Size size, ColorRef) {
  ++windows_.portCalls;
  const SimBitmap* from = bitmap(part);
  if (from == nullptr) return {};
  const std::string picture = from->picture + " at " + rectText(at);
  const ColorRef color = from->color;
  return newBitmap(size, picture, color);
}

bool SimDrawing::isBlack(BitmapHandle handle) {
  ++windows_.portCalls;
  const SimBitmap* b = bitmap(handle);
  return b == nullptr || b->color == 0;
}

void SimDrawing::paintBitmap(Hwnd window, BitmapHandle handle) {
  ++windows_.portCalls;
  ++bitmapsPainted;
  if (windows_.live(window) == nullptr) return;
  const SimBitmap* b = bitmap(handle);
  if (b == nullptr) {
    windows_.clock().actions.push_back("paint unknown bitmap");
  } else {
    Drawn& d = drawn_[window.value];
    d.paintedBitmap = *b;
    d.painted.clear();
  }
  windows_.beginEndPaint(window);
}

void SimDrawing::paintLabel(Hwnd window, IconHandle icon, const std::string& text, ColorRef) {
  ++windows_.portCalls;
  if (windows_.live(window) == nullptr) return;
  char prefix[32] = "";
  if (icon.value != 0)
    snprintf(prefix, sizeof prefix, "icon i%llx ", static_cast<unsigned long long>(icon.value));
  Drawn& d = drawn_[window.value];
  d.painted = prefix + text;
  d.paintedBitmap.reset();
  windows_.beginEndPaint(window);
}

const SimDrawing::SimBitmap* SimDrawing::paintedBitmap(Hwnd window) const {
  const Drawn* d = drawn(window);
  return d == nullptr || !d->paintedBitmap ? nullptr : &*d->paintedBitmap;
}

std::optional<SimDrawing::SimBitmap> SimDrawing::print(Hwnd window, const Rect& source, Size size,
                                                       uint32_t flags) {
  ++printWindows;
  const SimWindow* w = windows_.live(window);
  if (w == nullptr) return {};
  ++drawn_[window.value].prints;
  if (size.cx <= 0 || size.cy <= 0) return {};
  if (!w->own) ++windows_.crossProcessMessages;
  // WM_PRINT waits for the window's thread, as a change does: a second at most.
  if (!windows_.threads().changeReaches(window, "printWindow", WM_PRINT, [] {})) return {};
  w = windows_.live(window);
  if (w == nullptr) return {};
  if (printWindowFails || ((flags & PW_RENDERFULLCONTENT) != 0 && printFullContentFails)) {
    return {};
  }
  char picture[160];
  snprintf(picture, sizeof picture, "print %s flags %u part %d,%d,%d,%d of %dx%d",
           hex("h", window.value).c_str(), flags, source.left, source.top, source.right,
           source.bottom, w->rect.width(), w->rect.height());
  return SimBitmap{size, picture, !w->own && winePrintsOthersBlack ? 0 : colorOf(window)};
}

uint64_t SimDrawing::printsOf(Hwnd window) const {
  const Drawn* d = drawn(window);
  return d == nullptr ? 0 : d->prints;
}

BitmapHandle SimDrawing::printWindowPart(Hwnd window, const Rect& source, Size size,
                                         uint32_t flags) {
  ++windows_.portCalls;
  std::optional<SimBitmap> printed = print(window, source, size, flags);
  if (!printed) return {};
  return newBitmap(size, std::move(printed->picture), printed->color);
}

bool SimDrawing::printWindowInto(BitmapHandle picture, Hwnd window, const Rect& source,
                                 uint32_t flags) {
  ++windows_.portCalls;
  if (bitmaps_.count(picture.value) == 0) return false;
  std::optional<SimBitmap> printed = print(window, source, bitmaps_[picture.value].size, flags);
  // The window's program may have run meanwhile; the picture is looked up again.
  auto into = bitmaps_.find(picture.value);
  if (!printed || into == bitmaps_.end()) return false;
  into->second = std::move(*printed);
  return true;
}

BitmapHandle SimDrawing::copyClientArea(Hwnd window, Size size) {
  ++windows_.portCalls;
  if (windows_.live(window) == nullptr) return {};
  return newBitmap(size, "client " + hex("h", window.value));
}

}  // namespace sim
