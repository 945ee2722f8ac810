// The simulated user's input: system-wide hot-keys, the keyboard with its low-level hook and
// key names, and the pointer with the capture, the caption move loop and the wheel.
//
// What it models:
// - Hot-keys (sim_hot_keys.cpp): one owner per key combination across the system
//   (hotKeysHeldElsewhere stands for other programs); the press is posted as WM_HOTKEY. A
//   window's hot-keys go with it. registerHotKey and unregisterHotKey set the window table's
//   `lastErrorValue`.
// - The keyboard (sim_keyboard.cpp): one window of the program's has the focus (the window
//   table's, which moves it with the activation): the user clicks into a control
//   (focusControl), which activates its top-level window; WM_KILLFOCUS goes to the old focus,
//   then WM_SETFOCUS to the new. The focus leaves a window whose top-level window loses the
//   activation (hidden, minimised, another one activated: then WM_KILLFOCUS with no
//   successor); a focus window destroyed without losing the activation first takes the focus
//   with it silently.
// - The pointer (sim_pointer.cpp): moves, the left button with the capture and the caption
//   move loop, the wheel and typed keys reach the program's own window under the pointer (or
//   holding the capture, or active), in client coordinates; see the test API.
// Not modelled: real input (tests type and click through the API below), the focus a window
// gets back when it is activated again, keyboard auto-repeat, WM_CHAR, keys no hook sees
// (Ctrl+Alt+Del), other programs' keyboard hooks (the program's is the only one);
// WM_SETCURSOR, WM_NCMOUSEMOVE, WM_MOUSELEAVE and hover messages, WM_CAPTURECHANGED, the other
// buttons, double-click timing, the system's drag of a frame edge.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/input.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_windows.h"

namespace sim {

class SimInput : public platform::Input, SimWindowsListener {
 public:
  // Keys in a dialog navigate it as `dialogs` says.
  SimInput(SimWindows& windows, SimDialogs& dialogs);

  // ===== Test API =====
  // Hot-keys: (modifiers, key) combinations other programs hold.
  std::set<std::pair<uint32_t, uint32_t>> hotKeysHeldElsewhere;
  // The user presses a combination: WM_HOTKEY (id, modifiers | key << 16) is posted to the
  // window that registered it; false when none of ours did.
  bool pressHotKey(uint32_t modifiers, uint32_t key);
  // (modifiers, key) of a registration; the newest when the id was registered twice.
  std::optional<std::pair<uint32_t, uint32_t>> registeredHotKey(platform::Hwnd window,
                                                                int32_t id) const;

  platform::Point cursor;  // a test may set it directly: the pointer jumps, nothing is sent
  // The pointer (sim_pointer.cpp). The user moves it to a point on the screen: WM_MOUSEMOVE
  // (`keys`: MK_* flags, client coordinates) goes to the topmost visible top-level window of
  // the program's own under the point (other programs' windows hide what lies below them).
  // Nothing is sent when the pointer is over another program's window or the desktop.
  void moveCursor(platform::Point at, platform::WParam keys = 0);
  // The own top-level window under a screen point; none over other programs' windows.
  platform::Hwnd ownWindowAt(platform::Point at) const;
  uint64_t arrowCursorsSet = 0;  // setArrowCursor calls
  // The user presses the left button at `from` (the press activates the window under it, as
  // a click does), moves the pointer through `through` with the button held, and lets go.
  // A caption move loop started on the press (WM_NCLBUTTONDOWN HTCAPTION reaching
  // defaultProc) takes the rest of the road itself: the window follows the pointer through
  // the position protocol and the release ends the loop, as on Windows. A window holding the
  // capture gets the moves and the release wherever the pointer is.
  void leftDrag(platform::Point from, const std::vector<platform::Point>& through,
                platform::WParam keys = 0);
  // One turn of the wheel (WHEEL_DELTA per notch, positive away from the user) over the own
  // window under the pointer, as Windows 10 routes it; lParam is the pointer on the screen.
  void wheel(int32_t delta, platform::WParam keys = 0);
  // The user right-clicks at a point (activating the window under it, as a click does):
  // WM_RBUTTONDOWN and WM_RBUTTONUP. A pop-up menu opened meanwhile posts its command.
  void rightClick(platform::Point at);
  std::set<int32_t> keysHeld;  // what getKeyState reports as down (VK_SHIFT, say)
  platform::Hwnd capture() const { return capture_; }

  // The keyboard (sim_keyboard.cpp).
  bool focusControl(platform::Hwnd dialog, int32_t id);  // false as for clicks
  platform::Hwnd focus() const { return windows_.focus(); }
  // A key event goes to the low-level keyboard hook first, which may swallow it; else to the
  // focus window when its top-level window is the foreground one, else to the foreground
  // window; false when it reached none of the program's. The SYS messages while Alt is held.
  // In a dialog, an Escape or Enter that reaches a control is the dialog's IDCANCEL / IDOK and
  // a Tab moves the focus to the next WS_TABSTOP control, as IsDialogMessage does. What the
  // hook posted is delivered (pumpMessages) before these return. The key is held in between
  // (keysHeld).
  bool keyDown(int32_t key);
  bool keyUp(int32_t key);
  bool pressKey(int32_t key);                    // down and up
  bool chord(const std::vector<int32_t>& keys);  // down in order, up in reverse
  size_t keyboardHooks() const { return keyboardHook_ != nullptr ? 1 : 0; }
  // The keyboard layout's key names (US English; keyName answers "" for others) and the caret.
  std::map<int32_t, std::string> keyNames = usKeyNames();
  platform::Point caret;

  // ===== platform::Input =====
  bool registerHotKey(platform::Hwnd window, int32_t id, uint32_t modifiers, uint32_t key) override;
  bool unregisterHotKey(platform::Hwnd window, int32_t id) override;
  bool installKeyboardHook(platform::KeyboardSink& sink) override;
  bool removeKeyboardHook(platform::KeyboardSink& sink) override;
  std::string keyName(int32_t virtualKey) override;
  void setCaretPos(platform::Point at) override;
  platform::Point getCursorPos() override { return cursor; }
  void setArrowCursor() override {
    ++windows_.portCalls;
    ++arrowCursorsSet;
  }
  int16_t getKeyState(int32_t key) override;
  void setCapture(platform::Hwnd window) override;
  void releaseCapture() override;

 private:
  struct HotKey {
    uint32_t window;
    int32_t id;
    uint32_t modifiers;
    uint32_t key;
  };
  static std::map<int32_t, std::string> usKeyNames();
  bool keyEvent(int32_t key, bool down);
  bool navigateDialog(const SimWindow& focus, int32_t key);
  platform::Hwnd pointerTarget() const;
  void sendPointer(platform::Hwnd window, uint32_t message, platform::WParam keys);
  void runMoveLoop(platform::Hwnd window);
  void unlinked(platform::Hwnd window) override;  // its hot-keys go with it

  SimWindows& windows_;
  SimDialogs& dialogs_;
  platform::Hwnd capture_;
  platform::KeyboardSink* keyboardHook_ = nullptr;
  bool leftDown_ = false;
  std::deque<platform::Point> dragRest_;  // the rest of a leftDrag's road
  std::vector<HotKey> hotKeys_;           // oldest first
};

}  // namespace sim
