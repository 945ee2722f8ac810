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
  const Message outer = current_;
  current_ = {message, wParam, lParam};
  const Answer answer = dispatch(message, wParam, lParam);
  current_ = outer;
  if (answer) return *answer;
  // Closed inside a loop of its own handler (its menu, say): nothing is left to process.
  if (!hwnd_) return 0;
  return defaultProc(message, wParam, lParam);
}

Answer Window::dispatch(uint32_t message, WParam wParam, LParam lParam) {
  using namespace platform;
  switch (message) {
    case WM_CREATE:
      onCreate();
      return kDefault;
    case WM_DESTROY:
      onDestroy();
      return kDefault;
    case WM_PAINT:
      return onPaint();
    case WM_ERASEBKGND:
      return onEraseBackground(DeviceContext{wParam});
    case WM_PRINTCLIENT:
      return onPrintClient(DeviceContext{wParam});
    case WM_SIZE:
      return onSize();
    case WM_MOVE:
      return onMove();
    case WM_WINDOWPOSCHANGING:
      return onWindowPosChanging(reinterpret_cast<WindowPos*>(lParam));
    case WM_NCHITTEST:
      return onNcHitTest();
    case WM_SETFOCUS:
      return onSetFocus();
    case WM_KILLFOCUS:
      return onKillFocus();
    case WM_LBUTTONDOWN:
      return onLeftButtonDown(lParam);
    case WM_LBUTTONUP:
      return onLeftButtonUp();
    case WM_LBUTTONDBLCLK:
      return onLeftButtonDoubleClick();
    case WM_RBUTTONUP:
      return onRightButtonUp();
    case WM_MOUSEMOVE:
      onMouseMove(wParam, lParam);
      return kDefault;
    case WM_MOUSEWHEEL:
      onMouseWheel(wParam);
      return kDefault;
    case WM_KEYDOWN:
      onKeyDown(wParam);
      return kDefault;
    case WM_HOTKEY:
      onHotKey(static_cast<uintptr_t>(wParam));
      return kDefault;
    case WM_TIMER:
      onTimer(static_cast<uintptr_t>(wParam));
      return kDefault;
    case WM_COMMAND:
      if (onCommand(loWord(wParam), hiWord(wParam), Hwnd{static_cast<uint32_t>(lParam)})) {
        return 0;
      }
      return kDefault;
    case WM_SYSCOMMAND:
      return onSysCommand(wParam);
    case WM_QUERYDRAGICON:
      return onQueryDragIcon();
    case WM_ENDSESSION:
      return onEndSession(wParam, lParam);
    case WM_POWERBROADCAST:
      onPowerBroadcast(wParam);
      return kDefault;
    case WM_DWMCOMPOSITIONCHANGED:
      onCompositionChanged();
      return kDefault;
    default:
      return onOtherMessage(message, wParam, lParam);
  }
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
