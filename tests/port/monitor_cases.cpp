// Monitors and their DPI, where the previews are laid out.
#include "port_case.h"

using namespace platform;

// Every monitor answers a DPI; a handle that is no monitor answers the system's, which the
// primary monitor has in a session as it started (no scaling changed since log-on).
PORT_CASE(EveryMonitorHasADpiAndNoMonitorHasTheSystems) {
  Monitors& monitors = fixture.platform().monitors;
  const DpiAwareness awareness = monitors.enableDpiAwareness();
  PORT_EXPECT(awareness != DpiAwareness::Unaware);
  PORT_EXPECT(monitors.enableDpiAwareness() == awareness);  // set once for the process
  uint32_t primary = 0;
  for (const Monitors::Enumerated& m : monitors.enumerate()) {
    const uint32_t dpi = monitors.getDpi(m.handle);
    PORT_EXPECT(dpi >= 96 && dpi <= 480);
    MonitorInfo info;
    info.size = sizeof info;
    if (monitors.getInfo(m.handle, info) && info.flags == MONITORINFOF_PRIMARY) primary = dpi;
  }
  PORT_EXPECT_EQ(monitors.getDpi(MonitorHandle{}), primary);
}
