// The simulated desktop's displays changing under the program: scaling, monitors, primary.
#include <cstdio>

#include "platform/sim/sim_desktop.h"

namespace sim {

using namespace platform;

namespace {

Rect shifted(const Rect& r, int32_t dx, int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool perMonitorAware(const std::optional<DpiAwareness>& awareness) {
  return awareness == DpiAwareness::PerMonitor || awareness == DpiAwareness::PerMonitorV2;
}

}  // namespace

bool SimDesktop::perMonitorDpi() const {
  const bool perMonitorSystem =
      version.majorVersion > 6 || (version.majorVersion == 6 && version.minorVersion >= 3);
  return perMonitorSystem && perMonitorAware(dpiAwareness);
}

void SimDesktop::sendDpiChanged(Hwnd window, const Rect& r, uint32_t old, uint32_t dpi) {
  // The rectangle scaled about its top-left corner, which stays where it is.
  auto scaled = [&](int32_t v) { return static_cast<int32_t>(int64_t{v} * dpi / old); };
  Rect suggested{r.left, r.top, r.left + scaled(r.width()), r.top + scaled(r.height())};
  // The window takes its new size in its handler, on the new monitor: that is no new crossing.
  dpiChanging_[window.value] = old;
  windows.sendMessage(window, WM_DPICHANGED, WParam{dpi | (dpi << 16)},
                      reinterpret_cast<LParam>(&suggested));
  dpiChanging_.erase(window.value);
}

void SimDesktop::dialogDpiChanged(Hwnd dialog, uint32_t dpi, const Rect& suggested) {
  // Windows 10 1703 on, for a per-monitor v2 process: the dialog manager scales the dialog.
  const auto from = dpiChanging_.find(dialog.value);
  if (dpiAwareness != DpiAwareness::PerMonitorV2 || from == dpiChanging_.end()) return;
  windows.scaleDialog(dialog, suggested, from->second, dpi);
}

void SimDesktop::setMonitorDpi(size_t index, uint32_t dpi) {
  if (index >= monitors.size()) return;
  const uint32_t old = monitors[index].dpi;
  monitors[index].dpi = dpi;
  actions.push_back("monitor " + std::to_string(index) + " dpi " + std::to_string(dpi));
  if (!perMonitorDpi() || old == dpi) return;
  const MonitorHandle monitor{0x10001 + index};
  for (const Hwnd h : windows.ownTopLevelWindows()) {
    Rect r;
    if (!windows.getWindowRect(h, r) || platform().monitors.fromRect(r) != monitor) continue;
    sendDpiChanged(h, r, old, dpi);
  }
}

void SimDesktop::ownWindowMoved(Hwnd window, const Rect& before) {
  Rect now;
  if (!perMonitorDpi() || dpiChanging_.count(window.value) != 0 ||
      !windows.getWindowRect(window, now)) {
    return;
  }
  Monitors& displays = platform().monitors;
  const uint32_t old = displays.getDpi(displays.fromRect(before));
  const uint32_t dpi = displays.getDpi(displays.fromRect(now));
  if (old == dpi) return;
  char text[64];
  snprintf(text, sizeof text, "dpi changed h%x %u to %u", window.value, old, dpi);
  actions.push_back(text);
  sendDpiChanged(window, now, old, dpi);
}

void SimDesktop::displayChanged() {
  for (const SimMonitor& m : monitors) {
    if (!m.primary) continue;
    windows.screen = m.monitor;
    windows.workArea = m.work;
  }
  actions.push_back("display changed");
  const auto size = static_cast<uint32_t>(windows.screen.width()) |
                    (static_cast<uint32_t>(windows.screen.height()) << 16);
  for (const Hwnd h : windows.ownTopLevelWindows()) {
    windows.sendMessage(h, WM_DISPLAYCHANGE, 32, static_cast<LParam>(size));
  }
}

void SimDesktop::setPrimary(size_t index) {
  if (index >= monitors.size()) return;
  const int32_t dx = -monitors[index].monitor.left;
  const int32_t dy = -monitors[index].monitor.top;
  for (size_t i = 0; i < monitors.size(); ++i) {
    monitors[i].primary = i == index;
    monitors[i].monitor = shifted(monitors[i].monitor, dx, dy);
    monitors[i].work = shifted(monitors[i].work, dx, dy);
  }
  windows.shiftScreen(dx, dy);
  displayChanged();
}

}  // namespace sim
