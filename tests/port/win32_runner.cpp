// port-contract.exe: the port contract on the real adapter, run under Wine by
// tests/wine/test_port_contract.sh. Prints "PASS name" or "FAIL name" with the failed
// expectations, and exits with the number of failed cases.
//
// "Another program" is this executable started again with --window: it shows one ordinary
// window with the title given (UTF-16 code units in hex) until it is closed.
// The adapter's header first: it brings <windows.h> in after the port's constants.
#include "platform/win32/win32_platform.h"
// Needs <windows.h> before it.
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "port_case.h"

namespace {

std::wstring fromHex(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i + 4 <= text.size(); i += 4) {
    out += static_cast<wchar_t>(std::stoul(text.substr(i, 4), nullptr, 16));
  }
  return out;
}

std::wstring toHex(const std::wstring& text) {
  std::wstring out;
  wchar_t unit[8];
  for (wchar_t c : text) {
    swprintf(unit, 8, L"%04x", static_cast<unsigned>(c));
    out += unit;
  }
  return out;
}

// How long the other program's style-change handler takes (set by a sent kSlowStyleChange).
constexpr UINT kSlowStyleChange = WM_APP + 1;
DWORD styleChangeMs = 0;

LRESULT CALLBACK otherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  if (message == kSlowStyleChange) {
    styleChangeMs = static_cast<DWORD>(wParam);
    return 1;
  }
  if (message == WM_STYLECHANGING && styleChangeMs != 0) Sleep(styleChangeMs);
  return DefWindowProcW(window, message, wParam, lParam);
}

// The child: one overlapped window, shown without taking the keyboard.
int runOtherProgram(const std::wstring& hexTitle, int x, int y, int cx, int cy) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = otherProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"PortContractOther";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);  // white, not black
  RegisterClassW(&windowClass);
  HWND window =
      CreateWindowExW(0, windowClass.lpszClassName, fromHex(hexTitle).c_str(), WS_OVERLAPPEDWINDOW,
                      x, y, cx, cy, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

struct Found {
  DWORD process;
  HWND window;
};

BOOL CALLBACK findProcessWindow(HWND window, LPARAM lParam) {
  auto* found = reinterpret_cast<Found*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != found->process || !IsWindowVisible(window)) return TRUE;
  found->window = window;
  return FALSE;
}

class Win32Fixture : public port_test::Fixture {
 public:
  ~Win32Fixture() override {
    for (PROCESS_INFORMATION& child : children_) {
      EnumThreadWindows(
          child.dwThreadId,
          [](HWND window, LPARAM) -> BOOL {
            PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
          },
          0);
      if (WaitForSingleObject(child.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(child.hProcess, 1);
      }
      CloseHandle(child.hThread);
      CloseHandle(child.hProcess);
    }
  }
  platform::Platform& platform() override { return adapter_.platform(); }

  platform::Hwnd otherProgramWindow(const std::string& title, const platform::Rect& rect) override {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"";
    command.append(self).append(L"\" --window ").append(toHex(win32::fromProgramText(title)));
    for (int32_t value : {rect.left, rect.top, rect.width(), rect.height()}) {
      command.append(L" ").append(std::to_wstring(value));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &child)) {
      return {};
    }
    children_.push_back(child);
    // Polled: the child shows its window once it has started.
    Found found{child.dwProcessId, nullptr};
    for (int i = 0; i < 200 && found.window == nullptr; ++i) {
      EnumWindows(findProcessWindow, reinterpret_cast<LPARAM>(&found));
      if (found.window == nullptr) Sleep(50);
    }
    return win32::fromHwnd(found.window);
  }
  void slowStyleChange(platform::Hwnd window, uint32_t ms) override {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(win32::toHwnd(window), kSlowStyleChange, ms, 0, 0, 5000, &answer);
  }
  std::string otherProgramName() override { return "port-contract.exe"; }
  std::string ownProgramName() override { return "port-contract.exe"; }
  int layeredAlpha(platform::Hwnd window) override {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(win32::toHwnd(window), nullptr, &alpha, &flags)) return -1;
    return (flags & LWA_ALPHA) ? alpha : -1;
  }
  void holdFile(const std::string& path, bool held) override {
    if (held) {
      held_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (held_ != INVALID_HANDLE_VALUE) {
      CloseHandle(held_);
      held_ = INVALID_HANDLE_VALUE;
    }
  }
  void pumpMessages(uint32_t ms) override {
    const DWORD start = GetTickCount();
    for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_ALLINPUT);
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }
  bool underWine() override {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  }

 private:
  HANDLE held_ = INVALID_HANDLE_VALUE;
  win32::Win32Platform adapter_;
  std::vector<PROCESS_INFORMATION> children_;
};

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count == 7 && std::wstring(arguments[1]) == L"--window") {
    return runOtherProgram(arguments[2], _wtoi(arguments[3]), _wtoi(arguments[4]),
                           _wtoi(arguments[5]), _wtoi(arguments[6]));
  }
  // --only NAME runs that case alone.
  const std::wstring only =
      count == 3 && std::wstring(arguments[1]) == L"--only" ? arguments[2] : L"";
  int failed = 0;
  for (const port_test::Case& c : port_test::cases()) {
    if (!only.empty() && only != std::wstring(c.name, c.name + strlen(c.name))) continue;
    port_test::Checks checks;
    {
      Win32Fixture fixture;
      c.run(fixture, checks);
    }
    std::printf("%s %s\n", checks.failures.empty() ? "PASS" : "FAIL", c.name);
    for (const std::string& failure : checks.failures) std::printf("    %s\n", failure.c_str());
    std::fflush(stdout);
    if (!checks.failures.empty()) ++failed;
  }
  std::printf("%zu cases, %d failed\n", port_test::cases().size(), failed);
  return failed;
}
