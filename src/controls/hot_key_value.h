// The value of the hot-key edit control and the keys held while the user types it.
//
// The value is the last key other than a modifier that was pressed, with the modifiers held
// at that moment; it stays after every key is released, and the next press starts a new
// combination. Modifiers are kept in the control's own form (Shift 1, Ctrl 2, Alt 4, Windows
// key 0x10) and handed in and out in RegisterHotKey's form (MOD_ALT 1, MOD_CONTROL 2,
// MOD_SHIFT 4, MOD_WIN 8).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class HotKeyValue {
 public:
  static constexpr uint16_t kShift = 1;
  static constexpr uint16_t kCtrl = 2;
  static constexpr uint16_t kAlt = 4;
  static constexpr uint16_t kWin = 0x10;

  // The control-form bit of a modifier key (the application key counts as a Windows key);
  // 0 for any other key.
  static uint16_t modifierBit(int32_t virtualKey);
  static uint16_t fromRegisterForm(uint32_t modifiers);
  static uint32_t toRegisterForm(uint16_t flags);

  // Modifiers in RegisterHotKey form; the next key event replaces the value entirely.
  void set(uint16_t virtualKey, uint32_t modifiers);
  // Modifiers in RegisterHotKey form.
  void get(uint16_t& virtualKey, uint16_t& modifiers) const;
  // Nothing is held any more (the control has just got the focus).
  void forgetHeldKeys() { heldKey_ = heldFlags_ = 0; }
  void keyEvent(int32_t virtualKey, bool pressed);
  // The names of Ctrl, Shift and Alt, then "Win", each followed by " + ", then the key's
  // name; empty for no value.
  std::string text(const std::function<std::string(int32_t)>& keyName) const;

 private:
  uint16_t keyCode_ = 0;
  uint16_t keyFlags_ = 0;
  uint16_t heldKey_ = 0;
  uint16_t heldFlags_ = 0;
  bool restart_ = false;
};
