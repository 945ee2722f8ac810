// Icons and image lists of small icons, for list views.
#pragma once

#include "platform/types.h"

namespace platform {

class Icons {
 public:
  virtual ~Icons() = default;
  // The program's own icon resource.
  virtual IconHandle loadIcon(int32_t resourceId) = 0;
  // LoadIcon(NULL, IDI_HAND): the system's error icon (not to be destroyed).
  virtual IconHandle errorIcon() = 0;
  virtual void destroyIcon(IconHandle icon) = 0;
  // Another window's icon, not to be destroyed: what it answers to WM_GETICON (a short wait,
  // none for a window the system knows hangs), else its class's icon, else the system's
  // application icon (under Wine neither answers for another process's window); none for no window.
  virtual IconHandle windowIcon(Hwnd window) = 0;
  virtual ImageListHandle createImageList(int32_t cx, int32_t cy, uint32_t flags, int32_t initial,
                                          int32_t grow) = 0;
  virtual void destroyImageList(ImageListHandle list) = 0;
  virtual void setImageListBkColor(ImageListHandle list, ColorRef color) = 0;
  // ImageList_ReplaceIcon(list, -1, icon): the new image's index, or -1.
  virtual int32_t imageListAddIcon(ImageListHandle list, IconHandle icon) = 0;
};

}  // namespace platform
