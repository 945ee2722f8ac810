// Which top-level windows may get a preview. The verdict names the rule that dropped a
// window, so that the log and the tests can tell them apart.
#pragma once

#include "detect/process_names.h"
#include "detect/window_entry.h"
#include "platform/dwm.h"
#include "platform/windows.h"

enum class WindowVerdict {
  Accepted,
  OwnPage,       // the detection page itself
  NotAppWindow,  // lacks the system menu, the minimise box or the visible style
  Cloaked,       // hidden by the window manager (another virtual desktop, ...)
  NoTitle,
  ProgramManager,  // the desktop
  NoProcessName,   // process cannot be opened or has no module name
  OwnProgram,      // a window of ZENTA.exe
  EmptyRect,
};

constexpr const char* kOwnExecutableName = "ZENTA.exe";

// Tests one window in the rules' order; on Accepted, `entry` holds its facts.
WindowVerdict testWindow(platform::Windows& windows, ProcessNames& processNames, platform::Dwm& dwm,
                         platform::Hwnd window, platform::Hwnd ownPage, WindowEntry& entry);
