#include "platform/sim/sim_desktop.h"

#include <cstdio>
#include <utility>

namespace sim {

using namespace platform;

SimDesktop::SimDesktop() {
  programs.beforeReaching = [this] { reaching(); };
  fileCalls_.beforeReaching = [this] { reaching(); };
  system.onWaitForExit = [this](Dword milliseconds) { waitForExit(milliseconds); };
  system.onExitFinished = [this] { exitFinished(); };
  dialogs.dpiChanged = [this](Hwnd dialog, uint32_t dpi, const Rect& suggested) {
    displays.dialogDpiChanged(dialog, dpi, suggested);
  };
  displays.scaleDialog = [this](Hwnd dialog, const Rect& suggested, uint32_t old, uint32_t dpi) {
    dialogs.scaleDialog(dialog, suggested, old, dpi);
  };
  system.setRegistryDword(RegistryRoot::LocalMachine, "System\\CurrentControlSet\\Control\\Windows",
                          "CSDVersion", 0x100);
  system.setRegistryDword(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\DWM",
                          "Composition", 1);
  files.makeDirectory("C:\\Programs\\Quillmoor");
  platform_ = std::make_unique<Platform>(Platform{.system = system,
                                                  .profile = profileFiles_,
                                                  .files = fileCalls_,
                                                  .monitors = displays,
                                                  .dwm = dwm,
                                                  .shell = shell,
                                                  .messageBoxes = ownWindows,
                                                  .processes = programs,
                                                  .windows = windows,
                                                  .messages = windows,
                                                  .ownWindows = ownWindows,
                                                  .dialogs = dialogs,
                                                  .listViews = dialogs,
                                                  .icons = icons,
                                                  .drawing = drawing,
                                                  .input = input,
                                                  .screen = displays,
                                                  .clipboard = drawing});
}

SimDesktop::~SimDesktop() = default;

void SimDesktop::consoleEvent(Dword event) {
  actions.push_back("console event " + std::to_string(event));
  endsAfterHandler_ =
      event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
  handlerWaiting_ = false;
  // The system's default handler ends the process when no handler takes the event.
  if (!system.ctrlHandler || system.ctrlHandler(event) == 0) endsAfterHandler_ = true;
  if (endsAfterHandler_ && !handlerWaiting_) endProcess("console handler returned");
}

void SimDesktop::waitForExit(uint32_t milliseconds) {
  actions.push_back("console handler waits " + std::to_string(milliseconds));
  if (exitDone_) return;
  handlerWaiting_ = true;
  const uint64_t wait = ++waits_;
  clock.at(now + milliseconds, [this, wait] {
    if (!handlerWaiting_ || waits_ != wait) return;
    handlerWaiting_ = false;
    if (endsAfterHandler_) endProcess("console handler gave up");
  });
}

void SimDesktop::exitFinished() {
  actions.push_back("exit finished");
  exitDone_ = true;
  if (!handlerWaiting_) return;
  handlerWaiting_ = false;
  if (endsAfterHandler_) endProcess("console handler returned");
}

void SimDesktop::endProcess(const char* why) {
  if (processEnded) return;
  actions.push_back(why);
  actions.push_back("process ended");
  processEnded = true;
  programs.processGone = true;
  fileCalls_.processGone = true;
  shell.processGone = true;
  if (onProcessEnd) onProcessEnd();
}

void SimDesktop::reaching() {
  if (!endAfter_ || processEnded) return;
  if (*endAfter_ > 0) {
    --*endAfter_;
    return;
  }
  endAfter_.reset();
  terminate();
}

void SimDesktop::crash() {
  actions.push_back("unhandled exception");
  programs.crashMode = true;
  if (system.crashFilter != nullptr) system.crashFilter(system.crashContext);
  endProcess("crashed");
}

void SimDesktop::newProcess() {
  system.mutexesOwned.clear();  // the system let the last one's mutex go
  processEnded = false;
  programs.processGone = false;
  programs.crashMode = false;
  fileCalls_.processGone = false;
  shell.processGone = false;
  system.crashFilter = nullptr;
  system.crashContext = nullptr;
  system.ctrlHandler = nullptr;
  exitDone_ = false;
  handlerWaiting_ = false;
  endsAfterHandler_ = false;
}

std::unique_ptr<SimDesktop> SimDesktop::singleMonitor() {
  auto desk = std::make_unique<SimDesktop>();
  desk->displays.monitors.push_back(
      {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"});
  return desk;
}

std::unique_ptr<SimDesktop> SimDesktop::twoMonitorsPrimarySecond() {
  auto desk = std::make_unique<SimDesktop>();
  desk->displays.monitors.push_back(
      {{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, false, "\\\\.\\DISPLAY2"});
  desk->displays.monitors.push_back(
      {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"});
  return desk;
}

std::unique_ptr<SimDesktop> SimDesktop::compositionOff() {
  auto desk = singleMonitor();
  desk->dwm.compositionEnabled = false;
  desk->system.setRegistryDword(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\DWM",
                                "Composition", 0);
  return desk;
}

std::unique_ptr<SimDesktop> SimDesktop::oldSystem() {
  auto desk = singleMonitor();
  desk->system.version.majorVersion = 5;
  desk->system.version.minorVersion = 1;
  desk->system.version.buildNumber = 2600;
  snprintf(desk->system.version.csdVersion, sizeof desk->system.version.csdVersion,
           "Service Pack 3");
  desk->dwm.compositionEnabled = false;
  return desk;
}

}  // namespace sim
