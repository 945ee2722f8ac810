// Previews of other programs' windows, with the whole program on the simulated desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "detect/window_detector.h"
#include "res/strings.h"
#include "scenario/preview_fixture.h"

using platform::Hwnd;
using platform::Rect;
using namespace support;
using scenario::kNormal;
using scenario::PreviewTest;

TEST_F(PreviewTest, AWindowsWholeRoadOnOneMonitor) {
  const Hwnd target = addAppWindow(*desk, "Doc - Editor", "ed.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_TRUE(preview);
    // Slot 0 of the left edge is (20, 10, 180, 130); the 2:1 source fits it as 160 x 80.
    EXPECT_EQ(rectOf(preview), (Rect{20, 30, 180, 110}));
    EXPECT_EQ(desk->windows.layeredAlpha(preview), 153);
    EXPECT_TRUE(logged("CREATE: NORMAL START(Doc - Editor)\n"));
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"Doc - Editor"});
    EXPECT_EQ(list().text(0, 1), "ed.exe");
    char handle[16];
    snprintf(handle, sizeof handle, "0x%08x", target.value);
    EXPECT_EQ(list().text(0, 2), handle);

    // Painting sends the visible frame as the source, and only when it changes.
    desk->windows.sendMessage(preview, platform::WM_PAINT, 0, 0);
    const platform::Rect source = thumbnailOf(target)->properties.source;
    EXPECT_EQ(source, (Rect{7, 0, 793, 393}));
    const int updates = desk->dwm.thumbnailPropertyUpdates;
    desk->windows.sendMessage(preview, platform::WM_PAINT, 0, 0);
    EXPECT_EQ(desk->dwm.thumbnailPropertyUpdates, updates);

    // Minimised: within the next poll (and its 200 ms wait) it is kept live off screen.
    desk->windows.setIconic(target, true);
    desk->advance(500);
    EXPECT_FALSE(desk->windows.isIconic(target));
    EXPECT_EQ(rectOf(target), (Rect{10100, 10100, 10900, 10500}));
    EXPECT_NE(styleOf(target) & platform::WS_DISABLED, 0u);
    EXPECT_TRUE(logged("top=100, bottom=500, left=100, right=900\n"));
    EXPECT_EQ(previewOf(target), preview);

    // A double-click brings it back home, restored.
    desk->windows.sendMessage(preview, platform::WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_FALSE(desk->windows.isIconic(target));
    EXPECT_EQ(rectOf(target), kNormal);
    EXPECT_EQ(styleOf(target) & platform::WS_DISABLED, 0u);
    EXPECT_TRUE(logged("□SamePOS！\n"));

    // Hidden again when the program ends...
    desk->windows.setIconic(target, true);
    desk->advance(1000);
    EXPECT_FALSE(desk->windows.isIconic(target));
  });
  // ... it comes back minimised, enabled, opaque, with its own rectangle.
  EXPECT_TRUE(desk->windows.isIconic(target));
  EXPECT_EQ(styleOf(target) & platform::WS_DISABLED, 0u);
  EXPECT_FALSE(desk->windows.layeredAlpha(target).has_value());
  platform::WindowPlacement placement;
  desk->windows.getWindowPlacement(target, placement);
  EXPECT_EQ(placement.normalPosition, kNormal);
  EXPECT_TRUE(desk->dwm.thumbnails.empty());
}

TEST_F(PreviewTest, LayeredModeKeepsTheTargetTransparentInPlace) {
  const Hwnd target = addAppWindow(*desk, "Mail", "mail.exe", kNormal);
  desk->windows.setIconic(target, true);
  run(
      [&](Hwnd) {
        detect(1);
        EXPECT_TRUE(logged("CREATE: LAYERED START(Mail)\n"));
        EXPECT_FALSE(desk->windows.isIconic(target));
        EXPECT_EQ(rectOf(target), kNormal);
        EXPECT_EQ(desk->windows.layeredAlpha(target), 0);
        EXPECT_NE(styleOf(target) & platform::WS_DISABLED, 0u);
      },
      {kExe, "-K527", "-LAYERED"});
  EXPECT_TRUE(desk->windows.isIconic(target));
  EXPECT_EQ(styleOf(target) & platform::WS_DISABLED, 0u);
  EXPECT_FALSE(desk->windows.layeredAlpha(target).has_value());
}

TEST_F(PreviewTest, TwoMonitorsChooseTheTransparentMethodToo) {
  desk = sim::SimDesktop::twoMonitorsPrimarySecond();
  const Hwnd target = addAppWindow(*desk, "Mail", "mail.exe", kNormal);
  desk->windows.setIconic(target, true);
  // But for a browser, which would stop drawing: its column goes below the smaller monitor on
  // the left, where no monitor shows it.
  const Hwnd web = addClassWindow("Web", "chrome.exe", "Chrome_WidgetWin_1", kNormal, true);
  run([&](Hwnd) {
    detect(2);
    EXPECT_EQ(rectOf(target), kNormal);
    EXPECT_EQ(desk->windows.layeredAlpha(target), 0);
    EXPECT_EQ(rectOf(web), (Rect{-2079, 1024, -1279, 1424}));
    EXPECT_TRUE(desk->programs.engineDraws(web));
  });
}

