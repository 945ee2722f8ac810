// wine-driver commands of a shell that restarts:
//
//   tray-drop HWND ID            delete the notification icon (HWND, ID), as a shell that
//                                ends takes every icon with it
//   taskbar-created HWND         post HWND the registered "TaskbarCreated" message, as a
//                                new shell broadcasts it to every top-level window
//   popup-time HWND MSG WPARAM LPARAM TIMEOUT_MS
//                                post the message (a click on a tray icon) and print
//                                "menu=HWND ms=MS" once a pop-up menu is on show, MS the
//                                milliseconds since the post
#include "driver_util.h"  // <windows.h> before <shellapi.h>

#include <shellapi.h>

namespace {

BOOL CALLBACK FindMenu(HWND hwnd, LPARAM found) {
  wchar_t name[16] = {};
  if (IsWindowVisible(hwnd) && GetClassNameW(hwnd, name, 16) > 0 &&
      std::wstring(name) == L"#32768") {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

int PopupTime(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!PostMessageW(hwnd, message, wParam, lParam)) return driver::Fail("post failed");
  for (;;) {
    HWND menu = nullptr;
    EnumWindows(FindMenu, reinterpret_cast<LPARAM>(&menu));
    QueryPerformanceCounter(&now);
    const double ms = static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
                      static_cast<double>(frequency.QuadPart);
    if (menu != nullptr) {
      char line[64];
      std::snprintf(line, sizeof line, "menu=%s ms=%.1f", driver::Hex(menu).c_str(), ms);
      driver::PrintLine(line);
      return 0;
    }
    if (ms > timeoutMs) return driver::Fail("no pop-up menu in time");
    Sleep(1);
  }
}

int ShellCommands(int argc, wchar_t** argv) {
  const std::wstring cmd = argc > 1 ? argv[1] : L"";
  HWND hwnd = nullptr;
  unsigned long id = 0;
  if (cmd == L"tray-drop" && argc == 4) {
    if (!driver::ParseWindow(argv[2], hwnd) || !driver::ParseNumber(argv[3], id)) return 2;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = id;
    return Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : driver::Fail("no such icon");
  }
  if (cmd == L"taskbar-created" && argc == 3) {
    if (!driver::ParseWindow(argv[2], hwnd)) return 2;
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message != 0 && PostMessageW(hwnd, message, 0, 0) ? 0 : driver::Fail("post failed");
  }
  unsigned long message = 0, wParam = 0, lParam = 0, timeout = 0;
  if (cmd == L"popup-time" && argc == 7) {
    if (!driver::ParseWindow(argv[2], hwnd) || !driver::ParseNumber(argv[3], message) ||
        !driver::ParseNumber(argv[4], wParam) || !driver::ParseNumber(argv[5], lParam) ||
        !driver::ParseNumber(argv[6], timeout)) {
      return 2;
    }
    return PopupTime(hwnd, message, wParam, lParam, timeout);
  }
  return -1;
}

const driver::CommandRegistration registration(ShellCommands);

}  // namespace
