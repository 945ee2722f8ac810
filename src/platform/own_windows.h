// The program's own plain windows: creation, default processing, destruction, and what only
// an owner does to its window (caption text, repainting, animation, system menu, pop-ups).
#pragma once

#include <string>

#include "platform/dialog_template.h"
#include "platform/window_types.h"

namespace platform {

class OwnWindows {
 public:
  virtual ~OwnWindows() = default;
  // The handler gets every message from WM_NCCREATE on (WM_CREATE is delivered before this
  // returns); 0 on failure. No cursor, icon or background brush: the handler paints.
  virtual Hwnd createWindow(const CreateWindowArgs& params, MessageHandler* handler) = 0;
  // The default processing of a message of one of the program's own windows (the dialog's
  // default for dialogs). Handlers call it with the arguments they received.
  virtual LResult defaultProc(Hwnd window, uint32_t message, WParam wParam, LParam lParam) = 0;
  virtual bool destroyWindow(Hwnd window) = 0;
  virtual bool setWindowText(Hwnd window, const std::string& text) = 0;
  virtual bool invalidateRect(Hwnd window, bool erase) = 0;
  // RedrawWindow with RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW: painted before it returns.
  virtual bool redrawNow(Hwnd window) = 0;
  // AnimateWindow; blocks for about `milliseconds`.
  virtual bool animateWindow(Hwnd window, Dword milliseconds, Dword flags) = 0;
  // AdjustWindowRectEx: the window rectangle around a client rectangle.
  virtual bool adjustWindowRect(Rect& rect, uint32_t style, uint32_t exStyle) = 0;
  // The system menu's existence, and appending to it (MF_STRING or MF_SEPARATOR).
  virtual bool hasSystemMenu(Hwnd window) = 0;
  virtual bool appendSystemMenu(Hwnd window, uint32_t flags, uint32_t id,
                                const std::string& text) = 0;
  // TrackPopupMenu of a pop-up built from the template; the chosen command arrives at the
  // owner as WM_COMMAND. Returns false when nothing was chosen.
  virtual bool trackPopupMenu(const MenuTemplate& popup, uint32_t flags, Point at, Hwnd owner) = 0;
};

}  // namespace platform
