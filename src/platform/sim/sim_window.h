// One window of the simulated window table: what every window has. What a fake keeps of a
// window beyond this (a dialog's result, a control's state, a busy thread, a picture) lives in
// that fake's own tables, keyed by the handle.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "platform/types.h"
#include "platform/window_types.h"

namespace sim {

// Where Windows parks a minimised window.
constexpr platform::Rect kMinimizedRect{-32000, -32000, -32000 + 160, -32000 + 28};

// A window of another program, as a test adds it.
struct ForeignWindow {
  platform::Dword processId = 0;
  std::string title;  // code page 932, as the adapter gives other programs' titles
  uint32_t style =
      platform::WS_VISIBLE | platform::WS_SYSMENU | platform::WS_MINIMIZEBOX | platform::WS_CAPTION;
  uint32_t exStyle = 0;  // WS_EX_TOPMOST puts it in the topmost band
  platform::Rect rect;   // window rectangle, screen coordinates
  bool iconic = false;
  // Maximised: it fills the work area, and `rect` is only its normal rectangle. With `iconic`
  // too, it was maximised when it was minimised and restores to maximised.
  bool maximized = false;
  // The placement's normal rectangle (workspace coordinates). Without one it follows `rect`
  // while the window is not minimised.
  std::optional<platform::Rect> normalRect;
  bool enabled = true;
  // A child window (WS_CHILD is added) of another window of the same program: not listed
  // among the top-level windows, found by findWindowEx under its parent in creation order,
  // gone with it. `rect` is in screen coordinates.
  platform::Hwnd parent;
  std::string className;  // the window class, as findWindowEx matches it
  // What it draws: one colour (none: a colour of its own, never black), and its icons as
  // WM_GETICON answers them and as its class holds them (sim_drawing.h, sim_icons.h).
  std::optional<platform::ColorRef> color;
  platform::IconHandle icon;
  platform::IconHandle classIcon;
};

struct ReceivedMessage {
  uint32_t message = 0;
  platform::WParam wParam = 0;
  platform::LParam lParam = 0;
  bool posted = false;  // posted, not sent
  uint32_t at = 0;      // the clock (`now`) when it arrived
  friend bool operator==(const ReceivedMessage&, const ReceivedMessage&) = default;
};

// A style the program gave another program's window (setWindowLong GWL_STYLE, enableWindow).
struct StyleChange {
  uint32_t at = 0;  // the clock (`now`)
  uint32_t style = 0;
  friend bool operator==(const StyleChange&, const StyleChange&) = default;
};

struct SimWindow {
  platform::Hwnd handle;
  bool alive = true;
  bool own = false;         // the program's own window
  bool destroying = false;  // between the start of destroy and WM_NCDESTROY
  platform::Dword processId = 0;
  std::string text;
  std::string className;  // other programs' windows as a test names them; own ones by kind
  uint32_t style = 0;     // WS_VISIBLE, WS_MINIMIZE and WS_DISABLED hold those states
  uint32_t exStyle = 0;
  platform::Rect rect;  // screen coordinates, children too
  // Other programs: the placement's rectangle as given (workspace coordinates).
  // Own windows: the screen rectangle to restore to while minimised.
  platform::Rect normalRect;
  bool restoreToMaximized = false;       // minimised from maximised (WPF_RESTORETOMAXIMIZED)
  platform::Hwnd parent;                 // WS_CHILD windows
  platform::Hwnd owner;                  // owned top-level windows
  std::vector<platform::Hwnd> children;  // in creation order

  // The program's handler; then the procedure of the window's class (a control's, the dialog
  // manager's), which defaultProc reaches; then the system's default processing.
  platform::MessageHandler* handler = nullptr;
  platform::MessageHandler* classProc = nullptr;
  // A control of the program's: what it receives is recorded, and it paints itself (no
  // WM_PAINT) unless the program subclassed it.
  bool control = false;

  // Layered attributes: the alpha (LWA_ALPHA; none while opaque), and what
  // setLayeredWindowAttributes was last given, until WS_EX_LAYERED is cleared.
  std::optional<uint8_t> alpha;
  bool layeredSet = false;
  platform::ColorRef layeredKey = 0;
  uint8_t layeredAlphaByte = 0;
  platform::Dword layeredFlags = 0;
  void clearLayered() {
    alpha.reset();
    layeredSet = false;
  }

  // Own windows: part of it waits for WM_PAINT; the frame as last drawn (the frame bits of the
  // style when it was created or last given SWP_FRAMECHANGED).
  bool needsPaint = false;
  bool needsErase = false;  // the next BeginPaint sends WM_ERASEBKGND first
  uint32_t drawnFrame = 0;

  bool iconic() const { return (style & platform::WS_MINIMIZE) != 0; }
  bool zoomed() const { return (style & platform::WS_MAXIMIZE) != 0; }
  bool visible() const { return (style & platform::WS_VISIBLE) != 0; }
  bool topmost() const { return (exStyle & platform::WS_EX_TOPMOST) != 0; }
};

}  // namespace sim
