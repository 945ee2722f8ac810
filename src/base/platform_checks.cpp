#include "base/platform_checks.h"

#include <cstring>

using namespace platform;

void PlatformChecks::queryOsVersion() {
  version_ = OsVersionInfo{};
  version_.size = sizeof(OsVersionInfo);
  if (system_.getVersion(version_) == 1) versionKnown_ = 1;
}

int32_t PlatformChecks::isVistaOrLater() {
  if (versionKnown_ == 0) queryOsVersion();
  return versionKnown_ == 1 && version_.majorVersion >= 6 ? 1 : 0;
}

int32_t PlatformChecks::isOsVersionAtLeast(uint32_t major, uint32_t minor, uint16_t servicePack) {
  OsVersionInfo info;
  info.size = sizeof(OsVersionInfo);
  // A failed read leaves the record zero: version 0.0, which is below anything asked for.
  system_.getVersion(info);
  if (info.majorVersion != major) return info.majorVersion > major ? 1 : 0;
  if (info.minorVersion != minor) return info.minorVersion > minor ? 1 : 0;
  if (servicePack == 0 || info.platformId != VER_PLATFORM_WIN32_NT) return 1;
  System::RegistryRead read =
      system_.readRegistryValue(RegistryRoot::LocalMachine,
                                "System\\CurrentControlSet\\Control\\Windows", KEY_QUERY_VALUE,
                                "CSDVersion", 4);
  if (read.error != ERROR_SUCCESS || read.data.size() != 4) return 0;
  uint32_t value = 0;
  memcpy(&value, read.data.data(), 4);
  return (value & 0xFFFF) >= servicePack ? 1 : 0;
}
