// Minimised targets kept live and put back: never left hidden, disabled, displaced or
// un-maximised by mistake, whatever the user or the target's own program does meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "res/strings.h"
#include "scenario/preview_fixture.h"

using platform::Hwnd;
using platform::Rect;
using sim::SimDesktop;
using namespace support;
using scenario::kNormal;
using scenario::PreviewTest;

namespace {

constexpr uint32_t kAppStyle =
    platform::WS_VISIBLE | platform::WS_SYSMENU | platform::WS_MINIMIZEBOX | platform::WS_CAPTION;
constexpr Rect kOffScreen{10100, 10100, 10900, 10500};  // kNormal, 10000 right and down

void doubleClick(SimDesktop& desk, Hwnd preview) {
  desk.windows.sendMessage(preview, platform::WM_LBUTTONDBLCLK, 0, 0);
}

}  // namespace

TEST_F(PreviewTest, WithTheTaskbarAtTheTopOrLeftTheWindowNeverCreeps) {
  for (const auto edge :
       {sim::SimDisplays::TaskbarEdge::Top, sim::SimDisplays::TaskbarEdge::Left}) {
    SCOPED_TRACE(edge == sim::SimDisplays::TaskbarEdge::Top ? "top" : "left");
    desk = SimDesktop::singleMonitor();
    desk->displays.setTaskbar(edge, 40);
    const Hwnd target = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
    run([&](Hwnd) {
      detect(1);
      const Hwnd preview = previewOf(target);
      ASSERT_TRUE(preview);
      for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(minimiseAndPoll(target), kOffScreen);
        doubleClick(*desk, preview);
        EXPECT_EQ(rectOf(target), kNormal);
      }
      EXPECT_FALSE(logged("DifferentPOS"));
      minimiseAndPoll(target);
    });
    EXPECT_TRUE(desk->windows.isIconic(target));
    desk->windows.userRestore(target);
    EXPECT_EQ(rectOf(target), kNormal);
  }
}

TEST_F(PreviewTest, ABusyTargetIsHiddenOnlyOnceItAnswersAndNeverLosesItsStyle) {
  const Hwnd target = addAppWindow(*desk, "Busy", "busy.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    // Minimised while it does not answer: left exactly as it is, and asked again later.
    desk->programs.setHung(target, true);
    desk->windows.userMinimize(target);
    desk->clock.at(desk->now + 2000, [&] { desk->programs.setHung(target, false); });
    desk->advance(600);
    EXPECT_TRUE(desk->windows.isIconic(target));
    EXPECT_EQ(styleOf(target), kAppStyle | platform::WS_MINIMIZE);
    EXPECT_FALSE(desk->windows.layeredAlpha(target).has_value());
    // Asked once while it hangs, and never waited for by a sleep.
    desk->advance(1300);
    EXPECT_EQ(count(hex("timeout h", target) + " 0x0"), 1);  // the probe it did not answer
    EXPECT_EQ(countPrefix("sleep"), 0);
    // It answers again: the next poll keeps it live off screen.
    desk->advance(1700);
    EXPECT_FALSE(desk->windows.isIconic(target));
    EXPECT_EQ(rectOf(target), kOffScreen);
    EXPECT_NE(styleOf(target) & platform::WS_DISABLED, 0u);
  });
  EXPECT_TRUE(desk->windows.isIconic(target));
  EXPECT_EQ(styleOf(target), kAppStyle | platform::WS_MINIMIZE);
}

