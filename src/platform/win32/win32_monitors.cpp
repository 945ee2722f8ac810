#include "platform/win32/win32_platform.h"

namespace win32 {

namespace {

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data) {
  auto* found = reinterpret_cast<std::vector<platform::Monitors::Enumerated>*>(data);
  platform::Rect r{rect->left, rect->top, rect->right, rect->bottom};
  found->push_back({platform::MonitorHandle{reinterpret_cast<uintptr_t>(monitor)}, r});
  return TRUE;
}

}  // namespace

std::vector<platform::Monitors::Enumerated> Win32Monitors::enumerate() {
  std::vector<Enumerated> found;
  EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool Win32Monitors::getInfo(platform::MonitorHandle monitor, platform::MonitorInfo& info) {
  return GetMonitorInfoA(reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(monitor.value)),
                         reinterpret_cast<MONITORINFO*>(&info)) != FALSE;
}

platform::MonitorHandle Win32Monitors::fromRect(const platform::Rect& rect) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  return platform::MonitorHandle{
      reinterpret_cast<uintptr_t>(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST))};
}

}  // namespace win32
