// The control page's two "変更" buttons and the dialogs they open.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dialogs/alpha_setting_dlg.h"
#include "dialogs/location_setting_dlg.h"
#include "res/dialogs.h"
#include "unit/control_page_fixture.h"

using platform::Hwnd;
using platform::IDCANCEL;
using platform::IDOK;

namespace {

class SettingsDialogsTest : public ControlPageTest {
 protected:
  // The preview of a new window offered to the page.
  Hwnd offerPreview(const std::string& title) {
    return support::previewOf(*desk, offer(title).hwnd);
  }
  // Presses a "変更" button; the user's doings in the dialog it opens are `user`.
  void change(int32_t button, int32_t dialog, std::function<void(Hwnd)> user) {
    desk->dialogs.modalScripts[dialog] = [user](Hwnd h) { user(h); };
    ASSERT_TRUE(desk->dialogs.clickButton(page.hwnd(), button));
    desk->dialogs.modalScripts.erase(dialog);
  }
  // Types `text` into the transparency field and ends the dialog with `end`.
  void setAlpha(const std::string& text, int32_t end = IDOK) {
    change(res::IDC_CHANGE_ALPHA, res::IDD_ALPHA_SETTING, [this, text, end](Hwnd h) {
      desk->dialogs.typeText(h, res::IDC_ALPHA_EDIT, text);
      desk->dialogs.clickButton(h, end);
    });
  }
  int32_t saved(const char* key) {
    return static_cast<int32_t>(
        desk->platform().profile.getInt("SYSTEM", key, -1, page.settingsPath()));
  }
  bool checked(Hwnd dialog, int32_t id) {
    return desk->dialogs.control(desk->dialogs.getDlgItem(dialog, id))->checked != 0;
  }
  std::string text(Hwnd dialog, int32_t id) { return desk->dialogs.getDlgItemText(dialog, id); }
  platform::Rect rectOf(Hwnd window) { return support::rectOf(*desk, window); }
  size_t hotKeyCalls() {
    return static_cast<size_t>(std::count_if(
        desk->actions.begin(), desk->actions.end(),
        [](const std::string& a) { return a.find("register") != std::string::npos; }));
  }
  bool fileExists() { return desk->files.readFile(page.settingsPath()).has_value(); }
  // The user clicks into the hot-key field and presses the keys together.
  void typeHotKey(Hwnd dialog, const std::vector<int32_t>& keys) {
    ASSERT_TRUE(desk->input.focusControl(dialog, res::IDC_HOVER_KEY));
    desk->input.chord(keys);
  }
};

}  // namespace

