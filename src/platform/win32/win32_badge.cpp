// The badge a preview draws over its own painting: one line of the system's message font on
// a dark box, readable over any picture beneath it.
#include "platform/win32/win32_platform.h"

namespace win32 {

using namespace platform;

namespace {

constexpr COLORREF kBox = RGB(32, 32, 32);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr int kMargin = 3;  // at 96 dpi

// The system's message font at `dpi`: the metrics are the system DPI's, so they are scaled.
HFONT messageFontAt(uint32_t dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return nullptr;
  }
  HDC screen = GetDC(nullptr);
  const int systemDpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  LOGFONTW font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), systemDpi > 0 ? systemDpi : 96);
  return CreateFontIndirectW(&font);
}

}  // namespace

Size Win32Windows::drawBadge(Hwnd window, const std::string& text, Point bottomLeft, uint32_t dpi) {
  HWND hwnd = toHwnd(window);
  const std::wstring wide = fromProgramText(text);
  if (wide.empty() || dpi == 0) return {};
  HDC dc = GetDC(hwnd);
  if (dc == nullptr) return {};
  HFONT font = messageFontAt(dpi);
  HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
  const int margin = MulDiv(kMargin, static_cast<int>(dpi), 96);
  const RECT box{bottomLeft.x, bottomLeft.y - extent.cy - 2 * margin,
                 bottomLeft.x + extent.cx + 2 * margin, bottomLeft.y};
  SetBkColor(dc, kBox);
  SetTextColor(dc, kText);
  // The opaque text fills the box, margin included, in one call.
  ExtTextOutW(dc, box.left + margin, box.top + margin, ETO_OPAQUE, &box, wide.c_str(),
              static_cast<UINT>(wide.size()), nullptr);
  SelectObject(dc, old);
  if (font != nullptr) DeleteObject(font);
  ReleaseDC(hwnd, dc);
  return {box.right - box.left, box.bottom - box.top};
}

}  // namespace win32