TEST_F(PreviewTest, ATargetBusyInItsStyleChangeHoldsTheProgramNoMoreThanASecond) {
  const Hwnd slow = addAppWindow(*desk, "Slow", "slow.exe", kNormal);
  const Hwnd other = addAppWindow(*desk, "Other", "other.exe", {1000, 100, 1400, 400});
  run([&](Hwnd panel) {
    detect(2);
    ASSERT_TRUE(previewOf(slow));
    const Hwnd otherPreview = previewOf(other);
    ASSERT_TRUE(otherPreview);
    // It answers the probe, then spends 15 s in the handler of the first style change.
    desk->programs.slowHandler(slow, platform::WM_STYLECHANGING, 15000);
    desk->windows.userMinimize(slow);
    uint32_t longest = 0;
    for (int step = 0; step < 400; ++step) {
      const uint32_t before = desk->now;
      desk->advance(50);
      longest = std::max(longest, desk->now - before - 50);
      if (step == 40) {
        desk->programs.slowHandler(slow, platform::WM_STYLECHANGING, 0);
        // Meanwhile the tray menu opens the panel at once, and the other preview follows its
        // window.
        const uint32_t opened = desk->now;
        showPanel(panel);
        EXPECT_EQ(desk->now, opened);
        EXPECT_TRUE(desk->windows.isWindowVisible(panel));
        desk->windows.setRect(other, {1000, 100, 1400, 700});
      }
      if (step == 60) {
        EXPECT_GT(rectOf(otherPreview).height(), rectOf(otherPreview).width());
      }
    }
    // A second of the change's guard, after the 200 ms an answering target is given to end
    // its minimising.
    EXPECT_LE(longest, 1200u) << "the program's thread was held longer";
    EXPECT_EQ(countPrefix("TIMED OUT"), 1) << "one change timed out, no other was tried";
    EXPECT_LE(count(hex("timeout h", slow) + " 0x0"), 8) << "one probe in two seconds at most";
    // Free again, it has been hidden all the same.
    EXPECT_EQ(rectOf(slow), kOffScreen);
    EXPECT_NE(styleOf(slow) & platform::WS_DISABLED, 0u);
    // Minimised from its taskbar button while hung, it is left alone by the poll; free just
    // before the end, it is put back all the same.
    desk->programs.setHung(slow, true);
    desk->windows.userMinimize(slow);
    desk->advance(600);
    desk->programs.setHung(slow, false);
  });
  EXPECT_TRUE(desk->windows.isIconic(slow));
  EXPECT_EQ(styleOf(slow), kAppStyle | platform::WS_MINIMIZE);
  EXPECT_FALSE(desk->windows.layeredAlpha(slow).has_value());
}

TEST_F(PreviewTest, AHungTargetAtExitKeepsItsOwnStyle) {
  const Hwnd target = addAppWindow(*desk, "Busy", "busy.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    desk->programs.setHung(target, true);
    desk->windows.userMinimize(target);
    desk->advance(600);
    desk->programs.setHung(target, false);  // answers again just before the program ends
  });
  EXPECT_TRUE(desk->windows.isIconic(target));
  EXPECT_TRUE(desk->windows.isWindowVisible(target));
  EXPECT_EQ(styleOf(target), kAppStyle | platform::WS_MINIMIZE);
}

TEST_F(PreviewTest, OnlyWhatTheProgramDisabledIsEnabledAgain) {
  const Hwnd own = addAppWindow(*desk, "Dialog open", "a.exe", kNormal);
  const Hwnd ours = addAppWindow(*desk, "Plain", "b.exe", kNormal);
  run([&](Hwnd) {
    detect(2);
    desk->windows.setEnabled(own, false);  // its program has a modal dialog up
    desk->windows.userMinimize(own);
    minimiseAndPoll(ours);
    EXPECT_EQ(rectOf(own), kOffScreen);
    EXPECT_FALSE(desk->windows.isWindowEnabled(ours));
  });
  EXPECT_TRUE(desk->windows.isIconic(own));
  EXPECT_FALSE(desk->windows.isWindowEnabled(own));
  EXPECT_TRUE(desk->windows.isIconic(ours));
  EXPECT_TRUE(desk->windows.isWindowEnabled(ours));
}

