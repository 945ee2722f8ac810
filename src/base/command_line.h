// The two command-line switches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Switches {
  bool debugMode = false;    // "-K527": log to a console, detection page shown with the panel
  bool layeredMode = false;  // "-LAYERED": minimised targets kept live by transparency
};

// Arguments after argument 0 that equal a switch exactly (same case, nothing appended) count;
// anything else is ignored.
Switches parseSwitches(const std::vector<std::string>& arguments);
