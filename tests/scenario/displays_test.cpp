// The displays change under a running program: scaling, a docked monitor, the taskbar.
#include <gtest/gtest.h>

#include "scenario/preview_fixture.h"

using platform::Hwnd;
using platform::Rect;
using sim::SimDesktop;
using namespace support;
using scenario::kNormal;
using scenario::PreviewTest;

namespace {

bool inside(const Rect& inner, const Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

// A laptop at 150 % is docked to a monitor at 100 % that becomes the main one, then undocked;
// its taskbar moves. The grid follows the primary monitor's DPI, every preview stays on a
// monitor, and a kept browser window is placed again for the new work area.
TEST_F(PreviewTest, TheGridFollowsTheDisplaysAsTheyChange) {
  desk->system.version.majorVersion = 10;
  desk->system.version.minorVersion = 0;
  desk->system.version.buildNumber = 19045;
  desk->displays.monitors = {
      {{0, 0, 2880, 1620}, {0, 0, 2880, 1560}, true, "\\\\.\\DISPLAY1", 144}};
  desk->displays.systemDpi = 144;
  desk->displays.displayChanged();
  const Hwnd editor = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
  const Hwnd chrome = addClassWindow("Web", "chrome.exe", "Chrome_WidgetWin_1", kNormal);
  // The cell a preview of an 800 x 400 window sits in, and where it sits.
  const auto cellOf = [&](Hwnd target, const Rect& cell) {
    const Rect r = rectOf(previewOf(target));
    EXPECT_TRUE(inside(r, cell)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    EXPECT_EQ(r.width(), cell.width());
  };
  run([&](Hwnd panel) {
    EXPECT_EQ(desk->displays.dpiAwareness, platform::DpiAwareness::PerMonitorV2);
    EXPECT_EQ(desk->dwm.glassFrames.at(panel.value), (platform::Margins{14, 12, 35, 21}));
    detect(2);
    cellOf(chrome, {30, 15, 270, 195});  // 160 x 120 and margins 20, 10 at 150 %
    cellOf(editor, {30, 195, 270, 375});
    EXPECT_EQ(minimiseAndPoll(chrome).left, 2879);   // kept one column inside the edge
    EXPECT_GE(minimiseAndPoll(editor).left, 10000);  // one monitor: kept off the screen
    // Docked: a monitor at 100 % joins on the right, then becomes the main one.
    desk->displays.monitors.push_back(
        {{2880, 0, 4800, 1080}, {2880, 0, 4800, 1040}, false, "D2", 96});
    desk->displays.displayChanged();
    cellOf(chrome, {30, 15, 270, 195});
    // Two monitors: at once transparent in place, as a fresh hide would keep it.
    EXPECT_EQ(rectOf(editor), kNormal);
    EXPECT_EQ(desk->windows.layeredAlpha(editor), 0);
    desk->displays.setPrimary(1);
    // The kept browser window is placed again at once, not left across the new main monitor.
    EXPECT_EQ(rectOf(chrome), (Rect{1919, 1080, 2719, 1480}));
    cellOf(chrome, {20, 10, 180, 130});
    cellOf(editor, {20, 130, 180, 250});
    // The laptop's scaling goes to 125 %: nothing of the grid's monitor changed. The panel
    // there takes the size the system suggests, and its glass the new scaling; the pages'
    // controls and fonts scale with it.
    const Rect before = rectOf(panel);
    const Hwnd list = desk->dialogs.getDlgItem(control, res::IDC_THUMB_LIST);
    const Rect listBefore = rectOf(list);
    desk->displays.setMonitorDpi(0, 120);
    EXPECT_EQ(rectOf(panel).width(), before.width() * 120 / 144);
    EXPECT_EQ(rectOf(panel).left, before.left);
    EXPECT_EQ(rectOf(list).width(), listBefore.width() * 120 / 144);
    EXPECT_EQ(desk->dialogs.fontDpi(list), 120u);
    EXPECT_EQ(desk->dwm.glassFrames.at(panel.value), (platform::Margins{11, 10, 29, 18}));
    cellOf(chrome, {20, 10, 180, 130});
    // The user drags a preview over the laptop to the far end of the main monitor, which then
    // goes away. It is told of both scalings on the way, and keeps its size.
    const Hwnd preview = previewOf(editor);
    const Rect dragged = rectOf(preview);
    desk->input.moveCursor({dragged.left + 5, dragged.top + 5});
    desk->input.leftDrag({dragged.left + 5, dragged.top + 5}, {{-600, 300}, {1800, 900}});
    const std::string there = hex("dpi changed h", preview);
    EXPECT_EQ(count(there + " 96 to 120"), 1);
    EXPECT_EQ(count(there + " 120 to 96"), 1);
    const Rect put = rectOf(preview);
    ASSERT_GE(put.left, 1700);
    EXPECT_EQ(put.width(), dragged.width());
    // The panel moved from the laptop onto the main monitor takes the size suggested there and
    // its glass the main monitor's scaling; nothing the grid is laid out by changed.
    const Rect panelWas = rectOf(panel);
    ASSERT_LT(panelWas.right, 0);
    desk->windows.moveWindow(panel, 400, 300, panelWas.width(), panelWas.height(), true);
    EXPECT_EQ(rectOf(panel), (Rect{400, 300, 400 + panelWas.width() * 96 / 120,
                                   300 + panelWas.height() * 96 / 120}));
    EXPECT_EQ(desk->dwm.glassFrames.at(panel.value), (platform::Margins{9, 8, 23, 14}));
    EXPECT_EQ(rectOf(preview), put);
    cellOf(chrome, {20, 10, 180, 130});
    // Moved most onto the laptop, where its larger size leans back onto the main monitor: the
    // panel is told once, and takes that size.
    const Rect onMain = rectOf(panel);
    const std::string told = hex("dpi changed h", panel);
    const long toldBefore = countPrefix(told);
    desk->windows.moveWindow(panel, -onMain.width() * 55 / 100, 300, onMain.width(),
                             onMain.height(), true);
    EXPECT_EQ(countPrefix(told), toldBefore + 1);
    EXPECT_EQ(rectOf(panel).width(), onMain.width() * 120 / 96);
    // Undocked: the laptop is the only monitor, and the main one, again. The dragged preview
    // is back in the grid, and the minimised window off the screen again, opaque.
    desk->displays.monitors.erase(desk->displays.monitors.begin() + 1);
    desk->displays.setPrimary(0);
    cellOf(chrome, {25, 13, 225, 163});
    cellOf(editor, {25, 163, 225, 313});
    EXPECT_GE(rectOf(editor).left, 10000);
    EXPECT_FALSE(desk->windows.layeredAlpha(editor).has_value());
    // Its own scaling back to 150 %, then the taskbar moves to the top.
    desk->displays.setMonitorDpi(0, 144);
    cellOf(chrome, {30, 15, 270, 195});
    desk->displays.setTaskbar(sim::SimDisplays::TaskbarEdge::Top, 60);
    cellOf(chrome, {30, 75, 270, 255});  // the grid keeps clear of the taskbar
    desk->advance(600);
    EXPECT_EQ(rectOf(chrome).left, 2879);
    EXPECT_EQ(rectOf(chrome).top, 60);
    EXPECT_TRUE(desk->programs.engineDraws(chrome));
  });
}
