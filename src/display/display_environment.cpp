#include "display/display_environment.h"

namespace {

CMultiDisplay enumerated(platform::Monitors& monitors) {
  CMultiDisplay display(monitors);
  display.enumMonitors();
  return display;
}

}  // namespace

DisplayEnvironment::DisplayEnvironment(platform::Monitors& monitors, platform::Shell& shell,
                                       bool layeredSwitch)
    : display_(enumerated(monitors)), taskbar_(shell), layeredSwitch_(layeredSwitch) {}
