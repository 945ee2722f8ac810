// The simulated other programs: windows whose thread is busy for a while, and the guard that
// keeps the program's changes to them from waiting more than a second.
#include <algorithm>
#include <cstdio>

#include "platform/sim/sim_programs.h"

namespace sim {

using namespace platform;

namespace {

// How long a change waits for another program's thread before it gives up.
constexpr uint64_t kChangeGuardMs = 1000;

}  // namespace

void SimPrograms::setBusy(Hwnd window, uint32_t until) {
  if (foreign(window) == nullptr) return;
  setHung(window, true);
  Thread& t = threads_[window.value];
  const uint64_t span = ++t.busySpan;
  t.busyUntil = clock_.upcoming(until);
  clock_.at(until, [this, window, span] {
    // A later span (or setHung) has taken over: it decides when the thread is free.
    if (foreign(window) != nullptr && threads_[window.value].busySpan == span) {
      setHung(window, false);
    }
  });
}

void SimPrograms::slowHandler(Hwnd window, uint32_t message, uint32_t ms) {
  if (foreign(window) != nullptr) threads_[window.value].slowHandlers[message] = ms;
}

void SimPrograms::catchUp(Hwnd window) {
  std::vector<std::function<void()>> changes;
  changes.swap(threads_[window.value].outstanding);
  applyingLater_ = true;
  for (const auto& change : changes) change();
  applyingLater_ = false;
}

bool SimPrograms::changeReaches(Hwnd window, const char* call, uint32_t message,
                                std::function<void()> later) {
  if (foreign(window) == nullptr || applyingLater_) return true;
  if (!reaching()) return false;  // its code runs on here; on Windows nothing would happen
  const std::string what = std::string("TIMED OUT ") + call + " h";
  char handle[16];
  snprintf(handle, sizeof handle, "%x", window.value);
  if (crashMode) {
    // Made directly on the crashing thread: it waits for the window's thread, however long.
    if (hung(window)) blockedBy(window, call, "crash filter");
    return true;
  }
  clock_.wide();
  // The wait ends with the busy span, or with what is left of the guard. The window's record
  // is looked up again after each wait: what other programs do meanwhile may close it.
  uint64_t left = kChangeGuardMs;
  bool alive = true;
  const auto waitForThread = [&] {
    uint64_t wait = left;
    const uint64_t now = clock_.lastSeen();
    const uint64_t busyUntil = threads_[window.value].busyUntil;
    if (busyUntil != 0 && busyUntil > now) wait = std::min(wait, busyUntil - now);
    clock_.elapse(static_cast<uint32_t>(wait));
    left -= wait;
    alive = foreign(window) != nullptr;
  };
  if (!threads_[window.value].outstanding.empty()) {
    // A change still on its way goes first: waited for within this change's guard.
    waitForThread();
    if (!alive) return false;
    if (!threads_[window.value].outstanding.empty()) {
      clock_.actions.push_back(what + handle + " outstanding");
      windows_.lastErrorValue = ERROR_TIMEOUT;
      return false;
    }
  }
  windows_.lastErrorValue = 0;  // the adapter's worker starts with none
  if (!threads_[window.value].hung) {
    // The handler this change sends to keeps the thread busy: the change waits for it.
    const std::map<uint32_t, uint32_t>& slowHandlers = threads_[window.value].slowHandlers;
    auto slow = slowHandlers.find(message);
    if (slow == slowHandlers.end() || slow->second == 0) return true;
    setBusy(window, static_cast<uint32_t>(clock_.lastSeen() + slow->second));
  }
  waitForThread();
  if (!alive) return false;
  if (!threads_[window.value].hung) {
    windows_.lastErrorValue = 0;
    return true;
  }
  clock_.actions.push_back(what + handle);
  threads_[window.value].outstanding.push_back(std::move(later));
  windows_.lastErrorValue = ERROR_TIMEOUT;
  return false;
}

}  // namespace sim
