// The previews' roster through its own interface, on a plain host window: no page, no list.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/log_capture.h"
#include "unit/control_page_fixture.h"

using platform::Hwnd;
using platform::Rect;

namespace {

// Counts what the roster tells its observers.
struct Watcher : RosterObserver {
  void rosterChanged() override { ++changes; }
  void exclusionAdded() override { ++exclusions; }
  int changes = 0;
  int exclusions = 0;
};

// Started as the main panel starts it: the grid laid out, the hover key held.
class PreviewRosterTest : public RosterTest {
 protected:
  PreviewRosterTest() {
    roster.addObserver(&watcher);
    EXPECT_TRUE(roster.start());
  }
  ~PreviewRosterTest() override { roster.removeObserver(&watcher); }
  std::optional<uint32_t> timer(uintptr_t id) { return desk->windows.timerPeriod(host.hwnd(), id); }
  Rect previewRect(size_t slot) {
    return support::rectOf(*desk, roster.slots().at(slot).thumbnail->hwnd());
  }

  Watcher watcher;
};

}  // namespace

TEST_F(PreviewRosterTest, AnExcludedWindowsRuleGoesIntoTheOneStore) {
  const WindowEntry first = offer("First");
  const WindowEntry second = offer("Second");
  EXPECT_EQ(watcher.changes, 2);
  // From the preview's own menu, with no page in sight.
  roster.onExclude(second.hwnd);
  EXPECT_FALSE(support::previewOf(*desk, second.hwnd));
  EXPECT_TRUE(support::previewOf(*desk, first.hwnd));
  EXPECT_EQ(watcher.exclusions, 1);
  EXPECT_EQ(watcher.changes, 3);
  ASSERT_EQ(rules.items.size(), 1u);
  EXPECT_EQ(rules.items[0].title, "Second");
  EXPECT_EQ(rules.items[0].pname, "app.exe");
  // Offered again, it is refused by that rule; a window without a preview excludes nothing.
  EXPECT_EQ(roster.entryWindow(second), Admission::Excluded);
  EXPECT_FALSE(roster.exclude(second.hwnd));
  EXPECT_EQ(rules.items.size(), 1u);
  EXPECT_TRUE(roster.takeWindowsNowAllowed().empty());

  // A rule written into the store elsewhere holds at the next offer; one taken out gives the
  // window back once, and only once.
  ASSERT_TRUE(rules.addExclusion("Third", "app.exe"));
  const Hwnd third = support::addAppWindow(*desk, "Third", "app.exe");
  EXPECT_EQ(
      roster.entryWindow({third, desk->windows.getWindowProcessId(third), "Third", "app.exe"}),
      Admission::Excluded);
  rules.items.pop_back();  // the rule for Second
  EXPECT_EQ(roster.takeWindowsNowAllowed(), std::vector<Hwnd>{second.hwnd});
  EXPECT_TRUE(roster.takeWindowsNowAllowed().empty());
  EXPECT_EQ(roster.entryWindow(second), Admission::Admitted);
}

TEST_F(PreviewRosterTest, ThePollAndTheHoverKeyAreTheHostWindows) {
  EXPECT_EQ(desk->input.registeredHotKey(host.hwnd(), PreviewRoster::kHoverHotKey),
            std::make_pair(platform::MOD_WIN, 87u));
  EXPECT_FALSE(timer(PreviewRoster::kPollTimer));
  const WindowEntry window = offer("First");
  EXPECT_EQ(timer(PreviewRoster::kPollTimer), PreviewRoster::kPollPeriod);
  // The last preview gone, the next poll stops the poll.
  roster.removeWindow(window);
  desk->advance(PreviewRoster::kPollPeriod);
  EXPECT_FALSE(timer(PreviewRoster::kPollTimer));
  EXPECT_FALSE(roster.polling());

  // A key chosen that another program holds is refused: the key that worked still works.
  desk->input.hotKeysHeldElsewhere.insert({platform::MOD_CONTROL, 'Q'});
  settings.hvModifiers = platform::MOD_CONTROL;
  settings.hvHotKey = 'Q';
  EXPECT_FALSE(roster.reregisterHoverKey());
  EXPECT_EQ(desk->input.registeredHotKey(host.hwnd(), PreviewRoster::kHoverHotKey),
            std::make_pair(platform::MOD_WIN, 87u));

  // Stopped: the key is free for others and no preview is left.
  offer("Second");
  roster.stop();
  EXPECT_FALSE(desk->input.registeredHotKey(host.hwnd(), PreviewRoster::kHoverHotKey));
  EXPECT_FALSE(timer(PreviewRoster::kPollTimer));
  EXPECT_TRUE(roster.slots().empty());
}

TEST_F(PreviewRosterTest, SwitchingTheEdgeKeepsTheOrder) {
  const WindowEntry first = offer("First");
  const WindowEntry second = offer("Second");
  EXPECT_EQ(previewRect(0), (Rect{20, 10, 180, 130}));
  EXPECT_EQ(previewRect(1), (Rect{20, 130, 180, 250}));
  settings.location = Right;
  roster.arrange();
  EXPECT_EQ(roster.slots().at(0).window.hwnd, first.hwnd);
  EXPECT_EQ(previewRect(0), (Rect{1750, 10, 1910, 130}));
  EXPECT_EQ(roster.slots().at(1).window.hwnd, second.hwnd);
  EXPECT_EQ(previewRect(1), (Rect{1750, 130, 1910, 250}));
  // Lowering the limit closes the previews past it.
  const Hwnd secondPreview = roster.slots().at(1).thumbnail->hwnd();
  settings.limit = 1;
  roster.arrange();
  EXPECT_TRUE(roster.slots().at(0).inUse());
  EXPECT_FALSE(roster.slots().at(1).inUse());
  EXPECT_FALSE(desk->windows.isWindow(secondPreview));
  // An edge outside the table leaves no slot: every preview goes, none can come.
  settings.location = 9;
  roster.arrange();
  EXPECT_TRUE(roster.slots().empty());
  LogCapture log(desk->system);
  const WindowEntry third = offer("Third");
  EXPECT_TRUE(roster.slots().empty());
  // Refused with its reason, logged once however often it is offered until it goes.
  EXPECT_EQ(roster.entryWindow(third), Admission::NoCell);
  const std::string refused = "Entry refused (no free cell) title=Third, handle=";
  EXPECT_EQ(log.text().find(refused), log.text().rfind(refused));
  EXPECT_NE(log.text().find(refused), std::string::npos);
  roster.removeWindow(third);
  roster.entryWindow(third);
  EXPECT_NE(log.text().find(refused), log.text().rfind(refused));
}

