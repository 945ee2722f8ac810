// The simulated desktop's clock and call log: what every fake shares.
//
// What it models: milliseconds since boot (`now`), moved only by tests and by the program's
// blocking calls (a sleep, an animation, a wait for an answer); what other programs and the
// user do at a moment (at()), which happens when the clock gets there, in the order of the
// moments, also while the program is blocked. `now` wraps as GetTickCount does; the moments
// are kept on a 64-bit clock, so what is scheduled survives the wrap. The clock only moves
// forward.
// The call log (`actions`): every call a test may want to order, as each fake words it.
// Not modelled: time that passes by itself (nothing moves unless a test or a blocking call
// moves it), threads.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class SimClock {
 public:
  uint32_t now = 0;                  // milliseconds since boot
  std::vector<std::string> actions;  // the call log

  // What other programs and the user do at a moment on the clock (ms since boot). A moment
  // already past happens at the next chance.
  void at(uint32_t moment, std::function<void()> act);
  // Moves the clock by `ms` as a blocked thread sees it: what is scheduled happens, no
  // message or timer is delivered.
  void elapse(uint32_t ms);

  // --- For the fakes. ---
  // `now` widened, taking in what moved it since the last look.
  uint64_t wide();
  // The widened clock as of the last look (wide(), moveTo, runScheduled).
  uint64_t lastSeen() const { return clock_; }
  // `moment` (ms since boot) on the 64-bit clock: the next time `now` reads it, or now.
  uint64_t upcoming(uint32_t moment);
  // Moves the clock to `to` (no earlier); `beforeMoving` hears of the time first.
  void moveTo(uint64_t to);
  // Does what is due by now.
  void runScheduled();
  // The moment of the earliest act still to come; none when nothing is.
  std::optional<uint64_t> nextMoment() const;
  // Hears of each stretch of time before the clock takes it in: what the desktop looked like
  // for those `ms` (the browser engines' verdicts).
  std::function<void(uint64_t ms)> beforeMoving;

 private:
  uint64_t clock_ = 0;    // `now` widened
  uint32_t seenNow_ = 0;  // `now` when the clock was last synchronised
  std::multimap<uint64_t, std::function<void()>> scheduled_;  // by moment on the 64-bit clock
};

}  // namespace sim
