// The monitor list, taken once at start-up, primary monitor first.
#pragma once

#include <vector>

#include "platform/monitors.h"

using MonitorRecord = platform::MonitorInfo;

class CMultiDisplay {
 public:
  // The process-wide instance, created on the first call; deleted by deleteInstance().
  static CMultiDisplay* getInstance(platform::Monitors& monitors);
  static CMultiDisplay* existingInstance() { return instance_; }
  static void deleteInstance();

  explicit CMultiDisplay(platform::Monitors& monitors) : platform_(monitors) {}
  virtual ~CMultiDisplay() = default;

  // Records every monitor of the virtual screen and logs it.
  void enumMonitors();

  int32_t monitorCount = 0;
  std::vector<MonitorRecord> monitors;

 private:
  static CMultiDisplay* instance_;
  platform::Monitors& platform_;
};
