// The program's small window framework, written once over the platform port.
//
// Conventions:
// - One C++ object per window. The object learns its handle with the first message of its
//   window and forgets it after WM_NCDESTROY; postNcDestroy() then runs, the last thing that
//   happens to a window (an object that owns itself may delete itself there).
// - windowProc() sees every message first and turns the ones a class cares about into calls
//   of virtual handlers; whatever nobody takes goes to defaultProc(), the system's default.
// - An object outlives its window; destroying an object whose window still exists destroys
//   the window first (only default processing runs then).
// - Everything runs on the one user-interface thread.
#pragma once

#include <string>

#include "platform/windows.h"

namespace ui {

using platform::Hwnd;
using platform::LParam;
using platform::LResult;
using platform::WParam;

inline uint32_t loWord(uint64_t value) { return static_cast<uint32_t>(value & 0xFFFF); }
inline uint32_t hiWord(uint64_t value) { return static_cast<uint32_t>((value >> 16) & 0xFFFF); }

class Window : public platform::MessageHandler {
 public:
  explicit Window(platform::Windows& windows) : windows_(windows) {}
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  Hwnd hwnd() const { return hwnd_; }
  platform::Windows& windows() const { return windows_; }
  bool isWindow() const { return hwnd_ && windows_.isWindow(hwnd_); }
  bool isVisible() const { return hwnd_ && windows_.isWindowVisible(hwnd_); }

  bool showWindow(int32_t command) { return windows_.showWindow(hwnd_, command); }
  bool setWindowPos(Hwnd insertAfter, int32_t x, int32_t y, int32_t cx, int32_t cy,
                    uint32_t flags) {
    return windows_.setWindowPos(hwnd_, insertAfter, x, y, cx, cy, flags);
  }
  platform::Rect windowRect() const;
  platform::Rect clientRect() const;
  bool setTimer(uintptr_t id, uint32_t milliseconds) {
    return windows_.setTimer(hwnd_, id, milliseconds);
  }
  bool killTimer(uintptr_t id) { return windows_.killTimer(hwnd_, id); }
  LResult sendMessage(uint32_t message, WParam wParam, LParam lParam) {
    return windows_.sendMessage(hwnd_, message, wParam, lParam);
  }
  virtual bool destroyWindow();

 protected:
  virtual LResult windowProc(uint32_t message, WParam wParam, LParam lParam);
  LResult defaultProc(uint32_t message, WParam wParam, LParam lParam) {
    return windows_.defaultProc(hwnd_, message, wParam, lParam);
  }
  virtual void postNcDestroy() {}

 private:
  LResult onMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) final;

  platform::Windows& windows_;
  Hwnd hwnd_;
  bool destroying_ = false;  // in the destructor: no virtual dispatch any more
};

}  // namespace ui
