#include "display/workspace.h"

namespace workspace {

namespace {

// How far the work area of the monitor under `near` lies from that monitor's corner.
platform::Point offsetAt(platform::Monitors& monitors, const platform::Rect& near,
                         uint32_t exStyle) {
  if ((exStyle & platform::WS_EX_TOOLWINDOW) != 0) return {};
  platform::MonitorInfo info;
  info.size = sizeof info;
  if (!monitors.getInfo(monitors.fromRect(near), info)) return {};
  return {info.work.left - info.monitor.left, info.work.top - info.monitor.top};
}

platform::Rect shifted(const platform::Rect& r, platform::Point by) {
  return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

}  // namespace

platform::Rect toScreen(platform::Monitors& monitors, const platform::Rect& normal,
                        uint32_t exStyle) {
  return shifted(normal, offsetAt(monitors, normal, exStyle));
}

platform::Rect fromScreen(platform::Monitors& monitors, const platform::Rect& screen,
                          uint32_t exStyle) {
  const platform::Point offset = offsetAt(monitors, screen, exStyle);
  return shifted(screen, {-offset.x, -offset.y});
}

}  // namespace workspace
