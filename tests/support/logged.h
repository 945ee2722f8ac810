// Whether a test's record holds a line: the simulated desktop's actions, or the diagnostic log
// on its console.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"

namespace support {

// True when `line` is one of the recorded actions, exactly.
inline bool logged(const std::vector<std::string>& actions, const std::string& line) {
  return std::find(actions.begin(), actions.end(), line) != actions.end();
}

// True when the diagnostic log the program wrote to the console holds `text` anywhere.
inline bool loggedOnConsole(const sim::SimDesktop& desk, const std::string& text) {
  return desk.system.consoleOutput.find(text) != std::string::npos;
}

// How many times the console's diagnostic log holds `text`.
inline int timesOnConsole(const sim::SimDesktop& desk, const std::string& text) {
  int times = 0;
  for (size_t at = desk.system.consoleOutput.find(text); at != std::string::npos;
       at = desk.system.consoleOutput.find(text, at + 1)) {
    ++times;
  }
  return times;
}

}  // namespace support
