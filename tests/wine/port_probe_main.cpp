// Wires the real adapter into the probe; the probe itself sees only the port.
#include "platform/win32/win32_platform.h"

int runProbe(platform::Platform& platform);

int main() {
  win32::Win32Platform adapter;
  return runProbe(adapter.platform());
}
