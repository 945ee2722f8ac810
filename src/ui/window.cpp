#include "ui/window.h"

#include <cassert>

namespace ui {

Window::~Window() {
  assert(frames_ == 0 && "freed while its own code runs: let it go with release()");
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
  Frame frame(*this);  // the object outlives this call, even if its owner lets it go
  LResult result = windowProc(message, wParam, lParam);
  if (message == platform::WM_NCDESTROY) {
    hwnd_ = {};
    postNcDestroy();
  }
  return result;
}

}  // namespace ui
