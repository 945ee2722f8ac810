// The simulated shell: COM, the taskbar's buttons (ITaskbarList), the notification area,
// file icons and documents opened.
//
// What it models: tray icons by (window, id), with NIM_ADD failing while `trayErrors` holds
// codes (ERROR_TIMEOUT models a busy shell); a restarted shell that has lost every icon; the
// small icon of a file that is the image of a process or one of `fileIcons`, as a fresh icon
// the caller owns; COM's apartment count. Each call into the shell is a round trip to another
// process (`shellCalls`).
// Not modelled: the TaskbarCreated broadcast (the test sends it if it wants), balloons,
// what shellExecute opens.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/shell.h"
#include "platform/sim/sim_icons.h"
#include "platform/sim/sim_programs.h"
#include "platform/sim/sim_windows.h"

namespace sim {

class SimShell : public platform::Shell {
 public:
  // File icons are those of `programs`' images (and `fileIcons`), handed out by `icons`; the
  // tray window's query counts among `windows`' port calls.
  SimShell(SimWindows& windows, SimPrograms& programs, SimIcons& icons)
      : windows_(windows), programs_(programs), icons_(icons) {}

  // ===== Test API =====
  // Calls into the shell (tray, taskbar buttons, file icons, documents).
  uint64_t shellCalls = 0;
  // The program's process has ended: the taskbar list answers E_FAIL.
  bool processGone = false;

  // COM and taskbar.
  int comInitCount = 0;
  bool comInitFails = false;  // CoInitialize answers RPC_E_CHANGED_MODE and changes nothing
  bool taskbarListFails = false;
  bool taskbarListAlive = false;
  std::set<uint32_t> taskbarButtons;

  // Notification area: icons by (window, id). While `trayErrors` holds codes, each NIM_ADD
  // fails with the next one (ERROR_TIMEOUT models a busy shell).
  std::map<std::pair<uint32_t, uint32_t>, platform::TrayIconData> trayIcons;
  // The shell's taskbar window; restartShell() loses every icon and makes a new one, as a
  // restarted shell does (it broadcasts TaskbarCreated, which the test sends if it wants).
  platform::Hwnd shellTrayWindow{0x30010};
  void restartShell() {
    trayIcons.clear();
    shellTrayWindow.value += 4;
  }
  std::deque<platform::Dword> trayErrors;
  std::vector<std::string> shellExecuted;  // "verb file"
  // Files with a small icon besides the images of the processes (paths, any case).
  std::set<std::string> fileIcons;

  // ===== platform::Shell =====
  platform::HResult comInitialize() override;
  void comUninitialize() override;
  std::unique_ptr<platform::TaskbarList> createTaskbarList() override;
  platform::ShellResult notifyIcon(uint32_t message, const platform::TrayIconData& data) override;
  std::optional<platform::IconHandle> fileSmallIcon(const std::string& path) override;
  platform::Hwnd trayWindow() override;
  bool shellExecute(platform::Hwnd, const std::string& verb, const std::string& file,
                    int32_t) override;

  SimWindows& windows() { return windows_; }

 private:
  SimWindows& windows_;
  SimPrograms& programs_;
  SimIcons& icons_;
};

}  // namespace sim
