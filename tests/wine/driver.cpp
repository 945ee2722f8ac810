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
//   tray-icon HWND ID            print 1 if the notification icon (HWND, ID) exists,
//                                else 0 (a modify without flags fails for unknown ones)
//   window-rect HWND             window rectangle: left top right bottom
//   work-area                    SPI_GETWORKAREA: left top right bottom
//   wait-visible HWND 0|1 TIMEOUT_MS
//                                wait until the window is hidden (0) or visible (1)
//   wait-class CLASS TIMEOUT_MS  wait for a visible top-level window of that class,
//                                print its handle
//   list-view HWND ID            the list view control ID of window HWND (any process):
//                                column headings, then one line per row, cells
//                                separated by tabs
//   open-windows SECONDS [-s WxH] [-r] TITLE...
//                                open an ordinary visible window per title (400x250,
//                                or the size of the last -s before it; after -r each
//                                repaints itself every second in another colour), print
//                                "window=HWND TITLE" for each, "pid=N" and "ready";
//                                a line "state" on stdin prints window-state for each
//                                (placement read in its own process), then "end N"
//                                for the Nth request; after SECONDS or any other
//                                line, close them and print "closed"
//   window-state HWND            one line: iconic= enabled= visible= style= exstyle=
//                                alpha= rect= normal= (alpha -1: not layered;
//                                normal: GetWindowPlacement's rcNormalPosition)
//   process-windows PID          one line per visible top-level window of that
//                                process: handle, class, style, exstyle, alpha,
//                                left top right bottom, caption
//   show HWND SW                 ShowWindow(HWND, SW) (6 minimise, 9 restore)
//   item-parent HWND ID          the window below HWND (children of children too)
//                                holding a control with id ID; print its handle
//   key-window SECONDS TITLE     open an ordinary window that takes the keyboard and
//                                records the characters typed into it; print
//                                "window=HWND TITLE" and "ready". Lines on stdin: "keys"
//                                prints "keys=FIRST other=OTHERS" (what the first window
//                                and the later ones received), "open TITLE" opens one
//                                more window behind it without activating it; any other
//                                line (or SECONDS) closes them and prints "closed"
//   type TEXT                    type lower-case letters and digits (SendInput) into
//                                the window that has the keyboard
//   chord VK...                  press the virtual keys in order, release in reverse
//   foreground                   the foreground window's handle
//   item HWND ID                 the control with id ID of dialog HWND; print its handle
//   select-row HWND ID ROW       set the selection mark of the list view control ID
//                                of window HWND (any process) to ROW
//   start-tray ID TIMEOUT_MS EXE [ARG...]
//                                start EXE, print "pid=N" (its Windows process id), then
//                                once one of its windows has the notification icon ID,
//                                "window=HWND" and "tray=MS" (milliseconds since the start);
//                                "exit=CODE" when it ends. Fails if it ends first or the
//                                time is up (the program is then left running)
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
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "driver_util.h"

namespace {

using namespace driver;

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

int TrayIcon(HWND hwnd, unsigned long id) {
  // No flags: nothing changes, but the shell still looks the icon up.
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = id;
  data.uFlags = 0;
  PrintLine(Shell_NotifyIconW(NIM_MODIFY, &data) ? "1" : "0");
  return 0;
}

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
         " " + std::to_string(r.bottom);
}

int WindowRect(HWND hwnd) {
  RECT r{};
  if (!GetWindowRect(hwnd, &r)) return Fail("GetWindowRect failed");
  PrintLine(RectText(r));
  return 0;
}

int WorkArea() {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return Fail("SPI_GETWORKAREA failed");
  PrintLine(RectText(r));
  return 0;
}

int WaitVisible(HWND hwnd, bool visible, DWORD timeout_ms) {
  if (!IsWindow(hwnd)) return Fail("no such window");
  if (!PollUntil(timeout_ms, [&] { return (IsWindowVisible(hwnd) != FALSE) == visible; }))
    return Fail("window " + Hex(hwnd) + (visible ? " stayed hidden" : " stayed visible"));
  return 0;
}