TEST_F(SettingsDialogsTest, TransparencyReachesEveryPreviewOnlyWhenChanged) {
  const Hwnd first = offerPreview("First");
  const Hwnd second = offerPreview("Second");
  ASSERT_EQ(desk->windows.layeredAlpha(first), 153);  // the default 60 %

  // The dialog opens on the current value; cancel changes nothing, whatever was typed.
  std::string shown;
  change(res::IDC_CHANGE_ALPHA, res::IDD_ALPHA_SETTING, [&](Hwnd h) {
    shown = desk->dialogs.getDlgItemText(h, res::IDC_ALPHA_EDIT);
    desk->dialogs.typeText(h, res::IDC_ALPHA_EDIT, "20");
    desk->dialogs.clickButton(h, IDCANCEL);
  });
  EXPECT_EQ(shown, "60");
  // Below the range, and texts that are no whole number, keep the value: nothing happens.
  for (const char* text : {"10", "101", "abc", "", "1,00", "60 "}) {
    setAlpha(text);
    EXPECT_EQ(settings.transparent, 60) << text;
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
    desk->dialogs.clickSpin(h, res::IDC_ALPHA_SPIN, 3);
    EXPECT_EQ(desk->dialogs.getDlgItemText(h, res::IDC_ALPHA_EDIT), "100");
    desk->dialogs.clickSpin(h, res::IDC_ALPHA_SPIN, -5);
    desk->dialogs.typeText(h, res::IDC_ALPHA_EDIT, "x");
    desk->dialogs.clickButton(h, IDOK);
  });
  EXPECT_EQ(settings.transparent, 95);
  EXPECT_EQ(desk->windows.layeredAlpha(first), 242);
  EXPECT_EQ(page.itemText(res::IDC_ALPHA_TEXT), "95");

  // A value below the range, as a file may hold it, is shown as 20 and kept when left so.
  settings.transparent = 10;
  change(res::IDC_CHANGE_ALPHA, res::IDD_ALPHA_SETTING, [this](Hwnd h) {
    EXPECT_EQ(desk->dialogs.getDlgItemText(h, res::IDC_ALPHA_EDIT), "20");
    desk->dialogs.clickButton(h, IDOK);
  });
  EXPECT_EQ(settings.transparent, 10);
  EXPECT_EQ(saved("TRANSPARENT"), 95);
  // A save that fails names the file.
  desk->files.lockedFiles.insert(page.settingsPath());
  setAlpha("30");
  desk->files.lockedFiles.clear();
  ASSERT_FALSE(desk->ownWindows.messageBoxes.empty());
  EXPECT_EQ(desk->ownWindows.messageBoxes.back().text,
            "設定をファイルに保存できませんでした.\n" + page.settingsPath());
  EXPECT_EQ(desk->ownWindows.messageBoxes.back().owner, page.hwnd());
  EXPECT_EQ(saved("TRANSPARENT"), 95);
}

TEST_F(SettingsDialogsTest, TransparencyDialogStartsAtEightyPercent) {
  CAlphaSettingDlg dialog(desk->platform());
  desk->dialogs.modalScripts[res::IDD_ALPHA_SETTING] = [this](Hwnd h) {
    desk->dialogs.clickButton(h, IDOK);
  };
  EXPECT_EQ(dialog.doModal(page.hwnd()), IDOK);
  EXPECT_EQ(dialog.alphaPercent, 80);
}

TEST_F(SettingsDialogsTest, PropertiesCancelledOrUnchangedLeaveThePreviewsAlone) {
  const Hwnd preview = offerPreview("First");
  const platform::Rect before = rectOf(preview);
  const size_t hotKeysBefore = hotKeyCalls();

  // The dialog shows the record; whatever the user does, cancel keeps everything.
  change(res::IDC_CHANGE_PROPERTIES, res::IDD_LOCATION_SETTING, [&](Hwnd h) {
    EXPECT_TRUE(checked(h, res::IDC_LOC_LEFT));
    EXPECT_FALSE(checked(h, res::IDC_LOC_TOP));
    EXPECT_TRUE(checked(h, res::IDC_SIZE_MIDDLE));
    EXPECT_FALSE(checked(h, res::IDC_FRAME_CHECK));
    EXPECT_EQ(text(h, res::IDC_TOP_MARGIN_EDIT), "10");
    EXPECT_EQ(text(h, res::IDC_LEFT_MARGIN_EDIT), "20");
    EXPECT_EQ(text(h, res::IDC_RIGHT_MARGIN_EDIT), "10");
    EXPECT_EQ(text(h, res::IDC_BOTTOM_MARGIN_EDIT), "30");
    EXPECT_EQ(text(h, res::IDC_LIMIT_EDIT), "16");
    EXPECT_EQ(text(h, res::IDC_HOVER_KEY), "Win + W");
    desk->dialogs.clickButton(h, res::IDC_LOC_TOP);
    EXPECT_FALSE(checked(h, res::IDC_LOC_LEFT));  // one button per group
    desk->dialogs.clickButton(h, res::IDC_FRAME_CHECK);
    desk->dialogs.typeText(h, res::IDC_LEFT_MARGIN_EDIT, "100");
    desk->dialogs.clickButton(h, IDCANCEL);
  });
  EXPECT_EQ(settings.location, Left);
  EXPECT_EQ(settings.frame, 0);
  EXPECT_EQ(settings.leftMargin, 20);
  EXPECT_EQ(rectOf(preview), before);
  EXPECT_FALSE(fileExists());
  EXPECT_EQ(hotKeyCalls(), hotKeysBefore);

  // OK without a change saves the record and does nothing else. Values beyond the fields'
  // ranges, as a file may hold them, are shown at the nearest end and kept when left so.
  settings.leftMargin = 300;
  settings.topMargin = -5;
  settings.limit = 60;
  settings.frame = 2;
  change(res::IDC_CHANGE_PROPERTIES, res::IDD_LOCATION_SETTING, [&](Hwnd h) {
    EXPECT_EQ(text(h, res::IDC_LEFT_MARGIN_EDIT), "200");
    EXPECT_EQ(text(h, res::IDC_TOP_MARGIN_EDIT), "0");
    EXPECT_EQ(text(h, res::IDC_LIMIT_EDIT), "50");
    EXPECT_TRUE(checked(h, res::IDC_FRAME_CHECK));
    desk->dialogs.clickButton(h, IDOK);
  });
  EXPECT_EQ(
      std::make_tuple(saved("LEFTMARGIN"), saved("TOPMARGIN"), saved("LIMIT"), saved("FRAME")),
      std::make_tuple(300, -5, 60, 2));
  EXPECT_EQ(saved("LOCATION"), 1);
  EXPECT_EQ(saved("HVMODIFIERS"), 8);
  EXPECT_EQ(rectOf(preview), before);
  EXPECT_EQ(hotKeyCalls(), hotKeysBefore);  // an unchanged key is not tested either
}

