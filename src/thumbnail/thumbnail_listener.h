// What a preview reports to its owner, and the preview's life states.
#pragma once

#include "platform/types.h"

class Cthumbnail;

enum class ThumbState : int32_t {
  None = 0,             // the target was no window at creation
  Normal = 1,           // the target is shown normally
  Hidden = 2,           // the target is minimised: held restored but invisible and disabled
  Closing = 3,          // closed by the controller while the target still exists
  ClosingAnimated = 4,  // closed because the target went away
};

class CthumbnailListener {
 public:
  virtual void onArrange() = 0;
  virtual void onMoveHead(platform::Hwnd target) = 0;
  virtual void onMoveForward(platform::Hwnd target) = 0;
  virtual void onMoveBackward(platform::Hwnd target) = 0;
  virtual void onMoveTail(platform::Hwnd target) = 0;
  virtual void onExclude(platform::Hwnd target) = 0;
  // The preview's window was destroyed without its owner closing it (Alt+F4, say). The
  // preview calls this last: its owner may let it go here.
  virtual void onThumbnailGone(Cthumbnail* thumbnail) = 0;

 protected:
  ~CthumbnailListener() = default;
};
