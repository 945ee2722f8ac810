// "クリップボードにコピー" from a preview's menu: what the preview shows, from the target itself.
#include "scenario/preview_fixture.h"

namespace scenario {
namespace {

using platform::CF_BITMAP;

TEST_F(PreviewTest, CopyPutsWhatThePreviewShowsOnTheClipboard) {
  const Hwnd target = addAppWindow(*desk, "Doc - Editor", "ed.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = support::previewOf(*desk, target);
    ASSERT_TRUE(preview);
    auto& clipboard = desk->drawing.clipboardData;
    const Rect at = rectOf(preview);
    // Copies, and tells where the one bitmap on the clipboard came from.
    const auto copy = [&]() -> std::string {
      desk->ownWindows.menuAnswers.push_back(res::ID_THUMB_COPY);
      desk->input.rightClick({at.left + 10, at.top + 10});
      desk->windows.pumpMessages();
      EXPECT_EQ(clipboard.size(), 1u);
      EXPECT_EQ(desk->drawing.clipboardOwner, preview);
      EXPECT_EQ(desk->drawing.liveBitmaps(), 1u) << "a bitmap not placed was kept";
      const auto* bitmap = desk->drawing.bitmap(clipboard[CF_BITMAP]);
      if (bitmap == nullptr) return "none";
      Rect client;
      desk->windows.getClientRect(preview, client);
      EXPECT_EQ(bitmap->size, (platform::Size{client.width(), client.height()}));
      return bitmap->picture;
    };
    char text[32];
    snprintf(text, sizeof text, "print h%x flags ", target.value);
    const std::string print = text;
    snprintf(text, sizeof text, "client h%x", preview.value);
    const std::string own = text;

    // Unzoomed: the target's visible frame, where the thumbnail takes it from (relative to the
    // window, which lies at 100,100 on the screen). Another program's text goes.
    clipboard[1 /* CF_TEXT */] = {};
    EXPECT_EQ(copy(), print + "2 part 7,0,793,393 of 800x400");
    EXPECT_EQ(thumbnailOf(target)->properties.source, (Rect{7, 0, 793, 393}));

    // Pointed at, the preview wears its sizing frame; zoomed, it shows and copies less.
    desk->input.moveCursor({at.left + 10, at.top + 10});
    ASSERT_TRUE(styleOf(preview) & platform::WS_THICKFRAME);
    for (int i = 0; i < 10; ++i) desk->input.wheel(120);
    desk->windows.pumpMessages();
    ASSERT_EQ(thumbnailOf(target)->properties.source, (Rect{46, 20, 753, 373}));
    EXPECT_EQ(copy(), print + "2 part 46,20,753,373 of 800x400");
    desk->drawing.printFullContentFails = true;
    EXPECT_EQ(copy(), print + "0 part 46,20,753,373 of 800x400");

    // A target that cannot print itself: the preview's own client area, without the frame.
    desk->drawing.printWindowFails = true;
    EXPECT_EQ(copy(), own);
    desk->drawing.printWindowFails = false;

    // A hung target is not asked to print, which would wait for it: only the probe's second.
    desk->programs.setHung(target, true);
    const uint32_t before = desk->now;
    EXPECT_EQ(copy(), own);
    EXPECT_LE(desk->now - before, 1000u);
    desk->programs.setHung(target, false);
    // One that answers the probe and then takes 15 s to print holds the program a second.
    desk->programs.slowHandler(target, platform::WM_PRINT, 15000);
    const uint32_t busyFrom = desk->now;
    EXPECT_EQ(copy(), own);
    EXPECT_LE(desk->now - busyFrom, 1000u);
    desk->advance(15000);
    desk->programs.slowHandler(target, platform::WM_PRINT, 0);

    // Another program holds the clipboard open: nothing changes, nothing is left over.
    desk->drawing.clipboardHeldElsewhere = true;
    const platform::BitmapHandle earlier = clipboard[CF_BITMAP];
    EXPECT_EQ(copy(), own);
    EXPECT_EQ(clipboard[CF_BITMAP], earlier);
    EXPECT_TRUE(desk->ownWindows.messageBoxes.empty());
  });
}

}  // namespace
}  // namespace scenario