struct FindClass {
  const std::wstring* name;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND hwnd, LPARAM param) {
  auto* find = reinterpret_cast<FindClass*>(param);
  if (IsWindowVisible(hwnd) && ClassName(hwnd) == *find->name) {
    find->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

int WaitClass(const std::wstring& name, DWORD timeout_ms) {
  FindClass find{&name, nullptr};
  if (!PollUntil(timeout_ms, [&] {
        EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&find));
        return find.found != nullptr;
      }))
    return Fail("no visible window of class \"" + Utf8(name) + "\"");
  PrintLine(Hex(find.found));
  return 0;
}

// A list view of another process only writes texts into that process's memory: the
// item structure and its text buffer live in a block allocated there.
class RemoteBlock {
 public:
  static constexpr size_t kTextChars = 1024;
  static constexpr size_t kHeader = 256;  // room for LVITEMW or LVCOLUMNW

  explicit RemoteBlock(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, kHeader + kTextChars * 2,
                                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteBlock() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ok() const { return base_ != nullptr; }
  void* header() const { return base_; }
  wchar_t* text() const { return reinterpret_cast<wchar_t*>(base_ + kHeader); }

  template <class T>
  bool Put(const T& value) {
    static_assert(sizeof(T) <= kHeader);
    SIZE_T done = 0;
    return WriteProcessMemory(process_, base_, &value, sizeof value, &done) && done == sizeof value;
  }
  bool ReadText(std::wstring& out) {
    std::vector<wchar_t> buf(kTextChars, L'\0');
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, text(), buf.data(), buf.size() * 2, &done)) return false;
    buf.back() = L'\0';
    out = buf.data();
    return true;
  }

 private:
  HANDLE process_ = nullptr;
  char* base_ = nullptr;
};

bool SendRemote(HWND list, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(list, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &r)) return false;
  result = static_cast<LRESULT>(r);
  return true;
}

int ListView(HWND parent, unsigned long id) {
  if (!IsWindow(parent)) return Fail("no such window");
  HWND list = GetDlgItem(parent, static_cast<int>(id));
  if (!list) return Fail("no control with id " + std::to_string(id));
  RemoteBlock block(list);
  if (!block.ok())
    return Fail("no memory in the list's process, error " + std::to_string(GetLastError()));

  int columns = 0;
  std::string line;
  for (;; ++columns) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = block.text();
    column.cchTextMax = RemoteBlock::kTextChars;
    LRESULT got = 0;
    std::wstring heading;
    if (!block.Put(column)) return Fail("WriteProcessMemory failed");
    if (!SendRemote(list, LVM_GETCOLUMNW, columns, reinterpret_cast<LPARAM>(block.header()), got))
      return Fail("the list view does not answer");
    if (!got) break;
    if (!block.ReadText(heading)) return Fail("ReadProcessMemory failed");
    if (columns) line += '\t';
    line += Utf8(heading);
  }
  PrintLine(line);

  LRESULT rows = 0;
  if (!SendRemote(list, LVM_GETITEMCOUNT, 0, 0, rows)) return Fail("the list view does not answer");
  for (LRESULT row = 0; row < rows; ++row) {
    line.clear();
    for (int col = 0; col < columns; ++col) {
      LVITEMW item{};
      item.iSubItem = col;
      item.pszText = block.text();
      item.cchTextMax = RemoteBlock::kTextChars;
      LRESULT got = 0;
      std::wstring cell;
      if (!block.Put(item)) return Fail("WriteProcessMemory failed");
      if (!SendRemote(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(block.header()), got))
        return Fail("the list view does not answer");
      if (!block.ReadText(cell)) return Fail("ReadProcessMemory failed");
      if (col) line += '\t';
      line += Utf8(cell.substr(0, static_cast<size_t>(got)));
    }
    PrintLine(line);
  }
  return 0;
}

