#include "thumbnail/zoom_view.h"

#include <algorithm>

void zoomAxis(int32_t share, int32_t size, int32_t& pan, int32_t& zoomed, int32_t& start) {
  zoomed = share == 100 ? size : std::max(1, share * size / 100);
  const int32_t half = (size - zoomed) / 2;
  start = pan + half;
  if (start < 0) {
    pan = -half;
    start = 0;
  }
  if (start + zoomed > size) {
    pan = half;
    start = size - zoomed;
  }
}

void ZoomView::addZoom(int32_t dx, int32_t dy) {
  shareX_ = std::clamp(shareX_ + dx, 0, 100);
  shareY_ = std::clamp(shareY_ + dy, 0, 100);
}

void ZoomView::addPan(int32_t dx, int32_t dy) {
  panX_ = std::clamp(panX_ + dx, -10000, 10000);
  panY_ = std::clamp(panY_ + dy, -10000, 10000);
}

platform::Rect ZoomView::within(int32_t width, int32_t height) {
  int32_t zoomedWidth = 0, zoomedHeight = 0, x = 0, y = 0;
  zoomAxis(shareX_, width, panX_, zoomedWidth, x);
  zoomAxis(shareY_, height, panY_, zoomedHeight, y);
  shown_ = {x, y, x + zoomedWidth, y + zoomedHeight};
  return shown_;
}
