// The simulated window table: messages, their dispatch and the default processing; the
// destruction of windows; what reaches the program while it waits for another program's answer.
#include <cctype>
#include <cstdio>

#include "platform/sim/sim_texts.h"
#include "platform/sim/sim_windows.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kSizeRestored = 0;              // SIZE_RESTORED
constexpr uint32_t kSizeMinimized = 1;             // SIZE_MINIMIZED
constexpr Dword kErrorInvalidWindowHandle = 1400;  // ERROR_INVALID_WINDOW_HANDLE
constexpr uint32_t kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;

std::string messageText(uint32_t message) {
  char text[16];
  snprintf(text, sizeof text, "0x%x", message);
  return text;
}

// Two signed 16-bit halves, as MAKELPARAM packs them.
LParam packWords(int32_t low, int32_t high) {
  return static_cast<LParam>(static_cast<uint32_t>(static_cast<uint16_t>(low)) |
                             (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16));
}

}  // namespace

LResult SimWindows::dispatch(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  SimWindow* w = live(window);
  if (w == nullptr) return 0;
  if (!w->own || w->control) {
    received_[window.value].push_back({message, wParam, lParam, false, time_.now});
  }
  if (!w->own) {
    reactForeign(*w, message, wParam);
    return 0;
  }
  if (w->handler != nullptr) return w->handler->onMessage(window, message, wParam, lParam);
  if (w->classProc != nullptr) return w->classProc->onMessage(window, message, wParam, lParam);
  return windowDefault(window, message, wParam, lParam);
}

LResult SimWindows::sendMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  ++portCalls;
  if (SimWindow* w = live(window); w != nullptr && !w->own) ++crossProcessMessages;
  if (SimWindow* w = live(window); w != nullptr && !w->own && threads_->hung(window)) {
    threads_->blockedBy(window, "send", messageText(message));
    return 0;
  }
  if (SimWindow* w = live(window); w != nullptr && !w->own) deliverSentDuringWait(0);
  return dispatch(window, message, wParam, lParam);
}

bool SimWindows::postMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  ++portCalls;
  SimWindow* w = live(window);
  if (w == nullptr) return false;
  if (!w->own) {
    ++crossProcessMessages;
    received_[window.value].push_back({message, wParam, lParam, true, time_.now});
    return true;
  }
  queue_.push_back({window, message, wParam, lParam});
  return true;
}

void SimWindows::pumpUntil(const std::function<bool()>& stop) {
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

void SimWindows::pumpMessages() {
  pumpUntil(nullptr);
}

LResult SimWindows::defaultProc(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  SimWindow* w = live(window);
  // The class's own procedure: a subclassed control's, the dialog manager's.
  if (w != nullptr && w->classProc != nullptr) {
    return w->classProc->onMessage(window, message, wParam, lParam);
  }
  return windowDefault(window, message, wParam, lParam);
}

LResult SimWindows::windowDefault(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  ++portCalls;
  SimWindow* w = live(window);
  if (w == nullptr || !w->own) return 0;
  switch (message) {
    case WM_NCLBUTTONDOWN:
      if (static_cast<int32_t>(wParam) == HTCAPTION && captionPressed) captionPressed(window);
      return 0;
    case WM_CLOSE:
      destroy(window);
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
        if (SimWindow* parent = live(w->parent)) {
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
    case WM_NCHITTEST:
      return HTCLIENT;
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        return defaultColorBrush(message);
      }
      return 0;
  }
}

uint32_t SimWindows::registerWindowMessage(const std::string& name) {
  ++portCalls;
  if (name.empty()) return 0;
  std::string key = name;  // atom names ignore case
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  auto [entry, added] = registeredMessages_.try_emplace(
      key, static_cast<uint32_t>(0xC000 + registeredMessages_.size()));
  return entry->second;
}

TimedResult SimWindows::sendMessageTimeout(Hwnd window, uint32_t message, WParam wParam,
                                           LParam lParam, uint32_t flags, uint32_t milliseconds) {
  ++portCalls;
  SimWindow* w = live(window);
  if (w == nullptr) {
    lastErrorValue = kErrorInvalidWindowHandle;
    return {};
  }
  if (!w->own && !threads_->reaching()) return {};
  if (!w->own) {
    ++crossProcessMessages;
    deliverSentDuringWait(flags);
    if (live(window) == nullptr) {  // gone while we waited
      lastErrorValue = kErrorInvalidWindowHandle;
      return {};
    }
  }
  if (!w->own && threads_->hung(window)) {
    actions_.push_back("timeout " + handleText(window) + " " + messageText(message));
    // Once the window counts as hung, SMTO_ABORTIFHUNG does not wait for it at all.
    const bool longHung = threads_->hungLong(window);  // looks at the clock either way
    const bool givenUp = (flags & SMTO_ABORTIFHUNG) != 0 && longHung;
    if (!givenUp) time_.elapse(milliseconds);
    lastErrorValue = ERROR_TIMEOUT;
    return {};
  }
  return {true, dispatch(window, message, wParam, lParam)};
}

void SimWindows::reactForeign(SimWindow& window, uint32_t message, WParam wParam) {
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

void SimWindows::deliverSentDuringWait(uint32_t flags) {
  std::function<void()> hook = std::exchange(whileSending, nullptr);
  if (!hook) return;
  if ((flags & SMTO_BLOCK) != 0) {
    sentLater_.push_back(std::move(hook));  // waits for the program's next look at its queue
    return;
  }
  hook();
}

bool SimWindows::runSentLater() {
  if (sentLater_.empty()) return false;
  std::vector<std::function<void()>> due = std::exchange(sentLater_, {});
  for (const std::function<void()>& hook : due) hook();
  return true;
}

// ---------------------------------------------------------------------------------------------
// Destruction.

bool SimWindows::destroy(Hwnd window) {
  SimWindow* w = live(window);
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

void SimWindows::sendDestroy(Hwnd window) {
  SimWindow* w = live(window);
  if (w == nullptr) return;
  w->destroying = true;
  dispatch(window, WM_DESTROY, 0, 0);
  w = live(window);
  if (w == nullptr) return;
  const std::vector<Hwnd> children = w->children;
  for (Hwnd child : children) {
    SimWindow* c = live(child);
    if (c != nullptr && !c->destroying) sendDestroy(child);
  }
}

void SimWindows::freeWindow(Hwnd window) {
  SimWindow* w = live(window);
  if (w == nullptr) return;
  const std::vector<Hwnd> children = w->children;
  for (Hwnd child : children) freeWindow(child);
  dispatch(window, WM_NCDESTROY, 0, 0);
  w = live(window);
  if (w == nullptr) return;
  if (focus_ == window) focus_ = {};  // no WM_KILLFOCUS: the window is gone
  for (SimWindowsListener* listener : listeners_) listener->freed(window);
  w = live(window);
  if (w == nullptr) return;
  unlink(*w);
  w->alive = false;
}

WParam SimWindows::newDeviceContext() {
  nextDc_ += 4;
  return nextDc_;
}

}  // namespace sim
