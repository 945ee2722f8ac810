// The main panel and its tray icon, with the program running on the simulated desktop.
#include <gtest/gtest.h>

#include "support/program_run.h"

using platform::Hwnd;
using platform::Rect;
using namespace support;

namespace {

constexpr uint32_t kTrayMessage = platform::WM_USER + 100;

class MainPanelTest : public ::testing::Test {
 protected:
  // Runs the program; `script` gets the panel, then the program is ended from the tray.
  void run(std::function<void(Hwnd)> script, std::vector<std::string> args = {kExe}) {
    EXPECT_TRUE(runProgram(*desk, std::move(args), [&](Hwnd panel) {
      this->panel = panel;
      script(panel);
      trayMenu(*desk, panel, res::ID_TRAY_EXIT);
    })) << "the program did not start or its script did not reach its end";
    EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "modal 102 left open"), 0);
  }
  bool visible(Hwnd window) { return desk->windows.isWindowVisible(window); }
  long rulesWrites() {
    return support::actionCountStartingWith(*desk,
                                            "file create " + kFolder + "\\ExclusionData.ini");
  }
  Rect rectOf(Hwnd window) { return support::rectOf(*desk, window); }
  // Where showPanel puts the panel: its visible frame (the window less invisible borders of
  // 7, 0, 7, 7) against the work area's right edge. The window is centred on that frame, so
  // with no invisible top border 3 px of the visible frame stay above the work area's bottom.
  Rect cornerRect() {
    Rect r = rectOf(panel);
    const Rect& work = desk->windows.workArea;
    return {work.right + 7 - r.width(), work.bottom + 4 - r.height(), work.right + 7,
            work.bottom + 4};
  }

  std::unique_ptr<sim::SimDesktop> desk = sim::SimDesktop::singleMonitor();
  Hwnd panel;
};

}  // namespace

TEST_F(MainPanelTest, StartsHiddenWithATrayIconAndExitsFromItsMenu) {
  run([&](Hwnd panel) {
    EXPECT_FALSE(visible(panel));
    ASSERT_EQ(desk->shell.trayIcons.size(), 1u);
    const platform::TrayIconData& tray = desk->shell.trayIcons.begin()->second;
    EXPECT_EQ(tray.window, panel);
    EXPECT_EQ(tray.id, 0u);
    EXPECT_EQ(tray.flags, 7u);
    EXPECT_EQ(tray.callbackMessage, kTrayMessage);
    EXPECT_EQ(tray.tip, "Quillmoor for Tundra");
    EXPECT_NE(tray.icon.value, 0u);
    EXPECT_EQ(desk->windows.getWindowText(panel, 256), "Quillmoor for Tundra [メインパネル]");
    // Both pages are children of the panel; the detection page is a hidden pop-up.
    EXPECT_NE(desk->dialogs.findDialog(res::IDD_CONTROL), Hwnd{});
    EXPECT_NE(desk->dialogs.findDialog(res::IDD_LIMIT), Hwnd{});
    Hwnd detection = desk->dialogs.findDialog(res::IDD_WINLIST);
    ASSERT_NE(detection, Hwnd{});
    EXPECT_FALSE(visible(detection));
    EXPECT_EQ(desk->windows.timerPeriod(panel, 103), 1000u);
    const auto& menu = desk->ownWindows.systemMenu(panel);
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[1].id, 0x0010u);
    EXPECT_EQ(menu[1].text, "Quillmoor のﾊﾞｰｼﾞｮﾝ情報(&A)...");
  });
  EXPECT_TRUE(desk->shell.trayIcons.empty());
  EXPECT_EQ(*desk->files.readFile(kFolder + "\\ExclusionData.ini"),
            "[SYSTEM]\r\nEXCLUSIONNUM=0\r\n");
  EXPECT_EQ(rulesWrites(), 1);
}

// The icon goes up before the pages, which are most of start-up; they exist by the time the
// program reads its first message, so the first double-click finds a whole panel.
TEST_F(MainPanelTest, TheTrayIconComesBeforeThePagesAndFindsThemReady) {
  run([&](Hwnd panel) {
    const auto& a = desk->actions;
    const auto first = [&a](const std::string& prefix) {
      return std::find_if(a.begin(), a.end(),
                          [&](const std::string& s) { return s.rfind(prefix, 0) == 0; }) -
             a.begin();
    };
    EXPECT_LT(first("tray add"), first("dialog 131 "));
    EXPECT_LT(first("dialog 129 "), static_cast<long>(a.size()));
    trayClick(*desk, panel, platform::WM_LBUTTONDBLCLK);
    EXPECT_TRUE(visible(panel));
    EXPECT_TRUE(visible(desk->dialogs.findDialog(res::IDD_CONTROL)));
    EXPECT_TRUE(visible(desk->dialogs.findDialog(res::IDD_LIMIT)));
  });
}