TEST_F(PreviewTest, ATargetRestoredDuringTheWaitIsLeftAlone) {
  const Hwnd target = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
  run([&](Hwnd panel) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_TRUE(preview);
    const uint32_t poll = *desk->windows.timerDue(panel, 112);  // the previews' one poll
    desk->windows.userMinimize(target);
    // The user clicks its taskbar button while the poll waits to hide it.
    desk->clock.at(poll + 100, [&] { desk->windows.userRestore(target); });
    desk->advance(poll - desk->now + 300);
    EXPECT_EQ(rectOf(target), kNormal);
    EXPECT_TRUE(desk->windows.isWindowEnabled(target));
    EXPECT_FALSE(desk->windows.layeredAlpha(target).has_value());
    EXPECT_FALSE(logged("top=100"));
    // Still a Normal preview: the next minimise hides it as usual.
    EXPECT_EQ(minimiseAndPoll(target), kOffScreen);
  });
}

TEST_F(PreviewTest, AMaximisedTargetComesBackMaximised) {
  sim::ForeignWindow big;
  big.processId = desk->programs.addProcess("ed.exe", "C:\\Apps\\ed.exe");
  big.title = "Big";
  big.rect = kNormal;
  big.maximized = true;
  const Hwnd target = desk->windows.addWindow(big);
  const Rect maximised = desk->windows.workArea;
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_TRUE(preview);
    minimiseAndPoll(target);
    EXPECT_FALSE(desk->windows.isIconic(target));
    EXPECT_GE(rectOf(target).left, 10000);
    // Brought forward by a double-click: maximised, where maximised windows are.
    doubleClick(*desk, preview);
    EXPECT_TRUE(desk->windows.isZoomed(target));
    EXPECT_EQ(rectOf(target), maximised);
    EXPECT_TRUE(logged("is maximised: left as it is\n"));
    minimiseAndPoll(target);
  });
  // Put back at exit: minimised, and maximised again when the user restores it.
  platform::WindowPlacement placement;
  desk->windows.getWindowPlacement(target, placement);
  EXPECT_TRUE(desk->windows.isIconic(target));
  EXPECT_EQ(placement.flags, platform::WPF_RESTORETOMAXIMIZED);
  EXPECT_EQ(placement.normalPosition, kNormal);
  desk->windows.userRestore(target);
  EXPECT_EQ(rectOf(target), maximised);
  desk->windows.userRestore(target);
  EXPECT_EQ(rectOf(target), kNormal);
}

TEST_F(PreviewTest, TheThumbnailShowsTheWholeTargetInTheClientArea) {
  const Hwnd target = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_TRUE(preview);
    const std::string registered = hex("dwm thumbnail register h", target) + hex(" -> h", preview);
    const auto at = std::find(desk->actions.begin(), desk->actions.end(), registered);
    ASSERT_NE(at, desk->actions.end());
    // Every property once, opaque and visible, the whole window onto the 160 x 80 client
    // area; then the height fit touches the destination alone.
    const std::vector<std::string> expected{
        registered,
        "dwm thumbnail properties t1 flags=1f dest=0,0,160,80 src=0,0,800,400 opacity=255 "
        "visible=1 clientonly=0",
        "dwm thumbnail source size t1",
        "dwm thumbnail properties t1 flags=1 dest=0,0,160,80",
    };
    std::vector<std::string> seen;
    for (auto it = at; it != desk->actions.end() && seen.size() < expected.size(); ++it) {
      if (it->rfind("dwm thumbnail", 0) == 0) seen.push_back(*it);
    }
    EXPECT_EQ(seen, expected);
    // Its first WM_PAINT, which nobody had to send, cut the invisible borders away.
    EXPECT_EQ(thumbnailOf(target)->properties.source, (Rect{7, 0, 793, 393}));
  });
}

