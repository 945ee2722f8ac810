#include "controls/keyboard_capture.h"

using namespace platform;

bool KeyboardCapture::capture(Hwnd receiver) {
  if (capturing() || !input_.installKeyboardHook(*this)) return false;
  receiver_ = receiver;
  return true;
}

void KeyboardCapture::release() {
  if (!capturing()) return;
  input_.removeKeyboardHook(*this);
  receiver_ = {};
}

bool KeyboardCapture::onKeyEvent(uint32_t message, int32_t virtualKey) {
  uint32_t forwarded = 0;
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) forwarded = kKeyPressed;
  if (message == WM_KEYUP || message == WM_SYSKEYUP) forwarded = kKeyReleased;
  if (forwarded == 0 || !windows_.isWindow(receiver_)) return false;
  return messages_.postMessage(receiver_, forwarded, static_cast<WParam>(virtualKey), 0);
}