// Layered alpha, or -1 for a window that is not layered (or has no alpha set).
int LayeredAlpha(HWND hwnd) {
  if (!(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED)) return -1;
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
  return alpha;
}

std::string StateLine(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(hwnd, &wp);
  char styles[96];
  std::snprintf(styles, sizeof styles, "style=0x%08lx exstyle=0x%08lx alpha=%d",
                static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_EXSTYLE)), LayeredAlpha(hwnd));
  return "iconic=" + std::to_string(IsIconic(hwnd) ? 1 : 0) +
         " enabled=" + std::to_string(IsWindowEnabled(hwnd) ? 1 : 0) +
         " visible=" + std::to_string(IsWindowVisible(hwnd) ? 1 : 0) + " " + styles +
         " rect=" + RectText(r) + " normal=" + RectText(wp.rcNormalPosition);
}

int WindowState(HWND hwnd) {
  if (!IsWindow(hwnd)) return Fail("no such window");
  PrintLine(StateLine(hwnd));
  return 0;
}

struct ProcessWindows {
  DWORD pid;
};

BOOL CALLBACK PrintProcessWindow(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != reinterpret_cast<ProcessWindows*>(param)->pid || !IsWindowVisible(hwnd)) return TRUE;
  RECT r{};
  GetWindowRect(hwnd, &r);
  char styles[64];
  std::snprintf(styles, sizeof styles, "0x%08lx 0x%08lx %d",
                static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_EXSTYLE)), LayeredAlpha(hwnd));
  PrintLine(Hex(hwnd) + " " + Utf8(ClassName(hwnd)) + " " + styles + " " + RectText(r) + " " +
            Utf8(WindowText(hwnd)));
  return TRUE;
}

int ListProcessWindows(DWORD pid) {
  ProcessWindows find{pid};
  EnumWindows(PrintProcessWindow, reinterpret_cast<LPARAM>(&find));
  return 0;
}

int Show(HWND hwnd, unsigned long how) {
  if (!IsWindow(hwnd)) return Fail("no such window");
  ShowWindow(hwnd, static_cast<int>(how));  // answers the previous visibility, not success
  return 0;
}

struct FindItem {
  int id;
  HWND parent;
};

BOOL CALLBACK MatchItem(HWND child, LPARAM param) {
  auto* find = reinterpret_cast<FindItem*>(param);
  if (GetDlgCtrlID(child) == find->id) {
    find->parent = GetParent(child);
    return FALSE;
  }
  return TRUE;
}

int ItemParent(HWND hwnd, unsigned long id) {
  if (!IsWindow(hwnd)) return Fail("no such window");
  FindItem find{static_cast<int>(id), nullptr};
  EnumChildWindows(hwnd, MatchItem, reinterpret_cast<LPARAM>(&find));
  if (!find.parent) return Fail("no control with id " + std::to_string(id) + " below " + Hex(hwnd));
  PrintLine(Hex(find.parent));
  return 0;
}

int Item(HWND dialog, unsigned long id) {
  HWND item = IsWindow(dialog) ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
  if (!item) return Fail("no control with id " + std::to_string(id) + " in " + Hex(dialog));
  PrintLine(Hex(item));
  return 0;
}

// What typing into a dialog's edit box leaves there (the edit box's own text, no keys).
int SetText(HWND dialog, unsigned long id, const std::wstring& text) {
  HWND item = IsWindow(dialog) ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr;
  if (!item) return Fail("no control with id " + std::to_string(id) + " in " + Hex(dialog));
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                           SMTO_ABORTIFHUNG, 5000, &result) ||
      !result)
    return Fail("WM_SETTEXT failed");
  return 0;
}

constexpr UINT kStateRequest = WM_APP + 1;

struct InputWatch {
  HANDLE stop;
  DWORD mainThread;
};

