// One detected window, and the interface through which the detector reports them.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

struct WindowEntry {
  platform::Hwnd hwnd;  // the identity compared between scans
  platform::Dword processId = 0;
  std::string title;        // as read by the scan that found the window, at most 255 bytes
  std::string processName;  // executable base name
  // The executable's full path, for its icon: read once when the window gets a preview (the
  // detector leaves it empty; it asks only for the base name).
  std::string imagePath{};
};

// The detector's receiver. The list belongs to the detector and lasts only for the call: a
// listener copies what it keeps. A null or empty list means nothing to do.
class CWinListListener {
 public:
  virtual void AddWindow(const std::vector<WindowEntry>* list) = 0;
  virtual void DelWindow(const std::vector<WindowEntry>* list) = 0;

 protected:
  ~CWinListListener() = default;
};
