// Display monitors of the virtual screen, and their dots per inch.
#pragma once

#include <vector>

#include "platform/types.h"

namespace platform {

// How the process sees DPI: the forms Windows grew, weakest first.
enum class DpiAwareness { Unaware, System, PerMonitor, PerMonitorV2 };

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
  // The monitor's effective DPI (GetDpiForMonitor); where the system has no per-monitor DPI,
  // or for a handle that is no monitor, the system DPI (LOGPIXELSX of the screen).
  virtual uint32_t getDpi(MonitorHandle monitor) = 0;
  // Asks for the strongest awareness the system offers (per-monitor v2, per-monitor, system),
  // where the manifest did not already settle it, and answers what the process has now.
  virtual DpiAwareness enableDpiAwareness() = 0;
};

}  // namespace platform
