// The simulated window table: timers on the virtual clock.
#include <algorithm>
#include <optional>

#include "platform/sim/sim_windows.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kMinimumTimerPeriod = 10;  // USER_TIMER_MINIMUM

}  // namespace

bool SimWindows::setTimer(Hwnd window, uintptr_t id, uint32_t milliseconds) {
  ++portCalls;
  SimWindow* w = live(window);
  if (w == nullptr || !w->own) return false;
  const uint64_t now = time_.wide();
  const uint32_t period = std::max(milliseconds, kMinimumTimerPeriod);
  auto found = std::find_if(timers_.begin(), timers_.end(),
                            [&](const Timer& t) { return t.window == window.value && t.id == id; });
  if (found == timers_.end()) {
    timers_.push_back({window.value, id, period, now + period, ++timerOrder_});
  } else {
    *found = {window.value, id, period, now + period, ++timerOrder_};
  }
  return true;
}

bool SimWindows::killTimer(Hwnd window, uintptr_t id) {
  ++portCalls;
  return std::erase_if(timers_,
                       [&](const Timer& t) { return t.window == window.value && t.id == id; }) != 0;
}

std::optional<uint32_t> SimWindows::timerPeriod(Hwnd window, uintptr_t id) const {
  for (const Timer& t : timers_) {
    if (t.window == window.value && t.id == id) return t.period;
  }
  return std::nullopt;
}

std::optional<uint32_t> SimWindows::timerDue(Hwnd window, uintptr_t id) const {
  for (const Timer& t : timers_) {
    if (t.window == window.value && t.id == id) return static_cast<uint32_t>(t.due);
  }
  return std::nullopt;
}

void SimWindows::advance(uint32_t ms) {
  time_.wide();
  pumpMessages();
  const uint64_t end = time_.lastSeen() + ms;
  for (;;) {
    const uint64_t now = time_.wide();  // a handler may have slept
    Timer* next = nullptr;
    for (Timer& t : timers_) {
      if (t.due <= end &&
          (next == nullptr || t.due < next->due || (t.due == next->due && t.order < next->order))) {
        next = &t;
      }
    }
    // What other programs do comes first, up to the moment of the next timer.
    const uint64_t until = next == nullptr ? end : std::max(now, next->due);
    if (const std::optional<uint64_t> moment = time_.nextMoment(); moment && *moment <= until) {
      time_.moveTo(*moment);
      time_.runScheduled();
      pumpMessages();
      continue;
    }
    if (next == nullptr) break;
    time_.moveTo(next->due);
    // Periods missed while the thread slept give one WM_TIMER, as in Windows.
    const uint64_t at = time_.lastSeen();
    uint64_t due = next->due + next->period;
    if (due <= at) due += ((at - due) / next->period + 1) * next->period;
    next->due = due;  // keeps its place among ties: the order timers were set
    const Hwnd target{next->window};
    const uintptr_t id = next->id;
    ++timerMessages;
    dispatch(target, WM_TIMER, id, 0);
    pumpMessages();
  }
  time_.moveTo(end);
}

}  // namespace sim