// Minimised browsers stay drawn by their engines' own rule through what the user and the
// system do, and come back as they were.
TEST_F(PreviewTest, MinimisedBrowsersStayDrawnAndComeBackAsTheyWere) {
  const Hwnd chrome = addClassWindow("chrome.exe", "chrome.exe", "Chrome_WidgetWin_1", kNormal);
  const Hwnd gecko =
      addClassWindow("firefox.exe", "firefox.exe", "MozillaWindowClass", {200, 150, 900, 650});
  const Hwnd editor = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
  const Hwnd store =
      addClassWindow("app.exe", "app.exe", "ApplicationFrameWindow", {300, 300, 700, 600});
  desk->displays.systemDpi = 120;  // the word's inset scales with it
  const auto drawn = [&](Hwnd h) { return desk->programs.engineDraws(h); };
  const auto longestGap = [&](Hwnd h) {
    return desk->programs.engineRecord(h) ? desk->programs.engineRecord(h)->longestNotDrawnMs
                                          : uint64_t{0};
  };
  run([&](Hwnd) {
    detect(4);
    const Hwnd preview = previewOf(chrome);
    ASSERT_TRUE(preview);
    desk->windows.userMinimize(chrome);
    desk->windows.userMinimize(gecko);
    desk->windows.userMinimize(store);
    desk->advance(1400);
    // A store app, suspended by the system, is said to be paused rather than shown frozen.
    EXPECT_EQ(desk->drawing.paintedText(previewOf(store)), kPausedText);
    EXPECT_EQ(desk->drawing.paintedTextAt(previewOf(store)), (platform::Point{5, 5}));
    EXPECT_FALSE(thumbnailOf(store)->properties.visible);
    EXPECT_EQ(desk->drawing.paintedText(preview), "");
    // Restored, each one column inside the screen's right edge, neither hiding the other.
    EXPECT_EQ(rectOf(chrome).left, 1919);
    EXPECT_EQ(rectOf(gecko).left, 1919);
    EXPECT_TRUE(drawn(chrome));
    EXPECT_TRUE(drawn(gecko));
    desk->programs.resetEngineRecords();
    // The user maximises a window over that place, the taskbar grows (the engines fit their
    // windows back into the work area), Win+D: each lasts a poll at most, and the 200 ms the
    // poll gives the editor, which Win+D minimised too, to end its minimising.
    desk->windows.activateByUser(editor);
    desk->windows.userMaximize(editor);
    desk->advance(600);
    desk->displays.setTaskbar(sim::SimDisplays::TaskbarEdge::Bottom, 80);
    desk->advance(600);
    desk->programs.showDesktop();
    desk->advance(600);
    for (const Hwnd h : {chrome, gecko}) {
      EXPECT_TRUE(drawn(h));
      EXPECT_LE(longestGap(h), 720u);
      EXPECT_EQ(rectOf(h).left, 1919);
      EXPECT_FALSE(desk->windows.isWindowEnabled(h));
      EXPECT_EQ(desk->windows.getWindowLong(h, platform::GWL_EXSTYLE) & platform::WS_EX_TOPMOST,
                0u);
      EXPECT_NE(desk->windows.foreground(), h);
      // WM_SETREDRAW FALSE would clear WS_VISIBLE: the engine would call it hidden.
      for (const sim::ReceivedMessage& m : desk->windows.received(h)) {
        EXPECT_NE(m.message, platform::WM_SETREDRAW);
      }
    }
    // A smaller monitor joins on the right: the strip below it, which no monitor shows, is
    // the place now.
    desk->displays.monitors.push_back({{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, false, "B"});
    desk->advance(600);
    for (const Hwnd h : {chrome, gecko}) {
      EXPECT_EQ(rectOf(h).left, 3199);
      EXPECT_EQ(rectOf(h).top, 1024);
      EXPECT_TRUE(drawn(h));
    }
    // A double-click brings it back where it was, enabled, with its own styles.
    doubleClick(*desk, preview);
    EXPECT_EQ(rectOf(chrome), kNormal);
    EXPECT_EQ(styleOf(chrome), kAppStyle);
    EXPECT_EQ(desk->windows.getWindowLong(chrome, platform::GWL_EXSTYLE), 0u);
  });
  // Exit puts the other back minimised, with its own styles and normal rectangle.
  platform::WindowPlacement placement;
  desk->windows.getWindowPlacement(gecko, placement);
  EXPECT_TRUE(desk->windows.isIconic(gecko));
  EXPECT_EQ(styleOf(gecko), kAppStyle | platform::WS_MINIMIZE);
  EXPECT_EQ(desk->windows.getWindowLong(gecko, platform::GWL_EXSTYLE), 0u);
  EXPECT_FALSE(desk->windows.layeredAlpha(gecko).has_value());
  EXPECT_EQ(placement.normalPosition, (Rect{200, 150, 900, 650}));
}

namespace {

const std::string kJournal = kFolder + "\\KeptWindows.ini";

struct Layered {
  platform::ColorRef key = 0;
  uint8_t alpha = 0;
  platform::Dword flags = 0;
  bool operator==(const Layered&) const = default;
};

// Attributes a program gave its own layered window.
const Layered kGlass{platform::rgb(1, 2, 3), 200, platform::LWA_ALPHA | platform::LWA_COLORKEY};

std::optional<Layered> layeredOf(SimDesktop& desk, Hwnd window) {
  Layered l;
  if (!desk.windows.getLayeredWindowAttributes(window, l.key, l.alpha, l.flags)) return {};
  return l;
}

}  // namespace

TEST_F(PreviewTest, ARunEndedByForceLeavesItsWindowsToTheNextStart) {
  const Layered& own = kGlass;
  for (const bool layeredSwitch : {false, true}) {
    for (const bool ownLayered : {false, true}) {
      SCOPED_TRACE(std::string(layeredSwitch ? "-LAYERED" : "off screen") +
                   (ownLayered ? ", layered by its program" : ""));
      desk = SimDesktop::singleMonitor();
      const Hwnd target = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
      const uint32_t ownEx = ownLayered ? platform::WS_EX_LAYERED : 0;
      // Its program makes it layered once it has its preview (a layered window gets none).
      const auto makeLayered = [&] {
        if (!ownLayered) return;
        desk->windows.setWindowLong(target, platform::GWL_EXSTYLE, ownEx);
        desk->windows.setLayeredWindowAttributes(target, own.key, own.alpha, own.flags);
      };
      const std::optional<Layered> ownAttributes = ownLayered ? std::optional(own) : std::nullopt;
      std::vector<std::string> args{kExe, "-K527"};
      if (layeredSwitch) args.push_back("-LAYERED");
      run(
          [&](Hwnd) {
            detect(1);
            makeLayered();
            minimiseAndPoll(target);
            ASSERT_FALSE(desk->windows.isIconic(target)) << "it was not kept live";
            const auto journal = desk->files.readFile(kJournal);
            ASSERT_TRUE(journal.has_value()) << "changed before it was recorded";
            EXPECT_NE(journal->find("PNAME=ed.exe\r\n"), std::string::npos);
            desk->advance(3000);  // polls that learn nothing new write nothing
            EXPECT_EQ(count("file create " + kJournal + ".new"), 1);
            desk->terminate();
          },
          args);
      // Nothing of the exit path reached it: invisible and dead, as a killed run leaves it.
      ASSERT_FALSE(desk->windows.isIconic(target));
      ASSERT_FALSE(desk->windows.isWindowEnabled(target));
      run(
          [&](Hwnd) {
            // Put back at start-up, before any detection: exactly as its program had it.
            EXPECT_TRUE(desk->windows.isIconic(target));
            EXPECT_TRUE(desk->windows.isWindowEnabled(target));
            EXPECT_EQ(styleOf(target), kAppStyle | platform::WS_MINIMIZE);
            EXPECT_EQ(desk->windows.getWindowLong(target, platform::GWL_EXSTYLE), ownEx);
            EXPECT_EQ(layeredOf(*desk, target), ownAttributes);
            EXPECT_EQ(desk->shell.taskbarButtons.count(target.value), 1u);
            EXPECT_FALSE(desk->files.exists(kJournal));
            // Kept live again, and put back at a normal exit, own attributes and all.
            desk->windows.userRestore(target);
            desk->windows.setWindowLong(target, platform::GWL_EXSTYLE, 0);
            detect(1);
            makeLayered();
            minimiseAndPoll(target);
            EXPECT_FALSE(desk->windows.isIconic(target));
          },
          args);
      EXPECT_TRUE(desk->windows.isIconic(target));
      EXPECT_EQ(styleOf(target), kAppStyle | platform::WS_MINIMIZE);
      EXPECT_EQ(layeredOf(*desk, target), ownAttributes);
      EXPECT_FALSE(desk->files.exists(kJournal)) << "an entry outlived its put-back";
      desk->windows.userRestore(target);
      EXPECT_EQ(rectOf(target), kNormal);
    }
  }
}

// A crash puts back what answers; the next start puts back the rest once it answers.
TEST_F(PreviewTest, ACrashPutsBackWhatItKeeps) {
  const Hwnd target = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
  const Hwnd hung = addAppWindow(*desk, "Hung", "hung.exe", {1000, 100, 1400, 400});
  const Hwnd raced = addAppWindow(*desk, "Raced", "raced.exe", kNormal);
  run([&](Hwnd) {
    detect(3);
    desk->windows.userMinimize(target);
    desk->windows.userMinimize(raced);
    minimiseAndPoll(hung);
    ASSERT_EQ(rectOf(target), kOffScreen);
    desk->programs.setHung(hung, true);
    desk->advance(6000);
    desk->crash();
  });
  EXPECT_TRUE(desk->windows.isIconic(target));
  EXPECT_TRUE(desk->windows.isWindowEnabled(target));
  EXPECT_EQ(styleOf(target), kAppStyle | platform::WS_MINIMIZE);
  // The hung one is left to the next start, which finds it still named in the journal.
  EXPECT_FALSE(desk->windows.isIconic(hung));
  const auto journal = desk->files.readFile(kJournal);
  ASSERT_TRUE(journal.has_value());
  // The crash writes nothing: the next start finds the first one back and only drops its entry.
  EXPECT_NE(journal->find("PNAME=hung.exe"), std::string::npos);
  // One left as a poll racing the put-back leaves it: back in all but its place, minimised
  // where it was kept. Its normal rectangle, the parking place, is ours, not its own.
  desk->windows.setEnabled(raced, true);
  desk->windows.setExStyle(raced, 0);
  desk->windows.setNormalRect(raced, kOffScreen);
  desk->windows.setIconic(raced, true);
  run([&](Hwnd) {
    EXPECT_TRUE(logged("shows nothing of ours: its entry is dropped"));
    EXPECT_EQ(rectOf(hung), (Rect{11000, 10100, 11400, 10400})) << "a hung window stays";
    desk->programs.setHung(hung, false);
    desk->advance(2500);  // a look two seconds on finds it answering
  });
  EXPECT_TRUE(desk->windows.isIconic(hung));
  EXPECT_TRUE(desk->windows.isWindowEnabled(hung));
  EXPECT_EQ(styleOf(hung), kAppStyle | platform::WS_MINIMIZE);
  platform::WindowPlacement placement;
  desk->windows.getWindowPlacement(raced, placement);
  EXPECT_TRUE(desk->windows.isIconic(raced));
  EXPECT_EQ(placement.normalPosition, kNormal);
  EXPECT_FALSE(desk->files.exists(kJournal));
}

TEST_F(PreviewTest, APreviewClosedWhileItsWindowHangsPutsItBackOnceItAnswers) {
  const Hwnd target = addAppWindow(*desk, "Busy", "busy.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_TRUE(preview);
    ASSERT_EQ(minimiseAndPoll(target), kOffScreen);
    desk->programs.setHung(target, true);
    desk->advance(6000);
    desk->windows.sendMessage(preview, platform::WM_CLOSE, 0, 0);
    ASSERT_FALSE(desk->windows.isWindow(preview));
    EXPECT_EQ(rectOf(target), kOffScreen);
    desk->programs.setHung(target, false);
    desk->advance(2500);
    EXPECT_TRUE(desk->windows.isIconic(target));
    EXPECT_TRUE(desk->windows.isWindowEnabled(target));
    EXPECT_EQ(styleOf(target), kAppStyle | platform::WS_MINIMIZE);
    EXPECT_FALSE(desk->files.exists(kJournal));
  });
}

