// The rules and settings files across runs of the whole program on the simulated desktop.
#include <cstdio>

#include "scenario/preview_fixture.h"

using scenario::Hwnd;
using namespace support;

namespace {

const std::string kRules = kFolder + "\\ExclusionData.ini";
const std::string kSettings = kFolder + "\\QuillmoorForTundra.ini";

class RulesAndSettingsTest : public scenario::PreviewTest {
 protected:
  bool hasPreview(Hwnd target) { return static_cast<bool>(previewOf(target)); }
  // The exclude button, with the window's row of the control page's list selected; the
  // panel must be open.
  void exclude(Hwnd target) {
    const Hwnd listView = desk->dialogs.getDlgItem(control, res::IDC_THUMB_LIST);
    const sim::ListViewModel& list = *desk->dialogs.listView(listView);
    char handle[16];
    snprintf(handle, sizeof handle, "0x%08x", target.value);
    for (size_t row = 0; row < list.rows.size(); ++row) {
      if (list.text(row, 2) != handle) continue;
      EXPECT_TRUE(desk->dialogs.clickListRow(listView, static_cast<int32_t>(row)));
      EXPECT_TRUE(desk->dialogs.clickButton(control, res::IDC_EXCLUDE));
      return;
    }
    ADD_FAILURE() << "no row for " << handle;
  }
  std::string file(const std::string& path) {
    return desk->files.readFile(path).value_or("<none>");
  }
};

}  // namespace

TEST_F(RulesAndSettingsTest, ExcludedWindowsStayExcludedInTheNextRun) {
  const std::string cutTitle = std::string(254, 'a') + "\x82";  // cut after a lead byte
  // Titles that the profile reader would not give back as they are...
  const std::vector<Hwnd> excluded = {
      addAppWindow(*desk, "Mail\r\nPNAME=any.exe", "mail.exe"),
      addAppWindow(*desk, cutTitle, "a.exe"),
      addAppWindow(*desk, "R\x99)", "r.exe"),
      addAppWindow(*desk, "'Untitled'", "ed.exe"),
      addAppWindow(*desk, "Doc - Editor", "ed.exe"),
  };
  // ... and windows that the rules, read back changed, would match instead.
  const std::vector<Hwnd> kept = {
      addAppWindow(*desk, "Mail", "any.exe"),
      // (254 'a' and a whole double-byte character would be read as the cut title itself.)
      addAppWindow(*desk, std::string(254, 'a') + "b", "a.exe"),
      addAppWindow(*desk, "R\x81\x45", "r.exe"),
      addAppWindow(*desk, "Untitled", "ed.exe"),
  };
  run([&](Hwnd panel) {
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    detect(9);
    for (Hwnd target : excluded) exclude(target);
    for (Hwnd target : excluded) EXPECT_FALSE(hasPreview(target));
    for (Hwnd target : kept) EXPECT_TRUE(hasPreview(target));
  });
  const std::string rules = file(kRules);
  EXPECT_EQ(std::count(rules.begin(), rules.end(), '\n'), 2 + 7 * 5);  // no line added
  EXPECT_NE(rules.find("[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=1\r\n"
                       "TITLE=Doc - Editor\r\nPNAME=ed.exe\r\nTPART=\r\n"),
            std::string::npos);

  desk->system.consoleOutput.clear();
  run([&](Hwnd) {
    detect(9);
    for (Hwnd target : excluded) EXPECT_FALSE(hasPreview(target));
    for (Hwnd target : kept) EXPECT_TRUE(hasPreview(target));
  });
  EXPECT_EQ(file(kRules), rules);
  EXPECT_FALSE(desk->files.exists(kRules + ".bak"));
}

