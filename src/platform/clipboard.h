// The clipboard: the program only ever puts one bitmap on it.
#pragma once

#include "platform/types.h"

namespace platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // OpenClipboard: fails while another window has it open.
  virtual bool open(Hwnd owner) = 0;
  // EmptyClipboard: the opener becomes the owner.
  virtual bool empty() = 0;
  // SetClipboardData(CF_BITMAP): on success the bitmap is the clipboard's, no longer the
  // caller's; on failure it stays the caller's to delete.
  virtual bool setBitmap(BitmapHandle bitmap) = 0;
  virtual bool close() = 0;
};

}  // namespace platform
