// Any window, another program's or the program's own: facts and changes of state. A handle
// that is no window gives 0, empty or false.
#pragma once

#include <string>
#include <vector>

#include "platform/window_types.h"

namespace platform {

class Windows {
 public:
  virtual ~Windows() = default;

  // --- Facts. ---
  // EnumWindows: top-level windows in z-order.
  virtual std::vector<Hwnd> enumWindows() = 0;
  virtual bool isWindow(Hwnd window) = 0;
  virtual bool isWindowVisible(Hwnd window) = 0;
  virtual bool isWindowEnabled(Hwnd window) = 0;
  virtual bool isIconic(Hwnd window) = 0;
  virtual bool isZoomed(Hwnd window) = 0;                          // maximised
  virtual uint32_t getWindowLong(Hwnd window, int32_t index) = 0;  // GWL_STYLE, GWL_EXSTYLE
  // GetWindowTextW in code page 932, cut after the last whole character that fits a buffer
  // of `bufferSize` bytes with its terminator (so at most bufferSize - 1 bytes).
  virtual std::string getWindowText(Hwnd window, size_t bufferSize) = 0;
  virtual Dword getWindowProcessId(Hwnd window) = 0;
  virtual bool getWindowRect(Hwnd window, Rect& rect) = 0;
  virtual bool getClientRect(Hwnd window, Rect& rect) = 0;
  virtual bool getWindowPlacement(Hwnd window, WindowPlacement& placement) = 0;
  // GetLayeredWindowAttributes: false unless the window is layered and its program set them
  // with SetLayeredWindowAttributes.
  virtual bool getLayeredWindowAttributes(Hwnd window, ColorRef& key, uint8_t& alpha,
                                          Dword& flags) = 0;
  // FindWindowEx without a title: the next child of `parent` after `childAfter` (none: the
  // first, the top of its siblings) whose class is `className` (any case; empty: any class).
  virtual Hwnd findWindowEx(Hwnd parent, Hwnd childAfter, const std::string& className) = 0;
  // GetClassNameW in code page 932, as the class was registered (its own case); "" for none.
  virtual std::string getClassName(Hwnd window) = 0;
  // GetForegroundWindow: the window the user works in; none while none is active.
  virtual Hwnd getForegroundWindow() = 0;
  // IsHungAppWindow: the system calls the window hung (its thread has read no message for 5 s
  // while not waiting for one). Sends the window nothing.
  virtual bool isHungAppWindow(Hwnd window) = 0;

  // --- Changes. ---
  // A change to another program's window waits for that window's thread at most about a
  // second (1000 ms): a busy thread makes it fail (0 or false, lastError ERROR_TIMEOUT), and
  // the change is then made as soon as the thread is free. A change still on its way to that
  // window is waited for first, within the same second; the new one is made after it, or
  // fails with ERROR_TIMEOUT and is not made. ERROR_TIMEOUT always means "not made now, try
  // again": the change may still land later, or (no means to make it) not at all. Changes to
  // the program's own windows are made directly. Once the crash filter runs, every change is
  // made directly on the calling thread, waiting as long as the window's thread takes (see
  // System::setCrashFilter). setForegroundWindow is not guarded: it never waits for the
  // window's thread.
  virtual uint32_t setWindowLong(Hwnd window, int32_t index, uint32_t value) = 0;
  virtual bool showWindow(Hwnd window, int32_t command) = 0;
  virtual bool setWindowPos(Hwnd window, Hwnd insertAfter, int32_t x, int32_t y, int32_t cx,
                            int32_t cy, uint32_t flags) = 0;
  virtual bool moveWindow(Hwnd window, int32_t x, int32_t y, int32_t cx, int32_t cy,
                          bool repaint) = 0;
  virtual bool setWindowPlacement(Hwnd window, const WindowPlacement& placement) = 0;
  virtual bool setForegroundWindow(Hwnd window) = 0;
  virtual bool enableWindow(Hwnd window, bool enable) = 0;
  virtual bool setLayeredWindowAttributes(Hwnd window, ColorRef key, uint8_t alpha,
                                          Dword flags) = 0;
};

}  // namespace platform