// The hover key held elsewhere: the control page's start-up says so in a message box, whose
// loop delivers the icon's clicks before the other pages exist. They are dropped rather than
// show a half-built panel.
TEST_F(MainPanelTest, TrayClicksDuringAStartUpMessageBoxAreDropped) {
  desk->input.hotKeysHeldElsewhere.insert({platform::MOD_WIN, 'W'});
  desk->ownWindows.whileMessageBox = [&] {
    ASSERT_EQ(desk->shell.trayIcons.size(), 1u);
    const Hwnd owner = desk->shell.trayIcons.begin()->second.window;
    trayClick(*desk, owner, platform::WM_LBUTTONDBLCLK);
    EXPECT_FALSE(visible(owner)) << "a panel without its pages was shown";
  };
  run([&](Hwnd panel) {
    ASSERT_EQ(desk->ownWindows.messageBoxes.size(), 1u);
    EXPECT_FALSE(visible(panel));
    trayClick(*desk, panel, platform::WM_LBUTTONDBLCLK);
    EXPECT_TRUE(visible(desk->dialogs.findDialog(res::IDD_LIMIT)));
  });
}

TEST_F(MainPanelTest, OnlyADoubleClickOrMainPanelShowsThePanel) {
  run([&](Hwnd panel) {
    for (uint32_t mouse : {platform::WM_LBUTTONDOWN, platform::WM_RBUTTONDOWN,
                           platform::WM_LBUTTONUP, platform::WM_MOUSEMOVE}) {
      trayClick(*desk, panel, mouse);
      desk->windows.pumpMessages();
      EXPECT_FALSE(visible(panel)) << mouse;
    }
    EXPECT_EQ(std::count_if(desk->actions.begin(), desk->actions.end(),
                            [](const std::string& a) { return a.rfind("menu", 0) == 0; }),
              0);
    trayClick(*desk, panel, platform::WM_LBUTTONDBLCLK);
    EXPECT_TRUE(visible(panel));
    EXPECT_EQ(rectOf(panel), cornerRect());
    EXPECT_EQ(desk->windows.foreground(), panel);
  });
}

TEST_F(MainPanelTest, EnterForgetsThePlaceAndEscapeKeepsIt) {
  desk->system.version.majorVersion = 10;  // where a new scaling moves the panel
  desk->system.version.minorVersion = 0;
  desk->system.version.buildNumber = 19045;
  run([&](Hwnd panel) {
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    ASSERT_TRUE(visible(panel));
    const Rect corner = rectOf(panel);
    // The user drags the panel away; a second MainPanel does not move it back.
    desk->windows.setWindowPos(panel, {}, 100, 100, 0, 0,
                               platform::SWP_NOSIZE | platform::SWP_NOZORDER);
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    EXPECT_EQ(rectOf(panel).left, 100);
    // Escape hides the window but the panel stays "shown": it comes back where it was.
    desk->windows.sendMessage(panel, platform::WM_COMMAND, platform::IDCANCEL, 0);
    EXPECT_FALSE(visible(panel));
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    EXPECT_TRUE(visible(panel));
    EXPECT_EQ(rectOf(panel).left, 100);
    // Enter hides it for good: the next MainPanel puts it in the corner again.
    desk->windows.sendMessage(panel, platform::WM_COMMAND, platform::IDOK, 0);
    EXPECT_FALSE(visible(panel));
    // While hidden, no position change may show it.
    desk->windows.setWindowPos(
        panel, {}, 0, 0, 0, 0,
        platform::SWP_NOSIZE | platform::SWP_NOZORDER | platform::SWP_SHOWWINDOW);
    EXPECT_FALSE(visible(panel));
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    EXPECT_EQ(rectOf(panel), corner);
    // Hidden by Escape, it takes a new scaling's size and stays hidden.
    desk->windows.sendMessage(panel, platform::WM_COMMAND, platform::IDCANCEL, 0);
    desk->displays.setMonitorDpi(0, 120);
    EXPECT_EQ(rectOf(panel).width(), corner.width() * 120 / 96);
    EXPECT_FALSE(visible(panel));
  });
}

TEST_F(MainPanelTest, MinimisedPanelIsRestoredByMainPanel) {
  run([&](Hwnd panel) {
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    desk->windows.showWindow(panel, platform::SW_MINIMIZE);
    ASSERT_TRUE(desk->windows.isIconic(panel));
    desk->windows.sendMessage(panel, platform::WM_PAINT, 0, 0);
    EXPECT_NE(std::find(desk->actions.begin(), desk->actions.end(), "paint icon -15,-15"),
              desk->actions.end());
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    EXPECT_FALSE(desk->windows.isIconic(panel));
    EXPECT_TRUE(visible(panel));
  });
}

