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
    for (size_t at = desk->system.consoleOutput.find(text); at != std::string::npos;
         at = desk->system.consoleOutput.find(text, at + 1)) {
      ++n;
    }
    return n;
  }
  bool leaveTimerRuns(Hwnd preview) { return desk->windows.timerPeriod(preview, 104).has_value(); }
};

TEST_F(PointerTest, EnteringLiftsThePreviewAndLeavingLetsItSinkWithinAPoll) {
  // As under Wine, where the bottom alone would leave the preview above every window.
  desk->windows.wineBottomKeepsTopmost = true;
  const Hwnd target = addAppWindow(*desk, "Doc - Editor", "ed.exe", kNormal);
  desk->windows.activateByUser(target);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = support::previewOf(*desk, target);
    ASSERT_TRUE(preview);
    ASSERT_EQ(rectOf(preview), (Rect{20, 30, 180, 110}));
    EXPECT_FALSE(leaveTimerRuns(preview)) << "nothing to poll before the pointer comes";

    // The pointer elsewhere starts no poll.
    desk->input.moveCursor({1500, 900});
    desk->advance(1000);
    EXPECT_FALSE(leaveTimerRuns(preview));

    // In: opaque, on top of everything, framed, and the keyboard stays with the user.
    desk->input.moveCursor({50, 50});
    EXPECT_TRUE(support::loggedOnConsole(*desk, "●MounseIn Doc - Editor\n"));
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 255);
    EXPECT_EQ(desk->windows.enumWindows().front(), preview);
    EXPECT_TRUE(framed(preview));
    EXPECT_EQ(desk->windows.foreground(), target);
    EXPECT_EQ(desk->windows.timerPeriod(preview, 104), 200u);
    EXPECT_GT(desk->input.arrowCursorsSet, 0u);

    // Staying in changes nothing, however long.
    desk->input.moveCursor({60, 70});
    desk->advance(1000);
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 255);
    EXPECT_EQ(occurrences("●MounseIn"), 1);
    EXPECT_TRUE(framed(preview));
    EXPECT_EQ(desk->windows.enumWindows().front(), preview);

    // Out, over the user's window: within 200 ms it is back as configured, at the bottom.
    desk->advance(30);
    desk->input.moveCursor({500, 300});
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 255) << "left before the poll noticed";
    desk->advance(200);
    EXPECT_TRUE(support::loggedOnConsole(*desk, "■MouseOUT Doc - Editor\n"));
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 153);
    EXPECT_EQ(desk->windows.enumWindows().back(), preview);
    EXPECT_EQ(desk->windows.getWindowLong(preview, platform::GWL_EXSTYLE) & platform::WS_EX_TOPMOST,
              0u);
    EXPECT_FALSE(framed(preview));
    EXPECT_FALSE(leaveTimerRuns(preview)) << "the leave poll outlived the pointer";
    EXPECT_EQ(desk->windows.foreground(), target);

    // Sunk below the editor, the preview's covered corner no longer hears the pointer; its
    // free part does, and the road repeats.
    desk->input.moveCursor({150, 105});
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 153);
    desk->input.moveCursor({30, 40});
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 255);
    desk->input.moveCursor({1500, 900});
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
    const Hwnd preview = support::previewOf(*desk, target);
    ASSERT_TRUE(preview);
    const Rect r = rectOf(preview);
    desk->input.moveCursor({r.left + 5, r.top + 5});
    EXPECT_EQ(desk->windows.enumWindows().front(), preview);
    desk->input.moveCursor({1500, 900});
    desk->advance(200);
    EXPECT_EQ(desk->windows.enumWindows().back(), preview);
    EXPECT_TRUE(framed(preview));
  });
}

