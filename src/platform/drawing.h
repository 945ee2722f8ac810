// Painting the program's own windows: fills, icons, brushes and device-context settings.
#pragma once

#include "platform/types.h"

namespace platform {

class Drawing {
 public:
  virtual ~Drawing() = default;
  // Fills a rectangle of a device context (WM_ERASEBKGND, WM_PRINTCLIENT) with a colour.
  virtual void fillRect(DeviceContext dc, const Rect& rect, ColorRef color) = 0;
  // WM_PAINT: BeginPaint, fill the client rectangle with a colour, EndPaint.
  virtual void paintFill(Hwnd window, ColorRef color) = 0;
  // Paints a minimised window's icon: erases the icon background, draws it at (x, y).
  virtual void paintIcon(Hwnd window, IconHandle icon, int32_t x, int32_t y) = 0;
  virtual BrushHandle createSolidBrush(ColorRef color) = 0;
  virtual void deleteBrush(BrushHandle brush) = 0;
  virtual BrushHandle blackBrush() = 0;
  virtual void setBkMode(DeviceContext dc, int32_t mode) = 0;
  virtual void setTextColor(DeviceContext dc, ColorRef color) = 0;
};

}  // namespace platform
