// The monitor list, taken once at start-up, primary monitor first. The application object
// owns the one instance (see display_environment.h).
#pragma once

#include <vector>

#include "platform/monitors.h"

using MonitorRecord = platform::MonitorInfo;

class CMultiDisplay {
 public:
  explicit CMultiDisplay(platform::Monitors& monitors) : platform_(monitors) {}
  virtual ~CMultiDisplay() = default;

  // Records every monitor of the virtual screen and logs it.
  void enumMonitors();

  int32_t monitorCount = 0;
  std::vector<MonitorRecord> monitors;

 private:
  platform::Monitors& platform_;
};
