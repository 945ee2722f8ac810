// The copy of a preview's picture to the clipboard: one CF_BITMAP of the preview's client
// size, and no message in any case.
//
// Under composition the image is drawn by the Desktop Window Manager and is not in the
// preview's own device context, whose copy would be a plain background. So the picture is
// taken from the target itself: the part of it the preview shows, scaled to the client size.
// A preview that shows a picture taken by the program (no composition) copies that one.
// The preview's own client area is copied instead when it shows no part of the target (no
// thumbnail), when the target does not answer within a second, or when it cannot be printed.
#pragma once

#include "platform/platform.h"

class PreviewCopy {
 public:
  struct Ports {
    Ports(const platform::Platform& p)  // NOLINT: implicit, so a class passes its platform
        : messages(p.messages), drawing(p.drawing), clipboard(p.clipboard) {}
    platform::Messages& messages;
    platform::Drawing& drawing;
    platform::Clipboard& clipboard;
  };

  // Where the picture on the clipboard came from.
  enum class Picture { Target, Preview, None };

  explicit PreviewCopy(const Ports& ports) : ports_(ports) {}

  // `source`: the part of the target the preview shows, relative to the target's window
  // rectangle as the thumbnail's source is; empty when it shows none.
  Picture copy(platform::Hwnd preview, platform::Size client, platform::Hwnd target,
               const platform::Rect& source);
  // A preview showing a picture of its own copies that (`shown`, which the clipboard takes or
  // this deletes); without one, its client area (its icon and title).
  Picture copyPicture(platform::Hwnd preview, platform::Size client, platform::BitmapHandle shown);

 private:
  platform::BitmapHandle pictureOfTarget(platform::Hwnd target, const platform::Rect& source,
                                         platform::Size client);
  bool place(platform::Hwnd preview, platform::BitmapHandle bitmap);

  Ports ports_;
};
