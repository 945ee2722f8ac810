#include "app/console_exit.h"

#include "res/dialogs.h"

using namespace platform;

bool ConsoleExit::onEvent(Dword event) {
  if (event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT && event != CTRL_SHUTDOWN_EVENT) {
    return true;
  }
  const Hwnd panel{panel_.load()};
  if (!panel) return true;
  // Posting is safe from any thread; the panel's loop runs the exit while we wait. A panel
  // already gone means the exit is under way: wait for it all the same.
  messages_.postMessage(panel, WM_COMMAND, res::ID_TRAY_EXIT, 0);
  system_.waitForExit(kWaitMs);
  return true;
}
