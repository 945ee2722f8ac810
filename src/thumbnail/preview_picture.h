// The picture a preview shows where the Desktop Window Manager draws none (composition off,
// or no thumbnail for its target): taken by the program from the target, refreshed at most
// once a second while the preview is shown.
//
// PrintWindow first (with full content, then plain); where it gives nothing or black (as Wine
// gives for another process's window) the target's part of the screen, whatever covers it
// there. Prints that gave nothing are tried again only every tenth refresh, as the ways above
// the one that worked are. The screen is not copied for a target held hidden (it is out of sight,
// or transparent over what lies below it) nor while the preview itself may lie over it; then, as
// for a minimised target, the last picture stays. A target that does not answer the poll's probe is
// not asked for a picture at all. Until the first picture, the preview shows the target's icon and
// title.
#pragma once

#include <optional>
#include <string>

#include "keeping/target_keeper.h"
#include "platform/platform.h"

class PreviewPicture {
 public:
  struct Ports {
    Ports(const platform::Platform& p)  // NOLINT: implicit, so a class passes its platform
        : windows(p.windows),
          messages(p.messages),
          drawing(p.drawing),
          icons(p.icons),
          system(p.system) {}
    platform::Windows& windows;
    platform::Messages& messages;
    platform::Drawing& drawing;
    platform::Icons& icons;
    platform::System& system;
  };
  static constexpr uint32_t kPeriodMs = 1000;
  static constexpr platform::ColorRef kBackground = platform::rgb(200, 200, 200);

  PreviewPicture(const Ports& ports, TargetKeeper& keeper) : ports_(ports), keeper_(keeper) {}
  ~PreviewPicture() { release(); }
  PreviewPicture(const PreviewPicture&) = delete;
  PreviewPicture& operator=(const PreviewPicture&) = delete;

  // A fresh picture of the part `source` of the target (relative to its window rectangle, as a
  // thumbnail's source is) for a client of `client` size, unless one was taken less than a
  // period ago (one of another part or size is taken at once). `screenAllowed`: the preview lies
  // under the target, where a copy of the screen cannot catch it. True when the picture changed.
  bool refresh(const platform::Rect& source, platform::Size client, bool screenAllowed);
  // WM_PAINT: the picture over the client area, else the icon and `title`.
  void paint(platform::Hwnd preview, const std::string& title);
  // A new bitmap of the picture at `client` size, for the clipboard; none without a picture.
  platform::BitmapHandle shown(platform::Size client);
  bool held() const { return bitmap_.value != 0; }
  void release();

 private:
  enum class Way { Full, Plain, Screen };
  platform::BitmapHandle take(Way way, const platform::Rect& source, platform::Size client);

  Ports ports_;
  TargetKeeper& keeper_;
  platform::BitmapHandle bitmap_;
  platform::Rect source_;  // what it shows, and at what size
  platform::Size client_;
  platform::Dword lastTry_ = 0;
  bool tried_ = false;
  Way first_ = Way::Full;      // the way that gave the last picture, or Screen after none did
  std::optional<Way> worked_;  // logged when it changes
  uint32_t sinceFull_ = 0;     // refreshes since every way was last tried
  platform::IconHandle icon_;
  bool iconAsked_ = false;
};
