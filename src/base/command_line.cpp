#include "base/command_line.h"

Switches parseSwitches(const std::vector<std::string>& arguments) {
  Switches switches;
  for (size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == "-K527") switches.debugMode = true;
    if (arguments[i] == "-LAYERED") switches.layeredMode = true;
  }
  return switches;
}
