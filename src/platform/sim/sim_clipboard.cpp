// The simulated drawing: bitmaps, and the clipboard that may hold one.
#include <cstdio>

#include "platform/sim/sim_drawing.h"

namespace sim {

using namespace platform;

namespace {

std::string hex(const char* prefix, uint64_t value) {
  char text[32];
  snprintf(text, sizeof text, "%s%llx", prefix, static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

BitmapHandle SimDrawing::newBitmap(Size size, std::string picture, ColorRef color) {
  if (size.cx <= 0 || size.cy <= 0) return {};
  nextBitmap_ += 4;
  bitmaps_[nextBitmap_] = {size, std::move(picture), color};
  return BitmapHandle{nextBitmap_};
}

const SimDrawing::SimBitmap* SimDrawing::bitmap(BitmapHandle bitmap) const {
  auto found = bitmaps_.find(bitmap.value);
  return found == bitmaps_.end() ? nullptr : &found->second;
}

void SimDrawing::deleteBitmap(BitmapHandle bitmap) {
  ++windows_.portCalls;
  if (bitmaps_.erase(bitmap.value) == 0) {
    windows_.clock().actions.push_back("delete unknown bitmap " + hex("b", bitmap.value));
  }
}

bool SimDrawing::open(Hwnd owner) {
  ++windows_.portCalls;
  windows_.clock().actions.push_back("clipboard open " + hex("h", owner.value));
  if (clipboardHeldElsewhere || clipboardOpenBy_) return false;
  clipboardOpenBy_ = owner;
  return true;
}

bool SimDrawing::empty() {
  ++windows_.portCalls;
  windows_.clock().actions.push_back("clipboard empty");
  if (!clipboardOpenBy_) return false;
  for (const auto& [format, data] : clipboardData) bitmaps_.erase(data.value);
  clipboardData.clear();
  clipboardOwner = *clipboardOpenBy_;
  return true;
}

bool SimDrawing::setBitmap(BitmapHandle bitmap) {
  ++windows_.portCalls;
  windows_.clock().actions.push_back("clipboard set bitmap " + hex("b", bitmap.value));
  if (!clipboardOpenBy_ || bitmaps_.count(bitmap.value) == 0) return false;
  if (auto old = clipboardData.find(CF_BITMAP); old != clipboardData.end()) {
    bitmaps_.erase(old->second.value);
  }
  clipboardData[CF_BITMAP] = bitmap;
  return true;
}

bool SimDrawing::close() {
  ++windows_.portCalls;
  windows_.clock().actions.push_back("clipboard close");
  if (!clipboardOpenBy_) return false;
  clipboardOpenBy_.reset();
  return true;
}

}  // namespace sim
