// The simulated program's own windows: their system menus, and what reaches the program while
// it is inside a loop it did not write: a pop-up menu's modal loop, a message box's.
#include <functional>
#include <utility>

#include "platform/sim/sim_own_windows.h"

namespace sim {

using namespace platform;

bool SimOwnWindows::hasSystemMenu(Hwnd window) {
  ++windows_.portCalls;
  SimWindow* w = windows_.live(window);
  return w != nullptr && w->own && (w->style & WS_SYSMENU) != 0;
}

bool SimOwnWindows::appendSystemMenu(Hwnd window, uint32_t flags, uint32_t id,
                                     const std::string& text) {
  ++windows_.portCalls;
  if (!hasSystemMenu(window)) return false;
  systemMenus_[window.value].push_back({flags, id, text});
  return true;
}

const std::vector<SystemMenuItem>& SimOwnWindows::systemMenu(Hwnd window) const {
  static const std::vector<SystemMenuItem> kNone;
  const auto found = systemMenus_.find(window.value);
  return windows_.live(window) == nullptr || found == systemMenus_.end() ? kNone : found->second;
}

bool SimOwnWindows::trackPopupMenu(const MenuTemplate& popup, uint32_t, Point at, Hwnd owner) {
  ++windows_.portCalls;
  const std::string name = popup.name != nullptr ? popup.name : std::to_string(popup.id);
  windows_.clock().actions.push_back("menu " + name + " at " + std::to_string(at.x) + "," +
                                     std::to_string(at.y));
  lastMenu = popup;
  runWhileMenu();
  uint32_t answer = 0;
  if (!menuAnswers.empty()) {
    answer = menuAnswers.front();
    menuAnswers.pop_front();
  }
  SimWindow* w = windows_.live(owner);
  if (w == nullptr) windows_.clock().actions.push_back("menu " + name + " closed with its owner");
  if (answer == 0 || w == nullptr || !w->own) return false;
  // The item the user picks, in a submenu or not; a grayed one cannot be chosen.
  std::function<const MenuItemTemplate*(const std::vector<MenuItemTemplate>&)> find =
      [&](const std::vector<MenuItemTemplate>& items) -> const MenuItemTemplate* {
    for (const MenuItemTemplate& i : items) {
      if (i.text != nullptr && i.submenu.empty() && i.id == answer) return &i;
      if (const MenuItemTemplate* inner = find(i.submenu)) return inner;
    }
    return nullptr;
  };
  const MenuItemTemplate* chosen = find(popup.items);
  if (chosen == nullptr) {
    windows_.clock().actions.push_back("menu " + name + " has no item " + std::to_string(answer));
    return false;
  }
  if (chosen->grayed) {
    windows_.clock().actions.push_back("menu " + name + " item " + std::to_string(answer) +
                                       " grayed");
    return false;
  }
  // Windows posts the command once the menu has closed.
  return windows_.postMessage(owner, WM_COMMAND, answer, 0);
}

void SimOwnWindows::runWhileMenu() {
  if (std::function<void()> hook = std::exchange(whileMenu, nullptr)) hook();
  windows_.pumpMessages();  // the menu's loop delivers what was posted before it closes
}

int SimOwnWindows::show(Hwnd owner, const std::string& text, const std::string& caption,
                        uint32_t type) {
  messageBoxes.push_back({text, caption, type, owner});
  windows_.clock().actions.push_back("message box " + caption);
  if (std::function<void()> script = std::exchange(whileMessageBox, nullptr)) script();
  if (messageBoxAnswers.empty()) return IDOK;
  int answer = messageBoxAnswers.front();
  messageBoxAnswers.pop_front();
  return answer;
}

}  // namespace sim
