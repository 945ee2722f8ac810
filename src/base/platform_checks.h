// Shared platform tests and the guarded entry points to the Desktop Window Manager: below
// major version 6 no DWM function is ever called, so the library is never loaded there.
#pragma once

#include "platform/dwm.h"
#include "platform/system.h"

class PlatformChecks {
 public:
  PlatformChecks(platform::System& system, platform::Dwm& dwm) : system_(system), dwm_(dwm) {}

  void queryOsVersion();
  // 1 when the OS version could be read and its major version is 6 or more.
  int32_t isVistaOrLater();
  // DwmIsCompositionEnabled on version 6 and later; elsewhere *enabled := FALSE and -1.
  platform::HResult queryComposition(platform::Bool* enabled);
  // version >= major.minor, and for an equal version the service pack from the registry.
  int32_t isOsVersionAtLeast(uint32_t major, uint32_t minor, uint16_t servicePack);

  // Each returns -1 below version 6, otherwise the DWM function's own result.
  platform::HResult dwmGetExtendedFrameBounds(platform::Hwnd window, platform::Rect* rect);
  platform::HResult dwmGetCloaked(platform::Hwnd window, platform::Dword* cloaked);
  platform::HResult dwmRegisterThumbnail(platform::Hwnd destination, platform::Hwnd source,
                                         platform::ThumbnailId* thumbnail);
  platform::HResult dwmUnregisterThumbnail(platform::ThumbnailId thumbnail);
  platform::HResult dwmUpdateThumbnailProperties(platform::ThumbnailId thumbnail,
                                                 const platform::ThumbnailProperties& properties);
  platform::HResult dwmQueryThumbnailSourceSize(platform::ThumbnailId thumbnail,
                                                platform::Size* size);
  platform::HResult dwmExtendFrameIntoClientArea(platform::Hwnd window,
                                                 const platform::Margins& margins);

 private:
  static constexpr platform::HResult kNotAvailable = -1;

  platform::System& system_;
  platform::Dwm& dwm_;
  platform::OsVersionInfo version_;
  int32_t versionKnown_ = 0;
};
