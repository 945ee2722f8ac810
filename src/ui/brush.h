// A solid brush that lives as long as its owner.
#pragma once

#include "platform/drawing.h"

namespace ui {

class Brush {
 public:
  Brush(platform::Drawing& drawing, platform::ColorRef color)
      : drawing_(drawing), brush_(drawing.createSolidBrush(color)) {}
  ~Brush() {
    if (brush_.value != 0) drawing_.deleteBrush(brush_);
  }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;
  platform::BrushHandle handle() const { return brush_; }

 private:
  platform::Drawing& drawing_;
  platform::BrushHandle brush_;
};

}  // namespace ui
