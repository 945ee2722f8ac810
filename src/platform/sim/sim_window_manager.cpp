// The simulated window manager: windows, z-order, facts, messages, the position protocol and
// destruction. Dialogs and controls: sim_dialogs.cpp; plain own windows: sim_own_windows.cpp;
// timers: sim_timers.cpp; other programs' windows: sim_other_programs.cpp; hot-keys:
// sim_hot_keys.cpp; image lists and icons: sim_icons.cpp.
//
// Handlers run in the middle of these functions and may destroy any window, so after each
// dispatch a window is looked up again by handle. Window objects are never freed before the
// manager is, so a pointer held across a dispatch stays safe to test for `alive`.
#include "platform/sim/sim_window_manager.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/cp932.h"
#include "platform/sim/sim_window.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kSizeRestored = 0;          // SIZE_RESTORED
constexpr uint32_t kSizeMinimized = 1;         // SIZE_MINIMIZED
constexpr uint32_t kWsDlgFrame = 0x00400000u;  // WS_DLGFRAME
constexpr uint32_t kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;

std::string handleText(Hwnd window) {
  char text[24];
  snprintf(text, sizeof text, "h%x", window.value);
  return text;
}

// Two signed 16-bit halves, as MAKELPARAM packs them.
LParam packWords(int32_t low, int32_t high) {
  return static_cast<LParam>(static_cast<uint32_t>(static_cast<uint16_t>(low)) |
                             (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16));
}

