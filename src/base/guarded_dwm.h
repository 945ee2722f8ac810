// The Desktop Window Manager behind the version guard: below major version 6 every call
// fails with -1 without touching the DWM, so its library is never loaded there, and
// composition reads as off. From version 6 on each call passes through unchanged.
#pragma once

#include "base/platform_checks.h"
#include "platform/dwm.h"

class GuardedDwm : public platform::Dwm {
 public:
  GuardedDwm(PlatformChecks& checks, platform::Dwm& dwm) : checks_(checks), dwm_(dwm) {}

  platform::HResult isCompositionEnabled(bool* enabled) override;
  platform::HResult getWindowAttribute(platform::Hwnd window, platform::Dword attribute,
                                       void* value, platform::Dword size) override;
  platform::HResult registerThumbnail(platform::Hwnd destination, platform::Hwnd source,
                                      platform::ThumbnailId* thumbnail) override;
  platform::HResult unregisterThumbnail(platform::ThumbnailId thumbnail) override;
  platform::HResult updateThumbnailProperties(
      platform::ThumbnailId thumbnail, const platform::ThumbnailProperties& properties) override;
  platform::HResult querySourceSize(platform::ThumbnailId thumbnail, platform::Size* size) override;
  platform::HResult extendFrameIntoClientArea(platform::Hwnd window,
                                              const platform::Margins& margins) override;

 private:
  static constexpr platform::HResult kNotAvailable = -1;

  PlatformChecks& checks_;
  platform::Dwm& dwm_;
};

// The two window attributes the program reads.
platform::HResult getExtendedFrameBounds(platform::Dwm& dwm, platform::Hwnd window,
                                         platform::Rect* rect);
platform::HResult getCloaked(platform::Dwm& dwm, platform::Hwnd window, platform::Dword* cloaked);
