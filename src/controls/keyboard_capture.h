// The desktop-wide keyboard hook of the hot-key edit control. While it is installed, every key
// event of the whole desktop is swallowed and posted to one window instead (kKeyPressed or
// kKeyReleased, the virtual-key code in wParam): no other program gets a key, and only
// Ctrl+Alt+Del, which no hook sees, still reaches the system. So it must never outlive the
// window's focus: its owner releases it when the focus goes and when the window is destroyed,
// and the destructor releases it at the latest, so the hook is gone before its owner is. It
// keeps the window's handle, not an object: an event for a window that has gone is passed on.
#pragma once

#include "platform/platform.h"

class KeyboardCapture : private platform::KeyboardSink {
 public:
  static constexpr uint32_t kKeyPressed = platform::WM_USER + 0x100;
  static constexpr uint32_t kKeyReleased = platform::WM_USER + 0x101;

  KeyboardCapture(platform::Input& input, platform::Messages& messages, platform::Windows& windows)
      : input_(input), messages_(messages), windows_(windows) {}
  ~KeyboardCapture() { release(); }
  KeyboardCapture(const KeyboardCapture&) = delete;
  KeyboardCapture& operator=(const KeyboardCapture&) = delete;

  // False when the process has a hook already or the system refuses one: the window then
  // gets no keys.
  bool capture(platform::Hwnd receiver);
  void release();
  bool capturing() const { return static_cast<bool>(receiver_); }

 private:
  bool onKeyEvent(uint32_t message, int32_t virtualKey) override;

  platform::Input& input_;
  platform::Messages& messages_;
  platform::Windows& windows_;
  platform::Hwnd receiver_;
};