// Exit waits once, a few seconds, for windows whose programs are slow; one slower than that is
// left to the next start.
TEST_F(PreviewTest, SlowWindowsAreWaitedForOnceAtExit) {
  const Hwnd target = addAppWindow(*desk, "Slow", "slow.exe", kNormal);
  for (const uint32_t slowMs : {2500u, 6000u}) {
    SCOPED_TRACE(slowMs);
    run(
        [&](Hwnd) {
          detect(1);
          minimiseAndPoll(target);
          // Its program takes that long over the first style change of the exit.
          desk->programs.slowHandler(target, platform::WM_STYLECHANGING, slowMs);
          desk->clock.at(desk->now + 1, [&] {
            desk->programs.slowHandler(target, platform::WM_STYLECHANGING, 0);
          });
        },
        {kExe, "-K527", "-LAYERED"});
    desk->advance(slowMs);
    const bool waitedFor = slowMs < 4000;
    EXPECT_EQ(desk->windows.isWindowEnabled(target), waitedFor);
    EXPECT_EQ(desk->files.exists(kJournal), !waitedFor);
  }
}

// A window whose record cannot be written is not touched: it stays minimised, and says why.
TEST_F(PreviewTest, NoRecordNoChange) {
  const Hwnd target = addAppWindow(*desk, "Doc", "ed.exe", kNormal);
  desk->files.closedFolders.insert(kFolder);
  run([&](Hwnd) {
    detect(1);
    desk->windows.userMinimize(target);
    desk->advance(3000);
    EXPECT_TRUE(desk->windows.isIconic(target));
    EXPECT_TRUE(desk->windows.isWindowEnabled(target));
    EXPECT_TRUE(logged("stays minimised: KeptWindows.ini cannot be written\n"));
  });
  EXPECT_EQ(styleOf(target), kAppStyle | platform::WS_MINIMIZE);
}

