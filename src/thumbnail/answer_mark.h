// Whether a preview marks its target as not answering: the system calls the target hung, or
// the probes the program sends anyway (before a picture, a change) have gone unanswered for
// kAfterMs. It only reads what is known at the polls: no message is sent for it. The mark
// goes at the first poll at which the system no longer calls the target hung or a probe is
// answered. The log says once when it comes and once when it goes.
#pragma once

#include "keeping/target_keeper.h"
#include "platform/windows.h"

class AnswerMark {
 public:
  static constexpr uint32_t kAfterMs = 5000;

  AnswerMark(platform::Windows& windows, platform::Hwnd target)
      : windows_(windows), target_(target) {}

  // At a poll, after the keeper's probes of that poll: true when the mark came or went. A
  // target the system suspended (`paused`) answers nothing either, and is not marked.
  bool poll(TargetKeeper& keeper, bool paused);
  bool shown() const { return shown_; }

 private:
  platform::Windows& windows_;
  platform::Hwnd target_;
  bool systemHung_ = false;
  bool shown_ = false;
};
