#include "dialogs/limit_dlg.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/sim/sim_desktop.h"
#include "res/dialogs.h"

using platform::Hwnd;

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
    page.refreshExclusionList();
    list = desk->dialogs.listView(page.item(res::IDC_LIMIT_LIST));
  }
  std::string field(int32_t id) { return page.itemText(id); }
  platform::LResult colourOf(int32_t id) {
    return desk->windows.sendMessage(page.hwnd(), platform::WM_CTLCOLORSTATIC, 0x55,
                                     page.item(id).value);
  }
  platform::ColorRef brushColour(platform::LResult brush) {
    return desk->drawing.brushColor({static_cast<uint64_t>(brush)}).value_or(0xFFFFFFFF);
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
  ASSERT_TRUE(desk->dialogs.clickListRow(listHandle, 1));
  EXPECT_EQ(field(res::IDC_LIMIT_TITLE_STATE), "タイトル有効");
  EXPECT_EQ(field(res::IDC_LIMIT_PNAME_STATE), "プロセス名無効");
  EXPECT_EQ(field(res::IDC_LIMIT_MATCH_KIND), "部分文字列一致");
  EXPECT_EQ(page.itemText(res::IDC_LIMIT_TPART), "Mail");
  EXPECT_TRUE(desk->windows.isWindowEnabled(page.item(res::IDC_LIMIT_TPART)));
  EXPECT_EQ(brushColour(colourOf(res::IDC_LIMIT_TITLE_STATE)), platform::rgb(0, 255, 0));
  EXPECT_EQ(brushColour(colourOf(res::IDC_LIMIT_PNAME_STATE)), platform::rgb(255, 0, 0));
  EXPECT_EQ(brushColour(colourOf(res::IDC_LIMIT_TPART)), platform::rgb(255, 255, 180));
  EXPECT_EQ(desk->drawing.bkMode({0x55}), platform::TRANSPARENT);

  ExclusionItem titleOff = kWhole;
  titleOff.titleFlag = 0;
  open({titleOff});
  desk->dialogs.clickListRow(page.item(res::IDC_LIMIT_LIST), 0);
  EXPECT_EQ(field(res::IDC_LIMIT_TITLE_STATE), "タイトル無効");
  EXPECT_EQ(field(res::IDC_LIMIT_MATCH_KIND), "フルネーム一致");
  EXPECT_FALSE(desk->windows.isWindowEnabled(page.item(res::IDC_LIMIT_TPART)));
}

TEST_F(LimitPageTest, NewExclusionsGoFirstReachTheStoreAndKeepTheSelection) {
  open({kWhole});
  desk->dialogs.clickListRow(page.item(res::IDC_LIMIT_LIST), 0);
  ASSERT_TRUE(store.addExclusion("Inbox - Mail", "mail.exe"));
  page.rulesAdded();
  EXPECT_FALSE(store.addExclusion("Inbox - Mail", "mail.exe"));
  ASSERT_EQ(store.items.size(), 2u);
  EXPECT_EQ(list->text(0, 1), "Inbox - Mail");
  EXPECT_EQ(list->rows.size(), store.items.size());
  EXPECT_NE(desk->files.readFile(store.filePath)->find("TITLE=Inbox - Mail"), std::string::npos);
  // The mark follows the rule the user chose to row 1, and "条件削除" deletes that rule.
  EXPECT_EQ(list->selectionMark, 1);
  EXPECT_EQ(field(res::IDC_LIMIT_MATCH_KIND), "フルネーム一致");
  EXPECT_FALSE(store.isAllowed("Inbox - Mail", "mail.exe"));
  EXPECT_TRUE(store.isAllowed("Inbox - Mail", "other.exe"));
  desk->ownWindows.messageBoxAnswers.push_back(platform::IDYES);
  desk->dialogs.clickButton(page.hwnd(), res::IDC_LIMIT_DELETE);
  ASSERT_EQ(store.items.size(), 1u);
  EXPECT_EQ(store.items[0].title, "Inbox - Mail");
}

