#include "base/platform_checks.h"

#include <cstring>

using namespace platform;

void PlatformChecks::queryOsVersion() {
  version_ = OsVersionInfo{};
  version_.size = sizeof(OsVersionInfo);
  if (system_.getVersion(version_)) versionKnown_ = true;
}

bool PlatformChecks::isVistaOrLater() {
  if (!versionKnown_) queryOsVersion();
  return versionKnown_ && version_.majorVersion >= 6;
}

bool PlatformChecks::isOsVersionAtLeast(uint32_t major, uint32_t minor, uint16_t servicePack) {
  OsVersionInfo info;
  info.size = sizeof(OsVersionInfo);
  // A failed read leaves the record zero: version 0.0, which is below anything asked for.
  system_.getVersion(info);
  if (info.majorVersion != major) return info.majorVersion > major;
  if (info.minorVersion != minor) return info.minorVersion > minor;
  if (servicePack == 0 || info.platformId != VER_PLATFORM_WIN32_NT) return true;
  System::RegistryRead read = system_.readRegistryValue(
      RegistryRoot::LocalMachine, "System\\CurrentControlSet\\Control\\Windows", KEY_QUERY_VALUE,
      "CSDVersion", 4);
  if (read.error != ERROR_SUCCESS || read.data.size() != 4) return false;
  uint32_t value = 0;
  memcpy(&value, read.data.data(), 4);
  return (value & 0xFFFF) >= servicePack;
}
