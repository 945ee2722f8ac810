// The user's input as the program asks for it: hot-keys, the keyboard and the pointer.
#pragma once

#include <string>

#include "platform/types.h"

namespace platform {

// The procedure of a low-level keyboard hook: it sees the user's key events before any window.
class KeyboardSink {
 public:
  // WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP or WM_SYSKEYUP with the virtual-key code. True
  // swallows the event: no window, not even the system's hot-keys, sees it.
  virtual bool onKeyEvent(uint32_t message, int32_t virtualKey) = 0;

 protected:
  ~KeyboardSink() = default;
};

class Input {
 public:
  virtual ~Input() = default;
  // WM_HOTKEY with the id in wParam. False when another program holds it.
  virtual bool registerHotKey(Hwnd window, int32_t id, uint32_t modifiers, uint32_t key) = 0;
  virtual bool unregisterHotKey(Hwnd window, int32_t id) = 0;
  // A low-level keyboard hook for the whole desktop (WH_KEYBOARD_LL), called on this thread.
  // One at a time in the process: false while one is installed or when the system refuses.
  // The sink must stay alive until removeKeyboardHook.
  virtual bool installKeyboardHook(KeyboardSink& sink) = 0;
  // False when this sink has no hook.
  virtual bool removeKeyboardHook(KeyboardSink& sink) = 0;
  // The keyboard layout's name of a key (GetKeyNameText of its scan code), code page 932.
  virtual std::string keyName(int32_t virtualKey) = 0;
  // SetCaretPos, in the client coordinates of the window that owns the caret.
  virtual void setCaretPos(Point at) = 0;
  virtual Point getCursorPos() = 0;
  // SetCursor(LoadCursor(NULL, IDC_ARROW)): for windows whose class has no cursor.
  virtual void setArrowCursor() = 0;
  // GetKeyState: negative while the key is held.
  virtual int16_t getKeyState(int32_t key) = 0;
  // The pointer's messages go to this window, wherever the pointer is, until released.
  virtual void setCapture(Hwnd window) = 0;
  virtual void releaseCapture() = 0;
};

}  // namespace platform
