// The simulated window manager: what tests do to other programs' windows and processes.
#include <stdexcept>
#include <utility>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

Hwnd SimWindowManager::addWindow(const ForeignWindow& window) {
  return addWindowWithHandle(nextHandle(), window);
}

Hwnd SimWindowManager::addWindowWithHandle(Hwnd handle, const ForeignWindow& window) {
  if (!handle || handle == kDesktop) throw std::invalid_argument("not a window handle");
  if (auto old = windows_.find(handle.value); old != windows_.end()) {
    if (old->second->alive) throw std::invalid_argument("handle of a live window");
    replaced_.push_back(std::move(old->second));
  }
  Window& w = newWindow(handle);
  w.processId = window.processId;
  w.text = window.title;
  w.encoding = Encoding::System;
  w.style = window.style | (window.iconic ? WS_MINIMIZE : 0) | (window.enabled ? 0 : WS_DISABLED);
  w.exStyle = window.exStyle;
  w.rect = window.rect;
  w.normalRect = window.normalRect.value_or(toWorkspace(w, window.rect));
  placeOnTop(w);
  return handle;
}

void SimWindowManager::closeWindow(Hwnd window) {
  Window* w = live(window);
  if (w == nullptr || w->own || window == kDesktop) return;
  unlink(*w);
  w->alive = false;
}

void SimWindowManager::setTitle(Hwnd window, const std::string& title) {
  if (Window* w = live(window)) w->text = title;
}

void SimWindowManager::setIconic(Hwnd window, bool iconic) {
  if (Window* w = live(window))
    w->style = iconic ? w->style | WS_MINIMIZE : w->style & ~WS_MINIMIZE;
}

void SimWindowManager::setVisible(Hwnd window, bool visible) {
  if (Window* w = live(window)) w->style = visible ? w->style | WS_VISIBLE : w->style & ~WS_VISIBLE;
}

void SimWindowManager::setEnabled(Hwnd window, bool enabled) {
  if (Window* w = live(window)) {
    w->style = enabled ? w->style & ~WS_DISABLED : w->style | WS_DISABLED;
  }
}

void SimWindowManager::setRect(Hwnd window, const Rect& rect) {
  Window* w = live(window);
  if (w == nullptr) return;
  moveWindowTo(*w, rect);
  if (!w->iconic() && !w->own) w->normalRect = toWorkspace(*w, rect);
}

void SimWindowManager::setNormalRect(Hwnd window, const Rect& workspaceRect) {
  Window* w = live(window);
  if (w != nullptr && !w->own) w->normalRect = workspaceRect;
}

void SimWindowManager::setStyle(Hwnd window, uint32_t style) {
  if (Window* w = live(window)) w->style = style;
}

void SimWindowManager::setExStyle(Hwnd window, uint32_t exStyle) {
  Window* w = live(window);
  if (w == nullptr) return;
  const bool changesBand = ((w->exStyle ^ exStyle) & WS_EX_TOPMOST) != 0;
  w->exStyle = exStyle;
  if (changesBand && !w->parent && window != kDesktop) placeOnTop(*w);
}

void SimWindowManager::bringToTop(Hwnd window) {
  Window* w = live(window);
  if (w != nullptr && !w->parent && window != kDesktop) placeOnTop(*w);
}

const std::vector<ReceivedMessage>& SimWindowManager::received(Hwnd window) const {
  static const std::vector<ReceivedMessage> kNone;
  const Window* w = find(window);
  return w == nullptr ? kNone : w->received;
}

uint32_t SimWindowManager::addProcess(std::string baseName, std::string imagePath, bool openable) {
  do {
    nextProcessId_ += 4;
  } while (processes_.count(nextProcessId_) != 0);
  processes_[nextProcessId_] = {std::move(baseName), std::move(imagePath), openable};
  return nextProcessId_;
}

std::string SimWindowManager::baseName(Dword processId) {
  auto found = processes_.find(processId);
  return found != processes_.end() && found->second.openable ? found->second.baseName : "";
}

std::string SimWindowManager::imagePath(Dword processId) {
  auto found = processes_.find(processId);
  return found != processes_.end() && found->second.openable ? found->second.imagePath : "";
}

Hwnd SimWindowManager::findDialog(int32_t templateId) const {
  // Handles only grow (reused ones are never own), so the last match is the newest.
  Hwnd newest;
  for (const auto& [value, w] : windows_) {
    if (w->alive && w->dialog && w->templateId == templateId) newest = w->handle;
  }
  return newest;
}

}  // namespace sim
