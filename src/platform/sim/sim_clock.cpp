#include "platform/sim/sim_clock.h"

#include <algorithm>
#include <utility>

namespace sim {

uint64_t SimClock::wide() {
  const uint32_t ms = now - seenNow_;
  if (beforeMoving) beforeMoving(ms);
  clock_ += ms;
  seenNow_ = now;
  return clock_;
}

uint64_t SimClock::upcoming(uint32_t moment) {
  wide();
  return std::max<uint64_t>(clock_, (clock_ & ~uint64_t{0xFFFFFFFF}) | moment);
}

void SimClock::moveTo(uint64_t to) {
  wide();
  if (to <= clock_) return;
  if (beforeMoving) beforeMoving(to - clock_);
  clock_ = to;
  now = static_cast<uint32_t>(clock_);
  seenNow_ = now;
}

void SimClock::at(uint32_t moment, std::function<void()> act) {
  scheduled_.emplace(upcoming(moment), std::move(act));
}

void SimClock::elapse(uint32_t ms) {
  now += ms;
  runScheduled();
}

void SimClock::runScheduled() {
  wide();
  while (!scheduled_.empty() && scheduled_.begin()->first <= clock_) {
    auto act = std::move(scheduled_.begin()->second);
    scheduled_.erase(scheduled_.begin());
    act();
  }
}

std::optional<uint64_t> SimClock::nextMoment() const {
  if (scheduled_.empty()) return std::nullopt;
  return scheduled_.begin()->first;
}

}  // namespace sim
