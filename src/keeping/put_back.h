// The one way back for a window the program changed to keep it live: from its record alone,
// whatever state a run left it in (held off screen, transparent in place, in sight, or half
// way through any of that or through an earlier put-back). Each step is whole in itself, so a
// step made twice does no harm and a put-back stopped anywhere is finished by starting again.
// Afterwards the window is minimised at its own normal rectangle, with its own styles and
// layered attributes, enabled if the program had disabled it, its taskbar button back.
#pragma once

#include "display/taskbar_control.h"
#include "keeping/kept_window.h"
#include "platform/platform.h"

enum class PutBack {
  Done,
  Gone,          // no such window, or it belongs to another process now: nothing to do
  NotAnswering,  // its program does not answer: try again later
  Busy,          // a change had to wait for its program: try again later
};

struct PutBackPorts {
  platform::Windows& windows;
  platform::Messages& messages;
  platform::Processes& processes;
  platform::Monitors& monitors;
};

// The window is the one the record names: the same process, the same executable.
bool sameWindow(const PutBackPorts& ports, const KeptWindow& kept);

// Something of the program's changes is still on the window: disabled by us, layered or
// click-through where its program had neither, or still parked off screen. A window without
// any of them is back already (or was never touched) and is left as it is.
bool showsOurChanges(const PutBackPorts& ports, const KeptWindow& kept);

// Crash: from the crash filter, which has checked the window's process itself; nothing is
// logged and nothing allocated here.
enum class PutBackMode { Normal, Crash };

// `taskbar` may be null (no button is added then).
PutBack putBackWindow(const PutBackPorts& ports, const KeptWindow& kept, CTaskBarControl* taskbar,
                      PutBackMode mode = PutBackMode::Normal);