TEST_F(PointerTest, DragZoomAndPanTheirWholeRoad) {
  const Hwnd target = addAppWindow(*desk, "Doc - Editor", "ed.exe", kNormal);
  desk->windows.activateByUser(target);
  run([&](Hwnd panel) {
    detect(1);
    const Hwnd preview = support::previewOf(*desk, target);
    ASSERT_TRUE(preview);
    const auto source = [&] {
      desk->windows.pumpMessages();  // the invalidated preview paints
      return thumbnailOf(target)->properties.source;
    };
    const auto notches = [&](int n, platform::WParam keys = 0) {
      for (int i = 0; i < (n < 0 ? -n : n); ++i) desk->input.wheel(n < 0 ? -120 : 120, keys);
    };
    const auto keys = [&](int32_t key, int n) {
      for (int i = 0; i < n; ++i) ASSERT_TRUE(desk->input.pressKey(key));
    };
    // The visible frame of the 800 x 400 target, inside its window.
    const Rect whole{7, 0, 793, 393};

    // Before the pointer has been seen over it, the wheel does nothing.
    const Rect at = rectOf(preview);
    desk->input.cursor = {at.left + 10, at.top + 10};
    notches(3);
    EXPECT_EQ(source(), whole);

    // Not zoomed, a drag moves the preview like a caption; the user's click activates it.
    desk->input.moveCursor({at.left + 10, at.top + 10});
    const Rect entered = rectOf(preview);
    desk->input.leftDrag({at.left + 10, at.top + 10},
                         {{at.left + 50, at.top + 30}, {at.left + 110, at.top + 60}});
    EXPECT_EQ(count("move loop 100,50"), 1);
    EXPECT_EQ(rectOf(preview), (Rect{entered.left + 100, entered.top + 50, entered.right + 100,
                                     entered.bottom + 50}));
    EXPECT_EQ(desk->windows.enumWindows().front(), preview);
    EXPECT_EQ(desk->windows.foreground(), preview);
    EXPECT_EQ(source(), whole);

    // Ten notches in show 90 percent of the frame, centred; ten out give the whole back, and
    // more stay there. Half a notch is nothing.
    notches(10);
    EXPECT_EQ(source(), (Rect{46, 20, 753, 373}));  // 707 x 353
    desk->input.wheel(60);
    EXPECT_EQ(source(), (Rect{46, 20, 753, 373}));
    notches(-10);
    EXPECT_EQ(source(), whole);
    notches(-5);
    EXPECT_EQ(source(), whole);
    // Under composition Ctrl and Shift zoom both axes, like the plain wheel.
    notches(5, platform::MK_CONTROL);
    notches(5, platform::MK_SHIFT);
    EXPECT_EQ(source(), (Rect{46, 20, 753, 373}));

    // Arrows pan by 4, by 1 with Shift; the view stops at the frame's edges.
    keys(platform::VK_LEFT, 20);
    EXPECT_EQ(source(), (Rect{7, 20, 714, 373}));
    desk->input.keysHeld.insert(platform::VK_SHIFT);
    keys(platform::VK_RIGHT, 1);
    keys(platform::VK_UP, 3);
    EXPECT_EQ(source(), (Rect{8, 17, 715, 370}));
    desk->input.keysHeld.clear();
    keys(platform::VK_RIGHT, 30);
    keys(platform::VK_DOWN, 30);
    EXPECT_EQ(source(), (Rect{86, 40, 793, 393}));

    // Zoomed, a drag pans instead: the content follows the pointer, the preview stays put.
    keys(platform::VK_LEFT, 5);
    EXPECT_EQ(source(), (Rect{65, 40, 772, 393}));
    Rect client;
    desk->windows.getClientRect(preview, client);
    const Rect placed = rectOf(preview);
    const Point grab{placed.left + 20, placed.top + 20};
    desk->input.leftDrag(grab, {{grab.x + 10, grab.y}});
    const int32_t shift = static_cast<int32_t>(707.0 * 10 / client.width());
    EXPECT_EQ(source(), (Rect{65 - shift, 40, 772 - shift, 393}));
    EXPECT_EQ(rectOf(preview), placed);
    EXPECT_EQ(countPrefix("move loop"), 1);
    EXPECT_FALSE(desk->input.capture()) << "the release let the capture go";

    // Zoomed in to 1 percent, each pointer pixel is a small part of a source pixel: thirty of
    // them still pan, the parts carried from move to move.
    notches(89);
    const Rect tiny = source();
    EXPECT_EQ(tiny.width(), 7);
    std::vector<Point> road;
    for (int i = 1; i <= 30; ++i) road.push_back({grab.x + i, grab.y + i});
    desk->input.leftDrag(grab, road);
    const auto carried = [&](int32_t span, int32_t size) {
      return static_cast<int32_t>(static_cast<double>(span) * 30 / size);
    };
    ASSERT_GT(carried(7, client.width()), 0) << "the road is too short to show the carry";
    EXPECT_EQ(source().left, tiny.left - carried(7, client.width()));
    EXPECT_EQ(source().top, tiny.top - carried(3, client.height()));

    // Put back into its cell by the control page, the preview shows the whole source again.
    showPanel(panel);
    ASSERT_TRUE(desk->dialogs.clickButton(control, res::IDC_ARRANGE));
    EXPECT_EQ(rectOf(preview).left, entered.left);
    EXPECT_EQ(source(), whole);
  });
}

// The context menu as shown: texts, ids and order, with the grayed ones marked "-".
std::vector<std::string> shown(const platform::MenuTemplate& menu) {
  std::vector<std::string> lines;
  for (const platform::MenuItemTemplate& item : menu.items) {
    if (item.text == nullptr) {
      lines.push_back("--");
      continue;
    }
    lines.push_back(std::string(item.text) + " " + std::to_string(item.id));
    for (const platform::MenuItemTemplate& sub : item.submenu) {
      lines.push_back(sub.text == nullptr ? "  --"
                                          : std::string("  ") + (sub.grayed ? "-" : "") + sub.text +
                                                " " + std::to_string(sub.id));
    }
  }
  return lines;
}

