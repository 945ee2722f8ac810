// The simulated window manager: the focus, the user's keys, the low-level keyboard hook and
// the keyboard layout's key names.
#include <algorithm>

#include "platform/sim/sim_window.h"

using namespace platform;

namespace sim {

namespace {

bool isAlt(int32_t key) {
  return key == VK_MENU || key == VK_LMENU || key == VK_RMENU;
}

}  // namespace

std::map<int32_t, std::string> SimWindowManager::usKeyNames() {
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

std::string SimWindowManager::keyName(int32_t virtualKey) {
  ++portCalls;
  auto found = keyNames.find(virtualKey);
  return found == keyNames.end() ? std::string() : found->second;
}

void SimWindowManager::setCaretPos(Point at) {
  ++portCalls;
  caret = at;
}

bool SimWindowManager::installKeyboardHook(KeyboardSink& sink) {
  ++portCalls;
  if (keyboardHook_ != nullptr) return false;
  keyboardHook_ = &sink;
  actions_.push_back("keyboard hook on");
  return true;
}

bool SimWindowManager::removeKeyboardHook(KeyboardSink& sink) {
  ++portCalls;
  if (keyboardHook_ != &sink) return false;
  keyboardHook_ = nullptr;
  actions_.push_back("keyboard hook off");
  return true;
}

// --- The focus. ---

bool SimWindowManager::focusWithin(Hwnd window) const {
  for (const Window* w = live(focus_); w != nullptr; w = live(w->parent)) {
    if (w->handle == window) return true;
  }
  return false;
}

void SimWindowManager::setFocusTo(Hwnd window) {
  const Hwnd old = focus_;
  if (old == window) return;
  focus_ = window;
  if (live(old) != nullptr) dispatch(old, WM_KILLFOCUS, window.value, 0);
  if (focus_ == window && live(window) != nullptr) dispatch(window, WM_SETFOCUS, old.value, 0);
}

bool SimWindowManager::focusControl(Hwnd dialog, int32_t id) {
  Window* c = item(dialog, id);
  if (c == nullptr || !visibleChain(*c) || !enabledChain(*c)) return false;
  const Hwnd control = c->handle;
  Window* top = c;
  while (live(top->parent) != nullptr) top = live(top->parent);
  if (foreground_ != top->handle) activateByUser(top->handle);
  if (live(control) == nullptr) return false;
  setFocusTo(control);
  return true;
}

// --- Keys. ---

bool SimWindowManager::keyDown(int32_t key) {
  return keyEvent(key, true);
}
bool SimWindowManager::keyUp(int32_t key) {
  return keyEvent(key, false);
}

bool SimWindowManager::pressKey(int32_t key) {
  const bool down = keyDown(key);
  return keyUp(key) && down;
}

bool SimWindowManager::chord(const std::vector<int32_t>& keys) {
  bool reached = true;
  for (int32_t key : keys) reached = keyDown(key) && reached;
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) reached = keyUp(*key) && reached;
  return reached;
}

bool SimWindowManager::keyEvent(int32_t key, bool down) {
  if (down) keysHeld.insert(key);
  const bool alt = std::any_of(keysHeld.begin(), keysHeld.end(), isAlt);
  if (!down) keysHeld.erase(key);
  const uint32_t message =
      down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
  bool reached = false;
  if (keyboardHook_ != nullptr && keyboardHook_->onKeyEvent(message, key)) {
    pumpMessages();  // the program's loop delivers what the hook posted
    reached = true;
  } else {
    Window* target = live(focus_);
    Window* top = target;
    while (top != nullptr && live(top->parent) != nullptr) top = live(top->parent);
    if (top == nullptr || top->handle != foreground_) target = live(foreground_);
    if (target != nullptr && target->own) {
      reached = true;
      if (!(down && target->handle == focus_ && navigateDialog(*target, key))) {
        dispatch(target->handle, message, static_cast<WParam>(key), down ? 1 : 0xC0000001);
      }
    }
  }
  return reached;
}

bool SimWindowManager::navigateDialog(const Window& focus, int32_t key) {
  Window* dialog = live(focus.parent);
  if (dialog == nullptr || !dialog->dialog) return false;
  if (key == VK_ESCAPE || key == VK_RETURN) {
    const int32_t id = key == VK_ESCAPE ? IDCANCEL : IDOK;
    Window* button = item(dialog->handle, id);
    dispatch(dialog->handle, WM_COMMAND, static_cast<WParam>(id),
             button == nullptr ? 0 : static_cast<LParam>(button->handle.value));
    return true;
  }
  if (key != VK_TAB) return false;
  const std::vector<Hwnd>& children = dialog->children;
  auto at = std::find(children.begin(), children.end(), focus.handle);
  for (size_t step = 1; step < children.size(); ++step) {
    const size_t index = (static_cast<size_t>(at - children.begin()) + step) % children.size();
    Window* next = live(children[index]);
    if (next != nullptr && (next->style & WS_TABSTOP) != 0 && visibleChain(*next) &&
        enabledChain(*next)) {
      setFocusTo(next->handle);
      break;
    }
  }
  return true;
}

}  // namespace sim
