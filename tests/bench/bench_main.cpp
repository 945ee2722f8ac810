// The program on the simulated desktop for ten simulated minutes, with 50 windows of other
// programs and 16 previews: how many platform calls it makes per second when nothing
// changes, and when windows come and go. Not a test: it prints figures.
#include <cstdio>
#include <string>
#include <vector>

#include "support/program_run.h"

using platform::Hwnd;

namespace {

struct Counts {
  uint64_t calls;
  int updates;
};

Counts counts(sim::SimDesktop& desk) {
  return {desk.windows.portCalls, desk.thumbnailPropertyUpdates};
}

// The previews repaint now and then (once a second here), as windows over them move.
void advanceWithRepaints(sim::SimDesktop& desk, uint32_t seconds) {
  for (uint32_t s = 0; s < seconds; ++s) {
    for (const auto& [id, thumbnail] : desk.thumbnails) {
      if (desk.windows.isWindow(thumbnail.destination)) {
        desk.windows.sendMessage(thumbnail.destination, platform::WM_PAINT, 0, 0);
      }
    }
    desk.advance(1000);
  }
}

}  // namespace

int main() {
  auto desk = sim::SimDesktop::singleMonitor();
  std::vector<Hwnd> windows;
  for (int i = 0; i < 50; ++i) {
    const int32_t w = 300 + (i * 37) % 900;
    const int32_t h = 200 + (i * 53) % 600;
    windows.push_back(support::addAppWindow(*desk, "Window " + std::to_string(i),
                                            "app" + std::to_string(i % 7) + ".exe",
                                            {40 + i, 40 + i, 40 + i + w, 40 + i + h}));
  }
  desk->consoleAttached = false;
  int previews = 0;
  support::runProgram(*desk, {support::kExe}, [&](Hwnd panel) {
    // Warm-up: every window is handed over, one per second.
    advanceWithRepaints(*desk, 70);
    previews = static_cast<int>(desk->thumbnails.size());

    const Counts before = counts(*desk);
    const uint32_t steadySeconds = 300;
    advanceWithRepaints(*desk, steadySeconds);
    const Counts steady = counts(*desk);

    // Churn: every five seconds a window goes, another comes, and one is minimised.
    const uint32_t churnSeconds = 230;
    for (uint32_t t = 0; t < churnSeconds; t += 5) {
      const size_t k = (t / 5) % windows.size();
      desk->windows.closeWindow(windows[k]);
      windows[k] = support::addAppWindow(*desk, "New " + std::to_string(t), "new.exe",
                                         {100, 100, 900, 700});
      desk->windows.setIconic(windows[(k + 25) % windows.size()], true);
      advanceWithRepaints(*desk, 5);
    }
    const Counts churn = counts(*desk);

    std::printf("previews: %d of %zu windows\n", previews, windows.size());
    std::printf("with windows coming and going: %.1f platform calls/s, %d DWM property updates\n",
                static_cast<double>(churn.calls - steady.calls) / churnSeconds,
                churn.updates - steady.updates);
    std::printf("steady state: %.0f platform calls/s, %d DWM property updates\n",
                static_cast<double>(steady.calls - before.calls) / steadySeconds,
                steady.updates - before.updates);
    support::trayMenu(*desk, panel, res::ID_TRAY_EXIT);
  });
  return 0;
}
