// An up-down control with an edit box as its buddy (UDS_AUTOBUDDY | UDS_SETBUDDYINT).
#pragma once

#include <string>

#include "ui/dialog.h"

namespace ui {

class SpinButton {
 public:
  void attach(Dialog& dialog, int32_t spinId, int32_t buddyId);
  void setRange(int32_t low, int32_t high);
  void setPosition(int32_t position);
  // The buddy's text when it is a whole number within the range, else the last position the
  // control held (its initial one or the last reached with the arrows).
  int32_t position();

 private:
  Dialog* dialog_ = nullptr;
  Hwnd spin_;
  int32_t buddyId_ = 0;
  int32_t low_ = 0;
  int32_t high_ = 100;
};

}  // namespace ui
