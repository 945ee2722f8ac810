#include "controls/hot_key_value.h"

#include <utility>

#include "platform/types.h"

using namespace platform;

uint16_t HotKeyValue::modifierBit(int32_t virtualKey) {
  switch (virtualKey) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
      return kShift;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
      return kCtrl;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
      return kAlt;
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
      return kWin;
    default:
      return 0;
  }
}

namespace {

// (control form, RegisterHotKey form)
constexpr std::pair<uint16_t, uint32_t> kForms[] = {{HotKeyValue::kAlt, MOD_ALT},
                                                    {HotKeyValue::kCtrl, MOD_CONTROL},
                                                    {HotKeyValue::kShift, MOD_SHIFT},
                                                    {HotKeyValue::kWin, MOD_WIN}};

}  // namespace

uint16_t HotKeyValue::fromRegisterForm(uint32_t modifiers) {
  uint16_t flags = 0;
  for (const auto& [own, registered] : kForms) {
    if ((modifiers & registered) != 0) flags |= own;
  }
  return flags;
}

uint32_t HotKeyValue::toRegisterForm(uint16_t flags) {
  uint32_t modifiers = 0;
  for (const auto& [own, registered] : kForms) {
    if ((flags & own) != 0) modifiers |= registered;
  }
  return modifiers;
}

void HotKeyValue::set(uint16_t virtualKey, uint32_t modifiers) {
  keyCode_ = virtualKey;
  keyFlags_ = fromRegisterForm(modifiers);
  restart_ = true;
}

void HotKeyValue::get(uint16_t& virtualKey, uint16_t& modifiers) const {
  virtualKey = keyCode_;
  modifiers = static_cast<uint16_t>(toRegisterForm(keyFlags_));
}

void HotKeyValue::keyEvent(int32_t virtualKey, bool pressed) {
  const auto key = static_cast<uint16_t>(virtualKey);
  if (const uint16_t bit = modifierBit(virtualKey); bit != 0) {
    heldFlags_ = pressed ? heldFlags_ | bit : heldFlags_ & ~bit;
  } else if (pressed) {
    heldKey_ = key;
  } else if (heldKey_ == key) {
    heldKey_ = 0;
  }
  if (restart_) {
    keyCode_ = keyFlags_ = 0;
    restart_ = false;
  }
  if (heldKey_ != 0) {
    keyCode_ = heldKey_;
    keyFlags_ = heldFlags_;
  } else if (keyCode_ == 0) {
    keyFlags_ = heldFlags_;  // the modifiers show before the key
  }
  if (heldKey_ == 0 && heldFlags_ == 0) restart_ = true;
}

std::string HotKeyValue::text(const std::function<std::string(int32_t)>& keyName) const {
  if (keyCode_ == 0 && keyFlags_ == 0) return {};
  std::string text;
  if ((keyFlags_ & kCtrl) != 0) text += keyName(VK_CONTROL) + " + ";
  if ((keyFlags_ & kShift) != 0) text += keyName(VK_SHIFT) + " + ";
  if ((keyFlags_ & kAlt) != 0) text += keyName(VK_MENU) + " + ";
  if ((keyFlags_ & kWin) != 0) text += "Win + ";
  if (keyCode_ != 0) text += keyName(keyCode_);
  return text;
}
