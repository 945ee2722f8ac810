// The port's portable types and constants must equal the Windows ones they stand for.
#include "platform/types.h"  // before <windows.h>, whose macros carry the same names

// The checks only compare values: see what the headers declare for Windows 8.1 too
// (PW_RENDERFULLCONTENT), while the program itself still runs on 7.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0603

#include <windows.h>

#include <commctrl.h>
#include <dwmapi.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <cstddef>

// MONITORINFOEXA derives from MONITORINFO in C++; its offsets are still the C layout's.
#pragma GCC diagnostic ignored "-Winvalid-offsetof"

namespace p = platform;

#define SAME_LAYOUT(Ours, Theirs) static_assert(sizeof(Ours) == sizeof(Theirs), #Ours)
#define SAME_OFFSET(Ours, a, Theirs, b) \
  static_assert(offsetof(Ours, a) == offsetof(Theirs, b), #Ours "." #a)

SAME_LAYOUT(p::Rect, RECT);
SAME_OFFSET(p::Rect, right, RECT, right);
SAME_LAYOUT(p::Point, POINT);
SAME_LAYOUT(p::Size, SIZE);
SAME_LAYOUT(p::Margins, MARGINS);
SAME_OFFSET(p::Margins, top, MARGINS, cyTopHeight);
SAME_LAYOUT(p::OsVersionInfo, OSVERSIONINFOA);
static_assert(sizeof(p::OsVersionInfo) == 148);
SAME_OFFSET(p::OsVersionInfo, platformId, OSVERSIONINFOA, dwPlatformId);
SAME_OFFSET(p::OsVersionInfo, csdVersion, OSVERSIONINFOA, szCSDVersion);
SAME_LAYOUT(p::MonitorInfo, MONITORINFOEXA);
static_assert(sizeof(p::MonitorInfo) == 72);
SAME_OFFSET(p::MonitorInfo, work, MONITORINFOEXA, rcWork);
SAME_OFFSET(p::MonitorInfo, flags, MONITORINFOEXA, dwFlags);
SAME_OFFSET(p::MonitorInfo, device, MONITORINFOEXA, szDevice);
static_assert(sizeof(p::Hwnd) == 4);

// Every constant of the list: here `name` is the Windows macro or enumerator.
using p::Dword;
using p::HResult;
#define PLATFORM_CONSTANT(type, name, value) \
  static_assert(static_cast<type>(value) == static_cast<type>(name), #name);
#include "platform/constants.inc"
#undef PLATFORM_CONSTANT