TEST_F(SettingsDialogsTest, PropertiesAcceptedRearrangeReframeAndSave) {
  const Hwnd first = offerPreview("First");
  const Hwnd second = offerPreview("Second");
  const size_t hotKeysBefore = hotKeyCalls();
  change(res::IDC_CHANGE_PROPERTIES, res::IDD_LOCATION_SETTING, [&](Hwnd h) {
    desk->dialogs.clickButton(h, res::IDC_LOC_TOP);
    desk->dialogs.clickButton(h, res::IDC_SIZE_LARGE);
    desk->dialogs.clickButton(h, res::IDC_FRAME_CHECK);
    desk->dialogs.typeText(h, res::IDC_TOP_MARGIN_EDIT, "150");   // top and bottom end at 100
    desk->dialogs.typeText(h, res::IDC_LEFT_MARGIN_EDIT, "250");  // the sides at 200
    desk->dialogs.typeText(h, res::IDC_RIGHT_MARGIN_EDIT, "150");
    desk->dialogs.typeText(h, res::IDC_BOTTOM_MARGIN_EDIT, "");  // no number: kept
    desk->dialogs.typeText(h, res::IDC_LIMIT_EDIT, "0");         // the limit starts at 1
    desk->dialogs.clickSpin(h, res::IDC_LIMIT_SPIN, -20);        // ... and the arrows stop there
    EXPECT_EQ(text(h, res::IDC_LIMIT_EDIT), "1");
    desk->dialogs.clickSpin(h, res::IDC_LIMIT_SPIN, 1);
    desk->dialogs.clickButton(h, IDOK);
  });
  const SettingsRecord& s = settings;
  EXPECT_EQ(s.location, Top);
  EXPECT_EQ(s.size, Large);
  EXPECT_EQ(s.thumbWidth, 220);
  EXPECT_EQ(s.frame, 1);
  EXPECT_EQ(s.topMargin, 10);
  EXPECT_EQ(s.leftMargin, 20);
  EXPECT_EQ(s.rightMargin, 150);
  EXPECT_EQ(s.bottomMargin, 30);
  EXPECT_EQ(s.limit, 2);
  // The grid along the top edge, in large cells, each preview with its frame.
  ASSERT_GE(roster.slots().size(), 2u);
  EXPECT_EQ(roster.slots()[0].slotRect, (platform::Rect{22, 11, 238, 169}));
  EXPECT_EQ(roster.slots()[1].slotRect, (platform::Rect{242, 11, 458, 169}));
  EXPECT_EQ(rectOf(first).top, 11);
  EXPECT_EQ(rectOf(second).left, 245);
  EXPECT_NE(desk->windows.drawnFrame(first) & platform::WS_THICKFRAME, 0u);
  EXPECT_NE(desk->windows.drawnFrame(second) & platform::WS_THICKFRAME, 0u);
  // The page shows the record, status code included.
  EXPECT_EQ(page.itemText(res::IDC_LOCATION_TEXT), "上に並べる");
  EXPECT_EQ(page.itemText(res::IDC_SIZE_TEXT), "LARGE");
  EXPECT_EQ(page.itemText(res::IDC_RIGHT_MARGIN), "150");
  EXPECT_EQ(page.itemText(res::IDC_LIMIT_TEXT), "2");
  EXPECT_EQ(page.itemText(res::IDC_STATUS_CODE).back(), 'F');
  // The hover key, unchanged, is not registered anew; everything is saved.
  EXPECT_EQ(hotKeyCalls(), hotKeysBefore);
  EXPECT_EQ(desk->input.registeredHotKey(host.hwnd(), PreviewRoster::kHoverHotKey),
            std::make_pair(platform::MOD_WIN, 87u));
  EXPECT_EQ(saved("LOCATION"), 0);
  EXPECT_EQ(saved("SIZE"), 2);
  EXPECT_EQ(saved("RIGHTMARGIN"), 150);
  EXPECT_EQ(saved("LIMIT"), 2);
  EXPECT_EQ(saved("FRAME"), 1);
}

