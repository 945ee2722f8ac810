#include "thumbnail/preview_picture.h"

#include "base/diagnostic_log.h"

using namespace platform;

namespace {

// A way that worked is kept, and prints that gave nothing are skipped; now and then the better
// ways are tried again.
constexpr uint32_t kRetryEvery = 10;

}  // namespace

bool PreviewPicture::refresh(const Rect& source, Size client, bool screenAllowed) {
  // Polls come every 500 ms and a little late after a wait: "a second" with some slack.
  // A picture of another part or size (zoomed, panned, refitted) is due at once.
  const Dword now = ports_.system.tickCount();
  const bool same =
      !held() || (source == source_ && client.cx == client_.cx && client.cy == client_.cy);
  if (same && tried_ && now - lastTry_ < kPeriodMs - 100) return false;
  tried_ = true;
  lastTry_ = now;
  Windows& windows = ports_.windows;
  const Hwnd target = keeper_.target();
  if (client.cx <= 0 || client.cy <= 0 || source.width() <= 0 || source.height() <= 0 ||
      !windows.isWindowVisible(target) || windows.isIconic(target) || !keeper_.answersPoll()) {
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
    if (const BitmapHandle fresh = take(way, source, client)) {
      if (way != worked_) {
        static constexpr const char* kWays[] = {"printed", "printed (plain)", "the screen"};
        diag::print("picture of 0x%08x: %s\n", target.value, kWays[static_cast<int>(way)]);
        worked_ = way;
      }
      first_ = way;
      release();
      bitmap_ = fresh;
      source_ = source;
      client_ = client;
      return true;
    }
    // A target too busy for the first print would only hold the program another second.
    if (way == Way::Full && ports_.messages.lastError() == ERROR_TIMEOUT) way = Way::Plain;
  }
  // The prints gave nothing (as Wine's of another process's window, held hidden where the
  // screen may not be copied): two calls a second for nothing until the next retry.
  first_ = Way::Screen;
  return false;
}

BitmapHandle PreviewPicture::take(Way way, const Rect& source, Size client) {
  Drawing& drawing = ports_.drawing;
  const Hwnd target = keeper_.target();
  if (way == Way::Screen) {
    Rect window;
    if (!ports_.windows.getWindowRect(target, window)) return {};
    return drawing.copyScreenPart({window.left + source.left, window.top + source.top,
                                   window.left + source.right, window.top + source.bottom},
                                  client);
  }
  const BitmapHandle printed =
      drawing.printWindowPart(target, source, client, way == Way::Full ? PW_RENDERFULLCONTENT : 0);
  if (printed && drawing.isBlack(printed)) {
    drawing.deleteBitmap(printed);
    return {};
  }
  return printed;
}

void PreviewPicture::paint(Hwnd preview, const std::string& title) {
  if (held()) {
    ports_.drawing.paintBitmap(preview, bitmap_);
  } else {
    ports_.drawing.paintLabel(preview, icon_, title, kBackground);
  }
}

BitmapHandle PreviewPicture::shown(Size client) {
  if (!held()) return {};
  return ports_.drawing.placeBitmap(bitmap_, {0, 0, client.cx, client.cy}, client, kBackground);
}

void PreviewPicture::release() {
  if (held()) ports_.drawing.deleteBitmap(bitmap_);
  bitmap_ = {};
}