TEST_F(RulesAndSettingsTest, ACountTooLargeNoLongerHidesEveryWindow) {
  // A hand edit raised the count without adding the rule.
  const std::string edited =
      "[SYSTEM]\r\nEXCLUSIONNUM=2\r\n[ITEM0]\r\nTITLEFLAG=0\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=0\r\n"
      "TITLE=\r\nPNAME=b.exe\r\nTPART=\r\n";
  desk->files.writeFile(kRules, edited);
  const Hwnd a = addAppWindow(*desk, "A", "a.exe");
  const Hwnd b = addAppWindow(*desk, "B", "b.exe");
  run([&](Hwnd) {
    detect(2);
    EXPECT_TRUE(hasPreview(a));
    EXPECT_FALSE(hasPreview(b));
  });
  EXPECT_TRUE(logged("[ITEM1] is missing"));
  // The file as the user left it is kept, and the saved one holds the one real rule.
  EXPECT_EQ(file(kRules + ".bak"), edited);
  EXPECT_EQ(file(kRules), "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n" + edited.substr(edited.find("[ITEM0]")));
}

TEST_F(RulesAndSettingsTest, ARuleDeletedOrRelaxedGivesTheWindowItsPreviewBack) {
  const std::string atStart =
      "[SYSTEM]\r\nEXCLUSIONNUM=2\r\n[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=1\r\n"
      "FULLNAMEFLAG=1\r\nTITLE=Inbox - Mail\r\nPNAME=mail.exe\r\nTPART=\r\n";
  const std::string spamRule =
      "[ITEM1]\r\nTITLEFLAG=0\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=0\r\nTITLE=\r\nPNAME=spam.exe\r\n"
      "TPART=\r\n";
  desk->files.writeFile(kRules, atStart + spamRule);
  const Hwnd mail = addAppWindow(*desk, "Inbox - Mail", "mail.exe");
  const Hwnd notes = addAppWindow(*desk, "Notes", "notes.exe");
  const Hwnd editor = addAppWindow(*desk, "Doc - Editor", "ed.exe");
  // Above the others: ten windows one rule keeps out, at every scan.
  std::vector<Hwnd> spam;
  for (int i = 0; i < 10; ++i) {
    spam.push_back(addAppWindow(*desk, "Spam " + std::to_string(i), "spam.exe"));
  }
  run([&](Hwnd panel) {
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    const Hwnd page = desk->dialogs.findDialog(res::IDD_LIMIT);
    const Hwnd rules = desk->dialogs.getDlgItem(page, res::IDC_LIMIT_LIST);
    detect(13);
    ASSERT_TRUE(hasPreview(editor));
    ASSERT_TRUE(hasPreview(notes));
    EXPECT_FALSE(hasPreview(mail));
    // Each kept out with the rule that matched it.
    EXPECT_TRUE(logged("Entry refused (excluded by ITEM0) title=Inbox - Mail, handle="));
    EXPECT_TRUE(logged("Entry refused (excluded by ITEM1) title=Spam 9, handle="));

    // Excluded from its preview's menu...
    platform::Rect cell;
    desk->windows.getWindowRect(previewOf(editor), cell);
    desk->ownWindows.menuAnswers.push_back(res::ID_THUMB_EXCLUDE);
    desk->input.rightClick({cell.left + 5, cell.top + 5});
    desk->windows.pumpMessages();
    detect(3);
    ASSERT_FALSE(hasPreview(editor));

    // ... and its rule, now first, deleted: the preview is back at the next tick, while the
    // other rules still hold: the windows they keep out are not offered again, and a window
    // closed meanwhile loses its preview at the next tick.
    ASSERT_EQ(desk->dialogs.listView(rules)->text(0, 1), "Doc - Editor");
    desk->dialogs.clickListRow(rules, 0);
    desk->ownWindows.messageBoxAnswers.push_back(platform::IDYES);
    desk->dialogs.clickButton(page, res::IDC_LIMIT_DELETE);
    desk->system.consoleOutput.clear();
    detect(1);
    EXPECT_TRUE(hasPreview(editor));
    const Hwnd notesPreview = previewOf(notes);
    desk->windows.closeWindow(notes);
    detect(1);
    EXPECT_FALSE(desk->windows.isWindow(notesPreview));
    detect(3);
    EXPECT_FALSE(hasPreview(mail));
    for (Hwnd window : spam) EXPECT_FALSE(hasPreview(window));
    EXPECT_EQ(desk->system.consoleOutput.find("AddWindow() title=Spam"), std::string::npos);
    EXPECT_EQ(desk->system.consoleOutput.find("Entry refused"), std::string::npos);

    // The other rule relaxed to a part of the title the window does not have.
    desk->dialogs.clickListRow(rules, 0);
    desk->dialogs.modalScripts[res::IDD_LIMIT_SETTING] = [&](Hwnd h) {
      desk->dialogs.clickButton(h, res::IDC_LIMIT_FULL_NAME_CHECK);
      desk->dialogs.typeText(h, res::IDC_LIMIT_TPART, "Outbox");
      desk->dialogs.clickButton(h, platform::IDOK);
    };
    desk->dialogs.clickButton(page, res::IDC_LIMIT_CHANGE);
    detect(1);
    EXPECT_TRUE(hasPreview(mail));
    EXPECT_EQ(desk->system.consoleOutput.find("AddWindow() title=Spam"), std::string::npos);
    // Written at each change, so that a crash or a kill loses none.
    EXPECT_EQ(file(kRules),
              "[SYSTEM]\r\nEXCLUSIONNUM=2\r\n[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=1\r\n"
              "FULLNAMEFLAG=0\r\nTITLE=Inbox - Mail\r\nPNAME=mail.exe\r\nTPART=Outbox\r\n" +
                  spamRule);
  });
  EXPECT_EQ(file(kRules),
            "[SYSTEM]\r\nEXCLUSIONNUM=2\r\n[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=1\r\n"
            "FULLNAMEFLAG=0\r\nTITLE=Inbox - Mail\r\nPNAME=mail.exe\r\nTPART=Outbox\r\n" +
                spamRule);
}

