#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_bitmaps.h"

namespace win32 {

using namespace platform;

BitmapHandle Win32Windows::copyClientArea(Hwnd window, Size size) {
  const WindowDc windowDc(toHwnd(window));
  if (windowDc.get() == nullptr || size.cx <= 0 || size.cy <= 0) return {};
  MemoryBitmap copy(windowDc.get(), size.cx, size.cy);
  if (!copy.ready() || !BitBlt(copy.dc(), 0, 0, size.cx, size.cy, windowDc.get(), 0, 0, SRCCOPY)) {
    return {};
  }
  return fromBitmap(copy.take());
}

void Win32Windows::deleteBitmap(BitmapHandle bitmap) {
  DeleteObject(toBitmap(bitmap));
}

bool Win32Clipboard::open(Hwnd owner) {
  return OpenClipboard(toHwnd(owner)) != 0;
}
bool Win32Clipboard::empty() {
  return EmptyClipboard() != 0;
}
bool Win32Clipboard::setBitmap(BitmapHandle bitmap) {
  return SetClipboardData(CF_BITMAP, toBitmap(bitmap)) != nullptr;
}
bool Win32Clipboard::close() {
  return CloseClipboard() != 0;
}

}  // namespace win32
