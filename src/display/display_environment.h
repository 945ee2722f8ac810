// The display environment of one run: the monitor list and the taskbar control, created at
// start-up (monitors first, then COM with the taskbar) and gone at shutdown. The application
// object owns it and hands it by reference to what needs it.
#pragma once

#include <vector>

#include "display/multi_display.h"
#include "display/taskbar_control.h"
#include "platform/monitors.h"
#include "platform/shell.h"

class DisplayEnvironment {
 public:
  // Asks for per-monitor DPI awareness, takes stock of the monitors, then initialises COM and
  // the taskbar control.
  // `layeredSwitch` is the "-LAYERED" command-line switch.
  DisplayEnvironment(platform::Monitors& monitors, platform::Shell& shell, bool layeredSwitch);
  DisplayEnvironment(const DisplayEnvironment&) = delete;
  DisplayEnvironment& operator=(const DisplayEnvironment&) = delete;

  const CMultiDisplay& display() const { return display_; }
  // The DPI of the monitor a rectangle lies on most.
  uint32_t dpiAt(const platform::Rect& rect);
  // After the system said the displays or the work area changed: takes stock again. True
  // when anything the previews are laid out by changed (a monitor, a work area, a DPI).
  bool refresh();
  CTaskBarControl& taskbar() { return taskbar_; }

  // Minimised targets are kept live by transparency in place (layered mode, or more than one
  // monitor, where a window far off the screen could land on another monitor) rather than
  // moved off the screen.
  bool transparentMethod() const { return layeredSwitch_ || display_.monitorCount > 1; }

 private:
  std::vector<uint32_t> dpis() const;

  platform::Monitors& monitors_;
  CMultiDisplay display_;
  std::vector<uint32_t> dpis_;  // of display_.monitors, in their order
  CTaskBarControl taskbar_;
  bool layeredSwitch_;
};
