// Where a minimised browser window is kept while its preview shows it: restored, judged
// visible by its engine's own occlusion rule, and out of the user's sight.
//
// The rule looks at the bounding box of the monitors (the virtual screen) and asks whether
// anything of the window's rectangle is left there once the occluders above it are taken
// away. So the window is put where exactly one column (or row) of its rectangle lies inside
// that box, and nothing else of it:
//   1. a part of the box that no monitor shows (monitors of different sizes or offsets leave
//      one at the box's edge): the column is there, seen by nobody;
//   2. else the right edge of the box, then the left one, beside the top of the work area of
//      the monitor there: the column is the outermost of the window's invisible resize
//      border (Windows 10 draws nothing there; without composition it is one frame pixel).
// One monitor with a bottom taskbar has no place of the first kind: every pixel is work area
// (which a maximised window covers) or taskbar. There the column is covered whenever the
// user maximises a window, and the window is raised to the top of the ordinary windows
// (without activation, never topmost): its column, invisible, lies over the user's window.
// A topmost window over the column (the taskbar on that side, say) sends it to the next
// place. A column of the border over the user's window still takes the pointer there.
#pragma once

#include <vector>

#include "platform/monitors.h"
#include "platform/windows.h"

namespace visible_place {

struct Screen {
  platform::Rect box;  // the virtual screen
  std::vector<platform::MonitorInfo> monitors;
};

struct Place {
  platform::Rect rect;
  const char* where;  // for the log
};

Screen readScreen(platform::Monitors& monitors);
// The places for a window of this size, best first.
std::vector<Place> places(const Screen& screen, int32_t width, int32_t height);
// The engines' rule as the program can read the desktop: a layered window counts as an
// occluder (its alpha cannot be read), and cloaking is not looked at.
bool judgedVisible(platform::Windows& windows, const Screen& screen, platform::Hwnd window);

}  // namespace visible_place
