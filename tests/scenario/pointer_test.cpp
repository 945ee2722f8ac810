// The user's pointer and keyboard on a preview: entering and leaving, dragging, zoom and pan.
#include "scenario/preview_fixture.h"

namespace scenario {
namespace {

using platform::Point;

class PointerTest : public PreviewTest {
 protected:
  bool framed(Hwnd preview) { return (styleOf(preview) & platform::WS_THICKFRAME) != 0; }
  int occurrences(const std::string& text) {
    int n = 0;
    for (size_t at = desk->consoleOutput.find(text); at != std::string::npos;
         at = desk->consoleOutput.find(text, at + 1)) {
      ++n;
    }
    return n;
  }
  bool leaveTimerRuns(Hwnd preview) {
    return desk->windows.timerPeriod(preview, 104).has_value();
  }
};

TEST_F(PointerTest, EnteringLiftsThePreviewAndLeavingLetsItSinkWithinAPoll) {
  const Hwnd target = addAppWindow(*desk, "Doc - Editor", "ed.exe", kNormal);
  desk->windows.activateByUser(target);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_TRUE(preview);
    ASSERT_EQ(rectOf(preview), (Rect{20, 30, 180, 110}));
    EXPECT_FALSE(leaveTimerRuns(preview)) << "nothing to poll before the pointer comes";

    // The pointer elsewhere starts no poll.
    desk->windows.moveCursor({1500, 900});
    desk->advance(1000);
    EXPECT_FALSE(leaveTimerRuns(preview));

    // In: opaque, on top of everything, framed, and the keyboard stays with the user.
    desk->windows.moveCursor({50, 50});
    EXPECT_TRUE(logged("●MounseIn Doc - Editor\n"));
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 255);
    EXPECT_EQ(desk->windows.enumWindows().front(), preview);
    EXPECT_TRUE(framed(preview));
    EXPECT_EQ(desk->windows.foreground(), target);
    EXPECT_EQ(desk->windows.timerPeriod(preview, 104), 200u);
    EXPECT_GT(desk->windows.arrowCursorsSet, 0u);

    // Staying in changes nothing, however long.
    desk->windows.moveCursor({60, 70});
    desk->advance(1000);
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 255);
    EXPECT_EQ(occurrences("●MounseIn"), 1);
    EXPECT_TRUE(framed(preview));
    EXPECT_EQ(desk->windows.enumWindows().front(), preview);

    // Out, over the user's window: within 200 ms it is back as configured, at the bottom.
    desk->advance(30);
    desk->windows.moveCursor({500, 300});
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 255) << "left before the poll noticed";
    desk->advance(200);
    EXPECT_TRUE(logged("■MouseOUT Doc - Editor\n"));
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 153);
    EXPECT_EQ(desk->windows.enumWindows().back(), preview);
    EXPECT_FALSE(framed(preview));
    EXPECT_FALSE(leaveTimerRuns(preview)) << "the leave poll outlived the pointer";
    EXPECT_EQ(desk->windows.foreground(), target);

    // Sunk below the editor, the preview's covered corner no longer hears the pointer; its
    // free part does, and the road repeats.
    desk->windows.moveCursor({150, 105});
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 153);
    desk->windows.moveCursor({30, 40});
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 255);
    desk->windows.moveCursor({1500, 900});
    desk->advance(200);
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 153);
    EXPECT_FALSE(leaveTimerRuns(preview));
  });
}

TEST_F(PointerTest, WithTheFrameSettingOnTheFrameStaysAfterLeaving) {
  settingsFile("FRAME=1\r\n");
  const Hwnd target = addAppWindow(*desk, "A", "a.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_TRUE(preview);
    const Rect r = rectOf(preview);
    desk->windows.moveCursor({r.left + 5, r.top + 5});
    EXPECT_EQ(desk->windows.enumWindows().front(), preview);
    desk->windows.moveCursor({1500, 900});
    desk->advance(200);
    EXPECT_EQ(desk->windows.enumWindows().back(), preview);
    EXPECT_TRUE(framed(preview));
  });
}

}  // namespace
}  // namespace scenario
