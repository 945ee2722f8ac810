// wine-driver commands of a shell that restarts:
//
//   tray-drop HWND ID            delete the notification icon (HWND, ID), as a shell that
//                                ends takes every icon with it
//   taskbar-created HWND         post HWND the registered "TaskbarCreated" message, as a
//                                new shell broadcasts it to every top-level window
#include "driver_util.h"  // <windows.h> before <shellapi.h>

#include <shellapi.h>

namespace {

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
  return -1;
}

const driver::CommandRegistration registration(ShellCommands);

}  // namespace
