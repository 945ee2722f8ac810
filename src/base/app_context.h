// What the application object builds at start-up: the version checks, the guarded DWM, the
// switches and the version text beside the port. No class below it takes this whole; each
// takes the ports it uses (its nested Ports), which start-up picks from here.
#pragma once

#include "base/command_line.h"
#include "base/guarded_dwm.h"
#include "base/platform_checks.h"
#include "base/version_string.h"
#include "platform/platform.h"

struct AppContext {
  explicit AppContext(platform::Platform& p)
      : checks(p.system),
        guardedDwm(checks, p.dwm),
        platform(p.replacing<platform::Dwm>(guardedDwm)),
        version(p.system) {}

  PlatformChecks checks;
  GuardedDwm guardedDwm;
  // The port as the program sees it: its DWM is the guarded one.
  platform::Platform platform;
  Switches switches;
  VersionString version;
};
