#include "ui/window.h"

namespace ui {

Window::~Window() {
  if (isWindow()) {
    destroying_ = true;
    ownWindows_.destroyWindow(hwnd_);
  }
}

platform::Rect Window::windowRect() const {
  platform::Rect rect;
  windows_.getWindowRect(hwnd_, rect);
  return rect;
}

platform::Rect Window::clientRect() const {
  platform::Rect rect;
  windows_.getClientRect(hwnd_, rect);
  return rect;
}

bool Window::destroyWindow() {
  return hwnd_ && ownWindows_.destroyWindow(hwnd_);
}

bool Window::subclassDlgItem(platform::Dialogs& dialogs, Hwnd dialog, int32_t id) {
  const Hwnd control = dialogs.subclassDlgItem(dialog, id, this);
  if (control) hwnd_ = control;
  return static_cast<bool>(control);
}

LResult Window::windowProc(uint32_t message, WParam wParam, LParam lParam) {
  return defaultProc(message, wParam, lParam);
}

LResult Window::onMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) {
  if (!hwnd_) hwnd_ = window;
  if (destroying_) return ownWindows_.defaultProc(window, message, wParam, lParam);
  LResult result = windowProc(message, wParam, lParam);
  if (message == platform::WM_NCDESTROY) {
    hwnd_ = {};
    postNcDestroy();  // may delete this object: touch nothing after it
  }
  return result;
}

}  // namespace ui
