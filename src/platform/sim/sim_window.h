// One window of the simulated window manager; private to its two source files.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_window_manager.h"

namespace sim {

// Where Windows parks a minimised window.
constexpr platform::Rect kMinimizedRect{-32000, -32000, -32000 + 160, -32000 + 28};

struct SimWindowManager::Window {
  platform::Hwnd handle;
  bool alive = true;
  bool own = false;         // the program's own window
  bool destroying = false;  // between the start of destroy and WM_NCDESTROY
  platform::Dword processId = 0;
  std::string text;
  std::string className;  // other programs' windows as a test names them; controls by kind
  uint32_t style = 0;     // WS_VISIBLE, WS_MINIMIZE and WS_DISABLED hold those states
  uint32_t exStyle = 0;
  platform::Rect rect;  // screen coordinates, children too
  // Other programs: the placement's rectangle as given (workspace coordinates).
  // Own windows: the screen rectangle to restore to while minimised.
  platform::Rect normalRect;
  platform::Hwnd parent;                 // WS_CHILD windows
  platform::Hwnd owner;                  // owned top-level windows
  std::vector<platform::Hwnd> children;  // in creation order
  std::vector<ReceivedMessage> received;
  std::vector<StyleChange> styleChanges;  // other programs' windows: what the program set
  std::vector<SystemMenuItem> systemMenu;
  std::optional<uint8_t> alpha;  // layered alpha (LWA_ALPHA); none while opaque
  // What setLayeredWindowAttributes was last given, until WS_EX_LAYERED is cleared.
  bool layeredSet = false;
  platform::ColorRef layeredKey = 0;
  uint8_t layeredAlphaByte = 0;
  platform::Dword layeredFlags = 0;
  void clearLayered() {
    alpha.reset();
    layeredSet = false;
  }
  bool hung = false;       // other programs' windows only
  uint64_t hungSince = 0;  // on the 64-bit clock
  uint64_t busySpan = 0;   // which setBusy span is running (a later one replaces it)
  uint64_t busyUntil = 0;  // when that span ends; 0 while hung without end
  std::map<uint32_t, uint32_t> slowHandlers;  // message -> ms its handler keeps the thread
  // Changes that timed out, made in order once the thread is free again.
  std::vector<std::function<void()>> outstanding;

  platform::MessageHandler* handler = nullptr;
  bool dialog = false;
  int32_t templateId = 0;
  bool ended = false;
  intptr_t result = 0;
  platform::Hwnd ownerToEnable;  // a modal dialog's owner, disabled while it is up

  std::unique_ptr<ControlModel> control;  // controls only
  int32_t controlId = 0;

  uint32_t fontDpi = 0;             // own windows: the DPI of the font last sent (scaleDialog)
  bool restoreToMaximized = false;  // minimised from maximised (WPF_RESTORETOMAXIMIZED)
  // Own windows: part of it waits for WM_PAINT; the frame as last drawn (the frame bits of the
  // style when it was created or last given SWP_FRAMECHANGED).
  bool needsPaint = false;
  bool needsErase = false;  // the next BeginPaint sends WM_ERASEBKGND first
  uint32_t drawnFrame = 0;
  platform::Point paintedAt;  // where paintText drew it
  std::string painted;        // the text of the last paintText (paintLabel: icon h... and text)
  std::string badge;          // drawBadge's text since the last BeginPaint, and its box
  platform::Rect badgeBox;
  // What it draws (other programs' windows); see ForeignWindow.
  std::optional<platform::ColorRef> color;
  platform::IconHandle icon;
  platform::IconHandle classIcon;
  std::optional<SimBitmap> paintedBitmap;  // the last paintBitmap's, as it was
  uint64_t prints = 0;                     // PrintWindow calls for it

  bool iconic() const { return (style & platform::WS_MINIMIZE) != 0; }
  bool zoomed() const { return (style & platform::WS_MAXIMIZE) != 0; }
  bool visible() const { return (style & platform::WS_VISIBLE) != 0; }
  bool topmost() const { return (exStyle & platform::WS_EX_TOPMOST) != 0; }
};

}  // namespace sim
