#include "display/display_environment.h"

#include <algorithm>

#include "base/diagnostic_log.h"

namespace {

CMultiDisplay enumerated(platform::Monitors& monitors) {
  // Before any window: a window's DPI handling is fixed when it is created. The monitors are
  // then seen in physical pixels.
  const platform::DpiAwareness awareness = monitors.enableDpiAwareness();
  CMultiDisplay display(monitors);
  display.enumMonitors();
  static const char* const kNames[] = {"unaware", "system", "per monitor", "per monitor v2"};
  diag::print("DPI awareness: %s\n", kNames[static_cast<int>(awareness)]);
  return display;
}

bool sameMonitor(const MonitorRecord& a, const MonitorRecord& b) {
  return a.monitor == b.monitor && a.work == b.work && a.flags == b.flags;
}

}  // namespace

DisplayEnvironment::DisplayEnvironment(platform::Monitors& monitors, platform::Shell& shell,
                                       bool layeredSwitch)
    : monitors_(monitors),
      display_(enumerated(monitors)),
      dpis_(dpis()),
      taskbar_(shell),
      layeredSwitch_(layeredSwitch) {}

uint32_t DisplayEnvironment::dpiAt(const platform::Rect& rect) {
  const uint32_t found = monitors_.getDpi(monitors_.fromRect(rect));
  return found != 0 ? found : platform::USER_DEFAULT_SCREEN_DPI;
}

std::vector<uint32_t> DisplayEnvironment::dpis() const {
  std::vector<uint32_t> found;
  for (const MonitorRecord& m : display_.monitors) {
    found.push_back(monitors_.getDpi(monitors_.fromRect(m.monitor)));
  }
  return found;
}

bool DisplayEnvironment::refresh() {
  CMultiDisplay now(monitors_);
  now.enumMonitors();
  const bool same = now.monitorCount == display_.monitorCount &&
                    std::equal(now.monitors.begin(), now.monitors.end(), display_.monitors.begin(),
                               display_.monitors.end(), sameMonitor);
  display_.monitorCount = now.monitorCount;
  display_.monitors = std::move(now.monitors);
  std::vector<uint32_t> nowDpis = dpis();
  const bool changed = !same || nowDpis != dpis_;
  dpis_ = std::move(nowDpis);
  return changed;
}
