// Wires the real adapter into the probe; the probe itself sees only the port.
// "port-probe --crash-change HWND" runs the crash filter's part instead (port_probe_crash.cpp).
#include "platform/win32/win32_platform.h"

#include <cstdlib>
#include <cstring>

int runProbe(platform::Platform& platform);
int runCrashChange(platform::Platform& platform, platform::Hwnd window);

int main(int argc, char** argv) {
  win32::Win32Platform adapter;
  if (argc == 3 && std::strcmp(argv[1], "--crash-change") == 0) {
    const auto handle = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 0));
    return runCrashChange(adapter.platform(), platform::Hwnd{handle});
  }
  return runProbe(adapter.platform());
}