TEST_F(SettingsDialogsTest, AHotKeyHeldElsewhereKeepsTheDialogOpen) {
  constexpr int32_t kF12 = 0x7B;
  constexpr int32_t kCtrlAlt = platform::MOD_CONTROL | platform::MOD_ALT;
  desk->input.hotKeysHeldElsewhere.insert({kCtrlAlt, kF12});
  CLocationSettingDlg dialog((CLocationSettingDlg::Ports(desk->platform())));
  dialog.location = Bottom;  // size stays -1: no button of its group
  dialog.limit = 5;
  std::vector<std::string> told;
  const std::string kNoKey =
      "HoverKey設定にキーがありません。修飾キーと一緒に押すキーを入力してください.";
  desk->dialogs.modalScripts[res::IDD_LOCATION_SETTING] = [&](Hwnd h) {
    EXPECT_TRUE(checked(h, res::IDC_LOC_BOTTOM));
    EXPECT_FALSE(checked(h, res::IDC_SIZE_SMALL));
    const size_t hotKeysBefore = hotKeyCalls();
    desk->dialogs.clickButton(h, res::IDC_HOVER_KEY_TEST);
    EXPECT_EQ(hotKeyCalls(), hotKeysBefore);  // the current key is not registered to test it
    typeHotKey(h, {platform::VK_LCONTROL, platform::VK_LMENU, kF12});
    EXPECT_EQ(text(h, res::IDC_HOVER_KEY), "Ctrl + Alt + F12");
    desk->dialogs.clickButton(h, res::IDC_HOVER_KEY_TEST);
    desk->dialogs.typeText(h, res::IDC_LIMIT_EDIT, "7");
    desk->dialogs.clickButton(h, IDOK);
    EXPECT_TRUE(desk->windows.isWindowVisible(h));  // refused: still open
    // A modifier alone is no hot-key: said so, nothing registered, still open.
    typeHotKey(h, {platform::VK_LSHIFT});
    EXPECT_EQ(text(h, res::IDC_HOVER_KEY), "");  // released: nothing left
    const size_t beforeKeyless = hotKeyCalls();
    desk->dialogs.clickButton(h, res::IDC_HOVER_KEY_TEST);
    desk->dialogs.clickButton(h, IDOK);
    EXPECT_TRUE(desk->windows.isWindowVisible(h));
    EXPECT_EQ(hotKeyCalls(), beforeKeyless);
    typeHotKey(h, {platform::VK_RWIN, 'Q'});
    desk->dialogs.clickButton(h, res::IDC_HOVER_KEY_TEST);
    EXPECT_FALSE(desk->input.registeredHotKey(h, CLocationSettingDlg::kTestHotKeyId));
    desk->dialogs.clickButton(h, IDCANCEL);
  };
  EXPECT_EQ(dialog.doModal({}), IDCANCEL);
  for (const sim::SimMessageBox& box : desk->ownWindows.messageBoxes) told.push_back(box.text);
  EXPECT_EQ(told, (std::vector<std::string>{
                      "現在の設定です。",
                      "このキーの組み合わせは既に他のアプリケーションで使用されています。"
                      "他の組み合わせに変更してください.",
                      "HoverKey設定は既に他のアプリケーションで使用されています。"
                      "他の組み合わせに変更してください.",
                      kNoKey,
                      kNoKey,
                      "設定可能です.",
                  }));
  // Nothing reached the members while the key was refused.
  EXPECT_EQ(dialog.hoverKey, 87);
  EXPECT_EQ(dialog.limit, 5);

  // A free key is taken with OK; a group the user never touched comes back as -1.
  desk->dialogs.modalScripts[res::IDD_LOCATION_SETTING] = [&](Hwnd h) {
    typeHotKey(h, {platform::VK_APPS, 'Q'});  // the application key counts as a Windows key
    desk->dialogs.clickButton(h, IDOK);
  };
  EXPECT_EQ(dialog.doModal({}), IDOK);
  EXPECT_EQ(dialog.hoverKey, 'Q');
  EXPECT_EQ(dialog.hoverModifiers, static_cast<int32_t>(platform::MOD_WIN));
  EXPECT_EQ(dialog.location, Bottom);
  EXPECT_EQ(dialog.size, -1);
  EXPECT_EQ(dialog.limit, 5);
}

