// Message boxes. Texts and captions are the program's own (code page 932).
#pragma once

#include <string>

#include "platform/types.h"

namespace platform {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // MessageBox; returns the button pressed (IDOK ...).
  virtual int show(Hwnd owner, const std::string& text, const std::string& caption,
                   uint32_t type) = 0;
};

}  // namespace platform
