// The simulated user's input: the user's keys, the low-level keyboard hook and the keyboard
// layout's key names. The focus itself is the window table's (sim_activation.cpp).
#include <algorithm>

#include "platform/sim/sim_input.h"

using namespace platform;

namespace sim {

namespace {

bool isAlt(int32_t key) {
  return key == VK_MENU || key == VK_LMENU || key == VK_RMENU;
}

}  // namespace

SimInput::SimInput(SimWindows& windows, SimDialogs& dialogs)
    : windows_(windows), dialogs_(dialogs) {
  windows_.listen(*this);
  windows_.captionPressed = [this](Hwnd window) {
    if (leftDown_) runMoveLoop(window);
  };
}

std::map<int32_t, std::string> SimInput::usKeyNames() {
  std::map<int32_t, std::string> names{
      {VK_SHIFT, "Shift"},  {VK_CONTROL, "Ctrl"}, {VK_MENU, "Alt"},      {VK_TAB, "Tab"},
      {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},   {0x20, "Space"},       {VK_DELETE, "Delete"},
      {VK_LEFT, "Left"},    {VK_UP, "Up"},        {VK_RIGHT, "Right"},   {VK_DOWN, "Down"},
      {VK_LSHIFT, "Shift"}, {VK_RSHIFT, "Shift"}, {VK_LCONTROL, "Ctrl"}, {VK_LMENU, "Alt"},
  };
  for (char c = 'A'; c <= 'Z'; ++c) names[c] = std::string(1, c);
  for (char c = '0'; c <= '9'; ++c) names[c] = std::string(1, c);
  for (int32_t f = 1; f <= 12; ++f) names[0x6F + f] = "F" + std::to_string(f);
  return names;
}

std::string SimInput::keyName(int32_t virtualKey) {
  ++windows_.portCalls;
  auto found = keyNames.find(virtualKey);
  return found == keyNames.end() ? std::string() : found->second;
}

void SimInput::setCaretPos(Point at) {
  ++windows_.portCalls;
  caret = at;
}

bool SimInput::installKeyboardHook(KeyboardSink& sink) {
  ++windows_.portCalls;
  if (keyboardHook_ != nullptr) return false;
  keyboardHook_ = &sink;
  windows_.clock().actions.push_back("keyboard hook on");
  return true;
}

bool SimInput::removeKeyboardHook(KeyboardSink& sink) {
  ++windows_.portCalls;
  if (keyboardHook_ != &sink) return false;
  keyboardHook_ = nullptr;
  windows_.clock().actions.push_back("keyboard hook off");
  return true;
}

bool SimInput::focusControl(Hwnd dialog, int32_t id) {
  SimWindow* c = dialogs_.item(dialog, id);
  if (c == nullptr || !windows_.visibleChain(*c) || !windows_.enabledChain(*c)) return false;
  const Hwnd control = c->handle;
  SimWindow* top = c;
  while (windows_.live(top->parent) != nullptr) top = windows_.live(top->parent);
  if (windows_.foreground() != top->handle) windows_.activateByUser(top->handle);
  if (windows_.live(control) == nullptr) return false;
  windows_.setFocusTo(control);
  return true;
}

// --- Keys. ---

bool SimInput::keyDown(int32_t key) {
  return keyEvent(key, true);
}

bool SimInput::keyUp(int32_t key) {
  return keyEvent(key, false);
}

bool SimInput::pressKey(int32_t key) {
  const bool down = keyDown(key);
  return keyUp(key) && down;
}

bool SimInput::chord(const std::vector<int32_t>& keys) {
  bool reached = true;
  for (int32_t key : keys) reached = keyDown(key) && reached;
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) reached = keyUp(*key) && reached;
  return reached;
}

bool SimInput::keyEvent(int32_t key, bool down) {
  if (down) keysHeld.insert(key);
  const bool alt = std::any_of(keysHeld.begin(), keysHeld.end(), isAlt);
  if (!down) keysHeld.erase(key);
  const uint32_t message =
      down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
  bool reached = false;
  if (keyboardHook_ != nullptr && keyboardHook_->onKeyEvent(message, key)) {
    windows_.pumpMessages();  // the program's loop delivers what the hook posted
    reached = true;
  } else {
    SimWindow* target = windows_.live(windows_.focus());
    SimWindow* top = target;
    while (top != nullptr && windows_.live(top->parent) != nullptr)
      top = windows_.live(top->parent);
    if (top == nullptr || top->handle != windows_.foreground())
      target = windows_.live(windows_.foreground());
    if (target != nullptr && target->own) {
      reached = true;
      if (!(down && target->handle == windows_.focus() && navigateDialog(*target, key))) {
        windows_.dispatch(target->handle, message, static_cast<WParam>(key), down ? 1 : 0xC0000001);
      }
    }
  }
  return reached;
}

bool SimInput::navigateDialog(const SimWindow& focus, int32_t key) {
  SimWindow* dialog = windows_.live(focus.parent);
  if (dialog == nullptr || !dialogs_.isDialog(dialog->handle)) return false;
  if (key == VK_ESCAPE || key == VK_RETURN) {
    const int32_t id = key == VK_ESCAPE ? IDCANCEL : IDOK;
    SimWindow* button = dialogs_.item(dialog->handle, id);
    windows_.dispatch(dialog->handle, WM_COMMAND, static_cast<WParam>(id),
                      button == nullptr ? 0 : static_cast<LParam>(button->handle.value));
    return true;
  }
  if (key != VK_TAB) return false;
  const std::vector<Hwnd>& children = dialog->children;
  auto at = std::find(children.begin(), children.end(), focus.handle);
  for (size_t step = 1; step < children.size(); ++step) {
    const size_t index = (static_cast<size_t>(at - children.begin()) + step) % children.size();
    SimWindow* next = windows_.live(children[index]);
    if (next != nullptr && (next->style & WS_TABSTOP) != 0 && windows_.visibleChain(*next) &&
        windows_.enabledChain(*next)) {
      windows_.setFocusTo(next->handle);
      break;
    }
  }
  return true;
}

}  // namespace sim
