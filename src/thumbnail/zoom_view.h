// What part of its source a preview shows: a share of each axis in percent (100: all of it)
// and a pan from the centre in source pixels, as the wheel, the arrow keys and a drag set them.
#pragma once

#include <cstdint>

#include "platform/types.h"

// One axis of the zoomed source: `share` percent (0..100) of `size`, at least one pixel,
// centred, shifted by `pan` and kept inside the source; the pan is written back at the limits.
void zoomAxis(int32_t share, int32_t size, int32_t& pan, int32_t& zoomed, int32_t& start);

class ZoomView {
 public:
  bool zoomed() const { return shareX_ != 100 || shareY_ != 100; }
  // Steps of the share (negative: further in), kept within 0..100.
  void addZoom(int32_t dx, int32_t dy);
  // Source pixels, kept within a pan no source can use up.
  void addPan(int32_t dx, int32_t dy);
  // The part shown of a source `width` x `height`, relative to its top-left corner; the pan is
  // kept inside that source from now on.
  platform::Rect within(int32_t width, int32_t height);
  // The part last worked out (empty before the first).
  const platform::Rect& shown() const { return shown_; }

 private:
  int32_t shareX_ = 100, shareY_ = 100;
  int32_t panX_ = 0, panY_ = 0;
  platform::Rect shown_;
};