// The hot-key field holds the whole desktop's keyboard while it has the focus, and only then.
TEST_F(SettingsDialogsTest, HotKeyFieldTakesEveryKeyWhileFocusedAndOKRegistersIt) {
  using namespace platform;
  sim::SimWindows& user = desk->windows;
  std::vector<std::string> shown;
  auto show = [&](Hwnd h) {
    shown.push_back(text(h, res::IDC_HOVER_KEY));
    EXPECT_EQ(desk->drawing.paintedText(desk->dialogs.getDlgItem(h, res::IDC_HOVER_KEY)),
              shown.back());
  };
  change(res::IDC_CHANGE_PROPERTIES, res::IDD_LOCATION_SETTING, [&](Hwnd h) {
    show(h);
    EXPECT_EQ(desk->input.keyboardHooks(), 0u);  // not before the field has the focus
    ASSERT_TRUE(desk->input.focusControl(h, res::IDC_HOVER_KEY));
    EXPECT_EQ(desk->input.keyboardHooks(), 1u);
    // Win, R, R up, Win up: the whole combination stays.
    desk->input.keyDown(VK_LWIN);
    show(h);
    desk->input.keyDown('R');
    show(h);
    desk->input.keyUp('R');
    desk->input.keyUp(VK_LWIN);
    show(h);
    // The modifier released first drops out.
    for (int32_t key : {VK_LWIN, int32_t{'R'}}) desk->input.keyDown(key);
    for (int32_t key : {VK_LWIN, int32_t{'R'}}) desk->input.keyUp(key);
    show(h);
    desk->input.keyDown(VK_LCONTROL);
    desk->input.keyDown(VK_LMENU);
    show(h);
    desk->input.keyDown(VK_DELETE);
    show(h);
    for (int32_t key : {VK_DELETE, VK_LMENU, VK_LCONTROL}) desk->input.keyUp(key);
    // Tab, Escape and Enter are keys here: the focus stays, the dialog stays open.
    for (int32_t key : {VK_TAB, VK_ESCAPE, VK_RETURN}) {
      EXPECT_TRUE(desk->input.pressKey(key));
      show(h);
    }
    EXPECT_TRUE(user.isWindowVisible(h));
    EXPECT_EQ(user.focus(), desk->dialogs.getDlgItem(h, res::IDC_HOVER_KEY));
    // None of the keys reached a window: the hook swallowed them all.
    for (const sim::ReceivedMessage& m : user.received(user.focus())) {
      EXPECT_TRUE(m.message < WM_KEYDOWN || m.message > WM_SYSKEYUP) << m.message;
    }
    desk->input.chord({VK_LWIN, 'R'});
    desk->dialogs.clickButton(h, IDOK);
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"Win + W", "Win + ", "Win + R", "Win + R", "R",
                                             "Ctrl + Alt + ", "Ctrl + Alt + Delete", "Tab", "Esc",
                                             "Enter"}));
  EXPECT_EQ(desk->input.keyboardHooks(), 0u);
  EXPECT_EQ(settings.hvHotKey, 'R');
  EXPECT_EQ(saved("HVHOTKEY"), 82);
  EXPECT_EQ(saved("HVMODIFIERS"), 8);
  EXPECT_EQ(desk->input.registeredHotKey(host.hwnd(), PreviewRoster::kHoverHotKey),
            std::make_pair(MOD_WIN, 82u));
}

