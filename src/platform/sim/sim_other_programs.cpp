// The simulated window manager: what tests do to other programs' windows and processes, and
// how those windows answer what the program does to them.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

// A thread that has not read its messages for this long counts as hung.
constexpr uint64_t kHungAfterMs = 5000;
// What a call that would never return costs here.
constexpr uint32_t kBlockedMs = 5000;
constexpr Dword kErrorInvalidWindowHandle = 1400;  // ERROR_INVALID_WINDOW_HANDLE

std::string handleText(Hwnd window) {
  char text[24];
  snprintf(text, sizeof text, "h%x", window.value);
  return text;
}

std::string messageText(uint32_t message) {
  char text[16];
  snprintf(text, sizeof text, "0x%x", message);
  return text;
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

Hwnd SimWindowManager::addWindow(const ForeignWindow& window) {
  return addWindowWithHandle(nextHandle(), window);
}

Hwnd SimWindowManager::addWindowWithHandle(Hwnd handle, const ForeignWindow& window) {
  if (!handle || handle == kDesktop) throw std::invalid_argument("not a window handle");
  if (auto old = windows_.find(handle.value); old != windows_.end()) {
    if (old->second->alive) throw std::invalid_argument("handle of a live window");
    replaced_.push_back(std::move(old->second));
  }
  Window* parent = window.parent ? live(window.parent) : nullptr;
  if (window.parent && (parent == nullptr || parent->own)) {
    throw std::invalid_argument("the parent is no live window of another program");
  }
  Window& w = newWindow(handle);
  w.processId = window.processId;
  w.text = window.title;
  w.className = window.className;
  w.color = window.color;
  w.icon = window.icon;
  w.classIcon = window.classIcon;
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

void SimWindowManager::closeWindow(Hwnd window) {
  Window* w = live(window);
  if (w == nullptr || w->own || window == kDesktop) return;
  // Its child windows go with it.
  for (const Hwnd child : std::vector<Hwnd>(w->children)) closeWindow(child);
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

void SimWindowManager::userMinimize(Hwnd window) {
  if (Window* w = live(window); w != nullptr && !w->own) minimizeForeign(*w);
}

void SimWindowManager::userMaximize(Hwnd window) {
  if (Window* w = live(window); w != nullptr && !w->own) maximizeForeign(*w);
}

void SimWindowManager::userRestore(Hwnd window) {
  if (Window* w = live(window); w != nullptr && !w->own) restoreForeign(*w);
}

void SimWindowManager::minimizeForeign(Window& w) {
  if (w.iconic()) return;
  w.restoreToMaximized = w.zoomed();
  w.style = (w.style | WS_MINIMIZE) & ~WS_MAXIMIZE;
  deactivate(w);
  w.rect = kMinimizedRect;
}

void SimWindowManager::maximizeForeign(Window& w) {
  w.style = (w.style | WS_MAXIMIZE) & ~WS_MINIMIZE;
  w.restoreToMaximized = false;
  w.rect = maximizedRect(w);
}

void SimWindowManager::restoreForeign(Window& w) {
  if (w.iconic() && w.restoreToMaximized) {
    maximizeForeign(w);
    return;
  }
  if (!w.iconic() && !w.zoomed()) return;
  w.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
  w.restoreToMaximized = false;
  const Rect n = w.normalRect;
  w.rect = (w.exStyle & WS_EX_TOOLWINDOW) != 0
               ? n
               : Rect{n.left + workArea.left, n.top + workArea.top, n.right + workArea.left,
                      n.bottom + workArea.top};
}

Rect SimWindowManager::maximizedRect(const Window& w) const {
  // The work area, with the sizing borders hanging over its edges.
  const int32_t side = insets(w.style & ~WS_CAPTION, w.exStyle).left;
  return {workArea.left - side, workArea.top - side, workArea.right + side, workArea.bottom + side};
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
  if ((exStyle & WS_EX_LAYERED) == 0) w->clearLayered();
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

const std::vector<StyleChange>& SimWindowManager::styleChanges(Hwnd window) const {
  static const std::vector<StyleChange> kNone;
  const Window* w = find(window);
  return w == nullptr ? kNone : w->styleChanges;
}

Hwnd SimWindowManager::findWindowEx(Hwnd parent, Hwnd childAfter, const std::string& className) {
  ++portCalls;
  const Window* p = parent ? live(parent) : nullptr;
  if (p == nullptr) return {};
  auto next = p->children.begin();
  if (childAfter) {
    next = std::find(p->children.begin(), p->children.end(), childAfter);
    if (next == p->children.end()) return {};
    ++next;
  }
  for (; next != p->children.end(); ++next) {
    const Window* child = live(*next);
    if (child != nullptr && (className.empty() || sameIgnoringCase(child->className, className))) {
      return child->handle;
    }
  }
  return {};
}

std::string SimWindowManager::getClassName(Hwnd window) {
  ++portCalls;
  const Window* w = live(window);
  if (w == nullptr) return {};
  return w->className.empty() && w->dialog ? "#32770" : w->className;
}

uint32_t SimWindowManager::addProcess(std::string baseName, std::string imagePath, bool openable) {
  do {
    nextProcessId_ += 4;
  } while (processes_.count(nextProcessId_) != 0);
  processes_[nextProcessId_] = {std::move(baseName), std::move(imagePath), openable};
  return nextProcessId_;
}

bool SimWindowManager::isImagePath(const std::string& path) const {
  for (const auto& [id, process] : processes_) {
    if (!process.imagePath.empty() && sameIgnoringCase(process.imagePath, path)) return true;
  }
  return false;
}

std::string SimWindowManager::baseName(Dword processId) {
  ++portCalls;
  ++baseNameQueries;
  auto found = processes_.find(processId);
  return found != processes_.end() && found->second.openable ? found->second.baseName : "";
}

std::string SimWindowManager::imagePath(Dword processId) {
  ++portCalls;
  ++imagePathQueries;
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

// ---------------------------------------------------------------------------------------------
// How other programs' windows answer.

bool SimWindowManager::hungForeign(const Window& window) const {
  return !window.own && window.hung;
}

bool SimWindowManager::isHungAppWindow(Hwnd window) {
  ++portCalls;
  const Window* w = live(window);
  if (w == nullptr || !hungForeign(*w)) return false;
  return time_.wide() - w->hungSince >= kHungAfterMs;
}

void SimWindowManager::blockedBy(const Window& window, const char* call,
                                 const std::string& detail) {
  actions_.push_back(std::string("BLOCKED ") + call + " " + handleText(window.handle) +
                     (detail.empty() ? "" : " " + detail));
  time_.elapse(kBlockedMs);
}

void SimWindowManager::setHung(Hwnd window, bool hung) {
  Window* w = live(window);
  if (w == nullptr || w->own) return;
  if (hung && !w->hung) {
    w->hungSince = time_.wide();
  }
  if (hung) w->busyUntil = 0;  // until told otherwise (setBusy sets the end)
  const bool freed = w->hung && !hung;
  w->hung = hung;
  if (freed) catchUp(*w);
}

void SimWindowManager::reactForeign(Window& window, uint32_t message, WParam wParam) {
  if (message != WM_SYSCOMMAND) return;
  switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
      if (wineDisabledIgnoresMinimize && (window.style & WS_DISABLED) != 0) return;
      show(window.handle, SW_MINIMIZE);
      break;
    case SC_RESTORE:
      show(window.handle, SW_RESTORE);
      break;
  }
}

TimedResult SimWindowManager::sendMessageTimeout(Hwnd window, uint32_t message, WParam wParam,
                                                 LParam lParam, uint32_t flags,
                                                 uint32_t milliseconds) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr) {
    lastErrorValue = kErrorInvalidWindowHandle;
    return {};
  }
  if (!w->own && beforeReaching) beforeReaching();
  if (!w->own && processGone) return {};
  if (!w->own) {
    ++crossProcessMessages;
    deliverSentDuringWait(flags);
    if (live(window) == nullptr) {  // gone while we waited
      lastErrorValue = kErrorInvalidWindowHandle;
      return {};
    }
  }
  if (hungForeign(*w)) {
    actions_.push_back("timeout " + handleText(window) + " " + messageText(message));
    // Once the window counts as hung, SMTO_ABORTIFHUNG does not wait for it at all.
    const bool givenUp =
        (flags & SMTO_ABORTIFHUNG) != 0 && time_.wide() - w->hungSince >= kHungAfterMs;
    if (!givenUp) time_.elapse(milliseconds);
    lastErrorValue = ERROR_TIMEOUT;
    return {};
  }
  return {true, dispatch(window, message, wParam, lParam)};
}

std::optional<uint8_t> SimWindowManager::layeredAlpha(Hwnd window) const {
  const Window* w = live(window);
  return w == nullptr ? std::nullopt : w->alpha;
}

bool SimWindowManager::getLayeredWindowAttributes(Hwnd window, ColorRef& key, uint8_t& alpha,
                                                  Dword& flags) {
  ++portCalls;
  const Window* w = live(window);
  if (w == nullptr || (w->exStyle & WS_EX_LAYERED) == 0 || !w->layeredSet) return false;
  key = w->layeredKey;
  alpha = w->layeredAlphaByte;
  flags = w->layeredFlags;
  return true;
}

bool SimWindowManager::setLayeredWindowAttributes(Hwnd window, ColorRef key, uint8_t alpha,
                                                  Dword flags) {
  ++portCalls;
  char text[64];
  snprintf(text, sizeof text, "layered %s alpha %u flags %x", handleText(window).c_str(),
           static_cast<unsigned>(alpha), flags);
  actions_.push_back(text);
  if (!changeReaches(window, "layered", 0, [this, window, key, alpha, flags] {
        setLayeredWindowAttributes(window, key, alpha, flags);
      })) {
    return false;
  }
  Window* w = live(window);
  if (w == nullptr || (w->exStyle & WS_EX_LAYERED) == 0) return false;
  w->layeredSet = true;
  w->layeredKey = key;
  w->layeredAlphaByte = alpha;
  w->layeredFlags = flags;
  if ((flags & LWA_ALPHA) != 0) {
    w->alpha = alpha;
  } else {
    w->alpha.reset();  // a colour key alone leaves the rest opaque
  }
  return true;
}

bool SimWindowManager::setWindowPlacement(Hwnd window, const WindowPlacement& placement) {
  ++portCalls;
  const Rect& n = placement.normalPosition;
  char text[96];
  snprintf(text, sizeof text, "placement %s cmd %u %d,%d,%d,%d", handleText(window).c_str(),
           placement.showCmd, n.left, n.top, n.right, n.bottom);
  actions_.push_back(text);
  Window* w = live(window);
  if (w == nullptr || window == kDesktop || placement.length != sizeof(WindowPlacement)) {
    return false;
  }
  if (!w->own && wineForeignPlacementFails) {
    lastErrorValue = 0;  // as measured: FALSE without an error
    return false;
  }
  if (!changeReaches(window, "placement", WM_WINDOWPOSCHANGING,
                     [this, window, placement] { setWindowPlacement(window, placement); })) {
    return false;
  }
  w = live(window);
  if (w == nullptr) return false;
  const bool tool = (w->exStyle & WS_EX_TOOLWINDOW) != 0;
  const Rect onScreen = tool ? n
                             : Rect{n.left + workArea.left, n.top + workArea.top,
                                    n.right + workArea.left, n.bottom + workArea.top};
  if (w->own) {
    if (w->iconic()) {
      w->normalRect = onScreen;  // own windows keep it in screen coordinates
    } else {
      placeAt(window, onScreen, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  } else {
    if (!w->iconic() && !w->zoomed()) moveWindowTo(*w, onScreen);
    w->normalRect = n;
    if (w->iconic()) w->restoreToMaximized = (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
  }
  // Then the show command, as ShowWindow would carry it out (a minimised window restores to
  // the new normal rectangle).
  if (live(window) != nullptr) show(window, static_cast<int32_t>(placement.showCmd));
  return true;
}

}  // namespace sim