// A double-click on a window too busy to be put back whole leaves it held; once it answers it
// comes forward at its own place, and is not hidden again.
TEST_F(PreviewTest, ADoubleClickOnABusyWindowEndsWithTheWindowForward) {
  const Hwnd target = addAppWindow(*desk, "Busy", "busy.exe", kNormal);
  run([&](Hwnd) {
    detect(1);
    const Hwnd preview = previewOf(target);
    ASSERT_EQ(minimiseAndPoll(target), kOffScreen);
    desk->programs.slowHandler(target, platform::WM_STYLECHANGING, 1500);
    desk->windows.sendMessage(preview, platform::WM_LBUTTONDBLCLK, 0, 0);
    desk->programs.slowHandler(target, platform::WM_STYLECHANGING, 0);
    desk->advance(6000);
    EXPECT_FALSE(desk->windows.isIconic(target));
    EXPECT_EQ(rectOf(target), kNormal);
    EXPECT_TRUE(desk->windows.isWindowEnabled(target));
    EXPECT_EQ(styleOf(target), kAppStyle);
  });
}

// However the program ends: the road below is cut between every two calls that reach beyond
// the process (SimDesktop::endProcessAfter); the next start and a clean run must leave each
// window with its own state.
namespace {

struct Own {
  Hwnd window;
  Rect normal;
  uint32_t exStyle = 0;
};

}  // namespace

