// The simulated window manager: timers on the virtual clock.
#include <algorithm>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kMinimumTimerPeriod = 10;  // USER_TIMER_MINIMUM

}  // namespace

void SimWindowManager::syncClock() {
  const uint32_t ms = now_ - seenNow_;
  judgeEngines(ms);
  clock_ += ms;
  seenNow_ = now_;
}

void SimWindowManager::moveClock(uint64_t to) {
  syncClock();
  if (to <= clock_) return;
  judgeEngines(to - clock_);
  clock_ = to;
  now_ = static_cast<uint32_t>(clock_);
  seenNow_ = now_;
}

bool SimWindowManager::setTimer(Hwnd window, uintptr_t id, uint32_t milliseconds) {
  ++portCalls;
  Window* w = live(window);
  if (w == nullptr || !w->own) return false;
  syncClock();
  const uint32_t period = std::max(milliseconds, kMinimumTimerPeriod);
  auto found = std::find_if(timers_.begin(), timers_.end(),
                            [&](const Timer& t) { return t.window == window.value && t.id == id; });
  if (found == timers_.end()) {
    timers_.push_back({window.value, id, period, clock_ + period, ++timerOrder_});
  } else {
    *found = {window.value, id, period, clock_ + period, ++timerOrder_};
  }
  return true;
}

bool SimWindowManager::killTimer(Hwnd window, uintptr_t id) {
  ++portCalls;
  return std::erase_if(timers_,
                       [&](const Timer& t) { return t.window == window.value && t.id == id; }) != 0;
}

std::optional<uint32_t> SimWindowManager::timerPeriod(Hwnd window, uintptr_t id) const {
  for (const Timer& t : timers_) {
    if (t.window == window.value && t.id == id) return t.period;
  }
  return std::nullopt;
}

std::optional<uint32_t> SimWindowManager::timerDue(Hwnd window, uintptr_t id) const {
  for (const Timer& t : timers_) {
    if (t.window == window.value && t.id == id) return static_cast<uint32_t>(t.due);
  }
  return std::nullopt;
}

void SimWindowManager::advance(uint32_t ms) {
  syncClock();
  pumpMessages();
  const uint64_t end = clock_ + ms;
  for (;;) {
    syncClock();  // a handler may have slept
    Timer* next = nullptr;
    for (Timer& t : timers_) {
      if (t.due <= end &&
          (next == nullptr || t.due < next->due || (t.due == next->due && t.order < next->order))) {
        next = &t;
      }
    }
    // What other programs do comes first, up to the moment of the next timer.
    const uint64_t until = next == nullptr ? end : std::max(clock_, next->due);
    if (!scheduled_.empty() && scheduled_.begin()->first <= until) {
      moveClock(scheduled_.begin()->first);
      runScheduled();
      pumpMessages();
      continue;
    }
    if (next == nullptr) break;
    moveClock(next->due);
    // Periods missed while the thread slept give one WM_TIMER, as in Windows.
    uint64_t due = next->due + next->period;
    if (due <= clock_) due += ((clock_ - due) / next->period + 1) * next->period;
    next->due = due;  // keeps its place among ties: the order timers were set
    const Hwnd target{next->window};
    const uintptr_t id = next->id;
    ++timerMessages;
    dispatch(target, WM_TIMER, id, 0);
    pumpMessages();
  }
  moveClock(end);
}

}  // namespace sim