TEST_F(SettingsDialogsTest, KeyboardHookGoesWithTheFocusAndWithTheControl) {
  using namespace platform;
  sim::SimWindows& user = desk->windows;
  // Cancel, and the focus moving to another field or another program's window.
  const Hwnd other = support::addAppWindow(*desk, "Editor", "editor.exe", {0, 0, 400, 300});
  change(res::IDC_CHANGE_PROPERTIES, res::IDD_LOCATION_SETTING, [&](Hwnd h) {
    ASSERT_TRUE(desk->input.focusControl(h, res::IDC_HOVER_KEY));
    ASSERT_TRUE(desk->input.focusControl(h, res::IDC_LIMIT_EDIT));
    EXPECT_EQ(desk->input.keyboardHooks(), 0u);
    EXPECT_TRUE(desk->input.pressKey('7'));  // the edit box gets its key again
    EXPECT_EQ(user.received(user.focus()).back().message, WM_KEYUP);
    ASSERT_TRUE(desk->input.focusControl(h, res::IDC_HOVER_KEY));
    user.activateByUser(other);
    EXPECT_EQ(desk->input.keyboardHooks(), 0u);
    ASSERT_TRUE(desk->input.focusControl(h, res::IDC_HOVER_KEY));
    desk->input.chord({VK_LCONTROL, 'Q'});
    desk->dialogs.clickButton(h, IDCANCEL);
  });
  EXPECT_EQ(desk->input.keyboardHooks(), 0u);
  EXPECT_EQ(settings.hvHotKey, 87);
  EXPECT_FALSE(fileExists());

  // A dialog whose object goes while its field has the focus: no focus change comes first.
  auto dialog = std::make_unique<CLocationSettingDlg>(CLocationSettingDlg::Ports(desk->platform()));
  ASSERT_TRUE(dialog->create(page.hwnd()));
  dialog->showWindow(SW_SHOW);
  ASSERT_TRUE(desk->input.focusControl(dialog->hwnd(), res::IDC_HOVER_KEY));
  desk->input.keyDown(VK_LWIN);
  EXPECT_EQ(desk->input.keyboardHooks(), 1u);
  dialog.reset();
  EXPECT_EQ(desk->input.keyboardHooks(), 0u);
  desk->input.keyUp(VK_LWIN);  // no hook left to call
  user.activateByUser(other);
  EXPECT_FALSE(desk->input.pressKey('A'));  // another program's window has the keyboard
}
