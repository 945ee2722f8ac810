// The simulated program's own plain windows, their menus, and message boxes: what only the
// owner of a window does to it (creation, caption text, repainting, animation, its system
// menu), and the modal loops of pop-up menus and message boxes, answered from queues.
//
// What it models:
// - Plain windows (createWindow) get WM_CREATE (-1 fails the creation) and are then shown when
//   created with WS_VISIBLE (an overlapped window, neither WS_POPUP nor WS_CHILD, gets
//   WS_CAPTION as in Windows).
// - animateWindow: WM_PRINTCLIENT first (when showing), then the clock moves by the duration
//   as in a sleep, then the window is shown through the position protocol (AW_ACTIVATE makes
//   it the foreground window) or hidden directly, without position messages. It fails for
//   other programs' windows, on a visible window when showing and a hidden one when hiding.
// - System menus of windows with WS_SYSMENU; pop-up menus answered from a queue.
// - Re-entry (sim_modal_loops.cpp): inside a modal loop (menu, message box) the program's
//   messages go on arriving: the test's hook for it runs there and may move the clock (timers
//   fire), send messages or close windows.
// Not modelled: creation messages other than WM_CREATE (no WM_NCCREATE, no WM_SIZE / WM_MOVE
// after creation), a menu closed by a click elsewhere.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/own_windows.h"
#include "platform/sim/sim_windows.h"

namespace sim {

struct SystemMenuItem {
  uint32_t flags = 0;
  uint32_t id = 0;
  std::string text;
};

struct SimMessageBox {
  std::string text;
  std::string caption;
  uint32_t type = 0;
  platform::Hwnd owner;
};

class SimOwnWindows : public platform::OwnWindows,
                      public platform::MessageBoxes,
                      SimWindowsListener {
 public:
  explicit SimOwnWindows(SimWindows& windows);

  // ===== Test API =====
  int refuseWindowCreations = 0;  // so many next createWindow calls fail before any message
  // Null / empty for unknown handles.
  const std::vector<SystemMenuItem>& systemMenu(platform::Hwnd window) const;

  // Pop-up menus: answers taken from the front; 0 or none = dismissed. An answer that is
  // grayed or not in the menu chooses nothing. The last menu shown, as it was shown.
  std::deque<uint32_t> menuAnswers;
  std::optional<platform::MenuTemplate> lastMenu;
  // The menu's loop goes on delivering the program's messages: `whileMenu` runs (once) while
  // the next menu is up, before its answer is taken, as the user holding it open (advance()
  // there fires the timers due, sendMessage is what the system sends meanwhile); what was
  // posted is delivered before the menu closes. A menu whose owner went meanwhile closes
  // choosing nothing. (Modal dialogs: their scripts run inside the loop, sim_dialogs.h.)
  std::function<void()> whileMenu;

  // Message boxes: answers taken from the front of the queue, IDOK when empty. A real box's
  // modal loop goes on delivering the program's messages: `whileMessageBox` runs (once) while
  // the next box is up, as a user clicking elsewhere then would.
  std::deque<int> messageBoxAnswers;
  std::function<void()> whileMessageBox;
  std::vector<SimMessageBox> messageBoxes;

  // ===== platform::OwnWindows =====
  platform::Hwnd createWindow(const platform::CreateWindowArgs& params,
                              platform::MessageHandler* handler) override;
  platform::LResult defaultProc(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam) override {
    return windows_.defaultProc(window, message, wParam, lParam);
  }
  bool destroyWindow(platform::Hwnd window) override;
  bool setWindowText(platform::Hwnd window, const std::string& text) override;
  bool invalidateRect(platform::Hwnd window, bool erase) override;
  bool redrawNow(platform::Hwnd window) override;
  bool animateWindow(platform::Hwnd window, platform::Dword milliseconds,
                     platform::Dword flags) override;
  bool adjustWindowRect(platform::Rect& rect, uint32_t style, uint32_t exStyle) override;
  bool hasSystemMenu(platform::Hwnd window) override;
  bool appendSystemMenu(platform::Hwnd window, uint32_t flags, uint32_t id,
                        const std::string& text) override;
  bool trackPopupMenu(const platform::MenuTemplate& popup, uint32_t flags, platform::Point at,
                      platform::Hwnd owner) override;

  // ===== platform::MessageBoxes =====
  int show(platform::Hwnd owner, const std::string& text, const std::string& caption,
           uint32_t type) override;

 private:
  void runWhileMenu();
  void recordMade(platform::Hwnd window) override { systemMenus_.erase(window.value); }

  SimWindows& windows_;
  std::map<uint32_t, std::vector<SystemMenuItem>> systemMenus_;
};

}  // namespace sim
