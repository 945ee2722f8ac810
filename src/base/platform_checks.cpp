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

HResult PlatformChecks::queryComposition(Bool* enabled) {
  if (isVistaOrLater()) return dwm_.isCompositionEnabled(enabled);
  if (enabled != nullptr) *enabled = 0;
  return kNotAvailable;
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

HResult PlatformChecks::dwmGetExtendedFrameBounds(Hwnd window, Rect* rect) {
  if (!isVistaOrLater()) return kNotAvailable;
  return dwm_.getWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, rect, sizeof(Rect));
}

HResult PlatformChecks::dwmGetCloaked(Hwnd window, Dword* cloaked) {
  if (!isVistaOrLater()) return kNotAvailable;
  return dwm_.getWindowAttribute(window, DWMWA_CLOAKED, cloaked, sizeof(Dword));
}

HResult PlatformChecks::dwmRegisterThumbnail(Hwnd destination, Hwnd source,
                                             ThumbnailId* thumbnail) {
  if (!isVistaOrLater()) return kNotAvailable;
  return dwm_.registerThumbnail(destination, source, thumbnail);
}

HResult PlatformChecks::dwmUnregisterThumbnail(ThumbnailId thumbnail) {
  if (!isVistaOrLater()) return kNotAvailable;
  return dwm_.unregisterThumbnail(thumbnail);
}

HResult PlatformChecks::dwmUpdateThumbnailProperties(ThumbnailId thumbnail,
                                                     const ThumbnailProperties& properties) {
  if (!isVistaOrLater()) return kNotAvailable;
  return dwm_.updateThumbnailProperties(thumbnail, properties);
}

HResult PlatformChecks::dwmQueryThumbnailSourceSize(ThumbnailId thumbnail, Size* size) {
  if (!isVistaOrLater()) return kNotAvailable;
  return dwm_.querySourceSize(thumbnail, size);
}

HResult PlatformChecks::dwmExtendFrameIntoClientArea(Hwnd window, const Margins& margins) {
  if (!isVistaOrLater()) return kNotAvailable;
  return dwm_.extendFrameIntoClientArea(window, margins);
}
