#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_bitmaps.h"

#include <memory>
#include <utility>

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

BitmapHandle Win32Windows::printWindowPart(Hwnd window, const Rect& source, Size size,
                                           uint32_t flags) {
  RECT r;
  if (!GetWindowRect(toHwnd(window), &r) || size.cx <= 0 || size.cy <= 0) return {};
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return {};
  // Shared with the worker that prints: one the target keeps busy past the guard finishes
  // with it on its own.
  const auto whole =
      std::make_shared<MemoryBitmap>(screen.get(), r.right - r.left, r.bottom - r.top);
  MemoryBitmap part(screen.get(), size.cx, size.cy);
  if (!whole->ready() || !part.ready()) return {};
  const HWND target = toHwnd(window);
  if (guardedChange(target, [whole, target, flags]() -> uintptr_t {
        return PrintWindow(target, whole->dc(), flags) ? 1 : 0;
      }) == 0) {
    return {};
  }
  SetStretchBltMode(part.dc(), HALFTONE);
  SetBrushOrgEx(part.dc(), 0, 0, nullptr);  // as HALFTONE asks
  if (!StretchBlt(part.dc(), 0, 0, size.cx, size.cy, whole->dc(), source.left, source.top,
                  source.width(), source.height(), SRCCOPY)) {
    return {};
  }
  return fromBitmap(part.take());
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
