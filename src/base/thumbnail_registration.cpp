#include "base/thumbnail_registration.h"

using namespace platform;

bool ThumbnailRegistration::registerFor(Hwnd destination, Hwnd source) {
  release();
  ThumbnailId id = 0;
  if (dwm_.registerThumbnail(destination, source, &id) < 0) return false;
  id_ = id;
  return true;
}

void ThumbnailRegistration::release() {
  if (id_ != 0) dwm_.unregisterThumbnail(id_);
  id_ = 0;
}
