// port-probe --crash-change HWND: sets a crash filter through the port and crashes on a second
// thread, while the main thread, as the program's poll would, enables the window HWND of
// another program whenever it finds it disabled. The filter disables it, printing
// "crash.change=ANSWER error=LASTERROR ms=ELAPSED", then gives the main thread a moment and
// prints "crash.after=enabled|disabled". Once the filter runs, a change is made directly on the
// crashing thread (it waits for that window's thread however long it takes), and any other
// thread stops at its next change.
#include <cstdio>
#include <thread>

#include "platform/platform.h"

namespace {

struct Crash {
  platform::Platform* platform;
  platform::Hwnd window;
};

bool disabled(platform::Platform& p, platform::Hwnd window) {
  return (p.windows.getWindowLong(window, platform::GWL_STYLE) & platform::WS_DISABLED) != 0;
}

void onCrash(void* context) {
  const Crash& crash = *static_cast<Crash*>(context);
  platform::Platform& p = *crash.platform;
  const uint32_t style = p.windows.getWindowLong(crash.window, platform::GWL_STYLE);
  const platform::Dword start = p.system.tickCount();
  const uint32_t answer =
      p.windows.setWindowLong(crash.window, platform::GWL_STYLE, style | platform::WS_DISABLED);
  const platform::Dword error = p.messages.lastError();
  std::printf("crash.change=%d error=%lu ms=%lu\n", answer != 0 ? 1 : 0,
              static_cast<unsigned long>(error),
              static_cast<unsigned long>(p.system.tickCount() - start));
  p.system.sleep(500);  // the main thread polls every 20 ms
  std::printf("crash.after=%s\n", disabled(p, crash.window) ? "disabled" : "enabled");
  std::fflush(stdout);
}

}  // namespace

int runCrashChange(platform::Platform& platform, platform::Hwnd window) {
  static Crash crash{&platform, window};
  platform.system.setCrashFilter(onCrash, &crash);
  std::printf("crashing\n");
  std::fflush(stdout);
  std::thread([] { *static_cast<volatile int*>(nullptr) = 1; }).detach();
  for (;;) {
    if (disabled(platform, window)) {
      const uint32_t style = platform.windows.getWindowLong(window, platform::GWL_STYLE);
      platform.windows.setWindowLong(window, platform::GWL_STYLE, style & ~platform::WS_DISABLED);
    }
    platform.system.sleep(20);
  }
}
