// The stand-in program of the Wine tests (lib.sh: stand_in), copied under the executable name
// a test needs, such as a browser's for the web reload test. It opens a top-level window titled
// by its argument with the child windows that browser has ("chrome.exe": a render widget inside
// a container; "firefox.exe": one child; any other name: none) and prints "F5 CLASS" when one
// of its windows gets WM_KEYDOWN VK_F5.
// With a second argument "--slow-style=MS", the first style change made to its top-level
// window while that is minimised keeps its thread busy for MS milliseconds in
// WM_STYLECHANGING, between the lines "STYLECHANGING begin" and "STYLECHANGING end".
// With "--engine" its top-level window has the engine's own class ("chrome.exe":
// Chrome_WidgetWin_1, "firefox.exe": MozillaWindowClass) and judges itself every 50 ms by the
// engines' occlusion rule, printing "ENGINE VISIBLE", "ENGINE OCCLUDED" or "ENGINE HIDDEN"
// whenever the verdict changes.
// With "--layered-when-minimised" instead, its top-level window makes itself layered (colour
// key 0x030201, alpha 200) the first time it is minimised, as a program that fades its window.
// With "--colour RRGGBB X Y WIDTH HEIGHT" its top-level window has that rectangle, is shown
// without activation and is painted all in that colour; a posted WM_APP + 7 with wParam
// 0xRRGGBB repaints it in another.
// Any of its windows given a posted WM_APP + 8 stops reading messages for wParam milliseconds
// (its thread sleeps), between the lines "HANG begin" and "HANG end".
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

DWORD slowStyleMs = 0;
HWND engineWindow = nullptr;
bool gecko = false;
constexpr UINT_PTR kJudgeTimer = 1;

bool ClassStarts(HWND hwnd, const char* prefix) {
  char name[128] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return std::strncmp(name, prefix, std::strlen(prefix)) == 0;
}

// What the engines count as a window in front of theirs.
bool Occludes(HWND h) {
  if (!IsWindowVisible(h) || IsIconic(h)) return false;
  const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
  const bool taskbar = ClassStarts(h, "Shell_TrayWnd");
  if ((ex & WS_EX_TRANSPARENT) != 0) return false;
  if ((ex & WS_EX_TOOLWINDOW) != 0 && !taskbar) return false;
  if ((ex & WS_EX_LAYERED) != 0) {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(h, &key, &alpha, &flags) || (flags & LWA_COLORKEY) != 0 ||
        (flags & LWA_ALPHA) == 0 || alpha != 255) {
      return false;
    }
  }
  if ((GetWindowLongW(h, GWL_STYLE) & WS_POPUP) != 0 && !taskbar &&
      (gecko || !ClassStarts(h, "Chrome_WidgetWin_"))) {
    return false;
  }
  RECT r;
  return GetWindowRect(h, &r) && r.right > r.left && r.bottom > r.top;
}

const char* Judge(HWND self) {
  if (IsIconic(self) || !IsWindowVisible(self)) return "HIDDEN";
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  HRGN left = CreateRectRgn(x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                            y + GetSystemMetrics(SM_CYVIRTUALSCREEN));
  for (HWND h = GetTopWindow(nullptr); h != nullptr && h != self; h = GetWindow(h, GW_HWNDNEXT)) {
    if (!Occludes(h)) continue;
    RECT r;
    GetWindowRect(h, &r);
    if (IsZoomed(h)) {
      MONITORINFO info{};
      info.cbSize = sizeof info;
      GetMonitorInfoW(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &info);
      IntersectRect(&r, &r, &info.rcWork);
    }
    HRGN cut = CreateRectRgnIndirect(&r);
    CombineRgn(left, left, cut, RGN_DIFF);
    DeleteObject(cut);
  }
  RECT me;
  GetWindowRect(self, &me);
  HRGN mine = CreateRectRgnIndirect(&me);
  const int kind = CombineRgn(mine, mine, left, RGN_AND);
  DeleteObject(mine);
  DeleteObject(left);
  return kind == NULLREGION || kind == ERROR ? "OCCLUDED" : "VISIBLE";
}
bool layeredWhenMinimised = false;
bool coloured = false;
COLORREF colour = 0;
constexpr UINT kRecolour = WM_APP + 7;
constexpr UINT kHang = WM_APP + 8;