Rect offset(Rect r, int32_t dx, int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

SimWindowManager::SimWindowManager(SimClock& clock) : time_(clock), actions_(clock.actions) {
  time_.beforeMoving = [this](uint64_t ms) { judgeEngines(ms); };
  Window& desktop = newWindow(kDesktop);  // answers queries; never enumerated
  desktop.style = WS_VISIBLE;
  processes_[ownProcessId] = {"ZENTA.exe", "C:\\Programs\\Quillmoor\\ZENTA.exe", true};
}

SimWindowManager::~SimWindowManager() = default;

// ---------------------------------------------------------------------------------------------
// Windows and the z-order.

SimWindowManager::Window* SimWindowManager::find(Hwnd window) const {
  auto found = windows_.find(window.value);
  return found == windows_.end() ? nullptr : found->second.get();
}

SimWindowManager::Window* SimWindowManager::live(Hwnd window) const {
  Window* w = find(window);
  return w != nullptr && w->alive ? w : nullptr;
}

SimWindowManager::Window& SimWindowManager::newWindow(Hwnd handle) {
  auto& slot = windows_[handle.value];
  slot = std::make_unique<Window>();
  slot->handle = handle;
  return *slot;
}

Hwnd SimWindowManager::nextHandle() {
  while (windows_.count(nextHandle_) != 0) nextHandle_ += 4;
  Hwnd handle{nextHandle_};
  nextHandle_ += 4;
  return handle;
}

void SimWindowManager::placeOnTop(Window& window) {
  std::erase(zOrder_, window.handle);
  size_t index = 0;
  if (!window.topmost()) {
    while (index < zOrder_.size() && find(zOrder_[index])->topmost()) ++index;
  }
  zOrder_.insert(zOrder_.begin() + static_cast<ptrdiff_t>(index), window.handle);
}

void SimWindowManager::restack(Window& window, Hwnd insertAfter) {
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
    Window* after = insertAfter == kHwndTop ? nullptr : live(insertAfter);
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

void SimWindowManager::unlink(Window& window) {
  const Hwnd h = window.handle;
  std::erase(zOrder_, h);
  if (Window* parent = live(window.parent)) std::erase(parent->children, h);
  if (foreground_ == h) foreground_ = {};
  std::erase_if(timers_, [h](const Timer& t) { return t.window == h.value; });
  std::erase_if(hotKeys_, [h](const HotKey& k) { return k.window == h.value; });
  std::erase_if(queue_, [h](const Posted& p) { return p.window == h; });
}

Rect SimWindowManager::insets(const Window& window) const {
  return insets(window.style, window.exStyle);
}

Rect SimWindowManager::insets(uint32_t style, uint32_t exStyle) const {
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

Point SimWindowManager::clientOrigin(const Window& window) const {
  const Rect in = insets(window);
  return {window.rect.left + in.left, window.rect.top + in.top};
}

Rect SimWindowManager::toWorkspace(const Window& window, Rect rect) const {
  if ((window.exStyle & WS_EX_TOOLWINDOW) != 0) return rect;
  return offset(rect, -workArea.left, -workArea.top);
}

void SimWindowManager::moveWindowTo(Window& window, const Rect& rect) {
  const int32_t dx = rect.left - window.rect.left;
  const int32_t dy = rect.top - window.rect.top;
  window.rect = rect;
  if (dx == 0 && dy == 0) return;
  // Children keep their place in the parent's client area.
  std::vector<Hwnd> pending = window.children;
  while (!pending.empty()) {
    Window* child = live(pending.back());
    pending.pop_back();
    if (child == nullptr) continue;
    child->rect = offset(child->rect, dx, dy);
    pending.insert(pending.end(), child->children.begin(), child->children.end());
  }
}

bool SimWindowManager::visibleChain(const Window& window) const {
  for (const Window* w = &window; w != nullptr; w = live(w->parent)) {
    if (!w->visible()) return false;
  }
  return true;
}

bool SimWindowManager::enabledChain(const Window& window) const {
  for (const Window* w = &window; w != nullptr; w = live(w->parent)) {
    if ((w->style & WS_DISABLED) != 0) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Facts.

std::vector<Hwnd> SimWindowManager::enumWindows() {
  ++portCalls;
  return zOrder_;
}

std::vector<Hwnd> SimWindowManager::ownTopLevelWindows() const {
  std::vector<Hwnd> own;
  for (const Hwnd h : zOrder_) {
    auto found = windows_.find(h.value);
    if (found != windows_.end() && found->second->alive && found->second->own) own.push_back(h);
  }
  return own;
}

void SimWindowManager::shiftScreen(int32_t dx, int32_t dy) {
  for (auto& [handle, w] : windows_) {
    if (!w->alive || w->iconic()) continue;
    w->rect = offset(w->rect, dx, dy);
    if (w->own) w->normalRect = offset(w->normalRect, dx, dy);
  }
}

bool SimWindowManager::isWindow(Hwnd window) {
  ++portCalls;
  return live(window) != nullptr;
}

bool SimWindowManager::isWindowVisible(Hwnd window) {
  ++portCalls;
  Window* w = live(window);
  return w != nullptr && visibleChain(*w);
}

bool SimWindowManager::isIconic(Hwnd window) {
  ++portCalls;
  Window* w = live(window);
  return w != nullptr && w->iconic();
}

bool SimWindowManager::isZoomed(Hwnd window) {
  ++portCalls;
  Window* w = live(window);
  return w != nullptr && w->zoomed();
}

uint32_t SimWindowManager::getWindowLong(Hwnd window, int32_t index) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr) return 0;
  if (index == GWL_STYLE) return w->style;
  if (index == GWL_EXSTYLE) return w->exStyle;
  return 0;
}

uint32_t SimWindowManager::setWindowLong(Hwnd window, int32_t index, uint32_t value) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr || (index != GWL_STYLE && index != GWL_EXSTYLE)) return 0;
  actions_.push_back("set long " + handleText(window) + " " + std::to_string(index) + " " +
                     std::to_string(value));
  if (!changeReaches(window, "set long", WM_STYLECHANGING,
                     [this, window, index, value] { setWindowLong(window, index, value); })) {
    return 0;
  }
  w = live(window);
  if (w == nullptr) return 0;
  uint32_t& field = index == GWL_STYLE ? w->style : w->exStyle;
  const uint32_t previous = field;
  field = value;
  if (index == GWL_STYLE) {
    field |= previous & WS_MINIMIZE;  // only restoring clears it
    if (!w->own) w->styleChanges.push_back({time_.now, field});
  } else {
    // The topmost band changes only through setWindowPos.
    field = (value & ~WS_EX_TOPMOST) | (previous & WS_EX_TOPMOST);
    if ((field & WS_EX_LAYERED) == 0) w->clearLayered();
  }
  return previous;
}

std::string SimWindowManager::getWindowText(Hwnd window, size_t bufferSize) {
  ++portCalls;
  Window* w = live(window);
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

Dword SimWindowManager::getWindowProcessId(Hwnd window) {
  ++portCalls;
  Window* w = live(window);
  return w == nullptr ? 0 : w->processId;
}

bool SimWindowManager::getWindowRect(Hwnd window, Rect& rect) {
  ++portCalls;
  if (window == kDesktop) {
    rect = screen;
    return true;
  }
  Window* w = live(window);
  if (w == nullptr) return false;
  rect = w->rect;
  return true;
}

bool SimWindowManager::getClientRect(Hwnd window, Rect& rect) {
  ++portCalls;
  if (window == kDesktop) {
    rect = {0, 0, screen.width(), screen.height()};
    return true;
  }
  Window* w = live(window);
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

bool SimWindowManager::getWindowPlacement(Hwnd window, WindowPlacement& placement) {
  ++portCalls;
  Window* w = live(window);
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

// ---------------------------------------------------------------------------------------------
// Messages.

LResult SimWindowManager::dispatch(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  Window* w = live(window);
  if (w == nullptr) return 0;
  if (!w->own || w->control) w->received.push_back({message, wParam, lParam, false, time_.now});
  if (!w->own) {
    reactForeign(*w, message, wParam);
    return 0;
  }
  if (w->handler != nullptr) return w->handler->onMessage(window, message, wParam, lParam);
  if (w->control) return controlProc(*w, message, wParam, lParam);
  return windowDefault(window, message, wParam, lParam);
}

LResult SimWindowManager::sendMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  ++portCalls;
  if (Window* w = live(window); w != nullptr && !w->own) ++crossProcessMessages;
  if (Window* w = live(window); w != nullptr && hungForeign(*w)) {
    char detail[16];
    snprintf(detail, sizeof detail, "0x%x", message);
    blockedBy(*w, "send", detail);
    return 0;
  }
  if (Window* w = live(window); w != nullptr && !w->own) deliverSentDuringWait(0);
  return dispatch(window, message, wParam, lParam);
}

bool SimWindowManager::postMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr) return false;
  if (!w->own) {
    ++crossProcessMessages;
    w->received.push_back({message, wParam, lParam, true, time_.now});
    return true;
  }
  queue_.push_back({window, message, wParam, lParam});
  return true;
}

void SimWindowManager::pumpUntil(const std::function<bool()>& stop) {
  for (;;) {
    runSentLater();  // sent messages come before posted ones
    while (!queue_.empty()) {
      if (stop && stop()) return;
      const Posted next = queue_.front();
      queue_.pop_front();
      dispatch(next.window, next.message, next.wParam, next.lParam);
    }
    if (stop && stop()) return;
    if (!deliverPaint()) return;  // painting comes when nothing else is waiting
  }
}

void SimWindowManager::pumpMessages() {
  pumpUntil(nullptr);
}

LResult SimWindowManager::defaultProc(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  Window* w = live(window);
  // A subclassed control's own procedure.
  if (w != nullptr && w->control) return controlProc(*w, message, wParam, lParam);
  return windowDefault(window, message, wParam, lParam);
}

LResult SimWindowManager::windowDefault(Hwnd window, uint32_t message, WParam wParam,
                                        LParam lParam) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr || !w->own) return 0;
  switch (message) {
    case WM_NCLBUTTONDOWN:
      if (static_cast<int32_t>(wParam) == HTCAPTION && leftDown_) runMoveLoop(window);
      return 0;
    case WM_CLOSE:
      if (w->dialog) {
        // The default dialog procedure posts the command, and only while Cancel is usable.
        Window* cancel = item(window, IDCANCEL);
        if (cancel != nullptr && (cancel->style & WS_DISABLED) != 0) return 0;
        postMessage(window, WM_COMMAND, static_cast<WParam>(IDCANCEL),
                    cancel == nullptr ? 0 : static_cast<LParam>(cancel->handle.value));
      } else {
        destroy(window);
      }
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          dispatch(window, WM_CLOSE, 0, 0);
          break;
        case SC_MINIMIZE:
          show(window, SW_MINIMIZE);
          break;
        case SC_RESTORE:
          show(window, SW_RESTORE);
          break;
      }
      return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WindowPos*>(lParam);
      if (pos == nullptr) return 0;
      const uint32_t flags = pos->flags;
      if ((flags & SWP_NOMOVE) == 0) {
        Point at = clientOrigin(*w);
        if (Window* parent = live(w->parent)) {
          const Point base = clientOrigin(*parent);
          at = {at.x - base.x, at.y - base.y};
        }
        dispatch(window, WM_MOVE, 0, packWords(at.x, at.y));
      }
      Rect client;
      if ((flags & SWP_NOSIZE) == 0 && getClientRect(window, client)) {
        dispatch(window, WM_SIZE, isIconic(window) ? kSizeMinimized : kSizeRestored,
                 packWords(client.right, client.bottom));
      }
      return 0;
    }
    case WM_PAINT:
      beginEndPaint(window);
      return 0;
    case WM_DPICHANGED:
      if (w->dialog && dialogDpiChanged && lParam != 0) {
        const Rect suggested = *reinterpret_cast<const Rect*>(lParam);
        dialogDpiChanged(window, static_cast<uint32_t>(wParam & 0xFFFF), suggested);
      }
      return 0;
    case WM_NCHITTEST:
      return HTCLIENT;
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        return defaultColorBrush(message);
      }
      return 0;
  }
}