TEST_F(PreviewTest, WhatWineRefusesStillLeavesTargetsMinimisedAndEnabled) {
  desk->windows.wineForeignPlacementFails = true;
  desk->windows.wineDisabledIgnoresMinimize = true;
  desk->windows.winePlacementReportsCurrentRect = true;
  const Hwnd target = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    desk->windows.setIconic(target, true);
    desk->windows.setRect(target, {-32000, -32000, -31840, -31972});  // parked
    desk->advance(500);
    EXPECT_EQ(rectOf(target), (Rect{10100, 10100, 10900, 10500}));
  });
  EXPECT_TRUE(desk->windows.isIconic(target));
  EXPECT_EQ(styleOf(target) & platform::WS_DISABLED, 0u);
  desk->windows.winePlacementReportsCurrentRect = false;
  platform::WindowPlacement placement;
  desk->windows.getWindowPlacement(target, placement);
  EXPECT_EQ(placement.normalPosition, kNormal);
}

TEST_F(PreviewTest, AGoneWindowsPreviewShrinksAwayAndFreesItsSlot) {
  const Hwnd a = addAppWindow(*desk, "A", "a.exe");
  const Hwnd b = addAppWindow(*desk, "B", "b.exe");
  run([&](Hwnd panel) {
    detect(2);
    const Hwnd previewB = previewOf(b);
    ASSERT_TRUE(previewB);
    desk->windows.closeWindow(b);
    detect(1);
    EXPECT_FALSE(desk->windows.isWindow(previewB));
    const std::string animate = hex("animate h", previewB) + " 200 10010";
    EXPECT_EQ(count(animate), 1);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"A"});
    EXPECT_FALSE(thumbnailOf(b));
    EXPECT_TRUE(previewOf(a));

    // Many new windows at once, handed over one per tick, do not hold up a gone window's
    // report: its preview goes at the next tick.
    std::vector<Hwnd> crowd;
    for (int i = 0; i < 30; ++i) {
      crowd.push_back(addAppWindow(*desk, "N" + std::to_string(i), "n.exe"));
    }
    detect(2);
    const Hwnd previewA = previewOf(a);
    desk->windows.closeWindow(a);
    detect(1);
    EXPECT_FALSE(desk->windows.isWindow(previewA));

    // A suspend that arrives while a gone window's preview shrinks away, inside the detector's
    // report: every preview goes, and after resume the windows get their previews again.
    detect(3);
    // (A suspend inside the hand-over of a new window is walked by the detector's own test.)
    const uint32_t due = desk->windows.timerDue(panel, WindowDetector::kTimerId).value_or(0);
    desk->clock.at(due + 100, [&] {
      desk->windows.sendMessage(panel, platform::WM_POWERBROADCAST, platform::PBT_APMSUSPEND, 0);
    });
    desk->windows.closeWindow(crowd.back());
    desk->advance(due + 300 - desk->now);
    EXPECT_TRUE(desk->dwm.thumbnails.empty());
    desk->windows.sendMessage(panel, platform::WM_POWERBROADCAST, platform::PBT_APMRESUMESUSPEND,
                              0);
    detect(16);
    EXPECT_EQ(desk->dwm.thumbnails.size(), 16u);
    for (size_t i = 13; i < 29; ++i) EXPECT_TRUE(previewOf(crowd[i])) << i;
  });
}

