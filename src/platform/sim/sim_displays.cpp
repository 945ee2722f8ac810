// The simulated desktop's displays changing under the program: scaling, monitors, primary.
#include "platform/sim/sim_displays.h"

#include <algorithm>
#include <cstdio>

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

SimDisplays::SimDisplays(SimSystem& system, SimWindows& windows)
    : system_(system), windows_(windows) {
  windows_.ownWindowMoved = [this](Hwnd window, const Rect& before) {
    ownWindowMoved(window, before);
  };
  windows_.virtualScreen = [this] { return virtualScreen(); };
}

Rect SimDisplays::virtualScreen() const {
  if (monitors.empty()) return windows_.screen;
  Rect box = monitors.front().monitor;
  for (const SimMonitor& m : monitors) {
    box = {std::min(box.left, m.monitor.left), std::min(box.top, m.monitor.top),
           std::max(box.right, m.monitor.right), std::max(box.bottom, m.monitor.bottom)};
  }
  return box;
}

bool SimDisplays::perMonitorDpi() const {
  const OsVersionInfo& version = system_.version;
  const bool perMonitorSystem =
      version.majorVersion > 6 || (version.majorVersion == 6 && version.minorVersion >= 3);
  return perMonitorSystem && perMonitorAware(dpiAwareness);
}

void SimDisplays::sendDpiChanged(Hwnd window, const Rect& r, uint32_t old, uint32_t dpi) {
  // The rectangle scaled about its top-left corner, which stays where it is.
  auto scaled = [&](int32_t v) { return static_cast<int32_t>(int64_t{v} * dpi / old); };
  Rect suggested{r.left, r.top, r.left + scaled(r.width()), r.top + scaled(r.height())};
  // The window takes its new size in its handler, on the new monitor: that is no new crossing.
  dpiChanging_[window.value] = old;
  windows_.sendMessage(window, WM_DPICHANGED, WParam{dpi | (dpi << 16)},
                       reinterpret_cast<LParam>(&suggested));
  dpiChanging_.erase(window.value);
}

void SimDisplays::dialogDpiChanged(Hwnd dialog, uint32_t dpi, const Rect& suggested) {
  // Windows 10 1703 on, for a per-monitor v2 process: the dialog manager scales the dialog.
  const auto from = dpiChanging_.find(dialog.value);
  if (dpiAwareness != DpiAwareness::PerMonitorV2 || from == dpiChanging_.end()) return;
  if (scaleDialog) scaleDialog(dialog, suggested, from->second, dpi);
}

void SimDisplays::setMonitorDpi(size_t index, uint32_t dpi) {
  if (index >= monitors.size()) return;
  const uint32_t old = monitors[index].dpi;
  monitors[index].dpi = dpi;
  windows_.clock().actions.push_back("monitor " + std::to_string(index) + " dpi " +
                                     std::to_string(dpi));
  if (!perMonitorDpi() || old == dpi) return;
  const MonitorHandle monitor{0x10001 + index};
  for (const Hwnd h : windows_.ownTopLevelWindows()) {
    Rect r;
    if (!windows_.getWindowRect(h, r) || fromRect(r) != monitor) continue;
    sendDpiChanged(h, r, old, dpi);
  }
}

void SimDisplays::ownWindowMoved(Hwnd window, const Rect& before) {
  Rect now;
  if (!perMonitorDpi() || dpiChanging_.count(window.value) != 0 ||
      !windows_.getWindowRect(window, now)) {
    return;
  }
  const uint32_t old = getDpi(fromRect(before));
  const uint32_t dpi = getDpi(fromRect(now));
  if (old == dpi) return;
  char text[64];
  snprintf(text, sizeof text, "dpi changed h%x %u to %u", window.value, old, dpi);
  windows_.clock().actions.push_back(text);
  sendDpiChanged(window, now, old, dpi);
}

void SimDisplays::displayChanged() {
  for (const SimMonitor& m : monitors) {
    if (!m.primary) continue;
    windows_.screen = m.monitor;
    windows_.workArea = m.work;
  }
  windows_.clock().actions.push_back("display changed");
  const auto size = static_cast<uint32_t>(windows_.screen.width()) |
                    (static_cast<uint32_t>(windows_.screen.height()) << 16);
  for (const Hwnd h : windows_.ownTopLevelWindows()) {
    windows_.sendMessage(h, WM_DISPLAYCHANGE, 32, static_cast<LParam>(size));
  }
}

void SimDisplays::setPrimary(size_t index) {
  if (index >= monitors.size()) return;
  const int32_t dx = -monitors[index].monitor.left;
  const int32_t dy = -monitors[index].monitor.top;
  for (size_t i = 0; i < monitors.size(); ++i) {
    monitors[i].primary = i == index;
    monitors[i].monitor = shifted(monitors[i].monitor, dx, dy);
    monitors[i].work = shifted(monitors[i].work, dx, dy);
  }
  windows_.shiftScreen(dx, dy);
  displayChanged();
}

