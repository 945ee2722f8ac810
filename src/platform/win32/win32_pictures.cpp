// Pictures of the screen, composed bitmaps and the previews' painting of them.
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

}  // namespace

BitmapHandle Win32Windows::copyScreenPart(const Rect& area, Size size) {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (area.width() <= 0 || area.height() <= 0 || size.cx <= 0 || size.cy <= 0 || area.right <= x ||
      area.left >= x + w || area.bottom <= y || area.top >= y + h) {
    return {};
  }
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr) return {};
  MemoryBitmap part(screen.get(), size.cx, size.cy);
  if (!part.ready()) return {};
  halftone(part.dc());
  if (!StretchBlt(part.dc(), 0, 0, size.cx, size.cy, screen.get(), area.left, area.top,
                  area.width(), area.height(), SRCCOPY)) {
    return {};
  }
  return fromBitmap(part.take());
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
  SIZE size;
  if (!bitmapSize(toBitmap(bitmap), size)) return true;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
  const WindowDc screen(nullptr);
  if (screen.get() == nullptr ||
      GetDIBits(screen.get(), toBitmap(bitmap), 0, static_cast<UINT>(size.cy), pixels.data(), &info,
                DIB_RGB_COLORS) == 0) {
    return true;
  }
  for (const uint32_t pixel : pixels) {
    if ((pixel & 0xFFFFFFu) != 0) return false;
  }
  return true;
}

void Win32Windows::paintBitmap(Hwnd window, BitmapHandle bitmap) {
  HWND hwnd = toHwnd(window);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc == nullptr) return;
  RECT client;
  if (GetClientRect(hwnd, &client)) stretchOnto(dc, client, toBitmap(bitmap));
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
