// Per-monitor DPI: the calls came in Windows 8.1 (shcore) and 10 (user32), so each is looked
// up at run time and the older forms serve where it is missing.
#include "platform/win32/win32_platform.h"

namespace win32 {

namespace {

using DpiContext = HANDLE;  // DPI_AWARENESS_CONTEXT, which older headers lack
const DpiContext kPerMonitorV2 = reinterpret_cast<DpiContext>(-4);
const DpiContext kPerMonitor = reinterpret_cast<DpiContext>(-3);

struct DpiApi {
  // user32, Windows 10 1703 and later.
  BOOL(WINAPI* setContext)(DpiContext) = nullptr;
  DpiContext(WINAPI* threadContext)() = nullptr;
  BOOL(WINAPI* sameContext)(DpiContext, DpiContext) = nullptr;
  int(WINAPI* awarenessOf)(DpiContext) = nullptr;
  // shcore, Windows 8.1 and later.
  HRESULT(WINAPI* setAwareness)(int) = nullptr;
  HRESULT(WINAPI* getAwareness)(HANDLE, int*) = nullptr;
  HRESULT(WINAPI* monitorDpi)(HMONITOR, int, UINT*, UINT*) = nullptr;
  // user32, Vista and later.
  BOOL(WINAPI* setSystemAware)() = nullptr;
  BOOL(WINAPI* isSystemAware)() = nullptr;
};

const DpiApi& dpiApi() {
  static const DpiApi api = [] {
    DpiApi bound;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    resolve(user32, "SetProcessDpiAwarenessContext", bound.setContext);
    resolve(user32, "GetThreadDpiAwarenessContext", bound.threadContext);
    resolve(user32, "AreDpiAwarenessContextsEqual", bound.sameContext);
    resolve(user32, "GetAwarenessFromDpiAwarenessContext", bound.awarenessOf);
    resolve(user32, "SetProcessDPIAware", bound.setSystemAware);
    resolve(user32, "IsProcessDPIAware", bound.isSystemAware);
    HMODULE shcore = loadSystemLibrary(L"shcore.dll");  // kept for the process's life
    resolve(shcore, "SetProcessDpiAwareness", bound.setAwareness);
    resolve(shcore, "GetProcessDpiAwareness", bound.getAwareness);
    resolve(shcore, "GetDpiForMonitor", bound.monitorDpi);
    return bound;
  }();
  return api;
}

platform::DpiAwareness fromLevel(int level) {
  switch (level) {
    case 1:
      return platform::DpiAwareness::System;
    case 2:
      return platform::DpiAwareness::PerMonitor;
    default:
      return platform::DpiAwareness::Unaware;
  }
}

}  // namespace

uint32_t Win32Monitors::getDpi(platform::MonitorHandle monitor) {
  const DpiApi& api = dpiApi();
  UINT x = 0, y = 0;
  if (api.monitorDpi &&
      SUCCEEDED(api.monitorDpi(reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(monitor.value)),
                               0 /* MDT_EFFECTIVE_DPI */, &x, &y)) &&
      x > 0) {
    return x;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<uint32_t>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

platform::DpiAwareness Win32Monitors::enableDpiAwareness() {
  const DpiApi& api = dpiApi();
  // Each call fails once the manifest (or an earlier call) has set the awareness: what the
  // process has is read back in every case.
  if (api.setContext && api.threadContext && api.sameContext && api.awarenessOf) {
    if (!api.setContext(kPerMonitorV2)) api.setContext(kPerMonitor);
    const DpiContext now = api.threadContext();
    if (api.sameContext(now, kPerMonitorV2)) return platform::DpiAwareness::PerMonitorV2;
    return fromLevel(api.awarenessOf(now));
  }
  if (api.setAwareness && api.getAwareness) {
    api.setAwareness(2 /* PROCESS_PER_MONITOR_DPI_AWARE */);
    int level = 0;
    if (SUCCEEDED(api.getAwareness(nullptr, &level))) return fromLevel(level);
  }
  if (api.setSystemAware) api.setSystemAware();
  return api.isSystemAware && api.isSystemAware() ? platform::DpiAwareness::System
                                                  : platform::DpiAwareness::Unaware;
}

}  // namespace win32
