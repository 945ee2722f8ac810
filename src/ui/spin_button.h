// An up-down control with an edit box as its buddy (UDS_AUTOBUDDY | UDS_SETBUDDYINT).
#pragma once

#include <string>

#include "ui/dialog.h"

namespace ui {

class SpinButton {
 public:
  void attach(Dialog& dialog, int32_t spinId, int32_t buddyId);
  void setRange(int32_t low, int32_t high);
  // A position outside the range is shown as the nearest end of it.
  void setPosition(int32_t position);
  // The buddy's text when it is a whole number within the range, else the last position the
  // control held (its initial one or the last reached with the arrows).
  int32_t position();
  // `value`, set with setPosition, while the control still holds what it showed for it (a
  // value outside the range comes back as it was); else the new position.
  int32_t positionFor(int32_t value);

 private:
  Dialog* dialog_ = nullptr;
  Hwnd spin_;
  int32_t buddyId_ = 0;
  int32_t low_ = 0;
  int32_t high_ = 100;
};

}  // namespace ui
