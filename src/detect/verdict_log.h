// The detector's refusals in the diagnostic log, once per window. Only windows that look like
// application windows (system menu, minimise box, visible) are logged: the hidden and tool
// windows a desktop holds by the hundred would bury everything else.
#pragma once

#include <map>
#include <vector>

#include "detect/window_test.h"
#include "platform/types.h"

class VerdictLog {
 public:
  // Logs the window's verdict unless it is Accepted, not worth a line, or the one this window
  // was last logged with.
  void note(platform::Hwnd window, WindowVerdict verdict);
  // Forgets every window that is not in `present`: one that comes back is logged afresh.
  void keepOnly(const std::vector<platform::Hwnd>& present);

 private:
  std::map<uint32_t, WindowVerdict> logged_;  // by window handle
};
