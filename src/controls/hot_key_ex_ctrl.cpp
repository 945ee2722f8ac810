#include "controls/hot_key_ex_ctrl.h"

using namespace platform;

CHotKeyExCtrl::CHotKeyExCtrl(const Ports& ports)
    : ui::Window(ports),
      input_(ports.input),
      drawing_(ports.drawing),
      capture_(ports.input, ports.messages, ports.windows) {}

bool CHotKeyExCtrl::subclassDlgItem(ui::Dialog& dialog, int32_t id) {
  return ui::Window::subclassDlgItem(dialog.dialogs(), dialog.hwnd(), id);
}

void CHotKeyExCtrl::setHotKey(uint16_t virtualKey, uint32_t modifiers) {
  value_.set(virtualKey, modifiers);
  redraw();
}

std::string CHotKeyExCtrl::text() const {
  return value_.text([this](int32_t key) { return input_.keyName(key); });
}

void CHotKeyExCtrl::redraw() {
  if (!hwnd()) return;
  ownWindows().setWindowText(hwnd(), text());
  ownWindows().redrawNow(hwnd());
}

void CHotKeyExCtrl::paint() {
  const int32_t width = drawing_.paintText(hwnd(), text(), {1, 1});
  input_.setCaretPos({width + 1, 1});
}

ui::Answer CHotKeyExCtrl::onSetFocus() {
  const LResult result = defaultProcessing();
  if (!capture_.capturing()) {
    value_.forgetHeldKeys();
    capture_.capture(hwnd());
  }
  return result;
}

ui::Answer CHotKeyExCtrl::onKillFocus() {
  const LResult result = defaultProcessing();
  capture_.release();
  return result;
}

void CHotKeyExCtrl::onDestroy() {
  capture_.release();  // also when the window goes without losing the focus first
}

ui::Answer CHotKeyExCtrl::onPaint() {
  paint();
  return 0;
}

ui::Answer CHotKeyExCtrl::onOtherMessage(uint32_t message, WParam wParam, LParam) {
  if (message != KeyboardCapture::kKeyPressed && message != KeyboardCapture::kKeyReleased) {
    return ui::kDefault;
  }
  value_.keyEvent(static_cast<int32_t>(wParam), message == KeyboardCapture::kKeyPressed);
  redraw();
  return 0;
}
