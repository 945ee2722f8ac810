// The simulated user's input: system-wide hot-keys.
#include <algorithm>
#include <cstdio>

#include "platform/sim/sim_input.h"

namespace sim {

using namespace platform;

namespace {

// MOD_NOREPEAT and the like do not tell one combination from another.
constexpr uint32_t kModifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
constexpr Dword kErrorInvalidWindowHandle = 1400;  // ERROR_INVALID_WINDOW_HANDLE
constexpr Dword kErrorWindowOfOtherThread = 1408;  // ERROR_WINDOW_OF_OTHER_THREAD
constexpr Dword kErrorHotKeyNotRegistered = 1419;  // ERROR_HOTKEY_NOT_REGISTERED

std::string hotKeyText(const char* what, Hwnd window, int32_t id, uint32_t modifiers,
                       uint32_t key) {
  char text[96];
  snprintf(text, sizeof text, "hot-key %s h%x %d %x+%x", what, window.value, id, modifiers, key);
  return text;
}

}  // namespace

bool SimInput::registerHotKey(Hwnd window, int32_t id, uint32_t modifiers, uint32_t key) {
  ++windows_.portCalls;
  windows_.clock().actions.push_back(hotKeyText("register", window, id, modifiers, key));
  SimWindow* w = windows_.live(window);
  if (w == nullptr || window == SimWindows::kDesktop) {
    windows_.lastErrorValue = kErrorInvalidWindowHandle;
    return false;
  }
  if (!w->own) {
    windows_.lastErrorValue = kErrorWindowOfOtherThread;
    return false;
  }
  const uint32_t mods = modifiers & kModifierMask;
  const bool taken = hotKeysHeldElsewhere.count({mods, key}) != 0 ||
                     std::any_of(hotKeys_.begin(), hotKeys_.end(), [&](const HotKey& k) {
                       return k.modifiers == mods && k.key == key;
                     });
  if (taken) {
    windows_.lastErrorValue = ERROR_HOTKEY_ALREADY_REGISTERED;
    return false;
  }
  // A second registration of the same id sits beside the first, as in Windows.
  hotKeys_.push_back({window.value, id, mods, key});
  return true;
}

bool SimInput::unregisterHotKey(Hwnd window, int32_t id) {
  ++windows_.portCalls;
  windows_.clock().actions.push_back(hotKeyText("unregister", window, id, 0, 0));
  auto found = std::find_if(hotKeys_.begin(), hotKeys_.end(), [&](const HotKey& k) {
    return k.window == window.value && k.id == id;
  });
  if (found == hotKeys_.end()) {
    windows_.lastErrorValue = kErrorHotKeyNotRegistered;
    return false;
  }
  hotKeys_.erase(found);
  return true;
}

bool SimInput::pressHotKey(uint32_t modifiers, uint32_t key) {
  const uint32_t mods = modifiers & kModifierMask;
  if (hotKeysHeldElsewhere.count({mods, key}) != 0) return false;
  for (const HotKey& k : hotKeys_) {
    if (k.modifiers == mods && k.key == key) {
      return windows_.postMessage(Hwnd{k.window}, WM_HOTKEY, static_cast<WParam>(k.id),
                                  static_cast<LParam>(mods | (key << 16)));
    }
  }
  return false;
}

std::optional<std::pair<uint32_t, uint32_t>> SimInput::registeredHotKey(Hwnd window,
                                                                        int32_t id) const {
  for (auto k = hotKeys_.rbegin(); k != hotKeys_.rend(); ++k) {
    if (k->window == window.value && k->id == id) return std::make_pair(k->modifiers, k->key);
  }
  return std::nullopt;
}

void SimInput::unlinked(Hwnd window) {
  std::erase_if(hotKeys_, [window](const HotKey& k) { return k.window == window.value; });
}

}  // namespace sim