TEST_F(RulesAndSettingsTest, TheEndOfTheSessionSavesTheRulesAtOnce) {
  const Hwnd target = addAppWindow(*desk, "Report", "word.exe");
  const Hwnd kept = addAppWindow(*desk, "Kept", "kept.exe", scenario::kNormal);
  std::string savedAtNotice;
  uint32_t keptStyleAtNotice = 0;
  long writesBeforeNotice = 0;
  run([&](Hwnd panel) {
    trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
    detect(2);
    ASSERT_EQ(minimiseAndPoll(kept).left, 10100) << "the window was not kept live";
    exclude(target);
    // Emptied by hand; not the end of the session: nothing is written.
    desk->files.writeFile(kRules, "");
    desk->windows.sendMessage(panel, platform::WM_ENDSESSION, 0, 0);
    EXPECT_EQ(file(kRules), "");
    // Logging off: the process may be ended as soon as the notice returns.
    desk->system.consoleOutput.clear();
    writesBeforeNotice = countPrefix("file create " + kRules);
    desk->windows.sendMessage(panel, platform::WM_ENDSESSION, 0,
                              static_cast<platform::LParam>(platform::ENDSESSION_LOGOFF));
    savedAtNotice = file(kRules);
    keptStyleAtNotice = styleOf(kept);
    // Detection ends without reporting the windows it knew as gone, and what the loop still
    // runs detects nothing more.
    addAppWindow(*desk, "Late", "late.exe");
    detect(2);
    EXPECT_FALSE(hasPreview(kept));
    EXPECT_EQ(desk->system.consoleOutput.find("Window() title="), std::string::npos)
        << desk->system.consoleOutput;
  });
  EXPECT_NE(savedAtNotice.find("TITLE=Report\r\nPNAME=word.exe\r\n"), std::string::npos);
  // Written at the notice and not again by the exit after it.
  EXPECT_EQ(countPrefix("file create " + kRules) - writesBeforeNotice, 1);
  // ... and the kept window is back by then.
  EXPECT_NE(keptStyleAtNotice & platform::WS_MINIMIZE, 0u);
  EXPECT_EQ(keptStyleAtNotice & platform::WS_DISABLED, 0u);
}

