// The executable name of each detected window's process, looked up once per window: a
// window's process never changes while the window exists, and the lookup (opening the
// process, enumerating its modules) is the costliest part of a scan.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/processes.h"

class ProcessNames {
 public:
  explicit ProcessNames(platform::Processes& processes) : processes_(processes) {}

  // The base name of `processId`'s executable for `window`; "" when it cannot be read (asked
  // again next time: the process may only just have started).
  std::string of(platform::Hwnd window, platform::Dword processId);
  // Forgets every window that is not in `present` (a scan's enumeration).
  void keepOnly(const std::vector<platform::Hwnd>& present);

 private:
  struct Known {
    platform::Dword processId;
    std::string name;
  };
  platform::Processes& processes_;
  std::map<uint32_t, Known> known_;  // by window handle
};
