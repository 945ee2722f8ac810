// The simulated window table: other programs' windows as tests add and change them (plain
// data changes, no messages).
#include <stdexcept>
#include <utility>

#include "platform/sim/sim_windows.h"

namespace sim {

using namespace platform;

Hwnd SimWindows::addWindow(const ForeignWindow& window) {
  return addWindowWithHandle(nextHandle(), window);
}

Hwnd SimWindows::addWindowWithHandle(Hwnd handle, const ForeignWindow& window) {
  if (!handle || handle == kDesktop) throw std::invalid_argument("not a window handle");
  if (auto old = windows_.find(handle.value); old != windows_.end()) {
    if (old->second->alive) throw std::invalid_argument("handle of a live window");
    replaced_.push_back(std::move(old->second));
  }
  SimWindow* parent = window.parent ? live(window.parent) : nullptr;
  if (window.parent && (parent == nullptr || parent->own)) {
    throw std::invalid_argument("the parent is no live window of another program");
  }
  SimWindow& w = newWindow(handle);
  w.processId = window.processId;
  w.text = window.title;
  w.className = window.className;
  for (SimWindowsListener* listener : listeners_) listener->foreignAdded(handle, window);
  w.style = window.style | (window.iconic ? WS_MINIMIZE : 0) | (window.enabled ? 0 : WS_DISABLED);
  if (parent != nullptr) {
    w.style |= WS_CHILD;
    w.parent = window.parent;
    w.rect = window.rect;
    w.normalRect = window.rect;
    parent->children.push_back(handle);
    return handle;
  }
  w.exStyle = window.exStyle;
  w.rect = window.rect;
  w.normalRect = window.normalRect.value_or(toWorkspace(w, window.rect));
  if (window.maximized && window.iconic) {
    w.restoreToMaximized = true;
  } else if (window.maximized) {
    w.style |= WS_MAXIMIZE;
    w.rect = maximizedRect(w);
  }
  placeOnTop(w);
  return handle;
}

void SimWindows::closeWindow(Hwnd window) {
  SimWindow* w = live(window);
  if (w == nullptr || w->own || window == kDesktop) return;
  // Its child windows go with it.
  for (const Hwnd child : std::vector<Hwnd>(w->children)) closeWindow(child);
  unlink(*w);
  w->alive = false;
}

void SimWindows::setTitle(Hwnd window, const std::string& title) {
  if (SimWindow* w = live(window)) w->text = title;
}

void SimWindows::setIconic(Hwnd window, bool iconic) {
  if (SimWindow* w = live(window))
    w->style = iconic ? w->style | WS_MINIMIZE : w->style & ~WS_MINIMIZE;
}

void SimWindows::userMinimize(Hwnd window) {
  if (SimWindow* w = live(window); w != nullptr && !w->own) minimizeForeign(*w);
}

void SimWindows::userMaximize(Hwnd window) {
  if (SimWindow* w = live(window); w != nullptr && !w->own) maximizeForeign(*w);
}

void SimWindows::userRestore(Hwnd window) {
  if (SimWindow* w = live(window); w != nullptr && !w->own) restoreForeign(*w);
}

void SimWindows::setEnabled(Hwnd window, bool enabled) {
  if (SimWindow* w = live(window)) {
    w->style = enabled ? w->style & ~WS_DISABLED : w->style | WS_DISABLED;
  }
}

void SimWindows::setRect(Hwnd window, const Rect& rect) {
  SimWindow* w = live(window);
  if (w == nullptr) return;
  moveWindowTo(*w, rect);
  if (!w->iconic() && !w->own) w->normalRect = toWorkspace(*w, rect);
}

void SimWindows::setNormalRect(Hwnd window, const Rect& workspaceRect) {
  SimWindow* w = live(window);
  if (w != nullptr && !w->own) w->normalRect = workspaceRect;
}

void SimWindows::setStyle(Hwnd window, uint32_t style) {
  if (SimWindow* w = live(window)) w->style = style;
}

void SimWindows::setExStyle(Hwnd window, uint32_t exStyle) {
  SimWindow* w = live(window);
  if (w == nullptr) return;
  const bool changesBand = ((w->exStyle ^ exStyle) & WS_EX_TOPMOST) != 0;
  w->exStyle = exStyle;
  if ((exStyle & WS_EX_LAYERED) == 0) w->clearLayered();
  if (changesBand && !w->parent && window != kDesktop) placeOnTop(*w);
}

void SimWindows::workAreaChanged() {
  for (SimWindowsListener* listener : listeners_) listener->workAreaChanged();
}

}  // namespace sim
