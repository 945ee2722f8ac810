// Portable value types and constants with the layout and values of the Windows ones the
// program uses. The Win32 adapter static_asserts each of them against <windows.h>.
#pragma once

#include <cstdint>

namespace platform {

using HResult = int32_t;  // HRESULT: negative means failure
using Dword = uint32_t;   // DWORD

// A window handle as its 32-bit value; 0 is no window.
struct Hwnd {
  uint32_t value = 0;
  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr bool operator==(Hwnd, Hwnd) = default;
};

// A monitor handle as the adapter hands it out; only ever passed back to the adapter.
struct MonitorHandle {
  uint64_t value = 0;
  friend constexpr bool operator==(MonitorHandle, MonitorHandle) = default;
};

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
  friend constexpr bool operator==(Size, Size) = default;
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  constexpr int32_t width() const { return right - left; }
  constexpr int32_t height() const { return bottom - top; }
  friend constexpr bool operator==(Rect, Rect) = default;
};

// MARGINS of the frame extension.
struct Margins {
  int32_t left = 0;
  int32_t right = 0;
  int32_t top = 0;
  int32_t bottom = 0;
  friend constexpr bool operator==(Margins, Margins) = default;
};

// OSVERSIONINFOA, 148 bytes.
struct OsVersionInfo {
  Dword size = 0;
  Dword majorVersion = 0;
  Dword minorVersion = 0;
  Dword buildNumber = 0;
  Dword platformId = 0;
  char csdVersion[128] = {};
};

// MONITORINFOEXA, 72 bytes.
struct MonitorInfo {
  Dword size = 0;
  Rect monitor;
  Rect work;
  Dword flags = 0;
  char device[32] = {};
};

// DWM_THUMBNAIL_PROPERTIES; the adapter packs it as dwmapi does.
struct ThumbnailProperties {
  Dword flags = 0;
  Rect destination;
  Rect source;
  uint8_t opacity = 0;
  bool visible = false;
  bool sourceClientAreaOnly = false;
};

using ThumbnailId = uint64_t;  // HTHUMBNAIL

// Handles of GDI and USER objects, as the adapter hands them out.
struct IconHandle {
  uint64_t value = 0;
  friend bool operator==(IconHandle, IconHandle) = default;
};
struct BrushHandle {
  uint64_t value = 0;
  friend bool operator==(BrushHandle, BrushHandle) = default;
};
struct ImageListHandle {
  uint64_t value = 0;
  friend bool operator==(ImageListHandle, ImageListHandle) = default;
};
struct BitmapHandle {
  uint64_t value = 0;
  constexpr explicit operator bool() const { return value != 0; }
  friend bool operator==(BitmapHandle, BitmapHandle) = default;
};
struct DeviceContext {
  uint64_t value = 0;
};

using ColorRef = uint32_t;  // 0x00BBGGRR
constexpr ColorRef rgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) |
         (static_cast<ColorRef>(b) << 16);
}

enum class RegistryRoot : uint32_t {
  CurrentUser = 0x80000001u,   // HKEY_CURRENT_USER
  LocalMachine = 0x80000002u,  // HKEY_LOCAL_MACHINE
};

// Constants with the values of their Windows namesakes.
#define PLATFORM_CONSTANT(type, name, value) constexpr type name = value;
#include "platform/constants.inc"
#undef PLATFORM_CONSTANT

}  // namespace platform
