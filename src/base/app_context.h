// What start-up hands down to the main panel and everything below it.
#pragma once

#include "base/command_line.h"
#include "base/platform_checks.h"
#include "base/version_string.h"
#include "platform/platform.h"

struct AppContext {
  explicit AppContext(platform::Platform& p)
      : platform(p), checks(p.system, p.dwm), version(p.system) {}

  platform::Platform& platform;
  Switches switches;
  PlatformChecks checks;
  VersionString version;
};
