// The application object: owns the life of the process from start-up to shutdown.
#pragma once

#include <memory>
#include <string>

#include "app/console_exit.h"
#include "base/app_context.h"
#include "detect/exclusion_data.h"
#include "display/display_environment.h"
#include "keeping/kept_windows_journal.h"
#include "settings/settings.h"

class CQuillmoorApp {
 public:
  explicit CQuillmoorApp(platform::Platform& platform)
      : context_(platform), consoleExit_(platform.messages, platform.system) {}

  // Start-up, the main panel's run and shutdown. Returns the process's exit code: 0 after a
  // normal run, 1 when start-up refused to run (another instance, no mutex, no sockets).
  int run();

  // The monitor list and the taskbar control: from start-up to shutdown, else null.

 private:
  // Steps before the panel; false when the program must end at once.
  bool startUp();
  // Windows an earlier run changed and could not put back, before anything else looks at them.
  void putBackEarlierRun();
  static void onCrash(void* app);
  void shutDown();

  AppContext context_;
  ConsoleExit consoleExit_;
  std::unique_ptr<DisplayEnvironment> environment_;
  std::unique_ptr<CExclusionData> rules_;  // from start-up to shutdown
  SettingsRecord settings_;                // read at start-up
  std::string settingsPath_;
  std::unique_ptr<KeptWindowsJournal> journal_;  // from start-up on
};
