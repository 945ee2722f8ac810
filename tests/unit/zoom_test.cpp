#include <gtest/gtest.h>

#include "thumbnail/zoom_view.h"

namespace {

struct Axis {
  int32_t pan, zoomed, start;
};

Axis zoom(int32_t share, int32_t size, int32_t pan) {
  Axis a{pan, 0, 0};
  zoomAxis(share, size, a.pan, a.zoomed, a.start);
  return a;
}

}  // namespace

TEST(Zoom, CentredShiftedAndKeptInsideTheSource) {
  Axis whole = zoom(100, 800, 0);
  EXPECT_EQ(whole.zoomed, 800);
  EXPECT_EQ(whole.start, 0);
  Axis half = zoom(50, 800, 0);
  EXPECT_EQ(half.zoomed, 400);
  EXPECT_EQ(half.start, 200);
  EXPECT_EQ(zoom(50, 800, -150).start, 50);
  // Past either end the view stops at the edge and the pan is written back.
  Axis left = zoom(50, 800, -1000);
  EXPECT_EQ(left.start, 0);
  EXPECT_EQ(left.pan, -200);
  Axis right = zoom(50, 800, 10000);
  EXPECT_EQ(right.start, 400);
  EXPECT_EQ(right.pan, 200);
  // Zoomed all the way in, at least one pixel is shown, in the middle.
  EXPECT_EQ(zoom(0, 800, 0).zoomed, 1);
  EXPECT_EQ(zoom(0, 800, 0).start, 399);
}