TEST_F(PreviewTest, LimitsGapsMovesArrangementAndExclusion) {
  settingsFile("LIMIT=3\r\n");
  std::vector<Hwnd> targets;
  for (const char* title : {"W1", "W2", "W3", "W4"})
    targets.push_back(addAppWindow(*desk, title, "w.exe"));
  // Enumeration is top first: W4, W3, W2 get previews; W1 finds the limit reached.
  run([&](Hwnd panel) {
    showPanel(panel);
    detect(4);
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"W4", "W3", "W2"}));
    EXPECT_FALSE(previewOf(targets[0]));
    EXPECT_TRUE(logged("Entry refused (LIMIT=3 reached) title=W1, handle="));
    const Rect slot2 = rectOf(previewOf(targets[1]));

    // W3 goes: a gap at slot 1; W1 is not offered again, so it stays without a preview.
    desk->windows.closeWindow(targets[2]);
    detect(1);
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"W4", "W2"}));
    EXPECT_FALSE(previewOf(targets[0]));

    // W2 (slot 2) moved forward swaps with slot 0 over the gap; the selection follows it.
    select(1);
    desk->dialogs.clickButton(control, res::IDC_MOVE_UP);
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"W2", "W4"}));
    EXPECT_EQ(list().selectionMark, 0);
    EXPECT_EQ(rectOf(previewOf(targets[3])), slot2);
    // Head of the list: moving forward changes nothing.
    desk->dialogs.clickButton(control, res::IDC_MOVE_UP);
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"W2", "W4"}));

    // Arranging closes the gap: W4 (4:3, filling its cell) moves from slot 2 to slot 1.
    desk->dialogs.clickButton(control, res::IDC_ARRANGE);
    EXPECT_EQ(rectOf(previewOf(targets[3])), (Rect{20, 130, 180, 250}));

    // Excluding W4 closes only its preview and adds a rule in front, which the exclusion page
    // shows and the file holds at once.
    select(1);
    desk->dialogs.clickButton(control, res::IDC_EXCLUDE);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"W2"});
    EXPECT_FALSE(previewOf(targets[3]));
    EXPECT_TRUE(previewOf(targets[1]));
    const Hwnd rules =
        desk->dialogs.getDlgItem(desk->dialogs.findDialog(res::IDD_LIMIT), res::IDC_LIMIT_LIST);
    EXPECT_EQ(desk->dialogs.listView(rules)->text(0, 1), "W4");
    EXPECT_NE(desk->files.readFile(kFolder + "\\ExclusionData.ini").value_or("").find("TITLE=W4"),
              std::string::npos);
  });
  EXPECT_NE(desk->files.readFile(kFolder + "\\ExclusionData.ini")->find("TITLE=W4\r\nPNAME=w.exe"),
            std::string::npos);
}

TEST_F(PreviewTest, MoveButtonsWithoutASelectionAskForOne) {
  addAppWindow(*desk, "A", "a.exe");
  run([&](Hwnd panel) {
    showPanel(panel);
    detect(1);
    EXPECT_TRUE(desk->dialogs.clickButton(control, res::IDC_MOVE_DOWN));
    EXPECT_TRUE(desk->dialogs.clickButton(control, res::IDC_EXCLUDE));
  });
  ASSERT_EQ(desk->ownWindows.messageBoxes.size(), 2u);
  EXPECT_EQ(desk->ownWindows.messageBoxes[0].text, "移動するウィンドウを選択してください。");
  EXPECT_EQ(desk->ownWindows.messageBoxes[1].text, "除外するウィンドウを選択してください。");
}

TEST_F(PreviewTest, TheEdgeComesFromTheSettings) {
  settingsFile("LOCATION=2\r\nSIZE=0\r\n");
  const Hwnd target = addAppWindow(*desk, "A", "a.exe", {0, 0, 110, 80});
  run([&](Hwnd) {
    detect(1);
    EXPECT_EQ(rectOf(previewOf(target)), (Rect{1800, 10, 1910, 90}));
    EXPECT_EQ(desk->dialogs.getDlgItemText(control, res::IDC_LOCATION_TEXT), "右に並べる");
    EXPECT_EQ(desk->dialogs.getDlgItemText(control, res::IDC_SIZE_TEXT), "SMALL");
  });
}

TEST_F(PreviewTest, HoverModeLastsUntilHalfASecondAfterTheLastHotKey) {
  const Hwnd target = addAppWindow(*desk, "A", "a.exe");
  run([&](Hwnd panel) {
    detect(1);
    const Hwnd preview = previewOf(target);
    auto topmost = [&] {
      return (desk->windows.getWindowLong(preview, platform::GWL_EXSTYLE) &
              platform::WS_EX_TOPMOST) != 0;
    };
    // The countdown's timer (the panel's, which hosts the roster) runs only while hover mode
    // lasts.
    auto counting = [&] { return desk->windows.timerPeriod(panel, 107).has_value(); };
    EXPECT_FALSE(topmost());
    EXPECT_FALSE(counting());
    ASSERT_TRUE(desk->input.pressHotKey(platform::MOD_WIN, 'W'));
    desk->windows.pumpMessages();
    EXPECT_TRUE(topmost());
    EXPECT_TRUE(counting());
    desk->advance(250);
    desk->input.pressHotKey(platform::MOD_WIN, 'W');  // auto-repeat re-arms it
    desk->windows.pumpMessages();
    desk->advance(399);
    EXPECT_TRUE(topmost());
    desk->advance(101);
    EXPECT_FALSE(topmost());
    EXPECT_FALSE(counting());
  });
  const std::string& log = desk->system.consoleOutput;
  EXPECT_NE(log.find("HOTKEY ON! THUMBNAIL HOVER START\n"), std::string::npos);
  EXPECT_EQ(log.find("HOTKEY ON!"), log.rfind("HOTKEY ON!"));  // started once
  EXPECT_NE(log.find("HOVER END\n"), std::string::npos);
}