void SimDisplays::setTaskbar(TaskbarEdge edge, int32_t size) {
  for (SimMonitor& m : monitors) {
    if (!m.primary) continue;
    m.work = m.monitor;
    switch (edge) {
      case TaskbarEdge::Top:
        m.work.top += size;
        break;
      case TaskbarEdge::Left:
        m.work.left += size;
        break;
      case TaskbarEdge::Right:
        m.work.right -= size;
        break;
      case TaskbarEdge::Bottom:
        m.work.bottom -= size;
        break;
    }
    windows_.screen = m.monitor;
    windows_.workArea = m.work;
  }
  windows_.workAreaChanged();
  for (const Hwnd h : windows_.ownTopLevelWindows()) {
    windows_.sendMessage(h, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  }
}

// ---------------------------------------------------------------------------------------------
// platform::Monitors.

std::vector<Monitors::Enumerated> SimDisplays::enumerate() {
  std::vector<Enumerated> result;
  for (size_t i = 0; i < monitors.size(); ++i) {
    result.push_back({MonitorHandle{0x10001 + i}, monitors[i].monitor});
  }
  return result;
}

bool SimDisplays::getInfo(MonitorHandle monitor, MonitorInfo& info) {
  size_t index = static_cast<size_t>(monitor.value - 0x10001);
  if (monitor.value < 0x10001 || index >= monitors.size()) return 0;
  const SimMonitor& m = monitors[index];
  info.monitor = m.monitor;
  info.work = m.work;
  info.flags = m.primary ? MONITORINFOF_PRIMARY : 0;
  snprintf(info.device, sizeof info.device, "%s", m.device.c_str());
  return 1;
}

MonitorHandle SimDisplays::fromRect(const Rect& r) {
  // The largest overlap; without any, the nearest monitor.
  size_t best = 0;
  int64_t bestArea = -1;
  int64_t bestDistance = INT64_MAX;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const Rect& m = monitors[i].monitor;
    const int64_t w = std::min(r.right, m.right) - std::max(r.left, m.left);
    const int64_t h = std::min(r.bottom, m.bottom) - std::max(r.top, m.top);
    const int64_t area = w > 0 && h > 0 ? w * h : 0;
    const int64_t dx = std::max<int64_t>({0, int64_t{m.left} - r.right, int64_t{r.left} - m.right});
    const int64_t dy = std::max<int64_t>({0, int64_t{m.top} - r.bottom, int64_t{r.top} - m.bottom});
    const int64_t distance = dx * dx + dy * dy;
    if (area > bestArea || (area == 0 && bestArea == 0 && distance < bestDistance)) {
      best = i;
      bestArea = area;
      bestDistance = distance;
    }
  }
  return monitors.empty() ? MonitorHandle{} : MonitorHandle{0x10001 + best};
}

uint32_t SimDisplays::getDpi(MonitorHandle monitor) {
  const size_t index = static_cast<size_t>(monitor.value - 0x10001);
  const OsVersionInfo& v = system_.version;
  const bool perMonitor = v.majorVersion > 6 || (v.majorVersion == 6 && v.minorVersion >= 3);
  if (!perMonitor || monitor.value < 0x10001 || index >= monitors.size()) return systemDpi;
  return monitors[index].dpi;
}

DpiAwareness SimDisplays::enableDpiAwareness() {
  const OsVersionInfo& v = system_.version;
  const auto at = [&](uint32_t major, uint32_t minor, uint32_t build) {
    if (v.majorVersion != major) return v.majorVersion > major;
    if (v.minorVersion != minor) return v.minorVersion > minor;
    return v.buildNumber >= build;
  };
  DpiAwareness granted = at(10, 0, 15063) ? DpiAwareness::PerMonitorV2
                         : at(6, 3, 0)    ? DpiAwareness::PerMonitor
                         : at(6, 0, 0)    ? DpiAwareness::System
                                          : DpiAwareness::Unaware;
  // Set once for the process, as the manifest or the first call sets it.
  if (!dpiAwareness) dpiAwareness = granted;
  return *dpiAwareness;
}

// ---------------------------------------------------------------------------------------------
// platform::Screen.

int32_t SimDisplays::getSystemMetrics(int32_t index) {
  ++windows_.portCalls;
  auto found = windows_.systemMetrics.find(index);
  return found == windows_.systemMetrics.end() ? 0 : found->second;
}

bool SimDisplays::getWorkArea(Rect& area) {
  ++windows_.portCalls;
  area = windows_.workArea;
  return true;
}

}  // namespace sim
