// Points the diagnostic log at a simulated desktop's console for the life of a test.
#pragma once

#include "base/diagnostic_log.h"
#include "platform/sim/sim_desktop.h"

class LogCapture {
 public:
  explicit LogCapture(sim::SimDesktop& desk) : desk_(desk) {
    desk_.system.consoleAttached = true;
    desk_.system.stdoutTarget = sim::SimSystem::Stream::Console;
    diag::attach(&desk_.platform().system);
  }
  ~LogCapture() { diag::attach(nullptr); }
  const std::string& text() const { return desk_.system.consoleOutput; }

 private:
  sim::SimDesktop& desk_;
};