class CustodyTest : public PreviewTest, public ::testing::WithParamInterface<bool> {
 protected:
  std::vector<std::string> args() const {
    std::vector<std::string> a{kExe, "-K527"};
    if (GetParam()) a.push_back("-LAYERED");
    return a;
  }
  void minimiseAll(const std::vector<Own>& windows) {
    for (const Own& o : windows) desk->windows.userMinimize(o.window);
    desk->advance(700);
  }
  // The first run keeps, fetches back, keeps again and meets a new monitor (another method);
  // the second starts with what the first left, keeps again and exits.
  void road(const std::vector<Own>& windows, uint64_t cut) {
    const Own& plain = windows[0];
    const Own& glass = windows[1];
    run(
        [&](Hwnd) {
          detect(3);
          // Its program makes it layered once it has its preview (a layered window gets none).
          desk->windows.setWindowLong(glass.window, platform::GWL_EXSTYLE, glass.exStyle);
          desk->windows.setLayeredWindowAttributes(glass.window, kGlass.key, kGlass.alpha,
                                                   kGlass.flags);
          desk->endProcessAfter(cut);  // from here on, ours are the only changes
          minimiseAll(windows);
          desk->windows.sendMessage(previewOf(plain.window), platform::WM_LBUTTONDBLCLK, 0, 0);
          desk->advance(700);
          desk->windows.userMinimize(plain.window);
          desk->advance(700);
          desk->displays.monitors.push_back(
              {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, false, "B"});
          desk->displays.displayChanged();
          desk->advance(700);
        },
        args());
    run(
        [&](Hwnd) {
          detect(3);
          minimiseAll(windows);
        },
        args());
  }
};