// "state" asks the main thread for a report; any other line stops it.
DWORD WINAPI WatchInputLines(void* param) {
  auto* watch = static_cast<InputWatch*>(param);
  char line[256];
  while (std::fgets(line, sizeof line, stdin)) {
    if (std::strncmp(line, "state", 5) == 0 && (line[5] == '\n' || line[5] == '\r' || !line[5])) {
      PostThreadMessageW(watch->mainThread, kStateRequest, 0, 0);
      continue;
    }
    SetEvent(watch->stop);
    return 0;
  }
  return 0;  // end of input: the time limit still applies
}

int SelectRow(HWND parent, unsigned long id, unsigned long row) {
  if (!IsWindow(parent)) return Fail("no such window");
  HWND list = GetDlgItem(parent, static_cast<int>(id));
  if (!list) return Fail("no control with id " + std::to_string(id));
  // The mark is a plain number: no memory in the list's process needed.
  LRESULT previous = 0;
  if (!SendRemote(list, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(row), previous))
    return Fail("the list view does not answer");
  LRESULT mark = 0;
  if (!SendRemote(list, LVM_GETSELECTIONMARK, 0, 0, mark) || mark != static_cast<LRESULT>(row))
    return Fail("the selection mark did not move to row " + std::to_string(row));
  return 0;
}

struct TrayOwner {
  DWORD pid;
  UINT id;
  HWND found;
};

// The icon is looked up only for windows of the started process; hidden ones count, as a
// tray icon's window usually is.
BOOL CALLBACK MatchTrayOwner(HWND hwnd, LPARAM param) {
  auto* find = reinterpret_cast<TrayOwner*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != find->pid) return TRUE;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = find->id;
  if (!Shell_NotifyIconW(NIM_MODIFY, &data)) return TRUE;
  find->found = hwnd;
  return FALSE;
}

std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, L'\\');
  return out + L"\"";
}

int StartTray(unsigned long id, DWORD timeout_ms, wchar_t** args, int count) {
  std::wstring command;
  for (int i = 0; i < count; ++i) command += (i ? L" " : L"") + QuoteArgument(args[i]);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(args[0], command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return Fail("CreateProcess failed, error " + std::to_string(GetLastError()));
  CloseHandle(process.hThread);
  PrintLine("pid=" + std::to_string(process.dwProcessId));
  TrayOwner find{process.dwProcessId, static_cast<UINT>(id), nullptr};
  // A short poll: the times measured are a few hundred milliseconds.
  for (;;) {
    EnumWindows(MatchTrayOwner, reinterpret_cast<LPARAM>(&find));
    QueryPerformanceCounter(&now);
    if (find.found) break;
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code) && code != STILL_ACTIVE)
      return Fail("the program ended with status " + std::to_string(code) +
                  " before its tray icon");
    if (static_cast<DWORD>((now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart) >=
        timeout_ms)
      return Fail("no tray icon " + std::to_string(id) + " in time");
    Sleep(5);
  }
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.1f",
                static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
                    static_cast<double>(frequency.QuadPart));
  PrintLine("window=" + Hex(find.found));
  PrintLine(std::string("tray=") + elapsed);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  PrintLine("exit=" + std::to_string(code));
  return 0;
}

int Usage();

