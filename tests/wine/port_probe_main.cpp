// Wires the real adapter into the probe; the probe itself sees only the port, plus one
// read-back the port has no call for.
#include "platform/win32/win32_platform.h"

int runProbe(platform::Platform& platform, int (*layeredAlpha)(platform::Hwnd));

namespace {

// What the port cannot read back: the alpha of a layered window, or -1.
int layeredAlpha(platform::Hwnd window) {
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(win32::toHwnd(window), nullptr, &alpha, &flags)) return -1;
  return (flags & LWA_ALPHA) ? alpha : -1;
}

}  // namespace

int main() {
  win32::Win32Platform adapter;
  return runProbe(adapter.platform(), layeredAlpha);
}