TEST_P(CustodyTest, EveryWindowEndsWithItsOwnStateWhereverTheProgramIsEnded) {
  uint64_t cut = 0;
  for (bool ended = true; ended; ++cut) {
    SCOPED_TRACE("ended before reaching call " + std::to_string(cut + 1));
    desk = SimDesktop::singleMonitor();
    const std::vector<Own> windows{
        {addAppWindow(*desk, "Plain", "plain.exe", {100, 100, 900, 500}), {100, 100, 900, 500}},
        {addAppWindow(*desk, "Glass", "glass.exe", {1000, 100, 1400, 400}),
         {1000, 100, 1400, 400},
         platform::WS_EX_LAYERED},
        {addClassWindow("chrome.exe", "chrome.exe", "Chrome_WidgetWin_1", {200, 150, 900, 650}),
         {200, 150, 900, 650}}};
    road(windows, cut);
    ended = count("terminated") > 0;
    // The next start, whose own put-back finds the windows not answering: the previews made
    // for them must adopt what the journal says, not read our changes as theirs.
    for (const Own& o : windows) desk->programs.setHung(o.window, true);
    run(
        [&](Hwnd) {
          for (const Own& o : windows) desk->programs.setHung(o.window, false);
          desk->advance(3000);
        },
        args());
    EXPECT_FALSE(desk->files.exists(kJournal));
    for (const Own& o : windows) {
      SCOPED_TRACE(desk->windows.getWindowText(o.window, 64));
      EXPECT_TRUE(desk->windows.isWindowEnabled(o.window));
      EXPECT_EQ(desk->windows.getWindowLong(o.window, platform::GWL_EXSTYLE), o.exStyle);
      EXPECT_EQ(layeredOf(*desk, o.window), o.exStyle != 0 ? std::optional(kGlass) : std::nullopt);
      if (desk->windows.isIconic(o.window)) desk->windows.userRestore(o.window);
      EXPECT_EQ(rectOf(o.window), o.normal);
    }
    if (HasFailure()) break;  // one cut's faults say enough
  }
  EXPECT_GT(cut, 40u) << "the road reached beyond the process too seldom to be a road";
}

INSTANTIATE_TEST_SUITE_P(Methods, CustodyTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Layered" : "OffScreen"; });