bool ParseSize(const wchar_t* text, int& width, int& height) {
  wchar_t* end = nullptr;
  const long w = std::wcstol(text, &end, 10);
  if (end == text || *end != L'x') return false;
  const wchar_t* rest = end + 1;
  const long h = std::wcstol(rest, &end, 10);
  if (end == rest || *end != L'\0' || w <= 0 || h <= 0) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

// A window that paints itself in a new colour every second, as a clock or a video does.
LRESULT CALLBACK RepaintingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, GetWindowLongPtrW(hwnd, GWLP_USERDATA) + 1);
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
  }
  if (message == WM_ERASEBKGND) {
    const auto tick = static_cast<unsigned>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(RGB(tick * 40 % 256, tick * 90 % 256, tick * 150 % 256));
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

int OpenWindows(unsigned long seconds, wchar_t** args, int count) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = L"QuillmoorTestWindow";
  if (!RegisterClassW(&cls)) return Fail("RegisterClass failed");
  cls.lpfnWndProc = RepaintingProc;
  cls.hbrBackground = nullptr;
  cls.lpszClassName = L"QuillmoorRepaintingWindow";
  if (!RegisterClassW(&cls)) return Fail("RegisterClass failed");
  std::vector<HWND> windows;
  int width = 400, height = 250;
  bool repainting = false;
  for (int i = 0; i < count; ++i) {
    if (std::wstring(args[i]) == L"-s") {
      if (i + 1 >= count || !ParseSize(args[i + 1], width, height)) return Usage();
      ++i;
      continue;
    }
    if (std::wstring(args[i]) == L"-r") {
      repainting = true;
      continue;
    }
    // A diagonal of ten, and the next ten a little further on.
    const int n = static_cast<int>(windows.size());
    const int x = 200 + 60 * (n % 10) + 12 * (n / 10), y = 150 + 60 * (n % 10) + 12 * (n / 10);
    HWND w = CreateWindowExW(0, repainting ? L"QuillmoorRepaintingWindow" : cls.lpszClassName,
                             args[i], WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                             nullptr, nullptr, cls.hInstance, nullptr);
    if (!w) return Fail("CreateWindow failed, error " + std::to_string(GetLastError()));
    if (repainting) SetTimer(w, 1, 1000, nullptr);
    windows.push_back(w);
    PrintLine("window=" + Hex(w) + " " + Utf8(args[i]));
  }
  if (windows.empty()) return Usage();
  // Make sure the thread has a queue before the watcher posts to it.
  MSG probe;
  PeekMessageW(&probe, nullptr, 0, 0, PM_NOREMOVE);
  static InputWatch watch{CreateEventW(nullptr, TRUE, FALSE, nullptr), GetCurrentThreadId()};
  HANDLE stop = watch.stop;
  if (!stop || !CreateThread(nullptr, 0, WatchInputLines, &watch, 0, nullptr))
    return Fail("cannot watch stdin");
  int requests = 0;
  PrintLine("pid=" + std::to_string(GetCurrentProcessId()));
  PrintLine("ready");
  const ULONGLONG deadline = GetTickCount64() + seconds * 1000ULL;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    DWORD r =
        MsgWaitForMultipleObjects(1, &stop, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    if (r != WAIT_OBJECT_0 + 1) break;  // stop signalled, time up or failure
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!msg.hwnd && msg.message == kStateRequest) {
        for (HWND w : windows)
          PrintLine(Hex(w) + " " + (IsWindow(w) ? StateLine(w) : std::string("gone")));
        PrintLine("end " + std::to_string(++requests));
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  for (HWND w : windows)
    if (IsWindow(w)) DestroyWindow(w);
  PrintLine("closed");
  ExitProcess(0);  // the stdin reader may still block
}

// --- Keyboard focus: a window that records what is typed into it, and typing. ---

constexpr UINT kKeysRequest = WM_APP + 2;
constexpr UINT kOpenRequest = WM_APP + 3;  // lParam: a new std::wstring with the title

HWND g_keyWindow = nullptr;
std::string g_keysFirst;  // characters the first window received
std::string g_keysOther;  // characters any later window received

LRESULT CALLBACK RecordKeysProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    const char c = wParam >= 0x20 && wParam < 0x7F ? static_cast<char>(wParam) : '?';
    (hwnd == g_keyWindow ? g_keysFirst : g_keysOther) += c;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// "keys" and "open TITLE" go to the main thread; any other line ends the program.
DWORD WINAPI WatchKeyCommands(void* param) {
  const DWORD mainThread = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(param));
  char line[256];
  while (std::fgets(line, sizeof line, stdin)) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (text == "keys") {
      PostThreadMessageW(mainThread, kKeysRequest, 0, 0);
    } else if (text.rfind("open ", 0) == 0) {
      const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str() + 5, -1, nullptr, 0);
      auto* title = new std::wstring(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
      if (n > 1) MultiByteToWideChar(CP_UTF8, 0, text.c_str() + 5, -1, title->data(), n);
      PostThreadMessageW(mainThread, kOpenRequest, 0, reinterpret_cast<LPARAM>(title));
    } else {
      PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
      return 0;
    }
  }
  return 0;  // end of input: the time limit still applies
}