uint32_t SimWindowManager::registerWindowMessage(const std::string& name) {
  ++portCalls;
  if (name.empty()) return 0;
  std::string key = name;  // atom names ignore case
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  auto [entry, added] = registeredMessages_.try_emplace(
      key, static_cast<uint32_t>(0xC000 + registeredMessages_.size()));
  return entry->second;
}

// ---------------------------------------------------------------------------------------------
// Showing, positioning, destroying.

bool SimWindowManager::placeAt(Hwnd window, const Rect& screen, uint32_t flags) {
  Point base;
  if (Window* w = live(window)) {
    if (Window* parent = live(w->parent)) base = clientOrigin(*parent);
  }
  return changePosition(window, {window,
                                 {},
                                 screen.left - base.x,
                                 screen.top - base.y,
                                 screen.width(),
                                 screen.height(),
                                 flags});
}

bool SimWindowManager::changePosition(Hwnd window, WindowPos pos) {
  Window* w = live(window);
  if (w == nullptr) return false;
  pos.hwnd = window;
  if (w->own) {
    dispatch(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LParam>(&pos));
    w = live(window);
    if (w == nullptr) return false;
  }
  bringForwardIfActivating(*w, pos);
  // What is left after the handler, with the redundant show or hide dropped as Windows does:
  // a visible window cannot be shown, a hidden one cannot be hidden.
  const uint32_t flags = pos.flags & ~(w->visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if ((flags & SWP_NOZORDER) == 0 && !w->parent && window != kDesktop) {
    restack(*w, pos.insertAfter);
  }
  Point base;  // children are placed in their parent's client area
  if (Window* parent = live(w->parent)) base = clientOrigin(*parent);
  Rect r = w->rect;
  if ((flags & SWP_NOMOVE) == 0) r = offset(r, base.x + pos.x - r.left, base.y + pos.y - r.top);
  if ((flags & SWP_NOSIZE) == 0) {
    r.right = r.left + std::max(0, pos.cx);
    r.bottom = r.top + std::max(0, pos.cy);
  }
  const bool moved = r.left != w->rect.left || r.top != w->rect.top;
  const bool sized = r.width() != w->rect.width() || r.height() != w->rect.height();
  const Rect before = w->rect;
  moveWindowTo(*w, r);
  if (!w->own && !w->iconic() && !w->zoomed()) w->normalRect = toWorkspace(*w, r);
  if (w->own && (sized || ((flags & SWP_SHOWWINDOW) != 0 && !w->visible()))) invalidate(*w);
  if (w->own) noteFrameChange(*w, flags);
  if ((flags & SWP_SHOWWINDOW) != 0) {
    w->style |= WS_VISIBLE;
  } else if ((flags & SWP_HIDEWINDOW) != 0) {
    w->style &= ~WS_VISIBLE;
    deactivate(*w);
  }
  if (activatesOnPosition(*w, pos.flags)) activate(*w);
  if (!w->own) return true;
  WindowPos done = pos;
  done.x = r.left - base.x;
  done.y = r.top - base.y;
  done.cx = r.width();
  done.cy = r.height();
  done.flags = flags | (moved ? 0 : SWP_NOMOVE) | (sized ? 0 : SWP_NOSIZE);
  dispatch(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LParam>(&done));
  w = live(window);
  if ((moved || sized) && w != nullptr && !w->parent && !w->iconic() && before != kMinimizedRect &&
      ownWindowMoved) {
    ownWindowMoved(window, before);
  }
  return true;
}

bool SimWindowManager::show(Hwnd window, int32_t command) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr || window == kDesktop) return false;
  const bool wasVisible = w->visible();
  const bool minimize =
      command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
  const bool restore =
      command == SW_RESTORE || command == SW_SHOWNORMAL || command == SW_SHOWNOACTIVATE;

  if (!w->own) {  // another program's window: the facts change, nothing is sent
    if (command == SW_HIDE) {
      w->style &= ~WS_VISIBLE;
      deactivate(*w);
      return wasVisible;
    }
    const uint32_t state = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
    if (minimize) {
      minimizeForeign(*w);
    } else if (command == SW_SHOWMAXIMIZED) {
      maximizeForeign(*w);
    } else if (restore) {
      restoreForeign(*w);
    }
    const bool changed = !wasVisible || (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) != state;
    w->style |= WS_VISIBLE;
    if (changed && showActivates(command)) {
      activate(*w);
      placeOnTop(*w);
    }
    return wasVisible;
  }

  const uint32_t showFlag = wasVisible ? 0 : SWP_SHOWWINDOW;
  const uint32_t activation = showActivates(command) ? 0 : SWP_NOACTIVATE;
  if (command == SW_HIDE) {
    if (!wasVisible) return false;
    changePosition(window, {window, {}, 0, 0, 0, 0, kKeepPlace | SWP_NOACTIVATE | SWP_HIDEWINDOW});
  } else if (minimize) {
    if (w->iconic()) {
      if (!wasVisible) {
        changePosition(window, {window, {}, 0, 0, 0, 0, kKeepPlace | showFlag | activation});
      }
      return wasVisible;
    }
    // WS_MINIMIZE is set before the position messages, as Windows does.
    w->normalRect = w->rect;
    w->style |= WS_MINIMIZE;
    deactivate(*w);
    placeAt(window, kMinimizedRect, SWP_NOZORDER | showFlag | activation);
  } else if (restore && w->iconic()) {
    w->style &= ~WS_MINIMIZE;
    placeAt(window, w->normalRect, SWP_NOZORDER | showFlag | activation);
  } else if (!wasVisible) {
    changePosition(window, {window, {}, 0, 0, 0, 0, kKeepPlace | SWP_SHOWWINDOW | activation});
  }
  return wasVisible;
}

