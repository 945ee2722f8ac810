#include "detect/window_test.h"

#include "base/guarded_dwm.h"

using namespace platform;

WindowVerdict testWindow(Windows& windows, ProcessNames& processNames, Dwm& dwm, Hwnd window,
                         Hwnd ownPage, WindowEntry& entry) {
  if (window == ownPage) return WindowVerdict::OwnPage;

  constexpr uint32_t kRequired = WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  const uint32_t style = windows.getWindowLong(window, GWL_STYLE);
  if ((style & kRequired) != kRequired) {
    return WindowVerdict::NotAppWindow;
  }
  // Cloaked windows are as good as hidden; a failed query (older systems) means not cloaked.
  Dword cloaked = 0;
  if (getCloaked(dwm, window, &cloaked) >= 0 && cloaked != 0) return WindowVerdict::Cloaked;

  const std::string title = windows.getWindowText(window, 256);
  if (title.empty()) return WindowVerdict::NoTitle;
  if (title == "Program Manager") return WindowVerdict::ProgramManager;

  const Dword processId = windows.getWindowProcessId(window);
  const std::string processName = processNames.of(window, processId);
  if (processName.empty()) return WindowVerdict::NoProcessName;
  if (processName == kOwnExecutableName) return WindowVerdict::OwnProgram;

  Rect rect;
  // Minimised is the style's WS_MINIMIZE bit (what IsIconic reads): no second query.
  if ((style & WS_MINIMIZE) != 0) {
    WindowPlacement placement;
    if (!windows.getWindowPlacement(window, placement)) return WindowVerdict::EmptyRect;
    rect = placement.normalPosition;
  } else if (!windows.getWindowRect(window, rect)) {
    return WindowVerdict::EmptyRect;
  }
  if (rect.left == rect.right || rect.top == rect.bottom) return WindowVerdict::EmptyRect;

  entry = WindowEntry{window, processId, title, processName};
  return WindowVerdict::Accepted;
}