TEST_F(MainPanelTest, EndSessionEndsOnlyWhenTheSessionReallyEnds) {
  bool stillRunning = false;
  EXPECT_TRUE(runProgram(*desk, {kExe}, [&](Hwnd panel) {
    desk->windows.sendMessage(panel, platform::WM_ENDSESSION, 0, 0);
    stillRunning = desk->windows.isWindow(panel);
    desk->windows.sendMessage(panel, platform::WM_ENDSESSION, 0,
                              static_cast<platform::LParam>(platform::ENDSESSION_LOGOFF));
  }));
  EXPECT_TRUE(stillRunning);
  EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "modal 102 left open"), 0);
  EXPECT_TRUE(desk->files.exists(kFolder + "\\ExclusionData.ini"));
  EXPECT_EQ(rulesWrites(), 1);  // at the notice, not again on the way out
}

TEST_F(MainPanelTest, TrayIconComesBackAfterTheShellRestarts) {
  auto modifies = [&] {
    return std::count_if(desk->actions.begin(), desk->actions.end(),
                         [](const std::string& a) { return a.rfind("tray modify", 0) == 0; });
  };
  run([&](Hwnd panel) {
    desk->shell.restartShell();
    desk->windows.sendMessage(panel, desk->windows.registerWindowMessage("TaskbarCreated"), 0, 0);
    EXPECT_EQ(desk->shell.trayIcons.size(), 1u);
    desk->shell.restartShell();  // ... and once more, without telling us: the watchdog notices
    desk->advance(1000);
    EXPECT_EQ(desk->shell.trayIcons.size(), 1u);
    // Quiet otherwise: a full update once a minute, not every second.
    const long before = modifies();
    desk->advance(120000);
    EXPECT_LE(modifies() - before, 2);
    // An icon lost without any sign from the shell is back within that minute.
    desk->shell.trayIcons.clear();
    desk->advance(60000);
    EXPECT_EQ(desk->shell.trayIcons.size(), 1u);
  });
}

TEST_F(MainPanelTest, ABusyShellIsAskedAgainAndAFailingOneIsLogged) {
  // A shell that times out is asked again by the watchdog each second; nothing waits for it.
  desk->shell.trayErrors = {platform::ERROR_TIMEOUT, platform::ERROR_TIMEOUT};
  run(
      [&](Hwnd) {
        EXPECT_TRUE(desk->shell.trayIcons.empty());
        desk->advance(1000);
        EXPECT_TRUE(desk->shell.trayIcons.empty());
        desk->advance(1000);
        EXPECT_EQ(desk->shell.trayIcons.size(), 1u);
        EXPECT_EQ(std::count_if(desk->actions.begin(), desk->actions.end(),
                                [](const std::string& a) { return a.rfind("sleep", 0) == 0; }),
                  0);
      },
      {kExe, "-K527"});
  const std::string busy = "通知領域にアイコンを登録できませんでした。 err=1460\n";
  const size_t first = desk->system.consoleOutput.find(busy);
  EXPECT_NE(first, std::string::npos);
  EXPECT_EQ(desk->system.consoleOutput.find(busy, first + 1), std::string::npos);  // logged once

  auto failing = sim::SimDesktop::singleMonitor();
  failing->shell.trayErrors = {5};
  EXPECT_TRUE(runProgram(*failing, {kExe, "-K527"}, [&](Hwnd panel) {
    EXPECT_TRUE(failing->shell.trayIcons.empty());
    failing->advance(1000);  // the watchdog's modify fails, so it adds again
    EXPECT_EQ(failing->shell.trayIcons.size(), 1u);
    trayMenu(*failing, panel, res::ID_TRAY_EXIT);
  }));
  EXPECT_NE(
      failing->system.consoleOutput.find("通知領域にアイコンを登録できませんでした。 err=5\n"),
      std::string::npos);
}

TEST_F(MainPanelTest, AboutBoxShowsTheVersionAndOpensTheHomePage) {
  std::string versionText;
  desk->dialogs.modalScripts[res::IDD_ABOUTBOX] = [&](Hwnd about) {
    versionText = desk->dialogs.getDlgItemText(about, res::IDC_VERSION_TEXT);
    desk->dialogs.clickLink(about, res::IDC_HOME_LINK);
    desk->dialogs.clickButton(about, platform::IDOK);
  };
  run([&](Hwnd panel) {
    desk->windows.sendMessage(panel, platform::WM_SYSCOMMAND, 0x0010, 0);
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    EXPECT_TRUE(desk->dialogs.clickLink(panel, res::IDC_HOME_LINK));
  });
  EXPECT_EQ(versionText, "Quillmoor for Tundra Ver.:1- 0- 0- 1 [PORTABLE版]");
  EXPECT_EQ(desk->shell.shellExecuted,
            (std::vector<std::string>{"open https://quillmoor.example.org/",
                                      "open https://quillmoor.example.org/"}));
}

