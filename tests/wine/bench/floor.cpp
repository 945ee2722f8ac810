// bench-floor.exe: the least a watcher of the desktop's windows can do, as the yardstick
// for scripts/wine-bench. A hidden window; every second it enumerates the top-level
// windows and reads each one's styles and title, and the executable name only of a window
// it has not seen before; each ordinary window (up to 16, or the number given as its argument,
// at most 128) gets a 500 ms poll of IsWindow, IsIconic and GetWindowRect; one tray icon,
// added once.
//
// Its caption says how many windows it watches, "Quillmoor bench floor (N)", so that the
// benchmark can check it works on the same windows as the program it is compared with.
// WM_CLOSE ends it.

#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <cstdint>
#include <cwchar>
#include <map>
#include <string>

namespace {

constexpr UINT_PTR kScanTimer = 1;
constexpr UINT_PTR kFirstPollTimer = 100;
constexpr UINT kScanMs = 1000;
constexpr UINT kPollMs = 500;
constexpr int kMaxWatched = 128;
constexpr UINT kTrayMessage = WM_APP + 1;

struct Seen {
  DWORD pid = 0;
  std::wstring exe;
  int slot = -1;  // poll timer slot, -1 when not watched
  bool alive = false;
};

HWND g_window = nullptr;
std::map<HWND, Seen> g_seen;
HWND g_slots[kMaxWatched] = {};
int g_limit = 16;    // windows watched at most
int g_watched = -1;  // shown in the caption; -1 until the first scan

std::wstring ExeName(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return {};
  std::wstring name;
  HMODULE module = nullptr;
  DWORD needed = 0;
  if (EnumProcessModules(process, &module, sizeof module, &needed) && needed >= sizeof module) {
    wchar_t buf[MAX_PATH];
    const DWORD n = GetModuleBaseNameW(process, module, buf, MAX_PATH);
    name.assign(buf, n);
  }
  CloseHandle(process);
  return name;
}

// The order of the tests is the cheapest: the style word first, the title of the windows
// that pass it, the executable name only for a window not seen before.
BOOL CALLBACK ScanOne(HWND hwnd, LPARAM) {
  constexpr LONG kRequired = WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
  if ((GetWindowLongW(hwnd, GWL_STYLE) & kRequired) != kRequired) return TRUE;
  wchar_t title[256];
  if (GetWindowTextW(hwnd, title, 256) <= 0) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  Seen& seen = g_seen[hwnd];
  seen.alive = true;
  if (seen.exe.empty() || seen.pid != pid) {
    seen.pid = pid;
    seen.exe = ExeName(pid);
  }
  if (pid == GetCurrentProcessId() || seen.exe.empty()) return TRUE;
  RECT rect;
  if (!GetWindowRect(hwnd, &rect) || rect.left == rect.right || rect.top == rect.bottom)
    return TRUE;
  if (seen.slot < 0) {
    for (int i = 0; i < g_limit; ++i) {
      if (!g_slots[i]) {
        g_slots[i] = hwnd;
        seen.slot = i;
        SetTimer(g_window, kFirstPollTimer + i, kPollMs, nullptr);
        break;
      }
    }
  }
  return TRUE;
}

void Unwatch(Seen& seen) {
  if (seen.slot < 0) return;
  KillTimer(g_window, kFirstPollTimer + seen.slot);
  g_slots[seen.slot] = nullptr;
  seen.slot = -1;
}

void Scan() {
  for (auto& entry : g_seen) entry.second.alive = false;
  EnumWindows(ScanOne, 0);
  int watched = 0;
  for (auto it = g_seen.begin(); it != g_seen.end();) {
    if (!it->second.alive) {
      Unwatch(it->second);
      it = g_seen.erase(it);
      continue;
    }
    if (it->second.slot >= 0) ++watched;
    ++it;
  }
  if (watched != g_watched) {
    g_watched = watched;
    SetWindowTextW(g_window,
                   (L"Quillmoor bench floor (" + std::to_wstring(watched) + L")").c_str());
  }
}

void Poll(int slot) {
  HWND target = g_slots[slot];
  if (!target) return;
  if (!IsWindow(target)) {
    auto it = g_seen.find(target);
    if (it != g_seen.end()) Unwatch(it->second);
    return;
  }
  RECT rect;
  volatile bool iconic = IsIconic(target) != FALSE;
  GetWindowRect(target, &rect);
  (void)iconic;
}

NOTIFYICONDATAW TrayIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = g_window;
  data.uID = 0;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wcscpy(data.szTip, L"Quillmoor bench floor");
  return data;
}

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kScanTimer)
        Scan();
      else if (wParam >= kFirstPollTimer && wParam < kFirstPollTimer + kMaxWatched)
        Poll(static_cast<int>(wParam - kFirstPollTimer));
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY: {
      NOTIFYICONDATAW data = TrayIcon();
      Shell_NotifyIconW(NIM_DELETE, &data);
      PostQuitMessage(0);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  if (arguments != nullptr && *arguments != L'\0') {
    const long limit = std::wcstol(arguments, nullptr, 10);
    if (limit < 1 || limit > kMaxWatched) return 2;
    g_limit = static_cast<int>(limit);
  }
  WNDCLASSW cls{};
  cls.lpfnWndProc = FloorProc;
  cls.hInstance = instance;
  cls.lpszClassName = L"QuillmoorBenchFloor";
  if (!RegisterClassW(&cls)) return 1;
  g_window = CreateWindowExW(0, cls.lpszClassName, L"Quillmoor bench floor", WS_OVERLAPPEDWINDOW, 0,
                             0, 200, 100, nullptr, nullptr, instance, nullptr);
  if (!g_window) return 1;
  NOTIFYICONDATAW data = TrayIcon();
  Shell_NotifyIconW(NIM_ADD, &data);
  SetTimer(g_window, kScanTimer, kScanMs, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