TEST_F(PreviewRosterTest, PreviewsLeaveTheKeyboardWithTheUsersWindow) {
  const Hwnd user = support::addAppWindow(*desk, "Report - Editor", "ed.exe");
  desk->windows.activateByUser(user);
  // A window gone before its turn still gets its (blank) preview, shown without activation.
  const Hwnd gone = support::addAppWindow(*desk, "Gone", "gone.exe");
  desk->windows.closeWindow(gone);
  roster.entryWindow({gone, 0, "Gone", "gone.exe"});
  const Cthumbnail* blank = roster.slots().at(0).thumbnail.get();
  EXPECT_EQ(blank->state(), ThumbState::None);
  EXPECT_TRUE(desk->windows.isWindowVisible(blank->hwnd()));
  EXPECT_EQ(desk->windows.foreground(), user);

  // The pointer entering a preview lifts it, framed, above everything; leaving sinks it.
  offer("Live", {1000, 100, 1400, 400});  // off the grid: the pointer reaches the preview
  Cthumbnail* live = roster.slots().at(1).thumbnail.get();
  const Rect over = previewRect(1);
  desk->input.moveCursor({over.left + 5, over.top + 5});
  EXPECT_TRUE(live->pointerIn());
  EXPECT_EQ(desk->windows.enumWindows().front(), live->hwnd());
  EXPECT_EQ(desk->windows.foreground(), user);
  desk->input.moveCursor({over.right + 300, over.bottom + 300});
  desk->advance(250);
  EXPECT_FALSE(live->pointerIn());
  EXPECT_EQ(desk->windows.enumWindows().back(), live->hwnd());
  EXPECT_EQ(desk->windows.foreground(), user);
}

TEST_F(PreviewRosterTest, APreviewGoneWhileItsTargetIsHiddenPutsTheTargetBack) {
  const Rect normal{100, 100, 900, 500};
  auto hiddenPreviewOf = [&](Hwnd target) {
    desk->windows.setIconic(target, true);
    auto preview =
        Cthumbnail::create(Cthumbnail::Ports(context.platform, context.checks), environment,
                           settings, target, "Min", "min.exe", {20, 10, 180, 130}, 153, nullptr);
    EXPECT_TRUE(preview);
    EXPECT_EQ(preview->state(), ThumbState::Hidden);
    EXPECT_FALSE(desk->windows.isIconic(target));
    return preview;
  };
  auto putBack = [&](Hwnd target) {
    return desk->windows.isIconic(target) &&
           (desk->windows.getWindowLong(target, platform::GWL_STYLE) & platform::WS_DISABLED) == 0;
  };
  // Let go by its owner while its window exists: it closes first.
  const Hwnd first = support::addAppWindow(*desk, "Min", "min.exe", normal);
  ui::Owned<Cthumbnail> preview = hiddenPreviewOf(first);
  const Hwnd window = preview->hwnd();
  preview.reset();
  EXPECT_FALSE(desk->windows.isWindow(window));
  EXPECT_TRUE(putBack(first));

  // Closed behind the controller's back (Alt+F4): its slot is freed, its target put back.
  const Hwnd second = support::addAppWindow(*desk, "Min2", "min.exe", normal);
  desk->windows.setIconic(second, true);
  roster.entryWindow({second, desk->windows.getWindowProcessId(second), "Min2", "min.exe"});
  ASSERT_TRUE(roster.slots().at(0).inUse());
  EXPECT_EQ(roster.slots().at(0).thumbnail->state(), ThumbState::Hidden);
  desk->windows.sendMessage(roster.slots().at(0).thumbnail->hwnd(), platform::WM_CLOSE, 0, 0);
  EXPECT_FALSE(roster.slots().at(0).inUse());
  EXPECT_TRUE(putBack(second));
}

TEST_F(PreviewRosterTest, TheRosterMayChangeWhileAPreviewIsMade) {
  // A minimised window is probed while its preview is made; the page is re-arranged during
  // that wait, and the same window is offered again.
  const Hwnd target = support::addAppWindow(*desk, "Minimised", "app.exe", {0, 0, 400, 300});
  desk->windows.setIconic(target, true);
  const WindowEntry entry{target, desk->windows.getWindowProcessId(target), "Minimised", "app.exe"};
  desk->windows.whileSending = [&] {
    settings.location = Right;
    roster.arrange();
    roster.entryWindow(entry);
  };
  roster.entryWindow(entry);
  ASSERT_FALSE(roster.slots().empty());
  EXPECT_EQ(std::count_if(roster.slots().begin(), roster.slots().end(),
                          [](const ThumbnailSlot& s) { return s.inUse(); }),
            1);
  ASSERT_TRUE(roster.slots().at(0).inUse());
  EXPECT_EQ(roster.slots().at(0).window.hwnd, target);
  EXPECT_GE(previewRect(0).left, 1750);  // in the new grid's first cell
}
