// The simulated desktop: an in-memory machine behind the platform port, for tests on Linux.
// It is the one facade tests start from: the core (the clock and call log, sim_clock.h; the
// window table, sim_windows.h) and a fake per domain beside it, each a page of its own that
// says what it models: other programs (sim_programs.h), the program's own windows, menus and
// message boxes (sim_own_windows.h), dialogs and list views (sim_dialogs.h), input
// (sim_input.h), drawing and the clipboard (sim_drawing.h), icons (sim_icons.h), the displays
// (sim_displays.h), the Desktop Window Manager (sim_dwm.h), the shell (sim_shell.h) and the
// system with its files (sim_system.h, sim_files.h, sim_profile_files.h). Every call the
// program makes that a test may want to order is recorded in `actions`.
//
// Here: the named set-ups, and the program's process as a whole (console events, a kill, a
// crash, a new process).
// What it does not model: threads (a console control handler's wait is modelled without one:
// see consoleEvent), anything the port does not ask for.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_displays.h"
#include "platform/sim/sim_drawing.h"
#include "platform/sim/sim_dwm.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_icons.h"
#include "platform/sim/sim_input.h"
#include "platform/sim/sim_own_windows.h"
#include "platform/sim/sim_profile_files.h"
#include "platform/sim/sim_programs.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_windows.h"

namespace sim {

class SimDesktop {
 public:
  // Named set-ups.
  static std::unique_ptr<SimDesktop> singleMonitor();             // 1920 x 1080, Windows 7
  static std::unique_ptr<SimDesktop> twoMonitorsPrimarySecond();  // primary enumerated second
  static std::unique_ptr<SimDesktop> compositionOff();
  static std::unique_ptr<SimDesktop> oldSystem();  // version 5.1, no DWM

  SimDesktop();
  ~SimDesktop();
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;

  platform::Platform& platform() { return *platform_; }

  // --- The core. ---
  SimClock clock;
  uint32_t& now = clock.now;                          // milliseconds since boot
  std::vector<std::string>& actions = clock.actions;  // the call log
  // Moves the clock on, delivering the timers due on the way (sleep moves it without).
  void advance(uint32_t ms) { windows.advance(ms); }
  // Windows, the program's own and other programs'.
  SimWindows windows{clock};

  // --- The fakes. ---
  SimPrograms programs{windows};
  SimIcons icons{windows};
  SimDialogs dialogs{windows, icons};
  SimOwnWindows ownWindows{windows};
  SimInput input{windows, dialogs};
  SimDrawing drawing{windows};
  SimFileSystem files;
  SimSystem system{clock, files};
  SimDisplays displays{system, windows};
  SimDwm dwm{system, windows};
  SimShell shell{windows, programs, icons};

  // --- The program's process. ---
  // A console control event (CTRL_CLOSE_EVENT ...), as the system raises it: the handler is
  // called at once. Without threads, a handler that waits for the exit (waitForExit) is taken
  // to wait from there on while the program's loop runs as the test lets it (pumpMessages,
  // the end of the panel's script), and to return when the program calls exitFinished or when
  // its bound has passed on the clock, whichever comes first. After a close, log-off or
  // shutdown event (or one no handler took) the system ends the process when the handler has
  // returned: `processEnded` is set and `onProcessEnd` runs, to see what the program left.
  // The program's code goes on running here afterwards; on Windows nothing more would happen.
  void consoleEvent(platform::Dword event);
  bool processEnded = false;
  std::function<void()> onProcessEnd;
  // TerminateProcess (a kill, the task manager): the process ends at once, without its exit
  // path. The program's code may go on running here (the test returns to it), but from then
  // on nothing it does reaches other programs' windows, the whole-file writes or the taskbar
  // buttons. Not modelled: profile-function writes, the tray and the program's own windows
  // still change until its code returns.
  void terminate() { endProcess("terminated"); }
  // Ends the process (as terminate) just before the call after the next `calls` calls that
  // reach beyond it: a change or a message to another program's window, a file created,
  // replaced or removed. So a test can stop the program between any two such calls, across
  // runs (a new process keeps the count); it fires once.
  void endProcessAfter(uint64_t calls) { endAfter_ = calls; }
  // An unhandled exception: the program's crash filter (system.crashFilter) runs, then the
  // process ends at once.
  void crash();
  // A new process of the program on the same desktop: it starts with nothing of the last.
  void newProcess();

 private:
  void waitForExit(uint32_t milliseconds);
  void exitFinished();
  void endProcess(const char* why);
  std::optional<uint64_t> endAfter_;  // calls left before endProcessAfter fires
  void reaching();
  bool exitDone_ = false;        // exitFinished was called: every wait returns at once
  bool handlerWaiting_ = false;  // a console handler waits for the exit
  bool endsAfterHandler_ = false;
  uint64_t waits_ = 0;  // tells a wait's bound from a later wait's

  SimFiles fileCalls_{files, clock.actions};
  SimProfileFiles profileFiles_{files};
  std::unique_ptr<platform::Platform> platform_;
};

}  // namespace sim
