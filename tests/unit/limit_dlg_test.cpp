#include "dialogs/limit_dlg.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"
#include "res/dialogs.h"

namespace {

class LimitPageTest : public ::testing::Test {
 protected:
  LimitPageTest()
      : store(desk->platform(), "C:\\ExclusionData.ini"),
        host(desk->platform(), res::winListDialog()),
        page(CLimitDlg::Ports(desk->platform()), store) {
    host.create({});
    host.showWindow(platform::SW_SHOW);
  }
  void open(std::vector<ExclusionItem> rules) {
    store.items = std::move(rules);
    if (!page.isWindow()) {
      ASSERT_TRUE(page.create(host.hwnd()));
      page.showWindow(platform::SW_SHOW);
    }
    page.readExclusionData();
    list = desk->windows.listView(page.item(res::IDC_LIMIT_LIST));
  }
  std::string field(int32_t id) { return page.itemText(id); }
  platform::LResult colourOf(int32_t id) {
    return desk->windows.sendMessage(page.hwnd(), platform::WM_CTLCOLORSTATIC, 0x55,
                                     page.item(id).value);
  }
  platform::ColorRef brushColour(platform::LResult brush) {
    return desk->windows.brushColor({static_cast<uint64_t>(brush)}).value_or(0xFFFFFFFF);
  }

  std::unique_ptr<sim::SimDesktop> desk = sim::SimDesktop::singleMonitor();
  CExclusionData store;
  ui::Dialog host;  // a page lives in a parent dialog
  CLimitDlg page;
  sim::ListViewModel* list = nullptr;
};

const ExclusionItem kWhole{1, 1, "Doc - Editor", "ed.exe", 1, ""};
const ExclusionItem kPart{1, 0, "Inbox - Mail", "mail.exe", 0, "Mail"};

}  // namespace

TEST_F(LimitPageTest, ListShowsOnlyTheTestsThatAreOn) {
  open({kWhole, kPart});
  ASSERT_EQ(list->rows.size(), 2u);
  EXPECT_EQ(list->columns.at(0).heading, "ProcessName");
  EXPECT_EQ(list->columns.at(1).heading, "Title");
  EXPECT_EQ(list->text(0, 0), "ed.exe");
  EXPECT_EQ(list->text(0, 1), "Doc - Editor");
  EXPECT_EQ(list->text(1, 0), "");  // process test off: no name, whatever the rule holds
  EXPECT_EQ(list->text(1, 1), "Inbox - Mail");  // the whole title, also for a part rule
  EXPECT_EQ(field(res::IDC_LIMIT_TITLE_STATE), "");
}

TEST_F(LimitPageTest, AClickShowsTheRulesConditionsInColour) {
  open({kWhole, kPart});
  const platform::Hwnd listHandle = page.item(res::IDC_LIMIT_LIST);
  EXPECT_EQ(brushColour(colourOf(res::IDC_LIMIT_TITLE_STATE)), platform::rgb(255, 255, 180));
  ASSERT_TRUE(desk->windows.clickListRow(listHandle, 1));
  EXPECT_EQ(field(res::IDC_LIMIT_TITLE_STATE), "タイトル有効");
  EXPECT_EQ(field(res::IDC_LIMIT_PNAME_STATE), "プロセス名無効");
  EXPECT_EQ(field(res::IDC_LIMIT_MATCH_KIND), "部分文字列一致");
  EXPECT_EQ(page.itemText(res::IDC_LIMIT_TPART), "Mail");
  EXPECT_TRUE(desk->windows.isWindowEnabled(page.item(res::IDC_LIMIT_TPART)));
  EXPECT_EQ(brushColour(colourOf(res::IDC_LIMIT_TITLE_STATE)), platform::rgb(0, 255, 0));
  EXPECT_EQ(brushColour(colourOf(res::IDC_LIMIT_PNAME_STATE)), platform::rgb(255, 0, 0));
  EXPECT_EQ(brushColour(colourOf(res::IDC_LIMIT_TPART)), platform::rgb(255, 255, 180));
  EXPECT_EQ(desk->windows.bkMode({0x55}), platform::TRANSPARENT);

  ExclusionItem titleOff = kWhole;
  titleOff.titleFlag = 0;
  open({titleOff});
  desk->windows.clickListRow(page.item(res::IDC_LIMIT_LIST), 0);
  EXPECT_EQ(field(res::IDC_LIMIT_TITLE_STATE), "タイトル無効");
  EXPECT_EQ(field(res::IDC_LIMIT_MATCH_KIND), "フルネーム一致");
  EXPECT_FALSE(desk->windows.isWindowEnabled(page.item(res::IDC_LIMIT_TPART)));
}

TEST_F(LimitPageTest, NewExclusionsGoFirstReachTheStoreAndKeepTheSelection) {
  open({kWhole});
  desk->windows.clickListRow(page.item(res::IDC_LIMIT_LIST), 0);
  page.addExclusion("Inbox - Mail", "mail.exe");
  page.addExclusion("Inbox - Mail", "mail.exe");
  ASSERT_EQ(page.rules().size(), 2u);
  EXPECT_EQ(list->text(0, 1), "Inbox - Mail");
  EXPECT_EQ(store.items, page.rules());
  // The mark stays on row 0, which now shows the new rule.
  EXPECT_EQ(list->selectionMark, 0);
  EXPECT_EQ(field(res::IDC_LIMIT_MATCH_KIND), "フルネーム一致");
  EXPECT_FALSE(page.isAllowed("Inbox - Mail", "mail.exe"));
  EXPECT_TRUE(page.isAllowed("Inbox - Mail", "other.exe"));
}
