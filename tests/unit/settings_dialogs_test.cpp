// The control page's two "変更" buttons and the dialogs they open.
#include <gtest/gtest.h>

#include <functional>

#include "controller/control_dlg.h"
#include "dialogs/alpha_setting_dlg.h"
#include "res/dialogs.h"
#include "support/program_run.h"

using platform::Hwnd;
using platform::IDCANCEL;
using platform::IDOK;

namespace {

class SettingsDialogsTest : public ::testing::Test {
 protected:
  SettingsDialogsTest()
      : context(desk->platform()),
        environment(desk->platform().monitors, desk->platform().shell, false),
        host(desk->platform(), res::winListDialog()),
        page(CControlDlg::Ports(context.platform, context.checks), environment) {
    host.create({});
    host.showWindow(platform::SW_SHOW);
    page.create(host.hwnd());
    page.showWindow(platform::SW_SHOW);
  }
  Hwnd offer(const std::string& title) {
    const Hwnd h = support::addAppWindow(*desk, title, "app.exe");
    page.entryWindow({h, desk->windows.getWindowProcessId(h), title, "app.exe"});
    for (const ThumbnailSlot& slot : page.roster()) {
      if (slot.inUse() && slot.window.hwnd == h) return slot.thumbnail->hwnd();
    }
    return {};
  }
  // Presses a "変更" button; the user's doings in the dialog it opens are `user`.
  void change(int32_t button, int32_t dialog, std::function<void(Hwnd)> user) {
    desk->windows.modalScripts[dialog] = [user](Hwnd h) { user(h); };
    ASSERT_TRUE(desk->windows.clickButton(page.hwnd(), button));
    desk->windows.modalScripts.erase(dialog);
  }
  // Types `text` into the transparency field and ends the dialog with `end`.
  void setAlpha(const std::string& text, int32_t end = IDOK) {
    change(res::IDC_CHANGE_ALPHA, res::IDD_ALPHA_SETTING, [this, text, end](Hwnd h) {
      desk->windows.typeText(h, res::IDC_ALPHA_EDIT, text);
      desk->windows.clickButton(h, end);
    });
  }
  int32_t saved(const char* key) {
    return static_cast<int32_t>(
        desk->platform().profile.getInt("SYSTEM", key, -1, page.settingsPath()));
  }
  bool fileExists() { return desk->files.readFile(page.settingsPath()).has_value(); }

  std::unique_ptr<sim::SimDesktop> desk = sim::SimDesktop::singleMonitor();
  AppContext context;
  DisplayEnvironment environment;
  ui::Dialog host;
  CControlDlg page;
};

}  // namespace

TEST_F(SettingsDialogsTest, TransparencyReachesEveryPreviewOnlyWhenChanged) {
  const Hwnd first = offer("First");
  const Hwnd second = offer("Second");
  ASSERT_EQ(desk->windows.layeredAlpha(first), 153);  // the default 60 %

  // The dialog opens on the current value; cancel changes nothing, whatever was typed.
  std::string shown;
  change(res::IDC_CHANGE_ALPHA, res::IDD_ALPHA_SETTING, [&](Hwnd h) {
    shown = desk->windows.getDlgItemText(h, res::IDC_ALPHA_EDIT);
    desk->windows.typeText(h, res::IDC_ALPHA_EDIT, "20");
    desk->windows.clickButton(h, IDCANCEL);
  });
  EXPECT_EQ(shown, "60");
  // Below the range, and texts that are no whole number, keep the value: nothing happens.
  for (const char* text : {"10", "101", "abc", "", "1,00", "60 "}) {
    setAlpha(text);
    EXPECT_EQ(page.settings.transparent, 60) << text;
  }
  EXPECT_EQ(desk->windows.layeredAlpha(second), 153);
  EXPECT_EQ(page.itemText(res::IDC_ALPHA_TEXT), "60");
  EXPECT_FALSE(fileExists());  // an unchanged value is not saved

  setAlpha("20");
  EXPECT_EQ(desk->windows.layeredAlpha(first), 51);
  EXPECT_EQ(desk->windows.layeredAlpha(second), 51);
  EXPECT_EQ(page.itemText(res::IDC_ALPHA_TEXT), "20");
  EXPECT_EQ(saved("TRANSPARENT"), 20);
  EXPECT_EQ(saved("LOCATION"), 1);  // the whole record is written

  setAlpha("80");
  EXPECT_EQ(desk->windows.layeredAlpha(first), 204);
  setAlpha("100");
  EXPECT_EQ(desk->windows.layeredAlpha(second), 255);
  EXPECT_EQ(saved("TRANSPARENT"), 100);

  // The arrows stop at the range's end; a text typed afterwards that is no number keeps the
  // position they reached.
  change(res::IDC_CHANGE_ALPHA, res::IDD_ALPHA_SETTING, [this](Hwnd h) {
    desk->windows.clickSpin(h, res::IDC_ALPHA_SPIN, 3);
    EXPECT_EQ(desk->windows.getDlgItemText(h, res::IDC_ALPHA_EDIT), "100");
    desk->windows.clickSpin(h, res::IDC_ALPHA_SPIN, -5);
    desk->windows.typeText(h, res::IDC_ALPHA_EDIT, "x");
    desk->windows.clickButton(h, IDOK);
  });
  EXPECT_EQ(page.settings.transparent, 95);
  EXPECT_EQ(desk->windows.layeredAlpha(first), 242);
  EXPECT_EQ(page.itemText(res::IDC_ALPHA_TEXT), "95");
}

TEST_F(SettingsDialogsTest, TransparencyDialogStartsAtEightyPercent) {
  CAlphaSettingDlg dialog(desk->platform());
  desk->windows.modalScripts[res::IDD_ALPHA_SETTING] = [this](Hwnd h) {
    desk->windows.clickButton(h, IDOK);
  };
  EXPECT_EQ(dialog.doModal(page.hwnd()), IDOK);
  EXPECT_EQ(dialog.alphaPercent, 80);
}
