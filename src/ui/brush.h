// A solid brush that lives as long as its owner.
#pragma once

#include "platform/windows.h"

namespace ui {

class Brush {
 public:
  Brush(platform::Windows& windows, platform::ColorRef color)
      : windows_(windows), brush_(windows.createSolidBrush(color)) {}
  ~Brush() {
    if (brush_.value != 0) windows_.deleteBrush(brush_);
  }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;
  platform::BrushHandle handle() const { return brush_; }

 private:
  platform::Windows& windows_;
  platform::BrushHandle brush_;
};

}  // namespace ui
