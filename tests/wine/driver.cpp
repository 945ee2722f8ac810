// wine-driver.exe: drives ZENTA.exe from outside for the Wine tests.
//
//   hold-mutex NAME SECONDS      create and own a named mutex, print "held";
//                                release after SECONDS or when a line arrives
//                                on stdin (end of input does not release)
//   wait-window CAPTION TIMEOUT_MS
//                                wait for a visible top-level window with
//                                exactly that caption, print its handle
//   window-texts HWND            caption, then the texts of visible children
//   window-info HWND             owner, process id, class, style
//   press HWND BUTTON_ID         click a dialog button (1 = IDOK)
//   wait-gone HWND TIMEOUT_MS    wait until the window is destroyed
//   find-window CAPTION TIMEOUT_MS
//                                as wait-window, hidden windows included
//   post HWND MSG WPARAM LPARAM  post a message (numbers: decimal or 0x...)
//
// Arguments are read as UTF-16 (Wine decodes the Unix command line with the
// locale's charset, so run it under a UTF-8 locale); output is UTF-8 with LF.
// Exit status: 0 done, 1 failed or timed out, 2 bad usage.
// Keep narrow literals ASCII: the build compiles them to CP932.

#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD kPollMs = 50;

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

void PrintLine(const std::string& s) {
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "wine-driver: %s\n", why.c_str());
  return 1;
}

std::string Hex(const void* p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%08x",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(p)));
  return buf;
}

bool ParseNumber(const wchar_t* text, unsigned long& value) {
  wchar_t* end = nullptr;
  value = std::wcstoul(text, &end, 0);  // base 0: "0x..." or decimal
  return end != text && *end == L'\0';
}

bool ParseWindow(const wchar_t* text, HWND& hwnd) {
  unsigned long v = 0;
  if (!ParseNumber(text, v)) return false;
  hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(v));
  return true;
}

std::wstring WindowText(HWND hwnd) {
  int len = GetWindowTextLengthW(hwnd);
  if (len <= 0) return {};
  std::wstring s(static_cast<size_t>(len) + 1, L'\0');
  int got = GetWindowTextW(hwnd, s.data(), len + 1);
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
}

std::wstring ClassName(HWND hwnd) {
  wchar_t buf[256];
  int n = GetClassNameW(hwnd, buf, 256);
  return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

// Calls `done` every kPollMs until it answers true or the time is up.
template <class F>
bool PollUntil(DWORD timeout_ms, F done) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

DWORD WINAPI WaitForInputLine(void*) {
  char line[256];
  if (std::fgets(line, sizeof line, stdin)) return 0;
  Sleep(INFINITE);  // end of input: keep holding until the time is up
  return 0;
}

int HoldMutex(const wchar_t* name, unsigned long seconds) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, name);
  if (!mutex) return Fail("CreateMutex failed, error " + std::to_string(GetLastError()));
  if (GetLastError() == ERROR_ALREADY_EXISTS) return Fail("the mutex already exists");
  PrintLine("held");
  HANDLE reader = CreateThread(nullptr, 0, WaitForInputLine, nullptr, 0, nullptr);
  if (!reader) return Fail("CreateThread failed");
  WaitForSingleObject(reader, seconds * 1000);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  PrintLine("released");
  // The reader may still block in stdin; ExitProcess ends it.
  ExitProcess(0);
}

struct FindCaption {
  const std::wstring* caption;
  HWND found;
  bool hiddenToo = false;
};

BOOL CALLBACK MatchCaption(HWND hwnd, LPARAM param) {
  auto* find = reinterpret_cast<FindCaption*>(param);
  if ((find->hiddenToo || IsWindowVisible(hwnd)) && WindowText(hwnd) == *find->caption) {
    find->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

int WaitWindow(const std::wstring& caption, DWORD timeout_ms, bool hiddenToo = false) {
  FindCaption find{&caption, nullptr, hiddenToo};
  if (!PollUntil(timeout_ms, [&] {
        EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&find));
        return find.found != nullptr;
      }))
    return Fail("no visible window with caption \"" + Utf8(caption) + "\"");
  PrintLine(Hex(find.found));
  return 0;
}

