// Pictures of windows and of the screen, composed bitmaps and the previews' painting of them.
#include <memory>
#include <vector>

#include "platform/win32/win32_bitmaps.h"
#include "platform/win32/win32_platform.h"

namespace win32 {

using namespace platform;

namespace {

// Halftone stretching, with the brush origin it asks for.
void halftone(HDC dc) {
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
}

bool bitmapSize(HBITMAP bitmap, SIZE& size) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) == 0) return false;
  size = {info.bmWidth, info.bmHeight};
  return size.cx > 0 && size.cy > 0;
}

// `bitmap` stretched into `to` on `dc`.
bool stretchOnto(HDC dc, const RECT& to, HBITMAP bitmap) {
  SIZE size;
  if (!bitmapSize(bitmap, size)) return false;
  HDC source = CreateCompatibleDC(dc);
  if (source == nullptr) return false;
  HGDIOBJ old = SelectObject(source, bitmap);
  halftone(dc);
  const bool done = StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, source,
                               0, 0, size.cx, size.cy, SRCCOPY) != 0;
  SelectObject(source, old);
  DeleteDC(source);
  return done;
}

void fillWith(HDC dc, const RECT& rect, COLORREF color) {
  if (HBRUSH brush = CreateSolidBrush(color)) {
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
}

HICON iconFrom(uintptr_t value) {
  return reinterpret_cast<HICON>(value);
}

// The bitmap's pixels, 32 bits each, in any order of rows: where they lie for a picture (a DIB
// section), else copied into `copy`. Empty when there are none.
struct Pixels {
  const uint32_t* data = nullptr;
  size_t count = 0;
};
Pixels pixelsOf(HBITMAP bitmap, std::vector<uint32_t>& copy) {
  DIBSECTION section{};
  if (bitmap != nullptr && GetObjectW(bitmap, sizeof section, &section) == sizeof section &&
      section.dsBm.bmBits != nullptr && section.dsBm.bmBitsPixel == 32) {
    GdiFlush();  // drawing into it may still be queued
    return {static_cast<const uint32_t*>(section.dsBm.bmBits),
            static_cast<size_t>(section.dsBm.bmWidth) * static_cast<size_t>(section.dsBm.bmHeight)};
  }
  SIZE size;
  if (!bitmapSize(bitmap, size)) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  copy.resize(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr || GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(size.cy),
                                           copy.data(), &info, DIB_RGB_COLORS) == 0) {
    return {};
  }
  return {copy.data(), copy.size()};
}

// PrintWindow onto a new bitmap of `size`: the context's mapping scales the window's part
// `source` onto it on the way (halftone), so no bitmap of the window's size is made. Shared
// with the worker that prints, which a target busy past the guard keeps until it is done with
// it. None when printing failed or was given up.
std::shared_ptr<MemoryBitmap> printScaled(HWND target, const Rect& source, SIZE size,
                                          uint32_t flags, MemoryBitmap::Kind kind) {
  if (!IsWindow(target) || size.cx <= 0 || size.cy <= 0 || source.width() <= 0 ||
      source.height() <= 0) {
    return {};
  }
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return {};
  const auto print = std::make_shared<MemoryBitmap>(screen.get(), size.cx, size.cy, kind);
  if (!print->ready()) return {};
  const HDC dc = print->dc();
  halftone(dc);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, source.width(), source.height(), nullptr);
  SetViewportExtEx(dc, size.cx, size.cy, nullptr);
  SetWindowOrgEx(dc, source.left, source.top, nullptr);
  if (guardedChange(target, [print, target, flags]() -> uintptr_t {
        return PrintWindow(target, print->dc(), flags) ? 1 : 0;
      }) == 0) {
    return {};
  }
  // Pixels again for whoever copies from it.
  SetMapMode(dc, MM_TEXT);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  return print;
}

}  // namespace

BitmapHandle Win32Windows::createPicture(Size size) {
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr || size.cx <= 0 || size.cy <= 0) return {};
  return fromBitmap(newPictureBitmap(screen.get(), size.cx, size.cy));
}

BitmapHandle Win32Windows::printWindowPart(Hwnd window, const Rect& source, Size size,
                                           uint32_t flags) {
  const auto print = printScaled(toHwnd(window), source, {size.cx, size.cy}, flags,
                                 MemoryBitmap::Kind::Compatible);
  return print ? fromBitmap(print->take()) : BitmapHandle{};
}

bool Win32Windows::printWindowInto(BitmapHandle picture, Hwnd window, const Rect& source,
                                   uint32_t flags) {
  SIZE size;
  if (!bitmapSize(toBitmap(picture), size)) return false;
  const auto print = printScaled(toHwnd(window), source, size, flags, MemoryBitmap::Kind::Picture);
  const WindowDc screen(nullptr);
  if (!print || screen.get() == nullptr) return false;
  const SelectedBitmap into(screen.get(), toBitmap(picture));
  return into.ready() && BitBlt(into.dc(), 0, 0, size.cx, size.cy, print->dc(), 0, 0, SRCCOPY);
}