bool SimWindowManager::showWindow(Hwnd window, int32_t command) {
  ++portCalls;
  actions_.push_back("show " + handleText(window) + " " + std::to_string(command));
  if (!changeReaches(window, "show", WM_WINDOWPOSCHANGING,
                     [this, window, command] { showWindow(window, command); })) {
    return false;
  }
  return show(window, command);
}

bool SimWindowManager::setWindowPos(Hwnd window, Hwnd insertAfter, int32_t x, int32_t y, int32_t cx,
                                    int32_t cy, uint32_t flags) {
  ++portCalls;
  char text[128];
  snprintf(text, sizeof text, "pos %s after %s %d,%d %dx%d flags %x", handleText(window).c_str(),
           handleText(insertAfter).c_str(), x, y, cx, cy, flags);
  actions_.push_back(text);
  if (window == kDesktop) return false;
  if (!changeReaches(window, "pos", WM_WINDOWPOSCHANGING,
                     [this, window, insertAfter, x, y, cx, cy, flags] {
                       setWindowPos(window, insertAfter, x, y, cx, cy, flags);
                     })) {
    return false;
  }
  return changePosition(window, {window, insertAfter, x, y, cx, cy, flags});
}

bool SimWindowManager::setForegroundWindow(Hwnd window) {
  ++portCalls;
  actions_.push_back("foreground " + handleText(window));
  Window* w = live(window);
  if (w == nullptr || w->parent || window == kDesktop) return false;
  if (foreground_ == window) return true;  // already active: nothing happens
  activate(*w);
  // Activation brings the window to the top through the position protocol, so its
  // WM_WINDOWPOSCHANGING sees the change (and may add SWP_SHOWWINDOW to it).
  if (w->own)
    return changePosition(window, {window, kHwndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE});
  placeOnTop(*w);
  return true;
}