TEST_F(PreviewTest, AHotKeyHeldElsewhereIsReported) {
  desk->input.hotKeysHeldElsewhere.insert({platform::MOD_WIN, 'W'});
  // The taskbar moves to the top while the box is up: the grid keeps clear of it all the same.
  desk->ownWindows.whileMessageBox = [&] {
    desk->displays.setTaskbar(sim::SimDisplays::TaskbarEdge::Top, 60);
  };
  const Hwnd target = addAppWindow(*desk, "Doc - Editor", "ed.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    EXPECT_GE(rectOf(previewOf(target)).top, 70);  // the taskbar's 60 and the margin
  });
  ASSERT_EQ(desk->ownWindows.messageBoxes.size(), 1u);
  EXPECT_EQ(desk->ownWindows.messageBoxes[0].text,
            "HOVERキーの登録が重複しています.他のキーに変更してください.");
  EXPECT_TRUE(logged("RegisterHotKey() Error=1409\n"));

  // The user's own key held elsewhere: reported all the same, and the default serves this run
  // while the file keeps the user's key.
  desk = sim::SimDesktop::singleMonitor();
  const std::string ctrlAltQ = "HVHOTKEY=81\r\nHVMODIFIERS=3\r\n";
  settingsFile(ctrlAltQ);
  desk->input.hotKeysHeldElsewhere.insert({platform::MOD_CONTROL | platform::MOD_ALT, 'Q'});
  const std::string settingsPath = kFolder + "\\QuillmoorForTundra.ini";
  run([&](Hwnd panel) {
    EXPECT_TRUE(desk->input.pressHotKey(platform::MOD_WIN, 'W'));
    EXPECT_EQ(desk->files.readFile(settingsPath).value_or(""), "[SYSTEM]\r\n" + ctrlAltQ);
    // Only the edge changed in the property dialog: the key that works stays.
    showPanel(panel);
    const auto properties = [&](std::function<void(Hwnd)> user) {
      desk->dialogs.modalScripts[res::IDD_LOCATION_SETTING] = std::move(user);
      ASSERT_TRUE(desk->dialogs.clickButton(control, res::IDC_CHANGE_PROPERTIES));
    };
    properties([&](Hwnd h) {
      desk->dialogs.clickButton(h, res::IDC_LOC_TOP);
      desk->dialogs.clickButton(h, platform::IDOK);
    });
    EXPECT_TRUE(desk->input.pressHotKey(platform::MOD_WIN, 'W'));
    // The key the panel holds is free to choose, and chosen it is kept.
    properties([&](Hwnd h) {
      ASSERT_TRUE(desk->input.focusControl(h, res::IDC_HOVER_KEY));
      desk->input.chord({platform::VK_LWIN, 'W'});
      desk->dialogs.clickButton(h, res::IDC_HOVER_KEY_TEST);
      desk->dialogs.clickButton(h, platform::IDOK);
    });
    EXPECT_TRUE(desk->input.pressHotKey(platform::MOD_WIN, 'W'));
  });
  ASSERT_EQ(desk->ownWindows.messageBoxes.size(), 2u);
  EXPECT_EQ(desk->ownWindows.messageBoxes[0].text,
            "HOVERキーの登録が重複しています.他のキーに変更してください.");
  EXPECT_EQ(desk->ownWindows.messageBoxes[1].text, "設定可能です.");
  EXPECT_TRUE(logged("HOTKEY ON! THUMBNAIL HOVER START\n"));
  const std::string saved = desk->files.readFile(settingsPath).value_or("");
  EXPECT_NE(saved.find("HVHOTKEY=87\r\nHVMODIFIERS=8\r\n"), std::string::npos) << saved;
}

TEST_F(PreviewTest, StatusCodeCombinations) {
  auto statusWith = [&](std::unique_ptr<sim::SimDesktop> fresh, const std::string& keys,
                        std::vector<std::string> args) {
    desk = std::move(fresh);
    settingsFile(keys);
    std::string status;
    run([&](Hwnd) { status = desk->dialogs.getDlgItemText(control, res::IDC_STATUS_CODE); },
        std::move(args));
    return status;
  };
  EXPECT_EQ(statusWith(sim::SimDesktop::singleMonitor(), "FRAME=1\r\n", {kExe}), "PAF");
  EXPECT_EQ(statusWith(sim::SimDesktop::compositionOff(), "FRAME=1\r\n", {kExe}), "PF");
  EXPECT_EQ(statusWith(sim::SimDesktop::twoMonitorsPrimarySecond(), "", {kExe}), "LA");
  EXPECT_EQ(statusWith(sim::SimDesktop::oldSystem(), "", {kExe, "-LAYERED"}), "L");
}

// Start-up hands every page and preview the DWM behind the version guard: before version 6
// nothing the program does loads the DWM, previews and the panel's glass included.
TEST_F(PreviewTest, AnOldSystemNeverLoadsTheDwm) {
  desk = sim::SimDesktop::oldSystem();
  const Hwnd target = addAppWindow(*desk, "Doc - Editor", "ed.exe", kNormal);
  run([&](Hwnd panel) {
    detect(1);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"Doc - Editor"});
    desk->windows.setIconic(target, true);
    desk->advance(1000);
    showPanel(panel);
    desk->windows.sendMessage(panel, platform::WM_DWMCOMPOSITIONCHANGED, 0, 0);
  });
  EXPECT_FALSE(desk->dwm.dwmLoaded);
}

