// The Desktop Window Manager (dwmapi). The adapter binds the library on first use; the
// program calls it only through the version guard of base/guarded_dwm.h.
#pragma once

#include "platform/types.h"

namespace platform {

class Dwm {
 public:
  virtual ~Dwm() = default;
  virtual HResult isCompositionEnabled(bool* enabled) = 0;
  virtual HResult getWindowAttribute(Hwnd window, Dword attribute, void* value, Dword size) = 0;
  virtual HResult registerThumbnail(Hwnd destination, Hwnd source, ThumbnailId* thumbnail) = 0;
  virtual HResult unregisterThumbnail(ThumbnailId thumbnail) = 0;
  virtual HResult updateThumbnailProperties(ThumbnailId thumbnail,
                                            const ThumbnailProperties& properties) = 0;
  virtual HResult querySourceSize(ThumbnailId thumbnail, Size* size) = 0;
  virtual HResult extendFrameIntoClientArea(Hwnd window, const Margins& margins) = 0;
};

}  // namespace platform
