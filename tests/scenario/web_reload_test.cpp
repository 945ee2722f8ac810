// Web reload from a preview's menu: F5 posted to each browser's page window on a timer, the
// interval dialog, and what a hidden target's disabled style goes through.
#include <sstream>

#include "scenario/preview_fixture.h"

namespace scenario {
namespace {

using namespace platform;

class WebReloadTest : public PreviewTest {
 protected:
  Hwnd addChild(Hwnd parent, const std::string& className) {
    sim::ForeignWindow child;
    child.processId = desk->windows.getWindowProcessId(parent);
    child.style = WS_VISIBLE;
    child.parent = parent;
    child.className = className;
    return desk->windows.addWindow(child);
  }
  void choose(Hwnd target, uint32_t command) {
    const Rect r = rectOf(support::previewOf(*desk, target));
    desk->ownWindows.menuAnswers.push_back(command);
    desk->input.rightClick({r.left + 5, r.top + 5});
    desk->windows.pumpMessages();
  }
  // Opens the interval dialog of a target's preview, types `text` and ends it with `end`;
  // returns what the dialog showed at first.
  std::string editInterval(Hwnd target, const std::string& text, int32_t end = IDOK) {
    std::string shown;
    desk->dialogs.modalScripts[res::IDD_UPDATE_INTERVAL] = [&](Hwnd h) {
      shown = desk->dialogs.getDlgItemText(h, res::IDC_INTERVAL_EDIT);
      desk->dialogs.typeText(h, res::IDC_INTERVAL_EDIT, text);
      desk->dialogs.clickButton(h, end);
    };
    choose(target, res::ID_THUMB_RELOAD_INTERVAL);
    return shown;
  }
  // When each F5 key-down reached a window; every key must have been posted, bare.
  std::vector<uint32_t> keyTimes(Hwnd window) {
    std::vector<uint32_t> times;
    for (const sim::ReceivedMessage& m : desk->windows.received(window)) {
      if (m.message != WM_KEYDOWN) continue;
      EXPECT_TRUE(m.posted) << "a key was sent, not posted";
      EXPECT_EQ(m.wParam, static_cast<WParam>(VK_F5));
      EXPECT_EQ(m.lParam, 0);
      times.push_back(m.at);
    }
    return times;
  }
  std::optional<uint32_t> reloadPeriod(Hwnd target) {
    return desk->windows.timerPeriod(support::previewOf(*desk, target), 110);
  }
  long lines(const std::string& line) {
    std::istringstream log(desk->system.consoleOutput);
    long n = 0;
    for (std::string each; std::getline(log, each);) n += each == line ? 1 : 0;
    return n;
  }
};

TEST_F(WebReloadTest, ChromeReloadsAfterASecondThenEachIntervalUntilSwitchedOff) {
  const Hwnd chrome = addAppWindow(*desk, "Chrome", "chrome.exe", kNormal);
  const Hwnd container = addChild(chrome, "Chrome_ContainerWin_0");
  const Hwnd page = addChild(container, "Chrome_RenderWidgetHostHWND");
  run([&](Hwnd) {
    detect(1);
    ASSERT_TRUE(support::previewOf(*desk, chrome));
    choose(chrome, res::ID_THUMB_RELOAD_ON);
    const uint32_t on = desk->now;
    desk->advance(61000);
    EXPECT_EQ(keyTimes(page), (std::vector<uint32_t>{on + 1000, on + 31000, on + 61000}));
    EXPECT_TRUE(keyTimes(chrome).empty() && keyTimes(container).empty());

    // Out of range keeps the interval, 1800 is the top; OK restarts the cycle at one second.
    EXPECT_EQ(editInterval(chrome, "5"), "30");
    EXPECT_EQ(reloadPeriod(chrome), 1000u);
    desk->advance(1000);
    EXPECT_EQ(reloadPeriod(chrome), 30000u);
    EXPECT_EQ(editInterval(chrome, "2000"), "30");
    desk->advance(1000);
    EXPECT_EQ(reloadPeriod(chrome), 30000u);
    EXPECT_EQ(editInterval(chrome, "1800"), "30");
    desk->advance(1000);
    EXPECT_EQ(reloadPeriod(chrome), 1800000u);
    const std::optional<uint32_t> due =
        desk->windows.timerDue(support::previewOf(*desk, chrome), 110);
    EXPECT_EQ(editInterval(chrome, "10", IDCANCEL), "1800");
    EXPECT_EQ(desk->windows.timerDue(support::previewOf(*desk, chrome), 110), due)
        << "cancel changes nothing";

    // Ten seconds while on: one second, then every ten.
    EXPECT_EQ(editInterval(chrome, "10"), "1800");
    const uint32_t changed = desk->now;
    const size_t before = keyTimes(page).size();
    desk->advance(21000);
    const std::vector<uint32_t> keys = keyTimes(page);
    EXPECT_EQ(std::vector<uint32_t>(keys.begin() + static_cast<long>(before), keys.end()),
              (std::vector<uint32_t>{changed + 1000, changed + 11000, changed + 21000}));

    choose(chrome, res::ID_THUMB_RELOAD_OFF);
    EXPECT_FALSE(reloadPeriod(chrome));
    desk->advance(60000);
    EXPECT_EQ(keyTimes(page).size(), keys.size());

    // The preview closed while its dialog is up (its window went): nothing touches it after.
    desk->dialogs.modalScripts[res::IDD_UPDATE_INTERVAL] = [&](Hwnd h) {
      desk->windows.closeWindow(chrome);
      detect(1);
      EXPECT_FALSE(desk->windows.isWindow(h)) << "the dialog goes with its preview";
    };
    choose(chrome, res::ID_THUMB_RELOAD_INTERVAL);
    EXPECT_FALSE(support::previewOf(*desk, chrome));

    // OK answered, then the preview goes before the dialog's loop returns: the answer finds
    // nothing to change.
    const Hwnd again = addAppWindow(*desk, "Chrome 2", "chrome.exe", kNormal);
    detect(1);
    ASSERT_TRUE(support::previewOf(*desk, again));
    desk->dialogs.modalScripts[res::IDD_UPDATE_INTERVAL] = [&](Hwnd h) {
      desk->dialogs.typeText(h, res::IDC_INTERVAL_EDIT, "60");
      desk->dialogs.clickButton(h, IDOK);
      desk->windows.closeWindow(again);
      detect(1);
    };
    const std::string endedWithOk = "modal " + std::to_string(res::IDD_UPDATE_INTERVAL) + " end 1";
    const long oks = count(endedWithOk);
    choose(again, res::ID_THUMB_RELOAD_INTERVAL);
    EXPECT_FALSE(support::previewOf(*desk, again));
    EXPECT_EQ(count(endedWithOk), oks + 1) << "the dialog ended with OK";
  });
}

TEST_F(WebReloadTest, EachBrowserHasItsReceiverAndAHiddenTargetStaysDisabled) {
  const Hwnd explorer = addAppWindow(*desk, "IE", "iexplore.exe", kNormal);
  desk->windows.userMinimize(explorer);
  const Hwnd firefox = addAppWindow(*desk, "Firefox", "firefox.exe", kNormal);
  const Hwnd firstChild = addChild(firefox, "MozillaWindowClass");
  const Hwnd secondChild = addChild(firefox, "MozillaWindowClass");
  const Hwnd bare = addAppWindow(*desk, "Bare", "chrome.exe", kNormal);
  const Hwnd hollow = addAppWindow(*desk, "Hollow", "chrome.exe", kNormal);
  addChild(hollow, "Chrome_ContainerWin_0");
  run([&](Hwnd) {
    detect(4);
    const uint32_t disabledStyle = styleOf(explorer);
    ASSERT_TRUE(disabledStyle & WS_DISABLED) << "the minimised target is held hidden";
    for (const Hwnd target : {explorer, firefox, bare, hollow}) {
      choose(target, res::ID_THUMB_RELOAD_ON);
    }
    const uint32_t on = desk->now;
    // The browser changes its own style during the first wait: that change stays.
    desk->clock.at(on + 1050,
                   [&] { desk->windows.setStyle(explorer, styleOf(explorer) | WS_VSCROLL); });
    desk->advance(1000 + 30000 + 200);

    // Internet Explorer: the target itself, enabled only for the 100 ms around the key.
    const std::vector<uint32_t> keys = keyTimes(explorer);
    ASSERT_EQ(keys.size(), 2u);
    std::vector<sim::StyleChange> changes;
    for (const sim::StyleChange& c : desk->windows.styleChanges(explorer)) {
      if (c.at >= on) changes.push_back(c);
    }
    const uint32_t enabledStyle = disabledStyle & ~WS_DISABLED;
    EXPECT_EQ(changes,
              (std::vector<sim::StyleChange>{{keys[0], enabledStyle},
                                             {keys[0] + 100, disabledStyle | WS_VSCROLL},
                                             {keys[1], enabledStyle | WS_VSCROLL},
                                             {keys[1] + 100, disabledStyle | WS_VSCROLL}}));
    EXPECT_EQ(keys[1] - keys[0], 30000u + 100u) << "the wait adds to the period";
    EXPECT_EQ(lines("KEY SEND EVENT"), 2);

    // Firefox: its first child only. Chrome without its windows: a line at every period.
    EXPECT_EQ(keyTimes(firstChild).size(), 2u);
    EXPECT_TRUE(keyTimes(secondChild).empty());
    EXPECT_EQ(lines("FindWindowEx Error"), 2);
    EXPECT_EQ(lines("FindWindowEx Error2"), 2);

    // Off leaves a hidden target enabled, still hidden.
    choose(explorer, res::ID_THUMB_RELOAD_OFF);
    EXPECT_FALSE(styleOf(explorer) & WS_DISABLED);
    EXPECT_FALSE(desk->windows.isIconic(explorer));

    // Disabled again and hung: no change and no key reaches it, on or off, and nothing waits
    // for it beyond the probe.
    desk->windows.setEnabled(explorer, false);
    choose(explorer, res::ID_THUMB_RELOAD_ON);
    desk->programs.setHung(explorer, true);
    const size_t changed = desk->windows.styleChanges(explorer).size();
    desk->advance(1000 + 30000 + 200);
    EXPECT_EQ(keyTimes(explorer).size(), 2u);
    choose(explorer, res::ID_THUMB_RELOAD_OFF);
    EXPECT_EQ(countPrefix("TIMED OUT"), 0);
    EXPECT_EQ(desk->windows.styleChanges(explorer).size(), changed);
    desk->programs.setHung(explorer, false);
  });
}

}  // namespace
}  // namespace scenario
