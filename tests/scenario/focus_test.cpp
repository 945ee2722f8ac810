// The keyboard stays with the window the user works in, whatever the previews do; only the
// user's own action on a preview brings its window forward.
#include "scenario/preview_fixture.h"

namespace {

using scenario::Hwnd;
using scenario::Rect;
using namespace support;

class FocusTest : public scenario::PreviewTest {
 protected:
  // Above `below` in the z-order (enumWindows is top first).
  bool above(Hwnd window, Hwnd below) {
    const std::vector<Hwnd> order = desk->windows.enumWindows();
    return std::find(order.begin(), order.end(), window) <
           std::find(order.begin(), order.end(), below);
  }
  Hwnd foreground() { return desk->windows.foreground(); }
};

}  // namespace

TEST_F(FocusTest, TheUsersWindowKeepsTheKeyboardThroughThePreviewsWholeRoad) {
  const Hwnd editor = addAppWindow(*desk, "Notes - Editor", "ed.exe", {100, 100, 900, 500});
  const Hwnd mail = addAppWindow(*desk, "Inbox - Mail", "mail.exe", {200, 150, 1000, 650});
  Hwnd web;
  desk->windows.activateByUser(editor);
  EXPECT_TRUE(runProgram(*desk, {kExe}, [&](Hwnd panel) {
    const Hwnd control = desk->dialogs.findDialog(res::IDD_CONTROL);
    EXPECT_EQ(foreground(), editor) << "the hidden panel took the keyboard at start-up";
    detect(2);
    ASSERT_TRUE(support::previewOf(*desk, editor));
    ASSERT_TRUE(support::previewOf(*desk, mail));
    EXPECT_EQ(foreground(), editor) << "a preview's creation took the keyboard";

    // A window opened now has the keyboard; its new preview must leave it there.
    web = addAppWindow(*desk, "Start - Web", "web.exe", {300, 200, 1100, 800});
    desk->windows.activateByUser(web);
    detect(1);
    ASSERT_TRUE(support::previewOf(*desk, web));
    EXPECT_EQ(foreground(), web);

    // Hover mode lifts every preview above the user's window and lets them sink again; the
    // keyboard stays put both ways.
    desk->windows.activateByUser(editor);
    desk->input.pressHotKey(platform::MOD_WIN, 'W');
    desk->windows.pumpMessages();
    EXPECT_TRUE(above(support::previewOf(*desk, mail), editor));
    EXPECT_EQ(foreground(), editor) << "hover start took the keyboard";
    desk->advance(600);
    EXPECT_TRUE(above(editor, support::previewOf(*desk, mail)));
    EXPECT_TRUE(above(editor, support::previewOf(*desk, web)));
    EXPECT_EQ(foreground(), editor) << "hover end took the keyboard";

    // Minimised, a target is kept live off screen without being activated or raised; found
    // minimised again while hidden, it is restored the same way.
    desk->windows.setIconic(mail, true);
    desk->advance(700);
    Rect parked;
    desk->windows.getWindowRect(mail, parked);
    EXPECT_EQ(parked, (Rect{10200, 10150, 11000, 10650}));
    EXPECT_EQ(foreground(), editor) << "hiding a target activated it";
    EXPECT_TRUE(above(editor, mail));
    desk->windows.setIconic(mail, true);
    desk->advance(500);
    EXPECT_FALSE(desk->windows.isIconic(mail));
    EXPECT_EQ(foreground(), editor) << "re-hiding a target activated it";

    // The user works in the panel: moving and arranging previews leaves it the active one.
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    EXPECT_EQ(foreground(), panel);
    desk->dialogs.clickListRow(desk->dialogs.getDlgItem(control, res::IDC_THUMB_LIST), 2);
    desk->dialogs.clickButton(control, res::IDC_MOVE_UP);
    desk->dialogs.clickButton(control, res::IDC_ARRANGE);
    EXPECT_EQ(foreground(), panel) << "moving previews to their cells took the keyboard";

    // A double-click on a preview is the user asking for its window: it comes forward with
    // the keyboard, restored first when it was kept hidden.
    desk->windows.sendMessage(support::previewOf(*desk, web), platform::WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(foreground(), web);
    desk->windows.sendMessage(support::previewOf(*desk, mail), platform::WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(foreground(), mail);
    EXPECT_TRUE(above(mail, web));

    // Hidden once more when the program ends: putting it back must not activate it.
    desk->windows.setIconic(mail, true);
    desk->advance(700);
    // The exit command without the tray menu, which activates the panel for itself.
    desk->windows.activateByUser(editor);
    desk->windows.postMessage(panel, platform::WM_COMMAND, res::ID_TRAY_EXIT, 0);
    desk->windows.pumpMessages();
  }));
  EXPECT_TRUE(desk->windows.isIconic(mail));
  EXPECT_EQ(desk->windows.foreground(), editor) << "putting targets back at exit took the keyboard";
}
