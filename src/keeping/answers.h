// The probe sent before anything that would wait on a target's thread: a hung program must
// not hold this one, so it gets a second to answer and none at all once the system marks it
// hung.
#pragma once

#include "platform/messages.h"

// How long a target's thread is given for the probe and for the steps that follow it.
constexpr uint32_t kAnswerWaitMs = 1000;

inline bool answers(platform::Messages& messages, platform::Hwnd window) {
  return messages
      .sendMessageTimeout(window, platform::WM_NULL, 0, 0, platform::SMTO_ABORTIFHUNG,
                          kAnswerWaitMs)
      .answered;
}
