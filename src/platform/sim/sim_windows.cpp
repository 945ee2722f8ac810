// The simulated window table: records, handles, the z-order and the facts any window shows.
// Messages: sim_messages.cpp; the position protocol: sim_position.cpp; other programs' windows
// as tests edit them: sim_foreign_windows.cpp; timers: sim_timers.cpp.
//
// Handlers run in the middle of these functions and may destroy any window, so after each
// dispatch a window is looked up again by handle. Window records are never freed before the
// table is, so a pointer held across a dispatch stays safe to test for `alive`.
#include "platform/sim/sim_windows.h"

#include <algorithm>
#include <cstdio>

#include "platform/cp932.h"
#include "platform/sim/sim_texts.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kWsDlgFrame = 0x00400000u;  // WS_DLGFRAME

Rect offset(Rect r, int32_t dx, int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

SimWindows::SimWindows(SimClock& clock) : time_(clock), actions_(clock.actions) {
  SimWindow& desktop = newWindow(kDesktop);  // answers queries; never enumerated
  desktop.style = WS_VISIBLE;
}

SimWindows::~SimWindows() = default;

// ---------------------------------------------------------------------------------------------
// Records and the z-order.

SimWindow* SimWindows::find(Hwnd window) const {
  auto found = windows_.find(window.value);
  return found == windows_.end() ? nullptr : found->second.get();
}

SimWindow* SimWindows::live(Hwnd window) const {
  SimWindow* w = find(window);
  return w != nullptr && w->alive ? w : nullptr;
}

SimWindow& SimWindows::newWindow(Hwnd handle) {
  auto& slot = windows_[handle.value];
  slot = std::make_unique<SimWindow>();
  slot->handle = handle;
  received_.erase(handle.value);
  styleChanges_.erase(handle.value);
  for (SimWindowsListener* listener : listeners_) listener->recordMade(handle);
  return *slot;
}

Hwnd SimWindows::nextHandle() {
  while (windows_.count(nextHandle_) != 0) nextHandle_ += 4;
  Hwnd handle{nextHandle_};
  nextHandle_ += 4;
  return handle;
}

void SimWindows::placeOnTop(SimWindow& window) {
  std::erase(zOrder_, window.handle);
  size_t index = 0;
  if (!window.topmost()) {
    while (index < zOrder_.size() && find(zOrder_[index])->topmost()) ++index;
  }
  zOrder_.insert(zOrder_.begin() + static_cast<ptrdiff_t>(index), window.handle);
}

void SimWindows::restack(SimWindow& window, Hwnd insertAfter) {
  if (insertAfter == kHwndTopmost) {
    window.exStyle |= WS_EX_TOPMOST;
    placeOnTop(window);
  } else if (insertAfter == kHwndNotopmost) {
    // Has no effect on a window that is not topmost.
    if (!window.topmost()) return;
    window.exStyle &= ~WS_EX_TOPMOST;
    placeOnTop(window);
  } else if (insertAfter == kHwndBottom) {
    if (!wineBottomKeepsTopmost) window.exStyle &= ~WS_EX_TOPMOST;
    std::erase(zOrder_, window.handle);
    zOrder_.push_back(window.handle);
  } else {
    SimWindow* after = insertAfter == kHwndTop ? nullptr : live(insertAfter);
    if (after == nullptr || after == &window || after->parent) {
      placeOnTop(window);
      return;
    }
    // Below a window that is not topmost, a topmost window loses its band; a window that is
    // not topmost cannot go inside the topmost band.
    if (window.topmost() && !after->topmost()) window.exStyle &= ~WS_EX_TOPMOST;
    if (!window.topmost() && after->topmost()) {
      placeOnTop(window);
      return;
    }
    std::erase(zOrder_, window.handle);
    auto at = std::find(zOrder_.begin(), zOrder_.end(), insertAfter);
    zOrder_.insert(at == zOrder_.end() ? at : at + 1, window.handle);
  }
}

void SimWindows::unlink(SimWindow& window) {
  const Hwnd h = window.handle;
  std::erase(zOrder_, h);
  if (SimWindow* parent = live(window.parent)) std::erase(parent->children, h);
  if (foreground_ == h) foreground_ = {};
  std::erase_if(timers_, [h](const Timer& t) { return t.window == h.value; });
  std::erase_if(queue_, [h](const Posted& p) { return p.window == h; });
  for (SimWindowsListener* listener : listeners_) listener->unlinked(h);
}

Rect SimWindows::insets(const SimWindow& window) const {
  return insets(window.style, window.exStyle);
}

Rect SimWindows::insets(uint32_t style, uint32_t exStyle) const {
  int32_t side = 0;
  if ((style & WS_THICKFRAME) != 0) {
    side = 4;
  } else if ((style & kWsDlgFrame) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
    side = 3;  // WS_CAPTION carries WS_DLGFRAME
  } else if ((style & WS_BORDER) != 0) {
    side = 1;
  }
  int32_t top = side;
  if ((style & WS_CAPTION) == WS_CAPTION) {
    auto caption = systemMetrics.find(SM_CYCAPTION);
    if (caption != systemMetrics.end()) top += caption->second;
  }
  return {side, top, side, side};
}

Point SimWindows::clientOrigin(const SimWindow& window) const {
  const Rect in = insets(window);
  return {window.rect.left + in.left, window.rect.top + in.top};
}

Rect SimWindows::toWorkspace(const SimWindow& window, Rect rect) const {
  if ((window.exStyle & WS_EX_TOOLWINDOW) != 0) return rect;
  return offset(rect, -workArea.left, -workArea.top);
}

void SimWindows::moveWindowTo(SimWindow& window, const Rect& rect) {
  const int32_t dx = rect.left - window.rect.left;
  const int32_t dy = rect.top - window.rect.top;
  window.rect = rect;
  if (dx == 0 && dy == 0) return;
  // Children keep their place in the parent's client area.
  std::vector<Hwnd> pending = window.children;
  while (!pending.empty()) {
    SimWindow* child = live(pending.back());
    pending.pop_back();
    if (child == nullptr) continue;
    child->rect = offset(child->rect, dx, dy);
    pending.insert(pending.end(), child->children.begin(), child->children.end());
  }
}

bool SimWindows::visibleChain(const SimWindow& window) const {
  for (const SimWindow* w = &window; w != nullptr; w = live(w->parent)) {
    if (!w->visible()) return false;
  }
  return true;
}

bool SimWindows::enabledChain(const SimWindow& window) const {
  for (const SimWindow* w = &window; w != nullptr; w = live(w->parent)) {
    if ((w->style & WS_DISABLED) != 0) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Facts.

std::vector<Hwnd> SimWindows::enumWindows() {
  ++portCalls;
  return zOrder_;
}

std::vector<Hwnd> SimWindows::ownTopLevelWindows() const {
  std::vector<Hwnd> own;
  for (const Hwnd h : zOrder_) {
    auto found = windows_.find(h.value);
    if (found != windows_.end() && found->second->alive && found->second->own) own.push_back(h);
  }
  return own;
}

void SimWindows::shiftScreen(int32_t dx, int32_t dy) {
  for (auto& [handle, w] : windows_) {
    if (!w->alive || w->iconic()) continue;
    w->rect = offset(w->rect, dx, dy);
    if (w->own) w->normalRect = offset(w->normalRect, dx, dy);
  }
}

bool SimWindows::isWindow(Hwnd window) {
  ++portCalls;
  return live(window) != nullptr;
}

bool SimWindows::isWindowVisible(Hwnd window) {
  ++portCalls;
  SimWindow* w = live(window);
  return w != nullptr && visibleChain(*w);
}

bool SimWindows::isIconic(Hwnd window) {
  ++portCalls;
  SimWindow* w = live(window);
  return w != nullptr && w->iconic();
}

bool SimWindows::isZoomed(Hwnd window) {
  ++portCalls;
  SimWindow* w = live(window);
  return w != nullptr && w->zoomed();
}

uint32_t SimWindows::getWindowLong(Hwnd window, int32_t index) {
  ++portCalls;
  SimWindow* w = live(window);
  if (w == nullptr) return 0;
  if (index == GWL_STYLE) return w->style;
  if (index == GWL_EXSTYLE) return w->exStyle;
  return 0;
}

std::string SimWindows::getWindowText(Hwnd window, size_t bufferSize) {
  ++portCalls;
  SimWindow* w = live(window);
  if (w == nullptr || bufferSize == 0) return {};
  // Whole characters only, as the adapter cuts what it converted from UTF-16.
  size_t end = 0;
  while (end < w->text.size()) {
    const bool lead = isCp932LeadByte(static_cast<unsigned char>(w->text[end]));
    const size_t next = end + (lead ? 2 : 1);
    if (next > bufferSize - 1 || next > w->text.size()) break;
    end = next;
  }
  return w->text.substr(0, end);
}

Dword SimWindows::getWindowProcessId(Hwnd window) {
  ++portCalls;
  SimWindow* w = live(window);
  return w == nullptr ? 0 : w->processId;
}

bool SimWindows::getWindowRect(Hwnd window, Rect& rect) {
  ++portCalls;
  if (window == kDesktop) {
    rect = screen;
    return true;
  }
  SimWindow* w = live(window);
  if (w == nullptr) return false;
  rect = w->rect;
  return true;
}

bool SimWindows::getClientRect(Hwnd window, Rect& rect) {
  ++portCalls;
  if (window == kDesktop) {
    rect = {0, 0, screen.width(), screen.height()};
    return true;
  }
  SimWindow* w = live(window);
  if (w == nullptr) return false;
  if (w->iconic()) {
    rect = {};
    return true;
  }
  const Rect in = insets(*w);
  rect = {0, 0, std::max(0, w->rect.width() - in.left - in.right),
          std::max(0, w->rect.height() - in.top - in.bottom)};
  return true;
}

bool SimWindows::getWindowPlacement(Hwnd window, WindowPlacement& placement) {
  ++portCalls;
  SimWindow* w = live(window);
  if (w == nullptr || placement.length != sizeof(WindowPlacement)) return false;
  placement.flags = w->iconic() && w->restoreToMaximized ? WPF_RESTORETOMAXIMIZED : 0;
  placement.showCmd = static_cast<uint32_t>(w->iconic()   ? SW_SHOWMINIMIZED
                                            : w->zoomed() ? SW_SHOWMAXIMIZED
                                                          : SW_SHOWNORMAL);
  placement.minPosition =
      w->iconic() ? Point{kMinimizedRect.left, kMinimizedRect.top} : Point{-1, -1};
  placement.maxPosition = {-1, -1};
  if (w->own) {
    placement.normalPosition = toWorkspace(*w, w->iconic() ? w->normalRect : w->rect);
  } else if (winePlacementReportsCurrentRect) {
    placement.normalPosition = w->rect;
  } else {
    placement.normalPosition = w->normalRect;
  }
  return true;
}

bool SimWindows::isWindowEnabled(Hwnd window) {
  ++portCalls;
  SimWindow* w = live(window);
  return w != nullptr && (w->style & WS_DISABLED) == 0;
}

Hwnd SimWindows::findWindowEx(Hwnd parent, Hwnd childAfter, const std::string& className) {
  ++portCalls;
  const SimWindow* p = parent ? live(parent) : nullptr;
  if (p == nullptr) return {};
  auto next = p->children.begin();
  if (childAfter) {
    next = std::find(p->children.begin(), p->children.end(), childAfter);
    if (next == p->children.end()) return {};
    ++next;
  }
  for (; next != p->children.end(); ++next) {
    const SimWindow* child = live(*next);
    if (child != nullptr && (className.empty() || sameIgnoringCase(child->className, className))) {
      return child->handle;
    }
  }
  return {};
}

std::string SimWindows::getClassName(Hwnd window) {
  ++portCalls;
  const SimWindow* w = live(window);
  if (w == nullptr) return {};
  return w->className;
}

const std::vector<ReceivedMessage>& SimWindows::received(Hwnd window) const {
  static const std::vector<ReceivedMessage> kNone;
  const auto found = received_.find(window.value);
  return found == received_.end() ? kNone : found->second;
}

const std::vector<StyleChange>& SimWindows::styleChanges(Hwnd window) const {
  static const std::vector<StyleChange> kNone;
  const auto found = styleChanges_.find(window.value);
  return found == styleChanges_.end() ? kNone : found->second;
}

std::optional<uint8_t> SimWindows::layeredAlpha(Hwnd window) const {
  const SimWindow* w = live(window);
  return w == nullptr ? std::nullopt : w->alpha;
}

bool SimWindows::getLayeredWindowAttributes(Hwnd window, ColorRef& key, uint8_t& alpha,
                                            Dword& flags) {
  ++portCalls;
  const SimWindow* w = live(window);
  if (w == nullptr || (w->exStyle & WS_EX_LAYERED) == 0 || !w->layeredSet) return false;
  key = w->layeredKey;
  alpha = w->layeredAlphaByte;
  flags = w->layeredFlags;
  return true;
}

bool SimWindows::isHungAppWindow(Hwnd window) {
  ++portCalls;
  const SimWindow* w = live(window);
  return w != nullptr && threads_->hungLong(window);
}

}  // namespace sim
