#include "platform/sim/sim_shell.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "platform/sim/sim_texts.h"

namespace sim {

using namespace platform;

namespace {

std::string hex(uint64_t value) {
  char text[24];
  snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
  return text;
}

class SimTaskbarList : public TaskbarList {
 public:
  explicit SimTaskbarList(SimShell& shell) : shell_(shell) { shell_.taskbarListAlive = true; }
  ~SimTaskbarList() override {
    shell_.taskbarListAlive = false;
    shell_.windows().clock().actions.push_back("taskbar release");
  }
  HResult hrInit() override {
    shell_.windows().clock().actions.push_back("taskbar init");
    return S_OK;
  }
  HResult addTab(Hwnd window) override { return tabCall("add", window, true); }
  HResult deleteTab(Hwnd window) override { return tabCall("delete", window, false); }

 private:
  HResult tabCall(const char* what, Hwnd window, bool shown) {
    if (shell_.processGone) return E_FAIL;
    ++shell_.shellCalls;
    shell_.windows().clock().actions.push_back(std::string("taskbar ") + what + " w" +
                                               hex(window.value));
    if (shown) {
      shell_.taskbarButtons.insert(window.value);
    } else {
      shell_.taskbarButtons.erase(window.value);
    }
    return S_OK;
  }

  SimShell& shell_;
};

}  // namespace

HResult SimShell::comInitialize() {
  windows_.clock().actions.push_back("com init");
  if (comInitFails) return static_cast<HResult>(0x80010106);  // RPC_E_CHANGED_MODE
  return comInitCount++ == 0 ? S_OK : 1;                      // S_FALSE when already initialised
}

void SimShell::comUninitialize() {
  windows_.clock().actions.push_back("com uninit");
  // One too many takes away an apartment that someone else set up: a fault worth seeing.
  --comInitCount;
}

std::unique_ptr<TaskbarList> SimShell::createTaskbarList() {
  windows_.clock().actions.push_back("taskbar create");
  if (taskbarListFails || comInitCount == 0) return nullptr;
  return std::make_unique<SimTaskbarList>(*this);
}

ShellResult SimShell::notifyIcon(uint32_t message, const TrayIconData& data) {
  ++shellCalls;
  static const char* const kNames[] = {"add", "modify", "delete"};
  windows_.clock().actions.push_back(std::string("tray ") + (message < 3 ? kNames[message] : "?") +
                                     " w" + hex(data.window.value));
  const auto key = std::make_pair(data.window.value, data.id);
  const bool present = trayIcons.count(key) != 0;
  switch (message) {
    case NIM_ADD:
      if (!trayErrors.empty()) {
        Dword error = trayErrors.front();
        trayErrors.pop_front();
        return {false, error};
      }
      if (present) return {false, ERROR_SUCCESS};
      trayIcons[key] = data;
      return {true, ERROR_SUCCESS};
    case NIM_MODIFY:
      if (!present) return {false, ERROR_SUCCESS};
      trayIcons[key] = data;
      return {true, ERROR_SUCCESS};
    case NIM_DELETE:
      return {trayIcons.erase(key) != 0, ERROR_SUCCESS};
    default:
      return {false, ERROR_SUCCESS};
  }
}

std::optional<IconHandle> SimShell::fileSmallIcon(const std::string& path) {
  ++shellCalls;
  windows_.clock().actions.push_back("file icon " + path);
  const bool known =
      programs_.isImagePath(path) ||
      std::any_of(fileIcons.begin(), fileIcons.end(),
                  [&path](const std::string& file) { return sameIgnoringCase(file, path); });
  if (!known) return std::nullopt;
  return icons_.newIcon();
}

Hwnd SimShell::trayWindow() {
  ++windows_.portCalls;
  return shellTrayWindow;
}

bool SimShell::shellExecute(Hwnd, const std::string& verb, const std::string& file, int32_t) {
  shellExecuted.push_back(verb + " " + file);
  return true;
}

}  // namespace sim
