// Plain windows' drawing and placing, other programs' windows, hot-keys and image lists:
// straight mappings onto the API; changes to other programs' windows through guardedChange.
#include "platform/win32/win32_platform.h"

#include <commctrl.h>

namespace win32 {

namespace p = platform;

namespace {

HIMAGELIST imageListOf(p::ImageListHandle list) {
  return reinterpret_cast<HIMAGELIST>(list.value);
}

HICON iconOf(p::IconHandle icon) {
  return reinterpret_cast<HICON>(icon.value);
}

void fill(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  if (brush == nullptr) return;
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

}  // namespace

bool Win32Windows::animateWindow(p::Hwnd window, p::Dword milliseconds, p::Dword flags) {
  return AnimateWindow(toHwnd(window), milliseconds, flags) != 0;
}

bool Win32Windows::moveWindow(p::Hwnd window, int32_t x, int32_t y, int32_t cx, int32_t cy,
                              bool repaint) {
  return guardedChange(toHwnd(window), [=, hwnd = toHwnd(window)]() -> uintptr_t {
           return MoveWindow(hwnd, x, y, cx, cy, repaint) != 0;
         }) != 0;
}

bool Win32Windows::adjustWindowRect(p::Rect& rect, uint32_t style, uint32_t exStyle) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  if (!AdjustWindowRectEx(&r, style, FALSE, exStyle)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

void Win32Windows::fillRect(p::DeviceContext dc, const p::Rect& rect, p::ColorRef color) {
  fill(reinterpret_cast<HDC>(dc.value), RECT{rect.left, rect.top, rect.right, rect.bottom}, color);
}

void Win32Windows::paintFill(p::Hwnd window, p::ColorRef color) {
  HWND hwnd = toHwnd(window);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc == nullptr) return;
  RECT client;
  if (GetClientRect(hwnd, &client)) fill(dc, client, color);
  EndPaint(hwnd, &paint);
}

bool Win32Windows::setWindowPlacement(p::Hwnd window, const p::WindowPlacement& placement) {
  WINDOWPLACEMENT wp{};
  wp.length = placement.length;
  wp.flags = placement.flags;
  wp.showCmd = placement.showCmd;
  wp.ptMinPosition = {placement.minPosition.x, placement.minPosition.y};
  wp.ptMaxPosition = {placement.maxPosition.x, placement.maxPosition.y};
  const p::Rect& n = placement.normalPosition;
  wp.rcNormalPosition = {n.left, n.top, n.right, n.bottom};
  return guardedChange(toHwnd(window), [wp, hwnd = toHwnd(window)]() -> uintptr_t {
           return SetWindowPlacement(hwnd, &wp) != 0;
         }) != 0;
}

bool Win32Windows::getLayeredWindowAttributes(p::Hwnd window, p::ColorRef& key, uint8_t& alpha,
                                              p::Dword& flags) {
  COLORREF k = 0;
  BYTE a = 0;
  DWORD f = 0;
  if (!GetLayeredWindowAttributes(toHwnd(window), &k, &a, &f)) return false;
  key = k;
  alpha = a;
  flags = f;
  return true;
}

bool Win32Windows::setLayeredWindowAttributes(p::Hwnd window, p::ColorRef key, uint8_t alpha,
                                              p::Dword flags) {
  return guardedChange(toHwnd(window), [=, hwnd = toHwnd(window)]() -> uintptr_t {
           return SetLayeredWindowAttributes(hwnd, key, alpha, flags) != 0;
         }) != 0;
}

p::TimedResult Win32Windows::sendMessageTimeout(p::Hwnd window, uint32_t message, p::WParam wParam,
                                                p::LParam lParam, uint32_t flags,
                                                uint32_t milliseconds) {
  stayOutOfTheCrash();
  DWORD_PTR result = 0;
  LRESULT answered =
      SendMessageTimeoutW(toHwnd(window), message, wParam, lParam, flags, milliseconds, &result);
  return {answered != 0, static_cast<p::LResult>(result)};
}

bool Win32Windows::registerHotKey(p::Hwnd window, int32_t id, uint32_t modifiers, uint32_t key) {
  return RegisterHotKey(toHwnd(window), id, modifiers, key) != 0;
}

bool Win32Windows::unregisterHotKey(p::Hwnd window, int32_t id) {
  return UnregisterHotKey(toHwnd(window), id) != 0;
}

p::ImageListHandle Win32Windows::createImageList(int32_t cx, int32_t cy, uint32_t flags,
                                                 int32_t initial, int32_t grow) {
  return p::ImageListHandle{
      reinterpret_cast<uintptr_t>(ImageList_Create(cx, cy, flags, initial, grow))};
}

void Win32Windows::destroyImageList(p::ImageListHandle list) {
  if (list.value != 0) ImageList_Destroy(imageListOf(list));
}

void Win32Windows::setImageListBkColor(p::ImageListHandle list, p::ColorRef color) {
  ImageList_SetBkColor(imageListOf(list), color);
}

int32_t Win32Windows::imageListAddIcon(p::ImageListHandle list, p::IconHandle icon) {
  return ImageList_ReplaceIcon(imageListOf(list), -1, iconOf(icon));
}

void Win32Windows::listViewSetImageList(p::Hwnd list, p::ImageListHandle images, uint32_t which) {
  SendMessageW(toHwnd(list), LVM_SETIMAGELIST, which,
               reinterpret_cast<LPARAM>(imageListOf(images)));
}

p::IconHandle Win32Windows::errorIcon() {
  // IDI_HAND is the narrow resource name without UNICODE: the same number either way.
  HICON icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_HAND));
  return p::IconHandle{reinterpret_cast<uintptr_t>(icon)};
}

void Win32Windows::destroyIcon(p::IconHandle icon) {
  if (icon.value != 0) DestroyIcon(iconOf(icon));
}

}  // namespace win32
