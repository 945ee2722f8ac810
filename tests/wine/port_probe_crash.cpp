// port-probe --crash-change HWND: sets a crash filter through the port, crashes, and from the
// filter disables the window HWND of another program, printing "crash.change=ANSWER
// error=LASTERROR ms=ELAPSED". Once the filter runs, a change is made directly on the crashing
// thread: it waits for that window's thread however long it takes.
#include <cstdio>

#include "platform/platform.h"

namespace {

struct Crash {
  platform::Platform* platform;
  platform::Hwnd window;
};

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
  std::fflush(stdout);
}

}  // namespace

int runCrashChange(platform::Platform& platform, platform::Hwnd window) {
  static Crash crash{&platform, window};
  platform.system.setCrashFilter(onCrash, &crash);
  std::printf("crashing\n");
  std::fflush(stdout);
  *static_cast<volatile int*>(nullptr) = 1;
  return 0;
}