bool SimWindowManager::destroyWindow(Hwnd window) {
  ++portCalls;
  actions_.push_back("destroy " + handleText(window));
  return destroy(window);
}

bool SimWindowManager::destroy(Hwnd window) {
  Window* w = live(window);
  if (w == nullptr || !w->own || w->destroying) return false;
  w->destroying = true;
  if (w->visible()) {
    changePosition(window, {window, {}, 0, 0, 0, 0, kKeepPlace | SWP_NOACTIVATE | SWP_HIDEWINDOW});
  }
  // Owned windows go first, entirely.
  std::vector<Hwnd> owned;
  for (const auto& [value, other] : windows_) {
    if (other->alive && other->own && other->owner == window) owned.push_back(other->handle);
  }
  for (Hwnd o : owned) destroy(o);
  // WM_DESTROY from the parent down, then WM_NCDESTROY from the children up.
  sendDestroy(window);
  freeWindow(window);
  return true;
}

void SimWindowManager::sendDestroy(Hwnd window) {
  Window* w = live(window);
  if (w == nullptr) return;
  w->destroying = true;
  dispatch(window, WM_DESTROY, 0, 0);
  w = live(window);
  if (w == nullptr) return;
  const std::vector<Hwnd> children = w->children;
  for (Hwnd child : children) {
    Window* c = live(child);
    if (c != nullptr && !c->destroying) sendDestroy(child);
  }
}