TEST_F(PreviewTest, APreviewClosedBehindTheControllersBackFreesItsSlot) {
  const Hwnd a = addAppWindow(*desk, "A", "a.exe");
  const Hwnd b = addAppWindow(*desk, "B", "b.exe");
  run([&](Hwnd panel) {
    showPanel(panel);
    detect(2);
    desk->windows.sendMessage(previewOf(b), platform::WM_CLOSE, 0, 0);  // Alt+F4
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"A"});
    EXPECT_TRUE(desk->dialogs.clickButton(control, res::IDC_ARRANGE));
    EXPECT_EQ(rectOf(previewOf(a)), (Rect{20, 10, 180, 130}));
  });
}

TEST_F(PreviewTest, APreviewTheSystemRefusesLeavesItsSlotFreeAndItsTargetAlone) {
  settingsFile("LIMIT=1\r\n");
  const Hwnd a = addAppWindow(*desk, "A", "a.exe", kNormal);
  desk->windows.setIconic(a, true);
  run([&](Hwnd panel) {
    desk->ownWindows.refuseWindowCreations = 1;
    detect(1);
    EXPECT_TRUE(logged("Entry failed title=A"));
    EXPECT_TRUE(listedTitles().empty());
    EXPECT_TRUE(desk->windows.isIconic(a));  // no preview: nothing keeps it live
    EXPECT_EQ(styleOf(a) & platform::WS_DISABLED, 0u);
    // The one slot is still free for the next window.
    const Hwnd b = addAppWindow(*desk, "B", "b.exe");
    detect(1);
    EXPECT_TRUE(previewOf(b));
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"B"});
    // Once B has gone and detection resumes after a suspension, A is offered again.
    desk->windows.closeWindow(b);
    detect(1);
    EXPECT_TRUE(listedTitles().empty());
    desk->windows.sendMessage(panel, platform::WM_POWERBROADCAST, platform::PBT_APMSUSPEND, 0);
    desk->windows.sendMessage(panel, platform::WM_POWERBROADCAST, platform::PBT_APMRESUMESUSPEND,
                              0);
    detect(2);
    EXPECT_TRUE(previewOf(a));
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"A"});
    EXPECT_FALSE(desk->windows.isIconic(a));  // kept live now
  });
  EXPECT_TRUE(desk->windows.isIconic(a));
  EXPECT_EQ(styleOf(a) & platform::WS_DISABLED, 0u);
}

