// Painting the program's own windows: fills, icons, brushes and device-context settings;
// bitmaps of windows' pictures.
#pragma once

#include <string>

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
  // WM_PAINT: BeginPaint, the text at `at` in the parent window's font (WM_GETFONT) on a
  // transparent background, the opaque mode back, EndPaint. Returns the text's width in pixels.
  virtual int32_t paintText(Hwnd window, const std::string& text, Point at) = 0;
  virtual BrushHandle createSolidBrush(ColorRef color) = 0;
  virtual void deleteBrush(BrushHandle brush) = 0;
  virtual BrushHandle blackBrush() = 0;
  virtual void setBkMode(DeviceContext dc, int32_t mode) = 0;
  virtual void setTextColor(DeviceContext dc, ColorRef color) = 0;

  // Bitmaps, each a new one the caller owns until deleteBitmap or the clipboard takes it.
  // What one of the program's own windows' client area reads back from its device context
  // (GetDC, BitBlt SRCCOPY from 0,0), `size` large. None on failure.
  virtual BitmapHandle copyClientArea(Hwnd window, Size size) = 0;
  // The part `source` of any window as PrintWindow with `flags` draws it, stretched to fill
  // `size`. PrintWindow draws the whole window with its window rectangle's top-left corner at
  // (0,0), so `source` is relative to that corner, as a DWM thumbnail's source is; the window is
  // scaled on its way, and no bitmap of its size is made. None when PrintWindow fails. PrintWindow
  // sends the window a message: like a change to another program's window (windows.h), it waits a
  // second at most for its thread, then gives none.
  virtual BitmapHandle printWindowPart(Hwnd window, const Rect& source, Size size,
                                       uint32_t flags) = 0;
  // Pictures of windows, each taken into a bitmap the caller keeps and draws into again.
  // A bitmap `size` large for them: 32 bits a pixel, its pixels read where they lie by isBlack
  // and pixelHash; black until drawn into. None on failure.
  virtual BitmapHandle createPicture(Size size) = 0;
  // Into the whole of `picture`: the part `source` of any window (relative to its window
  // rectangle, as for printWindowPart) as PrintWindow with `flags` draws it, scaled with halftone
  // on its way, so that no bitmap of the window's size is made. False, `picture` left as it was,
  // when PrintWindow fails or the window's thread keeps it past a second.
  virtual bool printWindowInto(BitmapHandle picture, Hwnd window, const Rect& source,
                               uint32_t flags) = 0;
  // Into the whole of `picture`: what the screen shows in `area` (screen coordinates), scaled
  // with halftone: BitBlt from the screen's device context, without layered windows. False for
  // an area off every screen.
  virtual bool copyScreenInto(BitmapHandle picture, const Rect& area) = 0;
  // A hash of the bitmap's colours, pixel by pixel: the same for the same picture; 0 for none.
  virtual uint64_t pixelHash(BitmapHandle bitmap) = 0;
  // A new bitmap `size` large, filled with `background`, with `part` stretched (halftone) into
  // `at`; none when `part` is no bitmap.
  virtual BitmapHandle placeBitmap(BitmapHandle part, const Rect& at, Size size,
                                   ColorRef background) = 0;
  // Every pixel of the bitmap is black (as PrintWindow of another process leaves it where it
  // cannot draw that window); true for no bitmap.
  virtual bool isBlack(BitmapHandle bitmap) = 0;
  virtual void deleteBitmap(BitmapHandle bitmap) = 0;
  // WM_PAINT: BeginPaint, the bitmap over the client area (stretched with halftone unless it
  // has the client's size), EndPaint.
  virtual void paintBitmap(Hwnd window, BitmapHandle bitmap) = 0;
  // WM_PAINT: BeginPaint, the client area filled with `background`, the icon (when there is
  // one) at its top-left corner and the text beside it, broken into lines and cut
  // with an ellipsis where it does not fit, in the system's font; EndPaint.
  virtual void paintLabel(Hwnd window, IconHandle icon, const std::string& text,
                          ColorRef background) = 0;
  // After WM_PAINT's own drawing (GetDC, so over whatever it drew): `text` on one line in the
  // system's message font at `dpi`, white on a dark box with a margin around it, the box's
  // bottom-left corner at `bottomLeft` (client coordinates). The box's size; none when nothing
  // was drawn.
  virtual Size drawBadge(Hwnd window, const std::string& text, Point bottomLeft, uint32_t dpi) = 0;
};

}  // namespace platform
