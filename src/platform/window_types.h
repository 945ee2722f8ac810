// What the window services share: message parameters, the portable structures some messages
// point to, placements, and the handler of the program's own windows.
//
// Texts are code page 932 bytes, both ways and whatever the system's code page: the adapter
// converts them to UTF-16 to show them and converts what it reads back. A character that code
// page 932 cannot hold comes back as Windows' best fit for it in that code page (é as e, ¥ as
// a backslash) or else as '?', as a Japanese system's ANSI calls give it.
//
// Messages travel as (message, wParam, lParam). The few messages whose lParam points to a
// structure carry the portable structures below instead of the Windows ones:
// WM_WINDOWPOSCHANGING/CHANGED -> WindowPos*, WM_NOTIFY -> NotifyHeader*. For WM_CTLCOLOR*
// wParam is the device context's handle value and lParam the control's window.
#pragma once

#include "platform/types.h"

namespace platform {

using WParam = uint64_t;
using LParam = int64_t;
using LResult = int64_t;

// Special insert-after values of SetWindowPos, as 32-bit handles.
constexpr Hwnd kHwndTop{0};
constexpr Hwnd kHwndBottom{1};
constexpr Hwnd kHwndTopmost{0xFFFFFFFFu};
constexpr Hwnd kHwndNotopmost{0xFFFFFFFEu};

// WINDOWPOS.
struct WindowPos {
  Hwnd hwnd;
  Hwnd insertAfter;
  int32_t x = 0;
  int32_t y = 0;
  int32_t cx = 0;
  int32_t cy = 0;
  uint32_t flags = 0;
};

// NMHDR.
struct NotifyHeader {
  Hwnd from;
  uint64_t idFrom = 0;
  uint32_t code = 0;
};

// WINDOWPLACEMENT.
struct WindowPlacement {
  uint32_t length = 44;
  uint32_t flags = 0;
  uint32_t showCmd = 0;
  Point minPosition;
  Point maxPosition;
  Rect normalPosition;
  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// Receives the messages of one of the program's own windows, from its creation to
// WM_NCDESTROY, after which the window is gone and no message comes any more.
class MessageHandler {
 public:
  virtual ~MessageHandler() = default;
  virtual LResult onMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) = 0;
};

// A plain top-level window of the program's own (not a dialog).
struct CreateWindowArgs {
  uint32_t classStyle = 0;  // CS_*: the adapter registers one window class per set of styles
  uint32_t style = 0;
  uint32_t exStyle = 0;
  Rect rect;  // left, top, right, bottom in screen coordinates
};

// Result of SendMessageTimeout.
struct TimedResult {
  bool answered = false;  // false: timed out, hung or gone
  LResult result = 0;
};

}  // namespace platform