TEST_F(PreviewTest, DetectionSuspendedInsideAPreviewsOwnLoopsLeavesTargetsAsTheyWere) {
  using namespace platform;
  const Hwnd a = addAppWindow(*desk, "A", "a.exe", kNormal);
  const Hwnd b = addAppWindow(*desk, "B", "b.exe", kNormal);
  desk->shell.taskbarListFails = true;  // every target put back tells of its taskbar button
  run([&](Hwnd panel) {
    detect(2);
    desk->windows.userMinimize(b);
    desk->advance(500);
    ASSERT_FALSE(desk->windows.isIconic(b)) << "held hidden";

    // Suspended while A's menu is up: both previews close inside the menu's loop, B goes back
    // minimised, the menu closes with its owner.
    desk->ownWindows.whileMenu = [&] {
      desk->windows.sendMessage(panel, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    };
    const Rect r = rectOf(previewOf(a));
    desk->ownWindows.menuAnswers.push_back(res::ID_THUMB_MOVE_TAIL);
    desk->input.rightClick({r.left + 5, r.top + 5});
    desk->windows.pumpMessages();
    EXPECT_FALSE(previewOf(a) || previewOf(b));
    EXPECT_EQ(count("menu THUMB_POPUP closed with its owner"), 1);
    EXPECT_TRUE(desk->windows.isIconic(b));
    EXPECT_EQ(styleOf(b) & WS_DISABLED, 0u);
    desk->windows.sendMessage(panel, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    detect(2);
    ASSERT_TRUE(previewOf(a) && previewOf(b));

    // Composition goes off while a poll waits for A to answer before hiding it: the previews
    // close meanwhile, and A is left minimised and enabled, as the user left it.
    desk->windows.userMinimize(a);
    desk->windows.whileSending = [&] {
      desk->dwm.compositionEnabled = 0;
      desk->windows.sendMessage(panel, WM_DWMCOMPOSITIONCHANGED, 0, 0);
    };
    desk->advance(1000);
    EXPECT_FALSE(desk->windows.whileSending) << "the poll probed A";
    EXPECT_FALSE(previewOf(a) || previewOf(b));
    EXPECT_TRUE(desk->windows.isIconic(a));
    EXPECT_EQ(styleOf(a) & WS_DISABLED, 0u);
    EXPECT_FALSE(desk->windows.layeredAlpha(a));
    EXPECT_TRUE(desk->windows.isIconic(b));

    // A double-click puts hidden B back; the taskbar refuses its button and suspension comes
    // while that message box is up: B is put back once, and comes forward as asked.
    desk->dwm.compositionEnabled = 1;
    desk->windows.sendMessage(panel, WM_DWMCOMPOSITIONCHANGED, 0, 0);
    desk->windows.userRestore(a);
    detect(2);
    desk->advance(500);
    ASSERT_TRUE(previewOf(b));
    ASSERT_FALSE(desk->windows.isIconic(b)) << "held hidden";
    desk->ownWindows.whileMessageBox = [&] {
      desk->windows.sendMessage(panel, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    };
    const size_t boxes = desk->ownWindows.messageBoxes.size();
    desk->windows.sendMessage(previewOf(b), WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(desk->ownWindows.messageBoxes.size(), boxes + 1) << "one restore, one box";
    EXPECT_FALSE(previewOf(a) || previewOf(b));
    EXPECT_FALSE(desk->windows.isIconic(b));
    EXPECT_EQ(styleOf(b) & WS_DISABLED, 0u);
    EXPECT_EQ(rectOf(b), kNormal);
  });
}

TEST_F(PreviewTest, AHungTargetIsLeftAloneWithoutBlocking) {
  const Hwnd target = addAppWindow(*desk, "Busy", "busy.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    desk->windows.setIconic(target, true);
    desk->programs.setHung(target, true);
    const uint32_t before = desk->now;
    desk->advance(500);
    EXPECT_LE(desk->now - before, 500u + 200u + 1000u);
    EXPECT_TRUE(desk->windows.isIconic(target));  // left as it was
    EXPECT_TRUE(logged("does not answer"));
    desk->windows.sendMessage(previewOf(target), platform::WM_LBUTTONDBLCLK, 0, 0);
    ASSERT_FALSE(desk->ownWindows.messageBoxes.empty());
    EXPECT_EQ(desk->ownWindows.messageBoxes.back().text,
              "対象のウィンドが現在ビジー状態です。操作をSkipしました");
  });
}

// A window that stops answering is marked "応答なし" on its preview until it answers again:
// with composition in a strip the thumbnail leaves free (from the system's word, as nothing is
// sent to a shown window), without it over its picture (also from the probes before each
// picture, for a window too busy each time without ever counting as hung). The log says each
// change once. A suspended store app keeps its own word; a kept window that answers has none.
TEST_F(PreviewTest, APreviewSaysWhenItsWindowDoesNotAnswer) {
  for (const bool composition : {true, false}) {
    SCOPED_TRACE(composition ? "thumbnail" : "picture");
    desk = composition ? sim::SimDesktop::singleMonitor() : sim::SimDesktop::compositionOff();
    desk->displays.systemDpi = 120;  // the badge scales with it
    const Hwnd target = addAppWindow(*desk, "Quiet", "quiet.exe", kNormal);
    const Hwnd kept = addAppWindow(*desk, "Kept", "kept.exe", kNormal);
    const Hwnd store =
        addClassWindow("app.exe", "app.exe", "ApplicationFrameWindow", {300, 300, 700, 600});
    run([&](Hwnd) {
      detect(3);
      const Hwnd preview = previewOf(target);
      ASSERT_TRUE(preview);
      desk->windows.userMinimize(kept);
      desk->windows.userMinimize(store);
      desk->advance(1400);
      Rect client;
      desk->windows.getClientRect(preview, client);
      const auto marks = [&] {
        std::string all;
        for (const Hwnd h : {target, kept, store}) all += desk->drawing.badge(previewOf(h)) + ";";
        return all;
      };
      // How often the log said `what` of the target: "does not answer...", "answers again".
      const auto said = [&](Hwnd window) {
        char line[96];
        std::pair<int, int> times;
        for (int* n : {&times.first, &times.second}) {
          snprintf(line, sizeof line, "target 0x%08x %s\n", window.value,
                   n == &times.first ? "does not answer: its preview says so" : "answers again");
          *n = timesOnConsole(*desk, line);
        }
        return times;
      };

      desk->programs.setHung(target, true);
      desk->programs.setHung(store, true);
      desk->advance(4000);
      EXPECT_EQ(marks(), ";;;") << "not 5 s yet";
      desk->advance(1500);
      EXPECT_EQ(marks(), std::string(kNotAnsweringText) + ";;;");
      EXPECT_EQ(desk->drawing.paintedText(previewOf(store)), kPausedText);
      EXPECT_EQ(said(store), std::pair(0, 0));
      const Rect box = desk->drawing.badgeBox(preview);
      const int32_t inset = composition ? 0 : 5;  // beside a thumbnail, over a picture
      EXPECT_EQ(box, (Rect{inset, client.bottom - inset - 27, box.right, client.bottom - inset}));
      if (composition) {
        // The thumbnail above the badge's strip, narrowed to keep its aspect.
        const Rect shown = thumbnailOf(target)->properties.destination;
        EXPECT_EQ(shown.bottom, box.top);
        EXPECT_EQ(shown.width() * client.height(), client.width() * shown.height());
      }
      desk->advance(5000);
      desk->programs.setHung(target, false);
      desk->advance(500);
      EXPECT_EQ(marks(), ";;;") << "answers again, at the next poll";
      EXPECT_TRUE(!composition || thumbnailOf(target)->properties.destination == client);
      EXPECT_EQ(said(target), std::pair(1, 1));

      // Busy 3.9 s of every 4: never hung by the system's count, never answering a probe.
      for (uint32_t span = 0; span < 4; ++span) {
        const uint32_t from = desk->now + span * 4000;
        desk->clock.at(from, [&, from] { desk->programs.setBusy(target, from + 3900); });
      }
      desk->advance(19000);
      EXPECT_EQ(marks(), ";;;");
      EXPECT_EQ(said(target), composition ? std::pair(1, 1) : std::pair(2, 2));
    });
  }
}

TEST_F(PreviewTest, CloakedLayeredAndSizelessWindows) {
  desk->system.version.minorVersion = 2;  // cloaking exists from 6.2 on
  const Hwnd cloaked = addAppWindow(*desk, "Other desktop", "a.exe");
  desk->dwm.cloaked[cloaked.value] = 2;
  sim::ForeignWindow layered;
  layered.processId = desk->programs.addProcess("l.exe", "C:\\l.exe");
  layered.title = "Layered";
  layered.rect = kNormal;
  layered.exStyle = platform::WS_EX_LAYERED;
  const Hwnd layeredWindow = desk->windows.addWindow(layered);
  const Hwnd plain = addAppWindow(*desk, "Plain", "p.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    ASSERT_TRUE(previewOf(plain));
    // A target that loses its width takes the cell's size, in place, instead of dividing by
    // zero (the next scan then drops it as having no area).
    desk->windows.setRect(plain, {100, 100, 100, 500});
    desk->advance(400);
    EXPECT_EQ(rectOf(previewOf(plain)), (Rect{20, 30, 180, 150}));
    detect(3);
    EXPECT_FALSE(previewOf(cloaked));
    EXPECT_FALSE(previewOf(layeredWindow));
    EXPECT_TRUE(logged("Entry refused (layered) title=Layered, handle="));
    // The detector's own refusals, once each over the three scans.
    for (const auto& [window, reason] :
         {std::pair{cloaked, "cloaked"}, {plain, "empty rectangle"}}) {
      char line[64];
      snprintf(line, sizeof line, "Scan skipped (%s) handle=0x%08x\n", reason, window.value);
      const std::string& log = desk->system.consoleOutput;
      EXPECT_NE(log.find(line), std::string::npos) << line;
      EXPECT_EQ(log.find(line), log.rfind(line)) << line;
    }
  });
}

TEST_F(PreviewTest, StackingFrameAndCompositionChanges) {
  settingsFile("FRAME=1\r\n");
  const Hwnd target = addAppWindow(*desk, "A", "a.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_TRUE(preview);
    EXPECT_NE(styleOf(preview) & platform::WS_THICKFRAME, 0u);  // FRAME on: always framed
    EXPECT_TRUE(logged("frame ON\n"));
    // Whatever place anyone asks for, the preview stays at the very bottom (activating it
    // would bring it forward: only the user's click does that).
    desk->windows.setWindowPos(
        preview, platform::kHwndTop, 0, 0, 0, 0,
        platform::SWP_NOMOVE | platform::SWP_NOSIZE | platform::SWP_NOACTIVATE);
    EXPECT_EQ(desk->windows.enumWindows().back(), preview);
    // Hover lifts it above everything; afterwards it sinks again and keeps its frame.
    desk->input.pressHotKey(platform::MOD_WIN, 'W');
    desk->windows.pumpMessages();
    EXPECT_EQ(desk->windows.enumWindows().front(), preview);
    desk->advance(600);
    EXPECT_EQ(desk->windows.enumWindows().back(), preview);
    EXPECT_NE(styleOf(preview) & platform::WS_THICKFRAME, 0u);

    // Composition off and on again: a fresh registration for the same target, and only one.
    const platform::ThumbnailId first = desk->dwm.thumbnails.begin()->first;
    desk->dwm.compositionEnabled = 0;
    desk->windows.sendMessage(preview, platform::WM_DWMCOMPOSITIONCHANGED, 0, 0);
    EXPECT_TRUE(desk->dwm.thumbnails.empty());
    desk->dwm.compositionEnabled = 1;
    desk->windows.sendMessage(preview, platform::WM_DWMCOMPOSITIONCHANGED, 0, 0);
    ASSERT_EQ(desk->dwm.thumbnails.size(), 1u);
    EXPECT_NE(desk->dwm.thumbnails.begin()->first, first);
    EXPECT_EQ(previewOf(target), preview);
  });
}

TEST_F(PreviewTest, WithoutCompositionNoThumbnailIsRegistered) {
  desk = sim::SimDesktop::compositionOff();
  const Hwnd target = addAppWindow(*desk, "A", "a.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    EXPECT_TRUE(desk->dwm.thumbnails.empty());
    EXPECT_TRUE(logged("NOT AERO!\n"));
  });
  EXPECT_EQ(countPrefix("dwm thumbnail"), 0);
  EXPECT_FALSE(desk->windows.isIconic(target));
}

