// The simulated window manager: bitmaps of windows' pictures and the clipboard.
#include <cstdio>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

std::string hex(const char* prefix, uint64_t value) {
  char text[32];
  snprintf(text, sizeof text, "%s%llx", prefix, static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

BitmapHandle SimWindowManager::newBitmap(Size size, std::string picture, ColorRef color) {
  if (size.cx <= 0 || size.cy <= 0) return {};
  nextBitmap_ += 4;
  bitmaps_[nextBitmap_] = {size, std::move(picture), color};
  return BitmapHandle{nextBitmap_};
}

const SimWindowManager::SimBitmap* SimWindowManager::bitmap(BitmapHandle bitmap) const {
  auto found = bitmaps_.find(bitmap.value);
  return found == bitmaps_.end() ? nullptr : &found->second;
}

BitmapHandle SimWindowManager::copyClientArea(Hwnd window, Size size) {
  ++portCalls;
  if (live(window) == nullptr) return {};
  return newBitmap(size, "client " + hex("h", window.value));
}

std::optional<SimWindowManager::SimBitmap> SimWindowManager::print(Hwnd window, const Rect& source,
                                                                   Size size, uint32_t flags) {
  ++printWindows;
  Window* w = live(window);
  if (w == nullptr) return {};
  ++w->prints;
  if (size.cx <= 0 || size.cy <= 0) return {};
  if (!w->own) ++crossProcessMessages;
  // WM_PRINT waits for the window's thread, as a change does: a second at most.
  if (!changeReaches(window, "printWindow", WM_PRINT, [] {})) return {};
  w = live(window);
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

uint64_t SimWindowManager::printsOf(Hwnd window) const {
  const Window* w = live(window);
  return w == nullptr ? 0 : w->prints;
}

BitmapHandle SimWindowManager::printWindowPart(Hwnd window, const Rect& source, Size size,
                                               uint32_t flags) {
  ++portCalls;
  std::optional<SimBitmap> printed = print(window, source, size, flags);
  if (!printed) return {};
  return newBitmap(size, std::move(printed->picture), printed->color);
}

bool SimWindowManager::printWindowInto(BitmapHandle picture, Hwnd window, const Rect& source,
                                       uint32_t flags) {
  ++portCalls;
  if (bitmaps_.count(picture.value) == 0) return false;
  std::optional<SimBitmap> printed = print(window, source, bitmaps_[picture.value].size, flags);
  // The window's program may have run meanwhile; the picture is looked up again.
  auto into = bitmaps_.find(picture.value);
  if (!printed || into == bitmaps_.end()) return false;
  into->second = std::move(*printed);
  return true;
}

void SimWindowManager::deleteBitmap(BitmapHandle bitmap) {
  ++portCalls;
  if (bitmaps_.erase(bitmap.value) == 0) {
    actions_.push_back("delete unknown bitmap " + hex("b", bitmap.value));
  }
}

bool SimWindowManager::open(Hwnd owner) {
  ++portCalls;
  actions_.push_back("clipboard open " + hex("h", owner.value));
  if (clipboardHeldElsewhere || clipboardOpenBy_) return false;
  clipboardOpenBy_ = owner;
  return true;
}

bool SimWindowManager::empty() {
  ++portCalls;
  actions_.push_back("clipboard empty");
  if (!clipboardOpenBy_) return false;
  for (const auto& [format, data] : clipboardData) bitmaps_.erase(data.value);
  clipboardData.clear();
  clipboardOwner = *clipboardOpenBy_;
  return true;
}

bool SimWindowManager::setBitmap(BitmapHandle bitmap) {
  ++portCalls;
  actions_.push_back("clipboard set bitmap " + hex("b", bitmap.value));
  if (!clipboardOpenBy_ || bitmaps_.count(bitmap.value) == 0) return false;
  if (auto old = clipboardData.find(CF_BITMAP); old != clipboardData.end()) {
    bitmaps_.erase(old->second.value);
  }
  clipboardData[CF_BITMAP] = bitmap;
  return true;
}

bool SimWindowManager::close() {
  ++portCalls;
  actions_.push_back("clipboard close");
  if (!clipboardOpenBy_) return false;
  clipboardOpenBy_.reset();
  return true;
}

}  // namespace sim