COLORREF FromRgbText(unsigned long rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  static const char* verdict = "";
  if (message == WM_TIMER && wParam == kJudgeTimer && hwnd == engineWindow) {
    const char* now = Judge(hwnd);
    if (std::strcmp(now, verdict) != 0) {
      verdict = now;
      std::printf("ENGINE %s\n", now);
      std::fflush(stdout);
    }
    return 0;
  }
  if (message == WM_STYLECHANGING && slowStyleMs != 0 && IsIconic(hwnd)) {
    const DWORD ms = slowStyleMs;
    slowStyleMs = 0;
    std::printf("STYLECHANGING begin\n");
    std::fflush(stdout);
    Sleep(ms);
    std::printf("STYLECHANGING end\n");
    std::fflush(stdout);
  }
  if (message == WM_SIZE && wParam == SIZE_MINIMIZED && layeredWhenMinimised && !GetParent(hwnd)) {
    layeredWhenMinimised = false;
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd, RGB(1, 2, 3), 200, LWA_ALPHA | LWA_COLORKEY);
    std::printf("layered\n");
    std::fflush(stdout);
  }
  if (message == kHang) {
    std::printf("HANG begin\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(wParam));
    std::printf("HANG end\n");
    std::fflush(stdout);
    return 0;
  }
  if (coloured && message == kRecolour) {
    colour = FromRgbText(static_cast<unsigned long>(wParam));
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  }
  if (coloured && message == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    DeleteObject(brush);
    return 1;
  }
  if (message == WM_KEYDOWN && wParam == VK_F5) {
    char name[128] = {};
    GetClassNameA(hwnd, name, sizeof name);
    std::printf("F5 %s lParam=%ld\n", name, static_cast<long>(lParam));
    std::fflush(stdout);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The top-level window's x, y, width and height.
int frame[4] = {200, 150, 600, 400};

HWND Make(const wchar_t* className, const wchar_t* title, HWND parent) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  // A coloured window is shown below without activation.
  const DWORD shown = parent || !coloured ? WS_VISIBLE : 0;
  const DWORD style = (parent ? WS_CHILD : WS_OVERLAPPEDWINDOW) | shown;
  return CreateWindowExW(0, className, title, style, parent ? 0 : frame[0], parent ? 0 : frame[1],
                         parent ? 600 : frame[2], parent ? 400 : frame[3], parent, nullptr,
                         wc.hInstance, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const wchar_t* slash = std::wcsrchr(path, L'\\');
  const std::wstring exe = slash ? slash + 1 : path;
  const std::wstring slow = L"--slow-style=";
  if (argc > 2 && std::wcsncmp(argv[2], slow.c_str(), slow.size()) == 0) {
    slowStyleMs = static_cast<DWORD>(std::wcstoul(argv[2] + slow.size(), nullptr, 10));
  }
  const bool engine = argc > 2 && std::wcscmp(argv[2], L"--engine") == 0;
  layeredWhenMinimised = argc > 2 && std::wcscmp(argv[2], L"--layered-when-minimised") == 0;
  gecko = exe == L"firefox.exe";
  if (argc > 2 && std::wcscmp(argv[2], L"--colour") == 0) {
    if (argc != 8) {
      std::fputs("usage: fake-browser TITLE --colour RRGGBB X Y WIDTH HEIGHT\n", stderr);
      return 2;
    }
    coloured = true;
    colour = FromRgbText(std::wcstoul(argv[3], nullptr, 16));
    for (int i = 0; i < 4; ++i) frame[i] = _wtoi(argv[4 + i]);
  }
  const wchar_t* topClass = !engine ? L"FakeBrowserFrame"
                            : gecko ? L"MozillaWindowClass"
                                    : L"Chrome_WidgetWin_1";
  const HWND top = Make(topClass, argc > 1 ? argv[1] : L"Fake browser", nullptr);
  if (coloured) {
    ShowWindow(top, SW_SHOWNOACTIVATE);
    UpdateWindow(top);
  }
  if (engine) {
    engineWindow = top;
    SetTimer(top, kJudgeTimer, 50, nullptr);
  }
  if (exe == L"chrome.exe") {
    Make(L"Chrome_RenderWidgetHostHWND", L"", Make(L"Chrome_ContainerWin_0", L"", top));
  } else if (exe == L"firefox.exe") {
    Make(L"MozillaWindowClass", L"", top);
  }
  std::printf("ready\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