bool Win32Windows::copyScreenInto(BitmapHandle picture, const Rect& area) {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  SIZE size;
  if (!bitmapSize(toBitmap(picture), size) || area.width() <= 0 || area.height() <= 0 ||
      area.right <= x || area.left >= x + w || area.bottom <= y || area.top >= y + h) {
    return false;
  }
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return false;
  const SelectedBitmap into(screen.get(), toBitmap(picture));
  if (!into.ready()) return false;
  halftone(into.dc());
  return StretchBlt(into.dc(), 0, 0, size.cx, size.cy, screen.get(), area.left, area.top,
                    area.width(), area.height(), SRCCOPY) != 0;
}

uint64_t Win32Windows::pixelHash(BitmapHandle bitmap) {
  std::vector<uint32_t> copy;
  const Pixels pixels = pixelsOf(toBitmap(bitmap), copy);
  if (pixels.count == 0) return 0;
  // FNV-1a over the colours (the fourth byte is no colour: drawing leaves it as it likes).
  uint64_t hash = 0xcbf29ce484222325ull;
  for (size_t i = 0; i < pixels.count; ++i) {
    hash = (hash ^ (pixels.data[i] & 0xFFFFFFu)) * 0x100000001b3ull;
  }
  return hash;
}

BitmapHandle Win32Windows::placeBitmap(BitmapHandle part, const Rect& at, Size size,
                                       ColorRef background) {
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr || size.cx <= 0 || size.cy <= 0) return {};
  MemoryBitmap whole(screen.get(), size.cx, size.cy);
  if (!whole.ready()) return {};
  fillWith(whole.dc(), RECT{0, 0, size.cx, size.cy}, background);
  if (!stretchOnto(whole.dc(), RECT{at.left, at.top, at.right, at.bottom}, toBitmap(part))) {
    return {};
  }
  return fromBitmap(whole.take());
}

bool Win32Windows::isBlack(BitmapHandle bitmap) {
  std::vector<uint32_t> copy;
  const Pixels pixels = pixelsOf(toBitmap(bitmap), copy);
  for (size_t i = 0; i < pixels.count; ++i) {
    if ((pixels.data[i] & 0xFFFFFFu) != 0) return false;
  }
  return true;
}

void Win32Windows::paintBitmap(Hwnd window, BitmapHandle bitmap) {
  HWND hwnd = toHwnd(window);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc == nullptr) return;
  RECT client;
  SIZE size;
  if (GetClientRect(hwnd, &client) && bitmapSize(toBitmap(bitmap), size)) {
    if (size.cx == client.right && size.cy == client.bottom) {
      // A picture taken at the preview's size: copied as it is.
      const SelectedBitmap from(dc, toBitmap(bitmap));
      if (from.ready()) BitBlt(dc, 0, 0, size.cx, size.cy, from.dc(), 0, 0, SRCCOPY);
    } else {
      stretchOnto(dc, client, toBitmap(bitmap));
    }
  }
  EndPaint(hwnd, &paint);
}

void Win32Windows::paintLabel(Hwnd window, IconHandle icon, const std::string& text,
                              ColorRef background) {
  HWND hwnd = toHwnd(window);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd, &client);
  fillWith(dc, client, background);
  constexpr int kMargin = 4, kIcon = 32;
  RECT words{client.left + kMargin, client.top + kMargin, client.right - kMargin,
             client.bottom - kMargin};
  if (icon.value != 0 &&
      DrawIconEx(dc, kMargin, kMargin, iconFrom(icon.value), kIcon, kIcon, 0, nullptr, DI_NORMAL)) {
    words.left += kIcon + kMargin;
  }
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  std::wstring wide = fromProgramText(text);
  DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &words,
            DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(hwnd, &paint);
}

IconHandle Win32Windows::windowIcon(Hwnd window) {
  HWND hwnd = toHwnd(window);
  if (!IsWindow(hwnd)) return {};
  // Asked first (the icon it shows may be one it set itself); a short wait, none once hung.
  for (const WPARAM kind : {static_cast<WPARAM>(ICON_BIG), static_cast<WPARAM>(ICON_SMALL2)}) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 200,
                             &answer)) {
      break;
    }
    if (answer != 0) return {answer};
  }
  for (const int index : {GCLP_HICON, GCLP_HICONSM}) {
    if (const ULONG_PTR icon = GetClassLongPtrW(hwnd, index)) return {icon};
  }
  return {
      reinterpret_cast<uintptr_t>(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)))};
}

}  // namespace win32
