// Display monitors of the virtual screen.
#pragma once

#include <vector>

#include "platform/types.h"

namespace platform {

class Monitors {
 public:
  virtual ~Monitors() = default;
  struct Enumerated {
    MonitorHandle handle;
    Rect rect;  // the rectangle that EnumDisplayMonitors passes for the monitor
  };
  // EnumDisplayMonitors(NULL, NULL, ...): every monitor, in the system's order.
  virtual std::vector<Enumerated> enumerate() = 0;
  // GetMonitorInfoA; `info.size` is set by the caller.
  virtual bool getInfo(MonitorHandle monitor, MonitorInfo& info) = 0;
  // MonitorFromRect(MONITOR_DEFAULTTONEAREST): the monitor a rectangle lies on most.
  virtual MonitorHandle fromRect(const Rect& rect) = 0;
};

}  // namespace platform
