// bench-hello.exe: the smallest program with a tray icon, for scripts/wine-bench's
// start-up comparison: a hidden window, its icon, and nothing else. WM_CLOSE ends it.

#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <shellapi.h>

namespace {

NOTIFYICONDATAW TrayIcon(HWND hwnd) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = 0;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = WM_APP + 1;
  data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wcscpy(data.szTip, L"Quillmoor bench hello");
  return data;
}

LRESULT CALLBACK HelloProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    NOTIFYICONDATAW data = TrayIcon(hwnd);
    Shell_NotifyIconW(NIM_DELETE, &data);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = HelloProc;
  cls.hInstance = instance;
  cls.lpszClassName = L"QuillmoorBenchHello";
  if (!RegisterClassW(&cls)) return 1;
  HWND hwnd = CreateWindowExW(0, cls.lpszClassName, L"Quillmoor bench hello", WS_OVERLAPPEDWINDOW,
                              0, 0, 200, 100, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  NOTIFYICONDATAW data = TrayIcon(hwnd);
  if (!Shell_NotifyIconW(NIM_ADD, &data)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
