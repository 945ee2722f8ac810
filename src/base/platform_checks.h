// Shared tests of the system's version. The DWM is reached through GuardedDwm, which asks
// them before every call.
#pragma once

#include "platform/system.h"

class PlatformChecks {
 public:
  explicit PlatformChecks(platform::System& system) : system_(system) {}

  void queryOsVersion();
  // True when the OS version could be read and its major version is 6 or more.
  bool isVistaOrLater();
  // version >= major.minor, and for an equal version the service pack from the registry.
  bool isOsVersionAtLeast(uint32_t major, uint32_t minor, uint16_t servicePack);

 private:
  platform::System& system_;
  platform::OsVersionInfo version_;
  bool versionKnown_ = false;
};
