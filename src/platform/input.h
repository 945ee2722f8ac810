// The user's input as the program asks for it: hot-keys and the pointer.
#pragma once

#include "platform/types.h"

namespace platform {

class Input {
 public:
  virtual ~Input() = default;
  // WM_HOTKEY with the id in wParam. False when another program holds it.
  virtual bool registerHotKey(Hwnd window, int32_t id, uint32_t modifiers, uint32_t key) = 0;
  virtual bool unregisterHotKey(Hwnd window, int32_t id) = 0;
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