TEST_F(PreviewTest, AWindowLeftParkedByAnEarlierRunIsFetchedBack) {
  sim::ForeignWindow parked;
  parked.processId = desk->programs.addProcess("ed.exe", "C:\\Apps\\ed.exe");
  parked.title = "Lost";
  parked.rect = {10100, 10100, 10900, 10500};
  parked.style |= platform::WS_DISABLED;
  const Hwnd target = desk->windows.addWindow(parked);
  run([&](Hwnd) {
    detect(1);
    EXPECT_EQ(rectOf(target), (Rect{560, 340, 1360, 740}));  // centred on the desktop
    EXPECT_EQ(styleOf(target) & platform::WS_DISABLED, 0u);
    const std::string addTab = hex("taskbar add w", target);
    EXPECT_EQ(count(addTab), 1);
  });
}

TEST_F(PreviewTest, WithoutCompositionTheHoverFrameIsDrawnAndGoneAtOnce) {
  desk = sim::SimDesktop::compositionOff();
  const Hwnd target = addAppWindow(*desk, "A", "a.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = desk->windows.enumWindows().back();  // previews lie at the bottom
    ASSERT_NE(preview, target);
    EXPECT_EQ(desk->windows.drawnFrame(preview) & platform::WS_THICKFRAME, 0u);
    desk->input.pressHotKey(platform::MOD_WIN, 'W');
    desk->windows.pumpMessages();
    EXPECT_NE(desk->windows.drawnFrame(preview) & platform::WS_THICKFRAME, 0u);
    const size_t hoverEnds = desk->actions.size();
    desk->advance(600);
    EXPECT_EQ(styleOf(preview) & platform::WS_THICKFRAME, 0u);
    EXPECT_EQ(desk->windows.drawnFrame(preview) & platform::WS_THICKFRAME, 0u);
    // Where the frame was is client area again, erased rather than left as it was drawn.
    EXPECT_EQ(rectOf(preview).width(), 160);
    EXPECT_TRUE(std::any_of(desk->actions.begin() + static_cast<long>(hoverEnds),
                            desk->actions.end(), [](const std::string& a) {
                              return a.rfind("fill dc", 0) == 0 &&
                                     a.find(" 0,0,160,80 dcdcdc") != std::string::npos;
                            }));
  });
}