// Closing the debug console, or a log-off or shutdown reaching it, ends the process as soon as
// its handler returns: by then the normal exit must have put the kept window back and saved
// the rule added in this run.
TEST_F(RulesAndSettingsTest, TheConsolesEndingEventsRunTheNormalExitFirst) {
  for (const platform::Dword event :
       {platform::CTRL_CLOSE_EVENT, platform::CTRL_LOGOFF_EVENT, platform::CTRL_SHUTDOWN_EVENT}) {
    SCOPED_TRACE(event);
    desk = sim::SimDesktop::singleMonitor();
    const Hwnd kept = addAppWindow(*desk, "Kept", "kept.exe", scenario::kNormal);
    const Hwnd report = addAppWindow(*desk, "Report", "word.exe");
    std::string rulesAtEnd;
    uint32_t keptStyleAtEnd = 0;
    long writesBeforeEvent = 0;
    long writesAtEnd = 0;
    desk->onProcessEnd = [&] {
      writesAtEnd = countPrefix("file create " + kRules);
      rulesAtEnd = file(kRules);
      keptStyleAtEnd = styleOf(kept);
    };
    EXPECT_TRUE(runProgram(*desk, {kExe, "-K527"}, [&](Hwnd panel) {
      control = desk->dialogs.findDialog(res::IDD_CONTROL);
      trayMenu(*desk, panel, res::ID_TRAY_MAIN_PANEL);
      detect(2);
      ASSERT_EQ(minimiseAndPoll(kept).left, 10100) << "the window was not kept live";
      exclude(report);
      writesBeforeEvent = countPrefix("file create " + kRules);
      // Ctrl+C and Ctrl+Break change nothing.
      desk->consoleEvent(platform::CTRL_C_EVENT);
      desk->consoleEvent(platform::CTRL_BREAK_EVENT);
      desk->windows.pumpMessages();
      ASSERT_TRUE(desk->windows.isWindow(panel));
      ASSERT_FALSE(desk->processEnded);
      if (event == platform::CTRL_CLOSE_EVENT) {
        // While a box of the program holds its modal loop, longer than the system waits.
        desk->ownWindows.whileMessageBox = [&] {
          desk->consoleEvent(event);
          desk->windows.pumpMessages();
          desk->advance(platform::Dword{6000});
        };
        desk->dialogs.clickButton(control, res::IDC_MOVE_HEAD);  // no row chosen: a box
      } else {
        desk->consoleEvent(event);
        desk->windows.pumpMessages();  // the program's loop, while the handler waits
      }
    }));
    EXPECT_TRUE(desk->processEnded);
    EXPECT_EQ(count("console handler gave up"), 0);
    EXPECT_NE(rulesAtEnd.find("TITLE=Report\r\nPNAME=word.exe\r\n"), std::string::npos)
        << rulesAtEnd;
    EXPECT_EQ(writesAtEnd - writesBeforeEvent, 1);
    EXPECT_NE(keptStyleAtEnd & platform::WS_MINIMIZE, 0u);
    EXPECT_EQ(keptStyleAtEnd & platform::WS_DISABLED, 0u);
  }
}

TEST_F(RulesAndSettingsTest, SettingsOutsideTheirRangesStillGivePreviews) {
  const std::string settings =
      "[SYSTEM]\r\nLOCATION=7\r\nLIMIT=-3\r\nTOPMARGIN=-10\r\nLEFTMARGIN=-20\r\n"
      "TRANSPARENT=10\r\n";
  desk->files.writeFile(kSettings, settings);
  const Hwnd target = addAppWindow(*desk, "A", "a.exe", {0, 0, 160, 120});
  run([&](Hwnd panel) {
    detect(1);
    ASSERT_TRUE(hasPreview(target));
    const Hwnd preview = previewOf(target);
    // The left edge for the edge that is none; the margins and the opacity as written.
    EXPECT_EQ(rectOf(preview), (platform::Rect{-20, -10, 140, 110}));
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 25);
    // The property dialog confirmed without a change: what the user wrote stays.
    showPanel(panel);
    desk->dialogs.modalScripts[res::IDD_LOCATION_SETTING] = [&](Hwnd h) {
      EXPECT_EQ(desk->dialogs.getDlgItemText(h, res::IDC_LEFT_MARGIN_EDIT), "0");
      desk->dialogs.clickButton(h, platform::IDOK);
    };
    ASSERT_TRUE(desk->dialogs.clickButton(control, res::IDC_CHANGE_PROPERTIES));
  });
  EXPECT_TRUE(logged("LOCATION=7 is outside 0..3; 1 is used\n"));
  EXPECT_EQ(file(kSettings).substr(0, settings.size()), settings);
  EXPECT_NE(file(kSettings).find("\r\nSIZE=1\r\n"), std::string::npos);  // missing ones added
}
