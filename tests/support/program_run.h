// Runs the whole program on a simulated desktop, with a script for the main panel's modal
// loop: the script is the user and the system while the program runs.
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/quillmoor_app.h"
#include "platform/sim/sim_desktop.h"
#include "res/dialogs.h"

namespace support {

inline const std::string kFolder = "C:\\Programs\\Quillmoor";
inline const std::string kExe = kFolder + "\\ZENTA.exe";

// True only when the program started, the script ran to its end inside the panel's loop
// and the program ended normally: a run that never reached its script tests nothing.
[[nodiscard]] inline bool runProgram(sim::SimDesktop& desk, std::vector<std::string> arguments,
                                     std::function<void(platform::Hwnd panel)> script) {
  desk.newProcess();
  desk.system.arguments = std::move(arguments);
  auto scriptEnded = std::make_shared<bool>(false);
  desk.dialogs.modalScripts[res::IDD_MAIN_PANEL] = [scriptEnded, script](platform::Hwnd panel) {
    script(panel);
    *scriptEnded = true;
  };
  return CQuillmoorApp(desk.platform()).run() == 0 && *scriptEnded;
}

// The tray icon's callback, as the shell sends it for a mouse message.
inline void trayClick(sim::SimDesktop& desk, platform::Hwnd panel, uint32_t mouseMessage) {
  desk.windows.sendMessage(panel, platform::WM_USER + 100, 0, mouseMessage);
}

// Chooses a command from the tray menu, as a right click and a menu choice would.
inline void trayMenu(sim::SimDesktop& desk, platform::Hwnd panel, uint32_t command) {
  desk.ownWindows.menuAnswers.push_back(command);
  trayClick(desk, panel, platform::WM_RBUTTONUP);
  desk.windows.pumpMessages();
}

// A window of another program, with the styles of an ordinary application window.
inline platform::Hwnd addAppWindow(sim::SimDesktop& desk, const std::string& title,
                                   const std::string& exe,
                                   platform::Rect rect = {100, 100, 500, 400}) {
  sim::ForeignWindow window;
  window.processId = desk.programs.addProcess(exe, "C:\\Apps\\" + exe);
  window.title = title;
  window.rect = rect;
  return desk.windows.addWindow(window);
}

// A window's rectangle, empty for none.
inline platform::Rect rectOf(sim::SimDesktop& desk, platform::Hwnd window) {
  platform::Rect r;
  desk.windows.getWindowRect(window, r);
  return r;
}

// The preview showing a target: the destination of its DWM thumbnail; 0 when it has none.
inline platform::Hwnd previewOf(sim::SimDesktop& desk, platform::Hwnd target) {
  for (const auto& [id, thumbnail] : desk.dwm.thumbnails) {
    if (thumbnail.source == target && desk.windows.isWindow(thumbnail.destination)) {
      return thumbnail.destination;
    }
  }
  // Without a thumbnail: the program's window that shows a picture printed from the target.
  char printed[32];
  snprintf(printed, sizeof printed, "print h%x ", target.value);
  for (const platform::Hwnd h : desk.windows.enumWindows()) {
    const auto* shown = desk.drawing.paintedBitmap(h);
    if (shown != nullptr && shown->picture.rfind(printed, 0) == 0) return h;
  }
  return {};
}

// How often the desktop recorded `action`, or an action starting with `prefix`.
inline long actionCount(const sim::SimDesktop& desk, const std::string& action) {
  return std::count(desk.actions.begin(), desk.actions.end(), action);
}
inline long actionCountStartingWith(const sim::SimDesktop& desk, const std::string& prefix) {
  return std::count_if(desk.actions.begin(), desk.actions.end(),
                       [&](const std::string& a) { return a.rfind(prefix, 0) == 0; });
}

}  // namespace support
