#include "thumbnail/preview_copy.h"

#include "keeping/answers.h"

using namespace platform;

PreviewCopy::Picture PreviewCopy::copy(Hwnd preview, Size client, Hwnd target, const Rect& source) {
  if (client.cx <= 0 || client.cy <= 0) return Picture::None;
  Picture picture = Picture::Target;
  BitmapHandle bitmap = pictureOfTarget(target, source, client);
  if (!bitmap) {
    picture = Picture::Preview;
    bitmap = ports_.drawing.copyClientArea(preview, client);
  }
  if (!bitmap || !place(preview, bitmap)) return Picture::None;
  return picture;
}

PreviewCopy::Picture PreviewCopy::copyPicture(Hwnd preview, Size client, BitmapHandle shown) {
  if (client.cx <= 0 || client.cy <= 0) {
    if (shown) ports_.drawing.deleteBitmap(shown);
    return Picture::None;
  }
  const Picture picture = shown ? Picture::Target : Picture::Preview;
  if (!shown) shown = ports_.drawing.copyClientArea(preview, client);
  if (!shown || !place(preview, shown)) return Picture::None;
  return picture;
}

BitmapHandle PreviewCopy::pictureOfTarget(Hwnd target, const Rect& source, Size client) {
  if (source.width() <= 0 || source.height() <= 0) return {};
  // PrintWindow waits for the target's answer: a hung one would hold the program for good.
  if (!answers(ports_.messages, target)) return {};
  // Full content draws what other renderers put in the window too, where the system has it.
  BitmapHandle bitmap =
      ports_.drawing.printWindowPart(target, source, client, PW_RENDERFULLCONTENT);
  // A target too busy for the first print would only hold the program another second.
  if (!bitmap && ports_.messages.lastError() != ERROR_TIMEOUT) {
    bitmap = ports_.drawing.printWindowPart(target, source, client, 0);
  }
  return bitmap;
}

bool PreviewCopy::place(Hwnd preview, BitmapHandle bitmap) {
  Clipboard& clipboard = ports_.clipboard;
  bool placed = false;
  if (clipboard.open(preview)) {
    // Set only on a clipboard emptied for us: one bitmap, not one beside others' data.
    placed = clipboard.empty() && clipboard.setBitmap(bitmap);
    clipboard.close();
  }
  // A bitmap the clipboard took is its own; one it did not is ours to delete.
  if (!placed) ports_.drawing.deleteBitmap(bitmap);
  return placed;
}
