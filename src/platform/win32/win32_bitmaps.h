// GDI helpers for the adapter's bitmaps: a memory context with a new bitmap, a window's
// device context, each released with its object.
#pragma once

#include <utility>

#include "platform/win32/win32_platform.h"

namespace win32 {

inline HBITMAP toBitmap(platform::BitmapHandle bitmap) {
  return reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(bitmap.value));
}
inline platform::BitmapHandle fromBitmap(HBITMAP bitmap) {
  return {reinterpret_cast<uintptr_t>(bitmap)};
}

// A memory context holding a new bitmap compatible with the screen; both go with it unless
// the bitmap is taken.
// A 32-bit top-down DIB section: its pixels lie in the program's memory.
inline HBITMAP newPictureBitmap(HDC screen, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

class MemoryBitmap {
 public:
  enum class Kind { Compatible, Picture };
  MemoryBitmap(HDC screen, int width, int height, Kind kind = Kind::Compatible)
      : dc_(CreateCompatibleDC(screen)),
        bitmap_(kind == Kind::Picture ? newPictureBitmap(screen, width, height)
                                      : CreateCompatibleBitmap(screen, width, height)) {
    if (dc_ != nullptr && bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryBitmap() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    if (dc_ != nullptr) DeleteDC(dc_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;
  bool ready() const { return old_ != nullptr; }
  HDC dc() const { return dc_; }
  // The bitmap, deselected, for the caller to own.
  HBITMAP take() {
    SelectObject(dc_, old_);
    old_ = nullptr;
    return std::exchange(bitmap_, nullptr);
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_ = nullptr;
};

// A memory context with a bitmap the caller keeps selected into it, for as long as it lives.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC screen, HBITMAP bitmap) : dc_(CreateCompatibleDC(screen)) {
    if (dc_ != nullptr && bitmap != nullptr) old_ = SelectObject(dc_, bitmap);
  }
  ~SelectedBitmap() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  bool ready() const { return old_ != nullptr; }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// A window's device context (the screen's for none) for as long as it lives.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace win32
