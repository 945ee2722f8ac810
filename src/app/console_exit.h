// The debug console's close, log-off and shutdown events end the program the way the tray's
// exit does. The system ends the process as soon as the console control handler returns, so
// the handler, on the system's own thread, has the main panel run its exit command and waits,
// bounded, until shutdown has put every window back and saved the rules.
#pragma once

#include <atomic>

#include "platform/platform.h"

class ConsoleExit {
 public:
  // As long as the system grants a console's close (about 5 s); a longer wait gains nothing.
  static constexpr platform::Dword kWaitMs = 5000;

  ConsoleExit(platform::Messages& messages, platform::System& system)
      : messages_(messages), system_(system) {}

  // The panel whose exit command ends the program, once it can take it (user-interface
  // thread). Until then an event ends the process at once: nothing is kept or changed yet.
  void setPanel(platform::Hwnd panel) { panel_.store(panel.value); }
  // The console control handler, on the system's thread. Ctrl+C and Ctrl+Break are ignored:
  // the console only shows the log, and only the tray's exit ends the program from it.
  bool onEvent(platform::Dword event);
  // Shutdown is done (user-interface thread): a waiting handler returns.
  void finished() { system_.exitFinished(); }

 private:
  platform::Messages& messages_;
  platform::System& system_;
  std::atomic<uint32_t> panel_{0};
};
