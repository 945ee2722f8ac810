// Messages to any window, and timers of the program's own windows.
#pragma once

#include <string>

#include "platform/window_types.h"

namespace platform {

class Messages {
 public:
  virtual ~Messages() = default;
  virtual LResult sendMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) = 0;
  virtual bool postMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam) = 0;
  // SendMessageTimeout with the given flags (SMTO_ABORTIFHUNG ...).
  virtual TimedResult sendMessageTimeout(Hwnd window, uint32_t message, WParam wParam,
                                         LParam lParam, uint32_t flags, uint32_t milliseconds) = 0;
  virtual uint32_t registerWindowMessage(const std::string& name) = 0;
  // WM_TIMER with the id in wParam.
  virtual bool setTimer(Hwnd window, uintptr_t id, uint32_t milliseconds) = 0;
  virtual bool killTimer(Hwnd window, uintptr_t id) = 0;
  // GetLastError after a window call of this thread that failed.
  virtual Dword lastError() = 0;
};

}  // namespace platform