TEST_F(PreviewTest, JapaneseTitlesOnAWesternSystem) {
  // The system's code page is 1252 (no lead bytes); titles still come as code page 932.
  desk->system.systemCodePage = 1252;
  const std::string hyoji = "表示設定";  // 表 ends in 0x5C, the byte of a backslash
  std::string longTitle;
  for (int i = 0; i < 150; ++i) longTitle += "あ";  // 300 bytes
  const Hwnd display = addAppWindow(*desk, hyoji, "disp.exe");
  const Hwnd explorer = addAppWindow(*desk, "C:\\Work - Explorer", "explorer.exe");
  const Hwnd notes = addAppWindow(*desk, longTitle, "notes.exe");
  // A rule for titles that hold a backslash: it must not find one inside 表.
  desk->files.writeFile(kFolder + "\\ExclusionData.ini",
                        "[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=0\r\n"
                        "FULLNAMEFLAG=0\r\nTITLE=C:\\Work - Explorer\r\nPNAME=\r\nTPART=\\\r\n");
  // Titles are cut at the last whole character within 255 bytes.
  const std::string cut = longTitle.substr(0, 254);
  run([&](Hwnd panel) {
    showPanel(panel);
    detect(3);
    EXPECT_TRUE(previewOf(display));
    EXPECT_FALSE(previewOf(explorer));
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{cut, hyoji}));
    EXPECT_TRUE(logged("AddWindow() title=" + cut + ", exe=notes.exe\n"));
    select(0);
    desk->dialogs.clickButton(control, res::IDC_EXCLUDE);
    EXPECT_FALSE(previewOf(notes));
  });
  const std::string rules = *desk->files.readFile(kFolder + "\\ExclusionData.ini");
  EXPECT_NE(rules.find("TITLE=" + cut + "\r\nPNAME=notes.exe\r\n"), std::string::npos);

  // The next run reads the rule back and it still holds, for that window only.
  desk->system.consoleOutput.clear();
  run([&](Hwnd panel) {
    showPanel(panel);
    detect(3);
    EXPECT_EQ(listedTitles(), std::vector<std::string>{hyoji});
    EXPECT_FALSE(previewOf(notes));
  });
  EXPECT_EQ(*desk->files.readFile(kFolder + "\\ExclusionData.ini"), rules);
}
