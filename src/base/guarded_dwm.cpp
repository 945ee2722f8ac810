#include "base/guarded_dwm.h"

using namespace platform;

HResult GuardedDwm::isCompositionEnabled(bool* enabled) {
  if (checks_.isVistaOrLater()) return dwm_.isCompositionEnabled(enabled);
  if (enabled != nullptr) *enabled = 0;
  return kNotAvailable;
}

HResult GuardedDwm::getWindowAttribute(Hwnd window, Dword attribute, void* value, Dword size) {
  if (!checks_.isVistaOrLater()) return kNotAvailable;
  return dwm_.getWindowAttribute(window, attribute, value, size);
}

HResult GuardedDwm::registerThumbnail(Hwnd destination, Hwnd source, ThumbnailId* thumbnail) {
  if (!checks_.isVistaOrLater()) return kNotAvailable;
  return dwm_.registerThumbnail(destination, source, thumbnail);
}

HResult GuardedDwm::unregisterThumbnail(ThumbnailId thumbnail) {
  if (!checks_.isVistaOrLater()) return kNotAvailable;
  return dwm_.unregisterThumbnail(thumbnail);
}

HResult GuardedDwm::updateThumbnailProperties(ThumbnailId thumbnail,
                                              const ThumbnailProperties& properties) {
  if (!checks_.isVistaOrLater()) return kNotAvailable;
  return dwm_.updateThumbnailProperties(thumbnail, properties);
}

HResult GuardedDwm::querySourceSize(ThumbnailId thumbnail, Size* size) {
  if (!checks_.isVistaOrLater()) return kNotAvailable;
  return dwm_.querySourceSize(thumbnail, size);
}

HResult GuardedDwm::extendFrameIntoClientArea(Hwnd window, const Margins& margins) {
  if (!checks_.isVistaOrLater()) return kNotAvailable;
  return dwm_.extendFrameIntoClientArea(window, margins);
}

HResult getExtendedFrameBounds(Dwm& dwm, Hwnd window, Rect* rect) {
  return dwm.getWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, rect, sizeof(Rect));
}

HResult getCloaked(Dwm& dwm, Hwnd window, Dword* cloaked) {
  return dwm.getWindowAttribute(window, DWMWA_CLOAKED, cloaked, sizeof(Dword));
}
