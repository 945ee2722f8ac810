// The screen: the desktop window, system metrics and the work area.
#pragma once

#include "platform/types.h"

namespace platform {

class Screen {
 public:
  virtual ~Screen() = default;
  virtual Hwnd getDesktopWindow() = 0;
  virtual int32_t getSystemMetrics(int32_t index) = 0;
  virtual bool getWorkArea(Rect& area) = 0;  // SystemParametersInfo(SPI_GETWORKAREA)
};

}  // namespace platform
