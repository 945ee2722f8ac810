#include "thumbnail/preview_picture.h"

#include <algorithm>
#include <utility>

#include "base/diagnostic_log.h"

using namespace platform;

namespace {

// A way that worked is kept, and prints that gave nothing are skipped; now and then the better
// ways are tried again.
constexpr uint32_t kRetryEvery = 10;
// Polls come every 500 ms and a little late after a wait: a picture is due a little early.
constexpr uint32_t kSlackMs = 100;

}  // namespace

bool PreviewPicture::refresh(const Rect& window, const Rect& source, Size client,
                             bool screenAllowed) {
  // A picture of another part or size (zoomed, panned, refitted) is due at once.
  const Dword now = ports_.system.tickCount();
  const bool same = !held_ || (source == source_ && client == shownSize_);
  if (!same) wake();
  if (same && tried_ && now - lastTry_ < intervalMs_ - kSlackMs) return false;
  tried_ = true;
  lastTry_ = now;
  Windows& windows = ports_.windows;
  const Hwnd target = keeper_.target();
  if (client.cx <= 0 || client.cy <= 0 || source.width() <= 0 || source.height() <= 0 ||
      !windows.isWindowVisible(target) || windows.isIconic(target) || !keeper_.answersPoll() ||
      !freshFor(client)) {
    return false;
  }
  if (!iconAsked_) {
    iconAsked_ = true;
    icon_ = ports_.icons.windowIcon(target);
  }
  if (++sinceFull_ >= kRetryEvery) {
    sinceFull_ = 0;
    first_ = Way::Full;
  }
  const bool screen = screenAllowed && !keeper_.holdsTarget();
  for (Way way = first_; way <= Way::Screen; way = static_cast<Way>(static_cast<int>(way) + 1)) {
    if (way == Way::Screen && !screen) break;
    if (take(way, window, source)) {
      if (way != worked_) {
        static constexpr const char* kWays[] = {"printed", "printed (plain)", "the screen"};
        diag::print("picture of 0x%08x: %s\n", target.value, kWays[static_cast<int>(way)]);
        worked_ = way;
      }
      first_ = way;
      source_ = source;
      return show();
    }
    // A target too busy for the first print would only hold the program another second.
    if (way == Way::Full && ports_.messages.lastError() == ERROR_TIMEOUT) way = Way::Plain;
  }
  // The prints gave nothing (as Wine's of another process's window, held hidden where the
  // screen may not be copied): two calls a second for nothing until the next retry.
  first_ = Way::Screen;
  return false;
}

bool PreviewPicture::freshFor(Size client) {
  if (fresh_ && freshSize_ == client) return true;
  if (fresh_) ports_.drawing.deleteBitmap(fresh_);
  fresh_ = ports_.drawing.createPicture(client);
  freshSize_ = client;
  return static_cast<bool>(fresh_);
}

bool PreviewPicture::take(Way way, const Rect& window, const Rect& source) {
  Drawing& drawing = ports_.drawing;
  const Hwnd target = keeper_.target();
  if (way == Way::Screen) {
    return drawing.copyScreenInto(fresh_, {window.left + source.left, window.top + source.top,
                                           window.left + source.right, window.top + source.bottom});
  }
  return drawing.printWindowInto(fresh_, target, source,
                                 way == Way::Full ? PW_RENDERFULLCONTENT : 0) &&
         !drawing.isBlack(fresh_);
}

bool PreviewPicture::show() {
  const uint64_t hash = ports_.drawing.pixelHash(fresh_);
  if (held_ && freshSize_ == shownSize_ && hash == shownHash_) {
    // Nothing to draw, and the window may be standing still: the next picture a little later.
    intervalMs_ = std::min(intervalMs_ + kBackOffMs, kRestMs);
    return false;
  }
  std::swap(shown_, fresh_);
  std::swap(shownSize_, freshSize_);
  shownHash_ = hash;
  held_ = true;
  wake();
  return true;
}

void PreviewPicture::paint(Hwnd preview, const std::string& title) {
  if (held_) {
    ports_.drawing.paintBitmap(preview, shown_);
  } else {
    ports_.drawing.paintLabel(preview, icon_, title, kBackground);
  }
}

BitmapHandle PreviewPicture::shown(Size client) {
  if (!held_) return {};
  return ports_.drawing.placeBitmap(shown_, {0, 0, client.cx, client.cy}, client, kBackground);
}

void PreviewPicture::release() {
  for (BitmapHandle* bitmap : {&shown_, &fresh_}) {
    if (*bitmap) ports_.drawing.deleteBitmap(*bitmap);
    *bitmap = {};
  }
  shownSize_ = freshSize_ = {};
  held_ = false;
}