void SimWindowManager::freeWindow(Hwnd window) {
  Window* w = live(window);
  if (w == nullptr) return;
  const std::vector<Hwnd> children = w->children;
  for (Hwnd child : children) freeWindow(child);
  dispatch(window, WM_NCDESTROY, 0, 0);
  w = live(window);
  if (w == nullptr) return;
  if (focus_ == window) focus_ = {};  // no WM_KILLFOCUS: the window is gone
  releaseListImages(*w);
  unlink(*w);
  w->alive = false;
}

bool SimWindowManager::invalidateRect(Hwnd window, bool erase) {
  ++portCalls;
  actions_.push_back("invalidate " + handleText(window));
  if (!window) {  // the whole screen
    for (const auto& [value, w] : windows_) {
      if (w->alive && !w->parent) invalidate(*w, erase);
    }
    return true;
  }
  Window* w = live(window);
  if (w == nullptr) return false;
  invalidate(*w, erase);
  return true;
}

bool SimWindowManager::setWindowText(Hwnd window, const std::string& text) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr || window == kDesktop) return false;
  w->text = text;
  return true;
}

bool SimWindowManager::enableWindow(Hwnd window, bool enable) {
  ++portCalls;
  if (!changeReaches(window, "enable", WM_ENABLE,
                     [this, window, enable] { enableWindow(window, enable); })) {
    return false;
  }
  Window* w = live(window);
  if (w == nullptr) return false;
  const bool wasDisabled = (w->style & WS_DISABLED) != 0;  // EnableWindow's answer
  w->style = enable ? w->style & ~WS_DISABLED : w->style | WS_DISABLED;
  if (!w->own) w->styleChanges.push_back({time_.now, w->style});
  return wasDisabled;
}

bool SimWindowManager::isWindowEnabled(Hwnd window) {
  ++portCalls;
  Window* w = live(window);
  return w != nullptr && (w->style & WS_DISABLED) == 0;
}

}  // namespace sim
