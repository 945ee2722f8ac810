// Helpers shared by the Wine test driver's command files: output, parsing, window texts.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace driver {

inline constexpr DWORD kPollMs = 50;

inline std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

inline void PrintLine(const std::string& s) {
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

inline int Fail(const std::string& why) {
  std::fprintf(stderr, "wine-driver: %s\n", why.c_str());
  return 1;
}

inline std::string Hex(const void* p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%08x",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(p)));
  return buf;
}

inline bool ParseNumber(const wchar_t* text, unsigned long& value) {
  wchar_t* end = nullptr;
  value = std::wcstoul(text, &end, 0);  // base 0: "0x..." or decimal
  return end != text && *end == L'\0';
}

inline bool ParseWindow(const wchar_t* text, HWND& hwnd) {
  unsigned long v = 0;
  if (!ParseNumber(text, v)) return false;
  hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(v));
  return true;
}

inline std::wstring WindowText(HWND hwnd) {
  int len = GetWindowTextLengthW(hwnd);
  if (len <= 0) return {};
  std::wstring s(static_cast<size_t>(len) + 1, L'\0');
  int got = GetWindowTextW(hwnd, s.data(), len + 1);
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
}

inline std::wstring ClassName(HWND hwnd) {
  wchar_t buf[256];
  int n = GetClassNameW(hwnd, buf, 256);
  return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

// Calls `done` every kPollMs until it answers true or the time is up.
template <class F>
inline bool PollUntil(DWORD timeout_ms, F done) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

// Commands kept in files of their own register a handler at start-up (a static
// CommandRegistration); the driver asks each in turn. A handler returns -1 for a command line
// that is not its own, else the exit status.
using CommandHandler = int (*)(int argc, wchar_t** argv);

inline std::vector<CommandHandler>& commandHandlers() {
  static std::vector<CommandHandler> handlers;
  return handlers;
}

struct CommandRegistration {
  explicit CommandRegistration(CommandHandler handler) { commandHandlers().push_back(handler); }
};

}  // namespace driver
