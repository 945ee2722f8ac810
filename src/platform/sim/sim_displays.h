// The simulated displays: monitors in any enumeration order, each with its own DPI, the
// primary monitor's work area and taskbar, the screen's metrics, and the changes a user makes to
// them while the program runs, with the messages Windows sends for them.
//
// What it models: tests change scaling, monitors, the primary one and the work area while the
// program runs, which sends the messages Windows sends; a window of the program moved onto a
// monitor of another DPI is told so. With per-monitor v2 (Windows 10 1703 on) a dialog that
// leaves WM_DPICHANGED to its default processing is scaled as the dialog manager does it: it
// takes the suggested rectangle, its children keep their places and sizes scaled to the new
// DPI and get a font for it, and a page (a child dialog) lays out its own children the same
// way (SimDialogs::scaleDialog).
//
// What it does not model: the system's scaling of DPI-unaware windows (the program is aware),
// a dialog made at a DPI other than 96 (a dialog unit is 1.5 px wherever it is made), fonts
// beyond the DPI they were made for (no sizes or metrics), the dialog manager's switches
// (SetDialogDpiChangeBehavior, SetDialogControlDpiChangeBehavior), its own rounding and the
// sizes it keeps per DPI (scaled there and back, a control here may lose a pixel), whether it
// lays out a page's children as the top dialog's (taken so here, unmeasured: Wine sends no
// WM_DPICHANGED), WM_DPICHANGED_BEFOREPARENT and WM_DPICHANGED_AFTERPARENT,
// WM_GETDPISCALEDSIZE and the system's own choice of where a dragged window's suggested
// rectangle lies (it keeps the top-left corner), a window's DPI kept while it is minimised
// (one restored onto a monitor of another DPI gets nothing), the system moving windows off a
// removed monitor.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/monitors.h"
#include "platform/screen.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_windows.h"

namespace sim {

struct SimMonitor {
  platform::Rect monitor;
  platform::Rect work;
  bool primary = false;
  std::string device = "\\\\.\\DISPLAY1";
  uint32_t dpi = 96;  // its effective DPI, where the system has per-monitor DPI (6.3 on)
};

class SimDisplays : public platform::Monitors, public platform::Screen {
 public:
  // The version comes from `system`; the windows told of changes live in `windows`.
  SimDisplays(SimSystem& system, SimWindows& windows);

  // ===== Test API =====
  // Monitors, in enumeration order.
  std::vector<SimMonitor> monitors;
  // Moves the taskbar of the primary monitor: its work area, and with it the origin of the
  // workspace coordinates of window placements, change together.
  enum class TaskbarEdge { Top, Left, Right, Bottom };
  // Also sends WM_SETTINGCHANGE SPI_SETWORKAREA to the program's top-level windows.
  void setTaskbar(TaskbarEdge edge, int32_t size);

  // DPI and display changes. Before version 6.3 every monitor answers the system DPI
  // (`systemDpi`, fixed for the session, as LOGPIXELSX is), and so does a handle that is no
  // monitor. The awareness the program asked for is granted by version: per-monitor v2 from
  // 10.0.15063, per-monitor from 6.3, system from 6.0; none is declared before.
  uint32_t systemDpi = 96;
  std::optional<platform::DpiAwareness> dpiAwareness;  // none until the program asks
  // The user changes a monitor's scaling: with per-monitor awareness each of the program's
  // top-level windows on it (hidden ones too) gets WM_DPICHANGED with the new DPI and its
  // rectangle scaled about its top-left corner as the suggestion. With per-monitor v2, a
  // dialog's default processing of it scales the dialog (scaleDialog).
  void setMonitorDpi(size_t index, uint32_t dpi);
  // A top-level window of the program moved or sized (setWindowPos, moveWindow, a placement,
  // the caption move loop) so that the monitor holding most of it has another DPI than the one
  // that held most of it before gets WM_DPICHANGED at once, with the same awareness and
  // suggestion (about the top-left where it was put). Its own move in the handler is no
  // crossing again.
  // After a test changed `monitors` (one added, removed, resized): the desktop window and the
  // work area follow the primary monitor, and WM_DISPLAYCHANGE (32 bits per pixel, the
  // primary's size) goes to the program's top-level windows. Windows left outside every
  // monitor stay there: what the system would move back is the program's to mend.
  void displayChanged();
  // Makes another monitor the primary one: the virtual screen is moved so that it lies at
  // 0,0, every monitor and every window with it; then displayChanged.
  void setPrimary(size_t index);
  // The bounding box of the monitors (the desktop window's rectangle without any).
  platform::Rect virtualScreen() const;

  // A dialog's default processing of WM_DPICHANGED (SimDialogs::dpiChanged): where the system
  // scales dialogs (Windows 10 1703 on, a per-monitor v2 process, a DPI change this fake
  // sent), the dialog manager does it (`scaleDialog`: SimDialogs::scaleDialog).
  void dialogDpiChanged(platform::Hwnd dialog, uint32_t dpi, const platform::Rect& suggested);
  std::function<void(platform::Hwnd, const platform::Rect& suggested, uint32_t old, uint32_t dpi)>
      scaleDialog;

  // ===== platform::Monitors =====
  std::vector<Enumerated> enumerate() override;
  bool getInfo(platform::MonitorHandle monitor, platform::MonitorInfo& info) override;
  platform::MonitorHandle fromRect(const platform::Rect& r) override;
  uint32_t getDpi(platform::MonitorHandle monitor) override;
  platform::DpiAwareness enableDpiAwareness() override;

  // ===== platform::Screen (the window table's screen, work area and metrics) =====
  platform::Hwnd getDesktopWindow() override { return SimWindows::kDesktop; }
  int32_t getSystemMetrics(int32_t index) override;
  bool getWorkArea(platform::Rect& area) override;

 private:
  bool perMonitorDpi() const;  // the system and the process's awareness
  void sendDpiChanged(platform::Hwnd window, const platform::Rect& r, uint32_t old, uint32_t dpi);
  void ownWindowMoved(platform::Hwnd window, const platform::Rect& before);

  SimSystem& system_;
  SimWindows& windows_;
  // Windows in their WM_DPICHANGED handler, with the DPI they come from.
  std::map<uint32_t, uint32_t> dpiChanging_;
};

}  // namespace sim