TEST_F(PointerTest, TheContextMenuOffersReloadOnlyToTheThreeBrowsersByExactName) {
  const Hwnd editor = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
  const Hwnd chrome = addAppWindow(*desk, "Web", "chrome.exe", kNormal);
  const Hwnd shouting = addAppWindow(*desk, "Fox", "Firefox.exe", kNormal);
  run([&](Hwnd) {
    detect(3);
    const auto menuOf = [&](Hwnd target) {
      const Rect r = rectOf(support::previewOf(*desk, target));
      desk->input.rightClick({r.left + 5, r.top + 5});
      EXPECT_EQ(desk->windows.foreground(), support::previewOf(*desk, target));
      return shown(*desk->ownWindows.lastMenu);
    };
    EXPECT_EQ(menuOf(editor),
              (std::vector<std::string>{
                  "整列             32774", "--", "移動 0", "  先頭に移動 32790",
                  "  前に移動 32778", "  後ろに移動 32779", "  最後尾に移動 32791", "--",
                  "クリップボードにコピー 32786", "--", "除外 32780", "--", "Webリロード 0",
                  "  -する 32783", "  -しない 32784", "  --", "  -間隔設定 32785"}));
    EXPECT_EQ(desk->ownWindows.lastMenu->name, std::string("THUMB_POPUP"));
    EXPECT_EQ(desk->ownWindows.lastMenu->id, 137);
    const std::vector<std::string> browser = menuOf(chrome);
    EXPECT_EQ(
        std::vector<std::string>(browser.end() - 4, browser.end()),
        (std::vector<std::string>{"  する 32783", "  -しない 32784", "  --", "  間隔設定 32785"}));
    const std::vector<std::string> differentCase = menuOf(shouting);
    EXPECT_EQ(differentCase.back(), "  -間隔設定 32785");
    EXPECT_EQ(differentCase[differentCase.size() - 4], "  -する 32783");
  });
}

TEST_F(PointerTest, MenuCommandsReachTheControllerWhileTheirWindowLives) {
  const Hwnd a = addAppWindow(*desk, "A", "a.exe", kNormal);
  const Hwnd b = addAppWindow(*desk, "B", "b.exe", kNormal);
  const Hwnd c = addAppWindow(*desk, "C", "c.exe", kNormal);
  run([&](Hwnd) {
    detect(3);
    ASSERT_EQ(listedTitles(), (std::vector<std::string>{"C", "B", "A"}));
    const auto choose = [&](Hwnd target, uint32_t command) {
      const Rect r = rectOf(support::previewOf(*desk, target));
      desk->ownWindows.menuAnswers.push_back(command);
      desk->input.rightClick({r.left + 5, r.top + 5});
    };
    const Rect firstCell = rectOf(support::previewOf(*desk, c));
    choose(c, res::ID_THUMB_MOVE_TAIL);
    desk->windows.pumpMessages();
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(rectOf(support::previewOf(*desk, b)), firstCell);
    choose(c, res::ID_THUMB_MOVE_HEAD);
    desk->windows.pumpMessages();
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"C", "B", "A"}));
    choose(c, res::ID_THUMB_MOVE_BACKWARD);
    desk->windows.pumpMessages();
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"B", "C", "A"}));
    choose(a, res::ID_THUMB_MOVE_FORWARD);
    desk->windows.pumpMessages();
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"B", "A", "C"}));

    // Arrange puts a preview dragged away back into its cell.
    const Rect cell = rectOf(support::previewOf(*desk, a));
    desk->input.leftDrag({cell.left + 5, cell.top + 5}, {{cell.left + 305, cell.top + 205}});
    ASSERT_NE(rectOf(support::previewOf(*desk, a)).left, cell.left);
    choose(a, res::ID_THUMB_ARRANGE);
    desk->windows.pumpMessages();
    EXPECT_EQ(rectOf(support::previewOf(*desk, a)).left, cell.left);

    // A grayed item chooses nothing.
    choose(c, res::ID_THUMB_RELOAD_ON);
    EXPECT_EQ(count("menu THUMB_POPUP item 32783 grayed"), 1);

    // A command for a window that went while the menu was up is dropped.
    choose(b, res::ID_THUMB_MOVE_TAIL);
    desk->windows.closeWindow(b);
    desk->windows.pumpMessages();
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"B", "A", "C"}));

    // Exclude closes the preview from its own menu.
    choose(c, res::ID_THUMB_EXCLUDE);
    desk->windows.pumpMessages();
    EXPECT_FALSE(support::previewOf(*desk, c));
    EXPECT_TRUE(desk->windows.isWindow(c));

    // The window goes while its menu is held open: detection closes the preview inside the
    // menu's loop, the menu closes with it and the command is dropped.
    desk->ownWindows.whileMenu = [&] {
      desk->windows.closeWindow(a);
      detect(1);
    };
    choose(a, res::ID_THUMB_MOVE_HEAD);
    desk->windows.pumpMessages();
    EXPECT_FALSE(support::previewOf(*desk, a));
    EXPECT_EQ(count("menu THUMB_POPUP closed with its owner"), 1);
    EXPECT_TRUE(listedTitles().empty());
  });
}

}  // namespace
}  // namespace scenario