TEST_F(MainPanelTest, GlassAndBlackControlsFollowComposition) {
  run([&](Hwnd panel) {
    EXPECT_EQ(desk->dwm.glassFrames.at(panel.value), (platform::Margins{9, 8, 23, 14}));
    const platform::LResult brush =
        desk->windows.sendMessage(panel, platform::WM_CTLCOLORSTATIC, 0x77, 0);
    EXPECT_EQ(brush, static_cast<platform::LResult>(sim::SimDrawing::kBlackBrush.value));
    EXPECT_EQ(desk->drawing.bkMode({0x77}), platform::TRANSPARENT);

    desk->dwm.compositionEnabled = 0;
    desk->windows.sendMessage(panel, platform::WM_DWMCOMPOSITIONCHANGED, 0, 0);
    EXPECT_EQ(desk->windows.sendMessage(panel, platform::WM_CTLCOLORDLG, 0x78, 0),
              sim::SimWindows::defaultColorBrush(platform::WM_CTLCOLORDLG));
  });
}

TEST_F(MainPanelTest, DebugModeShowsTheDetectionPageBesideThePanel) {
  addAppWindow(*desk, "Notes - A", "notes.exe");
  run(
      [&](Hwnd panel) {
        Hwnd page = desk->dialogs.findDialog(res::IDD_WINLIST);
        trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
        ASSERT_TRUE(visible(page));
        // It lists what the program's detector finds.
        desk->advance(1000);
        const sim::ListViewModel* list =
            desk->dialogs.listView(desk->dialogs.getDlgItem(page, res::IDC_WINLIST));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->rows.size(), 1u);
        EXPECT_EQ(list->text(0, 0), "Notes - A");
        auto expectBeside = [&] {
          const Rect p = rectOf(panel);
          const Rect w = rectOf(page);
          EXPECT_EQ(w.right, p.left);
          EXPECT_EQ(w.top, p.top + 23);
        };
        expectBeside();
        desk->windows.setWindowPos(panel, {}, 300, 200, 0, 0,
                                   platform::SWP_NOSIZE | platform::SWP_NOZORDER);
        expectBeside();
        desk->windows.sendMessage(panel, platform::WM_COMMAND, platform::IDOK, 0);
        EXPECT_FALSE(visible(page));
      },
      {kExe, "-K527"});
}

TEST_F(MainPanelTest, DetectedWindowsAreLoggedAndPowerEventsSuspendDetection) {
  addAppWindow(*desk, "Notes - A", "notes.exe");
  run(
      [&](Hwnd panel) {
        desk->advance(1000);
        EXPECT_NE(desk->system.consoleOutput.find("AddWindow() title=Notes - A, exe=notes.exe\n"),
                  std::string::npos);
        desk->windows.sendMessage(panel, platform::WM_POWERBROADCAST, platform::PBT_APMSUSPEND, 0);
        EXPECT_NE(desk->system.consoleOutput.find("DelWindow() title=Notes - A, exe=notes.exe\n"),
                  std::string::npos);
        desk->system.consoleOutput.clear();
        desk->advance(3000);
        EXPECT_EQ(desk->system.consoleOutput, "");  // suspended: no scan, no report
        desk->windows.sendMessage(panel, platform::WM_POWERBROADCAST,
                                  platform::PBT_APMRESUMESUSPEND, 0);
        desk->advance(1000);
        EXPECT_EQ(
            desk->system.consoleOutput.rfind(
                "WindowDetector::returnSuspend()\nAddWindow() title=Notes - A, exe=notes.exe\n", 0),
            0u)
            << desk->system.consoleOutput;
        // Composition switched off suspends too; switched on resumes.
        desk->system.consoleOutput.clear();
        desk->dwm.compositionEnabled = 0;
        desk->windows.sendMessage(panel, platform::WM_DWMCOMPOSITIONCHANGED, 0, 0);
        desk->windows.sendMessage(panel, platform::WM_POWERBROADCAST,
                                  platform::PBT_APMRESUMESUSPEND, 0);  // no resume without glass
        desk->advance(2000);
        EXPECT_NE(desk->system.consoleOutput.find("DelWindow() title=Notes - A, exe=notes.exe\n"),
                  std::string::npos);
        EXPECT_EQ(desk->system.consoleOutput.find("AddWindow()"), std::string::npos);
        desk->dwm.compositionEnabled = 1;
        desk->windows.sendMessage(panel, platform::WM_DWMCOMPOSITIONCHANGED, 0, 0);
        desk->advance(1000);
        EXPECT_NE(desk->system.consoleOutput.find("AddWindow() title=Notes - A"),
                  std::string::npos);
      },
      {kExe, "-K527"});
}
