// Points the diagnostic log at a simulated system's console for the life of a test.
#pragma once

#include "base/diagnostic_log.h"
#include "platform/sim/sim_system.h"

class LogCapture {
 public:
  explicit LogCapture(sim::SimSystem& system) : system_(system) {
    system_.consoleAttached = true;
    system_.stdoutTarget = sim::SimSystem::Stream::Console;
    diag::attach(&system_);
  }
  ~LogCapture() { diag::attach(nullptr); }
  const std::string& text() const { return system_.consoleOutput; }

 private:
  sim::SimSystem& system_;
};
