// A stand-in browser for the web reload test, copied under a browser's executable name. It
// opens a top-level window titled by its argument with the child windows that browser has
// ("chrome.exe": a render widget inside a container; "firefox.exe": one child; any other
// name: none) and prints "F5 CLASS" when one of its windows gets WM_KEYDOWN VK_F5.
// With a second argument "--slow-style=MS", the first style change made to its top-level
// window while that is minimised keeps its thread busy for MS milliseconds in
// WM_STYLECHANGING, between the lines "STYLECHANGING begin" and "STYLECHANGING end".
// With "--layered-when-minimised" instead, its top-level window makes itself layered (colour
// key 0x030201, alpha 200) the first time it is minimised, as a program that fades its window.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

DWORD slowStyleMs = 0;
bool layeredWhenMinimised = false;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
  if (message == WM_KEYDOWN && wParam == VK_F5) {
    char name[128] = {};
    GetClassNameA(hwnd, name, sizeof name);
    std::printf("F5 %s lParam=%ld\n", name, static_cast<long>(lParam));
    std::fflush(stdout);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND Make(const wchar_t* className, const wchar_t* title, HWND parent) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  return CreateWindowExW(0, className, title, style, parent ? 0 : 200, parent ? 0 : 150, 600, 400,
                         parent, nullptr, wc.hInstance, nullptr);
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
  layeredWhenMinimised = argc > 2 && std::wcscmp(argv[2], L"--layered-when-minimised") == 0;
  const HWND top = Make(L"FakeBrowserFrame", argc > 1 ? argv[1] : L"Fake browser", nullptr);
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
