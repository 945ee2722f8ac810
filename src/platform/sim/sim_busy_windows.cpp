// The simulated window manager: other programs' windows whose thread is busy for a while, and
// the guard that keeps the program's changes to them from waiting more than a second.
#include <algorithm>
#include <cstdio>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

// How long a change waits for another program's thread before it gives up.
constexpr uint64_t kChangeGuardMs = 1000;

}  // namespace

void SimWindowManager::setBusy(Hwnd window, uint32_t until) {
  Window* w = live(window);
  if (w == nullptr || w->own) return;
  setHung(window, true);
  const uint64_t span = ++w->busySpan;
  w->busyUntil = time_.upcoming(until);
  time_.at(until, [this, window, span] {
    Window* busy = live(window);
    // A later span (or setHung) has taken over: it decides when the thread is free.
    if (busy != nullptr && busy->busySpan == span) setHung(window, false);
  });
}

void SimWindowManager::slowHandler(Hwnd window, uint32_t message, uint32_t ms) {
  if (Window* w = live(window); w != nullptr && !w->own) w->slowHandlers[message] = ms;
}

void SimWindowManager::catchUp(Window& window) {
  std::vector<std::function<void()>> changes;
  changes.swap(window.outstanding);
  applyingLater_ = true;
  for (const auto& change : changes) change();
  applyingLater_ = false;
}

bool SimWindowManager::changeReaches(Hwnd window, const char* call, uint32_t message,
                                     std::function<void()> later) {
  Window* w = live(window);
  if (w == nullptr || w->own || applyingLater_) return true;
  if (beforeReaching) beforeReaching();
  if (processGone) return false;  // its code runs on here; on Windows nothing would happen
  const std::string what = std::string("TIMED OUT ") + call + " h";
  char handle[16];
  snprintf(handle, sizeof handle, "%x", window.value);
  if (crashMode) {
    // Made directly on the crashing thread: it waits for the window's thread, however long.
    if (w->hung) blockedBy(*w, call, "crash filter");
    return true;
  }
  time_.wide();
  // The wait ends with the busy span, or with what is left of the guard.
  uint64_t left = kChangeGuardMs;
  const auto waitForThread = [&] {
    uint64_t wait = left;
    const uint64_t now = time_.lastSeen();
    if (w->busyUntil != 0 && w->busyUntil > now) wait = std::min(wait, w->busyUntil - now);
    time_.elapse(static_cast<uint32_t>(wait));
    left -= wait;
    w = live(window);
  };
  if (!w->outstanding.empty()) {
    // A change still on its way goes first: waited for within this change's guard.
    waitForThread();
    if (w == nullptr) return false;
    if (!w->outstanding.empty()) {
      actions_.push_back(what + handle + " outstanding");
      lastErrorValue = ERROR_TIMEOUT;
      return false;
    }
  }
  lastErrorValue = 0;  // the adapter's worker starts with none
  if (!w->hung) {
    // The handler this change sends to keeps the thread busy: the change waits for it.
    auto slow = w->slowHandlers.find(message);
    if (slow == w->slowHandlers.end() || slow->second == 0) return true;
    setBusy(window, static_cast<uint32_t>(time_.lastSeen() + slow->second));
  }
  waitForThread();
  if (w == nullptr) return false;
  if (!w->hung) {
    lastErrorValue = 0;
    return true;
  }
  actions_.push_back(what + handle);
  w->outstanding.push_back(std::move(later));
  lastErrorValue = ERROR_TIMEOUT;
  return false;
}

}  // namespace sim