HWND OpenKeyWindow(const std::wstring& title, int index, bool activate) {
  HWND w = CreateWindowExW(0, L"QuillmoorKeyWindow", title.c_str(), WS_OVERLAPPEDWINDOW,
                           250 + 80 * index, 200 + 60 * index, 500, 320, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!w) return nullptr;
  if (activate) {
    ShowWindow(w, SW_SHOWNORMAL);
    SetForegroundWindow(w);
  } else {
    ShowWindow(w, SW_SHOWNOACTIVATE);  // appears behind the user's window, as if opened there
  }
  PrintLine("window=" + Hex(w) + " " + Utf8(title));
  return w;
}

int KeyWindow(unsigned long seconds, const wchar_t* title) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = RecordKeysProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = L"QuillmoorKeyWindow";
  if (!RegisterClassW(&cls)) return Fail("RegisterClass failed");
  g_keyWindow = OpenKeyWindow(title, 0, true);
  if (!g_keyWindow) return Fail("CreateWindow failed, error " + std::to_string(GetLastError()));
  MSG probe;
  PeekMessageW(&probe, nullptr, 0, 0, PM_NOREMOVE);  // a queue before the watcher posts
  const DWORD mainThread = GetCurrentThreadId();
  if (!CreateThread(nullptr, 0, WatchKeyCommands,
                    reinterpret_cast<void*>(static_cast<std::uintptr_t>(mainThread)), 0, nullptr))
    return Fail("cannot watch stdin");
  PrintLine("ready");
  int opened = 1;
  const ULONGLONG deadline = GetTickCount64() + seconds * 1000ULL;
  for (bool running = true; running;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT) != WAIT_OBJECT_0)
      break;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        running = false;
        break;
      }
      if (!msg.hwnd && msg.message == kKeysRequest) {
        PrintLine("keys=" + g_keysFirst + " other=" + g_keysOther);
        continue;
      }
      if (!msg.hwnd && msg.message == kOpenRequest) {
        auto* second = reinterpret_cast<std::wstring*>(msg.lParam);
        if (!OpenKeyWindow(*second, opened++, false)) PrintLine("open failed");
        delete second;
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  PrintLine("closed");
  ExitProcess(0);  // the stdin reader may still block
}

bool SendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_LWIN || vk == VK_RWIN) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return SendInput(1, &input, sizeof input) == 1;
}

