#include "thumbnail/answer_mark.h"

#include "base/diagnostic_log.h"

bool AnswerMark::poll(TargetKeeper& keeper, bool paused) {
  const bool hung = windows_.isHungAppWindow(target_);
  // It read a message within the last 5 s: a probe that met it hung before is out of date.
  if (systemHung_ && !hung) keeper.heardOf();
  systemHung_ = hung;
  const bool mark = !paused && (hung || keeper.unansweredMs() >= kAfterMs);
  if (mark == shown_) return false;
  shown_ = mark;
  diag::print(mark ? "target 0x%08x does not answer: its preview says so\n"
                   : "target 0x%08x answers again\n",
              target_.value);
  return true;
}
