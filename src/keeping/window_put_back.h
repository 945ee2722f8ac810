// Puts a kept window back from its journal entry alone: minimised, at its own normal
// rectangle, with its own styles and layered attributes, enabled if the program had disabled
// it. Works from whatever state a run left it in (off screen, transparent in place, or half
// way through either): every step is whole in itself, so doing one twice does no harm.
#pragma once

#include "display/taskbar_control.h"
#include "keeping/kept_window.h"
#include "platform/platform.h"

enum class PutBack {
  Done,
  Gone,          // no such window, or it belongs to another process now: nothing to do
  NotAnswering,  // its program does not answer: try again later
  Busy,          // a change timed out: try again later
};

struct PutBackPorts {
  platform::Windows& windows;
  platform::Messages& messages;
  platform::Processes& processes;
  platform::Monitors& monitors;
};

PutBack putBackWindow(const PutBackPorts& ports, const KeptWindow& kept, CTaskBarControl* taskbar);
