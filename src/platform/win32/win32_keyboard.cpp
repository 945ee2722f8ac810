// The keyboard: the low-level hook, key names, the caret, and the text a control paints.
#include "platform/win32/win32_platform.h"

namespace win32 {

namespace p = platform;

namespace {

// One hook for the process; the hook procedure runs on the thread that installed it.
HHOOK g_hook = nullptr;
p::KeyboardSink* g_sink = nullptr;

LRESULT CALLBACK keyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_sink != nullptr && lParam != 0) {
    const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (g_sink->onKeyEvent(static_cast<uint32_t>(wParam), static_cast<int32_t>(event.vkCode))) {
      return 1;
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Keys whose scan code is shared with a key of the numeric pad: without the extended bit
// GetKeyNameText names the pad's key ("Num Del" for Delete).
bool extendedKey(int32_t vk) {
  switch (vk) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_SNAPSHOT:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool Win32Windows::installKeyboardHook(p::KeyboardSink& sink) {
  if (g_hook != nullptr) return false;
  g_sink = &sink;
  g_hook = SetWindowsHookExW(WH_KEYBOARD_LL, &keyboardHookProc, GetModuleHandleW(nullptr), 0);
  if (g_hook == nullptr) g_sink = nullptr;
  return g_hook != nullptr;
}

bool Win32Windows::removeKeyboardHook(p::KeyboardSink& sink) {
  if (g_hook == nullptr || g_sink != &sink) return false;
  UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_sink = nullptr;
  return true;
}

std::string Win32Windows::keyName(int32_t virtualKey) {
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
  LONG code = static_cast<LONG>((scan & 0xFF) << 16);
  if (extendedKey(virtualKey)) code |= 1 << 24;
  for (int size = 128;; size *= 2) {
    std::wstring name(static_cast<size_t>(size), L'\0');
    const int length = GetKeyNameTextW(code, name.data(), size);
    if (length < size - 1 || size >= 4096) {
      name.resize(length > 0 ? static_cast<size_t>(length) : 0);
      return toProgramText(name);
    }
  }
}

void Win32Windows::setCaretPos(p::Point at) {
  SetCaretPos(at.x, at.y);
}

int32_t Win32Windows::paintText(p::Hwnd window, const std::string& text, p::Point at) {
  HWND hwnd = toHwnd(window);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc == nullptr) return 0;
  auto font = reinterpret_cast<HFONT>(SendMessageW(GetParent(hwnd), WM_GETFONT, 0, 0));
  HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  const std::wstring wide = fromProgramText(text);
  const int length = static_cast<int>(wide.size());
  TextOutW(dc, at.x, at.y, wide.c_str(), length);
  SIZE extent{};
  GetTextExtentPoint32W(dc, wide.c_str(), length, &extent);
  if (previous != nullptr) SelectObject(dc, previous);
  EndPaint(hwnd, &paint);
  return extent.cx;
}

bool Win32Windows::redrawNow(p::Hwnd window) {
  return RedrawWindow(toHwnd(window), nullptr, nullptr,
                      RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW) != 0;
}

}  // namespace win32