TEST_F(LimitPageTest, ChangeAndDeleteTheMarkedRule) {
  auto& boxes = desk->ownWindows.messageBoxes;
  const auto change = [&](std::function<void(Hwnd)> user) {
    desk->dialogs.modalScripts[res::IDD_LIMIT_SETTING] = std::move(user);
    desk->dialogs.clickButton(page.hwnd(), res::IDC_LIMIT_CHANGE);
  };
  const auto remove = [&](int answer) {
    desk->ownWindows.messageBoxAnswers.push_back(answer);
    desk->dialogs.clickButton(page.hwnd(), res::IDC_LIMIT_DELETE);
  };
  const auto click = [&](Hwnd h, int32_t id) { desk->dialogs.clickButton(h, id); };
  const auto part = [&](Hwnd h) { return desk->dialogs.getDlgItemText(h, res::IDC_LIMIT_TPART); };
  open({kWhole, kPart});
  desk->dialogs.clickButton(page.hwnd(), res::IDC_LIMIT_DELETE);
  EXPECT_EQ(boxes.back().text, "除外条件を一覧で選択してください");

  // Unchecking the whole-title test with no part starts the part from the whole title; with
  // a part there, the part stays. Cancel forgets it all.
  desk->dialogs.clickListRow(page.item(res::IDC_LIMIT_LIST), 0);
  bool shown = false;
  change([&](Hwnd h) {
    shown = desk->windows.getWindowText(h, 256) == "除外条件設定";
    click(h, res::IDC_LIMIT_FULL_NAME_CHECK);
    EXPECT_EQ(part(h), "Doc - Editor");
    desk->dialogs.typeText(h, res::IDC_LIMIT_TPART, "Doc");
    click(h, res::IDC_LIMIT_FULL_NAME_CHECK);
    click(h, res::IDC_LIMIT_FULL_NAME_CHECK);
    EXPECT_EQ(part(h), "Doc");
    click(h, platform::IDCANCEL);
  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(store.items, (std::vector<ExclusionItem>{kWhole, kPart}));
  // OK with both tests off: a rule for every window, in the store and its file at once. A
  // part longer than the file keeps is cut where reading it back would cut it.
  change([&](Hwnd h) {
    click(h, res::IDC_LIMIT_TITLE_CHECK);
    click(h, res::IDC_LIMIT_PNAME_CHECK);
    desk->dialogs.typeText(h, res::IDC_LIMIT_TPART, std::string(258, 'a') + "\x82\xa0");
    click(h, platform::IDOK);
  });
  const ExclusionItem changed{0, 0, "Doc - Editor", "ed.exe", 1, std::string(258, 'a')};
  EXPECT_EQ(store.items, (std::vector<ExclusionItem>{changed, kPart}));
  EXPECT_EQ(list->text(1, 1), "Inbox - Mail");
  EXPECT_EQ(list->text(0, 0), "");
  EXPECT_EQ(field(res::IDC_LIMIT_TITLE_STATE), "タイトル無効");
  EXPECT_FALSE(store.isAllowed("Anything", "any.exe"));
  EXPECT_NE(desk->files.readFile(store.filePath)->find("[ITEM0]\r\nTITLEFLAG=0\r\nPNAMEFLAG=0\r\n"),
            std::string::npos);

  // A file another program holds: the user is told which, and the rule stays in force.
  desk->files.lockedFiles.insert(store.filePath);
  remove(platform::IDYES);
  EXPECT_EQ(boxes.back().text, "除外条件をファイルに保存できませんでした.\nC:\\ExclusionData.ini");
  EXPECT_EQ(boxes.back().owner, page.hwnd());
  EXPECT_EQ(store.items, (std::vector<ExclusionItem>{kPart}));
  desk->files.lockedFiles.clear();
  open({changed, kPart});
  desk->dialogs.clickListRow(page.item(res::IDC_LIMIT_LIST), 0);

  // No keeps the rule; Yes removes it and the mark shows the rule that followed.
  remove(platform::IDNO);
  EXPECT_EQ(boxes.back().text, "除外条件を削除しますか？");
  EXPECT_EQ(boxes.back().type, platform::MB_YESNO);
  remove(platform::IDYES);
  EXPECT_EQ(store.items, (std::vector<ExclusionItem>{kPart}));
  EXPECT_EQ(field(res::IDC_LIMIT_TPART), "Mail");
  // The last rule deleted: nothing marked, the fields empty, and the file holds no rule.
  remove(platform::IDYES);
  EXPECT_TRUE(list->rows.empty());
  EXPECT_EQ(list->selectionMark, -1);
  EXPECT_EQ(field(res::IDC_LIMIT_TITLE_STATE), "");
  EXPECT_EQ(field(res::IDC_LIMIT_TPART), "");
  EXPECT_EQ(desk->files.readFile(store.filePath), "[SYSTEM]\r\nEXCLUSIONNUM=0\r\n");

  // A rule put in front while the dialog is open (a preview's menu excluded its window): the
  // rule the user chose is the one changed.
  open({kWhole});
  desk->dialogs.clickListRow(page.item(res::IDC_LIMIT_LIST), 0);
  change([&](Hwnd h) {
    ASSERT_TRUE(store.addExclusion("New", "new.exe"));
    page.rulesAdded();
    click(h, res::IDC_LIMIT_PNAME_CHECK);
    click(h, platform::IDOK);
  });
  ASSERT_EQ(store.items.size(), 2u);
  EXPECT_EQ(store.items[0].pname, "new.exe");
  EXPECT_EQ(store.items[0].pnameFlag, 1);
  EXPECT_EQ(store.items[1].title, "Doc - Editor");
  EXPECT_EQ(store.items[1].pnameFlag, 0);
}
