// The simulated drawing: the program's painting calls, brushes and device-context settings.
// Bitmaps and the screen: sim_pictures.cpp; the clipboard: sim_clipboard.cpp.
#include "platform/sim/sim_drawing.h"

#include <cstdio>

#include "platform/sim/sim_texts.h"

namespace sim {

using namespace platform;

namespace {

std::string colorText(ColorRef color) {
  char text[16];
  snprintf(text, sizeof text, "%06x", color);
  return text;
}

}  // namespace

SimDrawing::SimDrawing(SimWindows& windows) : windows_(windows) {
  windows_.listen(*this);
}

const SimDrawing::Drawn* SimDrawing::drawn(Hwnd window) const {
  if (windows_.live(window) == nullptr) return nullptr;
  const auto found = drawn_.find(window.value);
  return found == drawn_.end() ? nullptr : &found->second;
}

void SimDrawing::foreignAdded(Hwnd window, const ForeignWindow& facts) {
  drawn_[window.value].color = facts.color;
}

void SimDrawing::validated(Hwnd window) {
  auto found = drawn_.find(window.value);
  if (found == drawn_.end()) return;
  found->second.badge.clear();
  found->second.badgeBox = {};
}

void SimDrawing::fillRect(DeviceContext dc, const Rect& rect, ColorRef color) {
  ++windows_.portCalls;
  char text[32];
  snprintf(text, sizeof text, "fill dc%llx ", static_cast<unsigned long long>(dc.value));
  windows_.clock().actions.push_back(text + rectText(rect) + " " + colorText(color));
}

void SimDrawing::paintFill(Hwnd window, ColorRef color) {
  ++windows_.portCalls;
  windows_.clock().actions.push_back("paint fill " + handleText(window) + " " + colorText(color));
  windows_.beginEndPaint(window);
}

void SimDrawing::paintIcon(Hwnd window, IconHandle, int32_t x, int32_t y) {
  ++windows_.portCalls;
  windows_.clock().actions.push_back("paint icon " + std::to_string(x) + "," + std::to_string(y));
  windows_.beginEndPaint(window);
}

int32_t SimDrawing::paintText(Hwnd window, const std::string& text, Point at) {
  ++windows_.portCalls;
  if (windows_.live(window) == nullptr) return 0;
  Drawn& d = drawn_[window.value];
  d.painted = text;
  d.paintedAt = at;
  windows_.beginEndPaint(window);
  return static_cast<int32_t>(7 * text.size());
}

Size SimDrawing::drawBadge(Hwnd window, const std::string& text, Point bottomLeft, uint32_t dpi) {
  ++windows_.portCalls;
  const SimWindow* w = windows_.live(window);
  if (w == nullptr || !w->own || text.empty()) return {};
  Drawn& d = drawn_[window.value];
  const auto scaled = [dpi](size_t px) { return static_cast<int32_t>(px * dpi / 96); };
  const Size box{scaled(7 * text.size() + 6), scaled(16 + 6)};
  d.badge = text;
  d.badgeBox = {bottomLeft.x, bottomLeft.y - box.cy, bottomLeft.x + box.cx, bottomLeft.y};
  return box;
}

std::string SimDrawing::badge(Hwnd window) const {
  const Drawn* d = drawn(window);
  return d == nullptr ? std::string() : d->badge;
}

Rect SimDrawing::badgeBox(Hwnd window) const {
  const Drawn* d = drawn(window);
  return d == nullptr ? Rect{} : d->badgeBox;
}

std::string SimDrawing::paintedText(Hwnd window) const {
  const Drawn* d = drawn(window);
  return d == nullptr ? std::string() : d->painted;
}

Point SimDrawing::paintedTextAt(Hwnd window) const {
  const Drawn* d = drawn(window);
  return d == nullptr ? Point{} : d->paintedAt;
}

BrushHandle SimDrawing::createSolidBrush(ColorRef color) {
  ++windows_.portCalls;
  nextBrush_ += 4;
  brushes_[nextBrush_] = color;
  return BrushHandle{nextBrush_};
}

void SimDrawing::deleteBrush(BrushHandle brush) {
  ++windows_.portCalls;
  if (brushes_.erase(brush.value) != 0 || brush == kBlackBrush || brush.value == 0) return;
  char text[48];
  snprintf(text, sizeof text, "delete unknown brush %llx",
           static_cast<unsigned long long>(brush.value));
  windows_.clock().actions.push_back(text);
}

std::optional<ColorRef> SimDrawing::brushColor(BrushHandle brush) const {
  auto found = brushes_.find(brush.value);
  if (found == brushes_.end()) return std::nullopt;
  return found->second;
}

void SimDrawing::setBkMode(DeviceContext dc, int32_t mode) {
  ++windows_.portCalls;
  bkModes_[dc.value] = mode;
}

void SimDrawing::setTextColor(DeviceContext dc, ColorRef color) {
  ++windows_.portCalls;
  textColors_[dc.value] = color;
}

std::optional<int32_t> SimDrawing::bkMode(DeviceContext dc) const {
  auto found = bkModes_.find(dc.value);
  if (found == bkModes_.end()) return std::nullopt;
  return found->second;
}

std::optional<ColorRef> SimDrawing::textColor(DeviceContext dc) const {
  auto found = textColors_.find(dc.value);
  if (found == textColors_.end()) return std::nullopt;
  return found->second;
}

}  // namespace sim
