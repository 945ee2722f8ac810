// One thumbnail registered with the Desktop Window Manager, owned: it is unregistered when
// released, replaced, or when its owner goes.
#pragma once

#include "platform/dwm.h"

class ThumbnailRegistration {
 public:
  explicit ThumbnailRegistration(platform::Dwm& dwm) : dwm_(dwm) {}
  ~ThumbnailRegistration() { release(); }
  ThumbnailRegistration(const ThumbnailRegistration&) = delete;
  ThumbnailRegistration& operator=(const ThumbnailRegistration&) = delete;

  // Registers the source's image for the destination, after releasing any held; false, and
  // nothing held, when the DWM refuses.
  bool registerFor(platform::Hwnd destination, platform::Hwnd source);
  void release();

  bool held() const { return id_ != 0; }
  platform::ThumbnailId id() const { return id_; }
  // Passed on as they are, also without a registration (the DWM then refuses id 0).
  platform::HResult update(const platform::ThumbnailProperties& properties) {
    return dwm_.updateThumbnailProperties(id_, properties);
  }
  platform::HResult querySourceSize(platform::Size* size) {
    return dwm_.querySourceSize(id_, size);
  }

 private:
  platform::Dwm& dwm_;
  platform::ThumbnailId id_ = 0;
};
