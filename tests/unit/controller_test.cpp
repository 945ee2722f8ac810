// The controller on its own page, without the main panel around it.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/log_capture.h"
#include "unit/control_page_fixture.h"

using platform::Hwnd;
using platform::Rect;

namespace {

class ControllerTest : public ControlPageTest {
 protected:
  Rect previewRect(size_t slot) {
    Rect r;
    desk->windows.getWindowRect(roster.slots().at(slot).thumbnail->hwnd(), r);
    return r;
  }
  platform::ColorRef brushOf(int32_t id, platform::DeviceContext dc = {0x44}) {
    const platform::LResult brush = desk->windows.sendMessage(
        page.hwnd(), platform::WM_CTLCOLORSTATIC, dc.value, page.item(id).value);
    return desk->windows.brushColor({static_cast<uint64_t>(brush)}).value_or(0xFFFFFFFF);
  }
};

}  // namespace

TEST_F(ControllerTest, SwitchingTheEdgeKeepsTheOrder) {
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
  LogCapture log(*desk);
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

TEST_F(ControllerTest, ListRowsCarryTheExecutablesIcon) {
  offer("First");
  const sim::ListViewModel* list = desk->windows.listView(page.item(res::IDC_THUMB_LIST));
  ASSERT_EQ(list->rows.size(), 1u);
  EXPECT_EQ(list->rows[0].image, 0);
  EXPECT_EQ(list->imageLists.count(platform::LVSIL_SMALL), 1u);

  // An icon the image list refuses leaves its row without one, and later refreshes of the
  // list do not extract it again.
  desk->windows.failImageListAdds = 1;
  const Hwnd other = support::addAppWindow(*desk, "Other", "other.exe");
  roster.entryWindow({other, desk->windows.getWindowProcessId(other), "Other", "other.exe"});
  offer("Third");
  ASSERT_EQ(list->rows.size(), 3u);
  EXPECT_LT(list->rows[1].image, 0);
  EXPECT_EQ(list->rows[2].image, 0);
  EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "file icon C:\\Apps\\other.exe"),
            1);
  // Each window's image path was read once, when it got its preview, not at every refresh.
  EXPECT_EQ(desk->windows.imagePathQueries, 3u);
}

TEST_F(ControllerTest, ValuesOnYellowLabelsInBlueOnGrey) {
  EXPECT_EQ(brushOf(res::IDC_LOCATION_TEXT), platform::rgb(255, 255, 180));
  EXPECT_EQ(brushOf(res::IDC_STATUS_CODE), platform::rgb(255, 255, 180));
  EXPECT_EQ(brushOf(res::IDC_MARGIN_LABEL, {0x45}), platform::rgb(230, 230, 230));
  EXPECT_EQ(desk->windows.textColor({0x45}), platform::rgb(0, 0, 255));
  EXPECT_EQ(brushOf(res::IDC_LIST_TITLE), platform::rgb(230, 230, 230));
  EXPECT_EQ(desk->windows.bkMode({0x44}), platform::TRANSPARENT);
  const platform::LResult dialog =
      desk->windows.sendMessage(page.hwnd(), platform::WM_CTLCOLORDLG, 0x46, 0);
  EXPECT_EQ(desk->windows.brushColor({static_cast<uint64_t>(dialog)}), platform::rgb(230, 230, 230));
}

TEST_F(ControllerTest, PreviewsLeaveTheKeyboardWithTheUsersWindow) {
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
  offer("Live");
  Cthumbnail* live = roster.slots().at(1).thumbnail.get();
  live->mouseIn = true;
  live->applyZOrder();
  EXPECT_EQ(desk->windows.enumWindows().front(), live->hwnd());
  EXPECT_EQ(desk->windows.foreground(), user);
  live->mouseIn = false;
  live->applyZOrder();
  EXPECT_EQ(desk->windows.enumWindows().back(), live->hwnd());
  EXPECT_EQ(desk->windows.foreground(), user);
}

TEST_F(ControllerTest, APreviewGoneWhileItsTargetIsHiddenPutsTheTargetBack) {
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

TEST_F(ControllerTest, TheRosterMayChangeWhileAPreviewIsMade) {
  // A minimised window is probed while its preview is made; the page is re-arranged during
  // that wait, and the same window is offered again.
  sim::ForeignWindow minimised;
  minimised.processId = desk->windows.addProcess("app.exe", "C:\\Apps\\app.exe");
  minimised.title = "Minimised";
  minimised.rect = {0, 0, 400, 300};
  minimised.iconic = true;
  const Hwnd target = desk->windows.addWindow(minimised);
  const WindowEntry entry{target, minimised.processId, "Minimised", "app.exe"};
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
