#include "controller/arrangement.h"

#include <gtest/gtest.h>

using platform::Rect;

namespace {

SettingsRecord record(int32_t location, int32_t size = Middle) {
  SettingsRecord s;
  s.location = location;
  s.size = size;
  s.updateThumbSize();
  return s;
}

const Rect kFullHd{0, 0, 1920, 1080};

}  // namespace

TEST(Arrangement, WorkedExamplesOnAFullHdScreen) {
  struct Case {
    int32_t location;
    Rect first, second, last;
  };
  for (const Case& c : {
           Case{Left, {20, 10, 180, 130}, {20, 130, 180, 250}, {1620, 850, 1780, 970}},
           Case{Right, {1750, 10, 1910, 130}, {1750, 130, 1910, 250}, {150, 850, 310, 970}},
           Case{Top, {22, 11, 178, 129}, {182, 11, 338, 129}, {1622, 851, 1778, 969}},
           Case{Bottom, {20, 930, 180, 1050}, {180, 930, 340, 1050}, {1620, 90, 1780, 210}},
       }) {
    const std::vector<Rect> slots = buildSlots(record(c.location), kFullHd);
    ASSERT_EQ(slots.size(), 88u) << c.location;
    EXPECT_EQ(slots[0], c.first) << c.location;
    EXPECT_EQ(slots[1], c.second) << c.location;
    EXPECT_EQ(slots[87], c.last) << c.location;
  }
  // With sixteen previews on the left they fill the first two columns from the top.
  const std::vector<Rect> left = buildSlots(record(Left), kFullHd);
  EXPECT_EQ(left[8], (Rect{180, 10, 340, 130}));
  EXPECT_EQ(left[15], (Rect{180, 850, 340, 970}));
  // The same display at 150 % (144 dpi, 2880 x 1620 pixels): the same grid, half as large
  // again in pixels, so each preview keeps its size on the glass.
  const std::vector<Rect> scaled = buildSlots(record(Left), {0, 0, 2880, 1620}, 144);
  ASSERT_EQ(scaled.size(), 88u);
  EXPECT_EQ(scaled[0], (Rect{30, 15, 270, 195}));
  EXPECT_EQ(scaled[87], (Rect{2430, 1275, 2670, 1455}));
  EXPECT_EQ(buildSlots(record(Top), {0, 0, 2880, 1620}, 144)[0], (Rect{33, 17, 267, 193}));
  EXPECT_EQ(buildSlots(record(Bottom), {0, 0, 1920, 1080}, 120)[0], (Rect{25, 892, 225, 1042}));
}

TEST(Arrangement, TopLargeOnXga) {
  const std::vector<Rect> slots = buildSlots(record(Top, Large), {0, 0, 1024, 768});
  ASSERT_EQ(slots.size(), 16u);
  EXPECT_EQ(slots[0], (Rect{22, 11, 238, 169}));
  EXPECT_EQ(slots[4], (Rect{22, 171, 238, 329}));
}

TEST(Arrangement, TheFirstCellIsAlwaysThereAndExactFitsCount) {
  const std::vector<Rect> tiny = buildSlots(record(Left), {0, 0, 300, 200});
  ASSERT_EQ(tiny.size(), 1u);
  EXPECT_EQ(tiny[0], (Rect{20, 10, 180, 130}));
  // A column that ends exactly on the bottom margin line still holds its last cell:
  // 10 + 3 * 120 = 370 = 400 - 30.
  SettingsRecord s = record(Left);
  EXPECT_EQ(buildSlots(s, {0, 0, 190, 400}).size(), 3u);
  EXPECT_EQ(buildSlots(s, {0, 0, 190, 399}).size(), 2u);
  // The same for a row (20 + 3 * 160 = 500 = 510 - 10), and for the next line when lines
  // run backward: a second column from the right needs 350 - 10 - 2 * 160 = 20 (left margin).
  EXPECT_EQ(buildSlots(record(Top), {0, 0, 510, 160}).size(), 3u);
  EXPECT_EQ(buildSlots(record(Top), {0, 0, 509, 160}).size(), 2u);
  EXPECT_EQ(buildSlots(record(Right), {0, 0, 350, 160}).size(), 2u);
  EXPECT_EQ(buildSlots(record(Right), {0, 0, 349, 160}).size(), 1u);
  // A screen that does not start at the origin.
  EXPECT_EQ(buildSlots(s, {-1920, 0, 0, 1080})[0], (Rect{-1900, 10, -1740, 130}));
}

TEST(Arrangement, BadSettingsGiveABoundedOrEmptyGrid) {
  EXPECT_TRUE(buildSlots(record(4), kFullHd).empty());
  EXPECT_TRUE(buildSlots(record(-1), kFullHd).empty());
  SettingsRecord noCell = record(Left);
  noCell.thumbWidth = 0;
  EXPECT_TRUE(buildSlots(noCell, kFullHd).empty());
  SettingsRecord huge = record(Top);
  huge.rightMargin = INT32_MIN;
  huge.bottomMargin = INT32_MIN;
  EXPECT_EQ(buildSlots(huge, kFullHd).size(), kMaxSlots);
  EXPECT_EQ(buildSlots(huge, kFullHd, 144).size(), kMaxSlots);
}
