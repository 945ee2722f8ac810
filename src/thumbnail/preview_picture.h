// The picture a preview shows where the Desktop Window Manager draws none (composition off,
// or no thumbnail for its target): taken by the program from the target while the preview is
// shown, at the preview's size, into a bitmap the preview keeps.
//
// PrintWindow first (with full content, then plain); where it gives nothing or black (as Wine
// gives for another process's window) the target's part of the screen, whatever covers it
// there. Prints that gave nothing are tried again only every tenth refresh, as the ways above
// the one that worked are. The screen is not copied for a target held hidden (it is out of sight,
// or transparent over what lies below it) nor while the preview itself may lie over it; then, as
// for a minimised target, the last picture stays. A target that does not answer the poll's probe is
// not asked for a picture at all. Until the first picture, the preview shows the target's icon and
// title.
//
// A picture is taken once a second; one that came out the same as the last (by a hash of its
// pixels) is neither drawn nor shown again, and puts the next half a second further off, up to
// kRestMs apart. A different picture, a new part or size, or a sign of life (wake) brings it
// back to every second.
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
  // How much later each picture that came out the same is followed by the next, and the most:
  // a change of a window that stood still reaches its preview within kRestMs and a poll.
  static constexpr uint32_t kBackOffMs = 500;
  static constexpr uint32_t kRestMs = 2500;
  static constexpr platform::ColorRef kBackground = platform::rgb(200, 200, 200);

  PreviewPicture(const Ports& ports, TargetKeeper& keeper) : ports_(ports), keeper_(keeper) {}
  ~PreviewPicture() { release(); }
  PreviewPicture(const PreviewPicture&) = delete;
  PreviewPicture& operator=(const PreviewPicture&) = delete;

  // A fresh picture of the part `source` of the target (relative to its window rectangle
  // `window`, as a thumbnail's source is) for a client of `client` size, when one is due (one of
  // another part or size at once). `screenAllowed`: the preview lies under the target, where a
  // copy of the screen cannot catch it. True when the picture shown changed.
  bool refresh(const platform::Rect& window, const platform::Rect& source, platform::Size client,
               bool screenAllowed);
  // The target showed a sign of life: a picture every second again.
  void wake() { intervalMs_ = kPeriodMs; }
  // The pictures came out the same lately, and are taken less often.
  bool resting() const { return intervalMs_ > kPeriodMs; }
  uint32_t intervalMs() const { return intervalMs_; }
  // WM_PAINT: the picture over the client area, else the icon and `title`.
  void paint(platform::Hwnd preview, const std::string& title);
  // A new bitmap of the picture at `client` size, for the clipboard; none without a picture.
  platform::BitmapHandle shown(platform::Size client);
  bool held() const { return held_; }
  void release();

 private:
  enum class Way { Full, Plain, Screen };
  // Into fresh_; false when that way gave nothing (or black, printed).
  bool take(Way way, const platform::Rect& window, const platform::Rect& source);
  // fresh_ at the client's size.
  bool freshFor(platform::Size client);
  // fresh_ becomes the picture shown unless it is the same; true when it did.
  bool show();

  Ports ports_;
  TargetKeeper& keeper_;
  platform::BitmapHandle shown_;  // the picture on show, once held_
  platform::BitmapHandle fresh_;  // where the next picture is taken
  platform::Size shownSize_, freshSize_;
  uint64_t shownHash_ = 0;
  bool held_ = false;
  platform::Rect source_;  // what the picture shows
  platform::Dword lastTry_ = 0;
  bool tried_ = false;
  uint32_t intervalMs_ = kPeriodMs;
  Way first_ = Way::Full;      // the way that gave the last picture, or Screen after none did
  std::optional<Way> worked_;  // logged when it changes
  uint32_t sinceFull_ = 0;     // refreshes since every way was last tried
  platform::IconHandle icon_;
  bool iconAsked_ = false;
};
