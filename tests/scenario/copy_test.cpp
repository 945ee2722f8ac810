// "クリップボードにコピー" from a preview's menu: what the preview shows, from the target itself.
#include "scenario/preview_fixture.h"

namespace scenario {
namespace {

using platform::BitmapHandle;
using platform::CF_BITMAP;
using platform::Size;

constexpr uint32_t kCfText = 1;  // CF_TEXT, another program's data

TEST_F(PreviewTest, CopyPutsWhatThePreviewShowsOnTheClipboard) {
  const Hwnd target = addAppWindow(*desk, "Doc - Editor", "ed.exe", kNormal);
  desk->windows.activateByUser(target);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_TRUE(preview);
    const Rect at = rectOf(preview);
    const auto client = [&] {
      Rect r;
      desk->windows.getClientRect(preview, r);
      return Size{r.width(), r.height()};
    };
    const auto copy = [&] {
      desk->windows.menuAnswers.push_back(res::ID_THUMB_COPY);
      desk->windows.rightClick({at.left + 10, at.top + 10});
      desk->windows.pumpMessages();
    };
    // The one bitmap on the clipboard: its picture, once its size is the client's.
    const auto copied = [&]() -> std::string {
      EXPECT_EQ(desk->windows.clipboardData.size(), 1u);
      EXPECT_EQ(desk->windows.clipboardOwner, preview);
      EXPECT_EQ(desk->windows.liveBitmaps(), 1u) << "a bitmap not placed was kept";
      const auto* bitmap = desk->windows.bitmap(desk->windows.clipboardData[CF_BITMAP]);
      if (bitmap == nullptr) return "no bitmap";
      EXPECT_EQ(bitmap->size, client());
      return bitmap->picture;
    };
    const auto named = [](Hwnd window) {
      char text[16];
      snprintf(text, sizeof text, "h%x", window.value);
      return std::string(text);
    };
    const std::string print = "print " + named(target);
    const std::string own = "client " + named(preview);

    // Unzoomed: the visible frame of the 800 x 400 target, where the thumbnail takes it from
    // (the window's corner is at 100,100 on the screen: the part is not in screen terms).
    desk->windows.clipboardData[kCfText] = {};
    copy();
    EXPECT_EQ(thumbnailOf(target)->properties.source, (Rect{7, 0, 793, 393}));
    EXPECT_EQ(copied(), print + " flags 2 part 7,0,793,393 of 800x400");
    EXPECT_FALSE(desk->windows.clipboardData.count(kCfText)) << "the clipboard was not emptied";

    // Pointed at, the preview wears its sizing frame; zoomed, it shows and copies less.
    desk->windows.moveCursor({at.left + 10, at.top + 10});
    ASSERT_TRUE(styleOf(preview) & platform::WS_THICKFRAME);
    ASSERT_NE(client(), (Size{rectOf(preview).width(), rectOf(preview).height()}));
    for (int i = 0; i < 10; ++i) desk->windows.wheel(120);
    desk->windows.pumpMessages();
    ASSERT_EQ(thumbnailOf(target)->properties.source, (Rect{46, 20, 753, 373}));
    copy();
    EXPECT_EQ(copied(), print + " flags 2 part 46,20,753,373 of 800x400");

    // A system without full-content printing prints plainly.
    desk->windows.printFullContentFails = true;
    copy();
    EXPECT_EQ(copied(), print + " flags 0 part 46,20,753,373 of 800x400");

    // A target that cannot print itself: the preview's own client area, not its frame.
    desk->windows.printWindowFails = true;
    copy();
    EXPECT_EQ(copied(), own);
    desk->windows.printWindowFails = false;

    // A hung target is not asked to print (which would wait for it): the probe's second, and
    // the preview's own picture.
    desk->windows.setHung(target, true);
    const uint32_t before = desk->now;
    copy();
    EXPECT_LE(desk->now - before, 1000u);
    EXPECT_EQ(copied(), own);
    desk->windows.setHung(target, false);

    // Another program holds the clipboard open: nothing changes, nothing is left over.
    desk->windows.clipboardHeldElsewhere = true;
    const BitmapHandle earlier = desk->windows.clipboardData[CF_BITMAP];
    copy();
    EXPECT_EQ(desk->windows.clipboardData[CF_BITMAP], earlier);
    EXPECT_EQ(desk->windows.liveBitmaps(), 1u);
    EXPECT_TRUE(desk->messageBoxes.empty());
    EXPECT_EQ(countPrefix("delete unknown bitmap"), 0);
  });
}

}  // namespace
}  // namespace scenario