// Types lower-case letters and digits into whatever window has the keyboard.
int TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    if (!((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9'))) return Usage();
    const WORD vk = static_cast<WORD>(c >= L'a' ? c - L'a' + 'A' : c);
    if (!SendKey(vk, false) || !SendKey(vk, true)) return Fail("SendInput failed");
    Sleep(30);
  }
  return 0;
}

// Presses the keys in order and releases them in reverse, as a held combination.
int PressChord(wchar_t** keys, int count) {
  std::vector<WORD> vks;
  for (int i = 0; i < count; ++i) {
    unsigned long vk = 0;
    if (!ParseNumber(keys[i], vk) || vk == 0 || vk > 0xFE) return Usage();
    vks.push_back(static_cast<WORD>(vk));
  }
  for (WORD vk : vks)
    if (!SendKey(vk, false)) return Fail("SendInput failed");
  Sleep(50);
  for (auto it = vks.rbegin(); it != vks.rend(); ++it)
    if (!SendKey(*it, true)) return Fail("SendInput failed");
  return 0;
}

int PrintForeground() {
  PrintLine(Hex(GetForegroundWindow()));
  return 0;
}

int Usage() {
  std::fputs(
      "usage: wine-driver hold-mutex NAME SECONDS | wait-window CAPTION TIMEOUT_MS |\n"
      "       window-texts HWND | window-info HWND | press HWND BUTTON_ID |\n"
      "       wait-gone HWND TIMEOUT_MS | find-window CAPTION TIMEOUT_MS |\n"
      "       post HWND MSG WPARAM LPARAM | tray-icon HWND ID | window-rect HWND |\n"
      "       work-area | wait-visible HWND 0|1 TIMEOUT_MS | wait-class CLASS TIMEOUT_MS |\n"
      "       list-view HWND ID | open-windows SECONDS [-s WxH] [-r] TITLE... |\n"
      "       window-state HWND | process-windows PID | show HWND SW | item-parent HWND ID |\n"
      "       key-window SECONDS TITLE | type TEXT | chord VK... | foreground |\n"
      "       select-row HWND ID ROW | start-tray ID TIMEOUT_MS EXE [ARG...] |\n"
      "       item HWND ID | set-text HWND ID TEXT\n",
      stderr);
  return 2;
}

int Run(int argc, wchar_t** argv) {
  for (CommandHandler handler : commandHandlers()) {
    const int rc = handler(argc, argv);
    if (rc >= 0) return rc;
  }
  if (argc == 2 && std::wstring(argv[1]) == L"work-area") return WorkArea();
  if (argc == 2 && std::wstring(argv[1]) == L"foreground") return PrintForeground();
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
  if (cmd == L"tray-icon" && argc == 4 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], n))
    return TrayIcon(hwnd, n);
  if (cmd == L"window-rect" && argc == 3 && ParseWindow(argv[2], hwnd)) return WindowRect(hwnd);
  unsigned long visible = 0;
  if (cmd == L"wait-visible" && argc == 5 && ParseWindow(argv[2], hwnd) &&
      ParseNumber(argv[3], visible) && visible <= 1 && ParseNumber(argv[4], n))
    return WaitVisible(hwnd, visible == 1, n);
  if (cmd == L"wait-class" && argc == 4 && ParseNumber(argv[3], n)) return WaitClass(argv[2], n);
  if (cmd == L"list-view" && argc == 4 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], n))
    return ListView(hwnd, n);
  if (cmd == L"window-state" && argc == 3 && ParseWindow(argv[2], hwnd)) return WindowState(hwnd);
  if (cmd == L"process-windows" && argc == 3 && ParseNumber(argv[2], n))
    return ListProcessWindows(static_cast<DWORD>(n));
  if (cmd == L"show" && argc == 4 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], n))
    return Show(hwnd, n);
  if (cmd == L"item-parent" && argc == 4 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], n))
    return ItemParent(hwnd, n);
  if (cmd == L"item" && argc == 4 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], n))
    return Item(hwnd, n);
  if (cmd == L"set-text" && argc == 5 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], n))
    return SetText(hwnd, n, argv[4]);
  unsigned long row = 0;
  if (cmd == L"select-row" && argc == 5 && ParseWindow(argv[2], hwnd) && ParseNumber(argv[3], n) &&
      ParseNumber(argv[4], row))
    return SelectRow(hwnd, n, row);
  if (cmd == L"open-windows" && argc >= 4 && ParseNumber(argv[2], n))
    return OpenWindows(n, argv + 3, argc - 3);
  unsigned long timeout = 0;
  if (cmd == L"start-tray" && argc >= 5 && ParseNumber(argv[2], n) && ParseNumber(argv[3], timeout))
    return StartTray(n, timeout, argv + 4, argc - 4);
  if (cmd == L"key-window" && argc == 4 && ParseNumber(argv[2], n)) return KeyWindow(n, argv[3]);
  if (cmd == L"type" && argc == 3) return TypeText(argv[2]);
  if (cmd == L"chord" && argc >= 3) return PressChord(argv + 2, argc - 2);
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
