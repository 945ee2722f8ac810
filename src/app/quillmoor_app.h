// The application object: owns the life of the process from start-up to shutdown.
#pragma once

#include <memory>

#include "base/app_context.h"
#include "detect/exclusion_data.h"
#include "display/display_environment.h"

class CQuillmoorApp {
 public:
  explicit CQuillmoorApp(platform::Platform& platform) : context_(platform) {}

  // Start-up, the main panel's run and shutdown. Returns the process's exit code: 0 after a
  // normal run, 1 when start-up refused to run (another instance, no mutex, no sockets).
  int run();

  // The monitor list and the taskbar control: from start-up to shutdown, else null.

 private:
  // Steps before the panel; false when the program must end at once.
  bool startUp();
  void shutDown();

  AppContext context_;
  std::unique_ptr<DisplayEnvironment> environment_;
  std::unique_ptr<CExclusionData> rules_;  // from start-up to shutdown, which saves them
};

// The console control handler of debug mode: keeps Ctrl+C and Ctrl+Break from ending us.
int consoleCtrlHandler(platform::Dword event);