BOOL CALLBACK PrintChildText(HWND child, LPARAM) {
  if (IsWindowVisible(child)) {
    std::wstring text = WindowText(child);
    if (!text.empty()) PrintLine(Utf8(text));
  }
  return TRUE;
}

int WindowTexts(HWND hwnd) {
  if (!IsWindow(hwnd)) return Fail("no such window");
  PrintLine(Utf8(WindowText(hwnd)));
  EnumChildWindows(hwnd, PrintChildText, 0);
  return 0;
}

int WindowInfo(HWND hwnd) {
  if (!IsWindow(hwnd)) return Fail("no such window");
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char style[64];
  std::snprintf(style, sizeof style, "style=0x%08lx",
                static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)));
  PrintLine("owner=" + Hex(GetWindow(hwnd, GW_OWNER)));
  PrintLine("pid=" + std::to_string(pid));
  PrintLine("class=" + Utf8(ClassName(hwnd)));
  PrintLine(style);
  return 0;
}

int Press(HWND dialog, unsigned long id) {
  if (!IsWindow(dialog)) return Fail("no such window");
  HWND button = GetDlgItem(dialog, static_cast<int>(id));
  if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button))
    return Fail("no visible, enabled button with id " + std::to_string(id));
  // What a click on the button would send its dialog.
  if (!PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(button)))
    return Fail("PostMessage failed, error " + std::to_string(GetLastError()));
  return 0;
}

int WaitGone(HWND hwnd, DWORD timeout_ms) {
  if (!PollUntil(timeout_ms, [&] { return !IsWindow(hwnd); }))
    return Fail("window " + Hex(hwnd) + " still exists");
  return 0;
}

int Post(HWND hwnd, unsigned long message, unsigned long wParam, unsigned long lParam) {
  if (!IsWindow(hwnd)) return Fail("no such window");
  if (!PostMessageW(hwnd, message, wParam, static_cast<LPARAM>(lParam)))
    return Fail("PostMessage failed, error " + std::to_string(GetLastError()));
  return 0;
}

int Usage() {
  std::fputs(
      "usage: wine-driver hold-mutex NAME SECONDS | wait-window CAPTION TIMEOUT_MS |\n"
      "       window-texts HWND | window-info HWND | press HWND BUTTON_ID |\n"
      "       wait-gone HWND TIMEOUT_MS | find-window CAPTION TIMEOUT_MS |\n"
      "       post HWND MSG WPARAM LPARAM\n",
      stderr);
  return 2;
}

int Run(int argc, wchar_t** argv) {
  if (argc < 3) return Usage();
  const std::wstring cmd = argv[1];
  HWND hwnd = nullptr;
  unsigned long n = 0;
  if (cmd == L"hold-mutex" && argc == 4 && ParseNumber(argv[3], n)) return HoldMutex(argv[2], n);
  if (cmd == L"wait-window" && argc == 4 && ParseNumber(argv[3], n)) return WaitWindow(argv[2], n);
  if (cmd == L"window-texts" && argc == 3 && ParseWindow(argv[2], hwnd)) return WindowTexts(hwnd);
  if (cmd == L"window-info" && argc == 3 && ParseWindow(argv[2], hwnd)) return WindowInfo(hwnd);
  if (cmd == L"press" && argc == 4 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], n))
    return Press(hwnd, n);
  if (cmd == L"wait-gone" && argc == 4 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], n))
    return WaitGone(hwnd, n);
  if (cmd == L"find-window" && argc == 4 && ParseNumber(argv[3], n))
    return WaitWindow(argv[2], n, true);
  unsigned long message = 0, wParam = 0, lParam = 0;
  if (cmd == L"post" && argc == 6 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], message) &&
      ParseNumber(argv[4], wParam) && ParseNumber(argv[5], lParam))
    return Post(hwnd, message, wParam, lParam);
  return Usage();
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);  // LF only; the tests compare lines exactly
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return Fail("cannot read the command line");
  int rc = Run(argc, argv);
  LocalFree(argv);
  return rc;
}
