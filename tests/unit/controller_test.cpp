// The control page over the roster, without the main panel around it.
#include <gtest/gtest.h>

#include <algorithm>

#include "unit/control_page_fixture.h"

using platform::Hwnd;

namespace {

class ControllerTest : public ControlPageTest {
 protected:
  platform::ColorRef brushOf(int32_t id, platform::DeviceContext dc = {0x44}) {
    const platform::LResult brush = desk->windows.sendMessage(
        page.hwnd(), platform::WM_CTLCOLORSTATIC, dc.value, page.item(id).value);
    return desk->drawing.brushColor({static_cast<uint64_t>(brush)}).value_or(0xFFFFFFFF);
  }
};

}  // namespace

TEST_F(ControllerTest, ListRowsCarryTheExecutablesIcon) {
  offer("First");
  const sim::ListViewModel* list = desk->dialogs.listView(page.item(res::IDC_THUMB_LIST));
  ASSERT_EQ(list->rows.size(), 1u);
  EXPECT_EQ(list->rows[0].image, 0);
  EXPECT_EQ(list->imageLists.count(platform::LVSIL_SMALL), 1u);

  // An icon the image list refuses leaves its row without one, and later refreshes of the
  // list do not extract it again.
  desk->icons.failImageListAdds = 1;
  const Hwnd other = support::addAppWindow(*desk, "Other", "other.exe");
  roster.entryWindow({other, desk->windows.getWindowProcessId(other), "Other", "other.exe"});
  offer("Third");
  ASSERT_EQ(list->rows.size(), 3u);
  // Each row keeps its window; the handle column is only shown.
  EXPECT_EQ(page.rowWindow(1), other);
  EXPECT_FALSE(page.rowWindow(3));
  EXPECT_LT(list->rows[1].image, 0);
  EXPECT_EQ(list->rows[2].image, 0);
  EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "file icon C:\\Apps\\other.exe"),
            1);
  // Each window's image path was read once, when it got its preview, not at every refresh.
  EXPECT_EQ(desk->programs.imagePathQueries, 3u);
}

TEST_F(ControllerTest, ValuesOnYellowLabelsInBlueOnGrey) {
  EXPECT_EQ(brushOf(res::IDC_LOCATION_TEXT), platform::rgb(255, 255, 180));
  EXPECT_EQ(brushOf(res::IDC_STATUS_CODE), platform::rgb(255, 255, 180));
  EXPECT_EQ(brushOf(res::IDC_MARGIN_LABEL, {0x45}), platform::rgb(230, 230, 230));
  EXPECT_EQ(desk->drawing.textColor({0x45}), platform::rgb(0, 0, 255));
  EXPECT_EQ(brushOf(res::IDC_LIST_TITLE), platform::rgb(230, 230, 230));
  EXPECT_EQ(desk->drawing.bkMode({0x44}), platform::TRANSPARENT);
  const platform::LResult dialog =
      desk->windows.sendMessage(page.hwnd(), platform::WM_CTLCOLORDLG, 0x46, 0);
  EXPECT_EQ(desk->drawing.brushColor({static_cast<uint64_t>(dialog)}),
            platform::rgb(230, 230, 230));
}
