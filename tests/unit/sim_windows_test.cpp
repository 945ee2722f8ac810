// What only the fakes' test API drives or reads: facts a test sets on other programs'
// windows, handle reuse, recorded messages and actions, the virtual clock's exact timers,
// modal scripts, clicks, list view models, menu answers and brushes. What Windows does and
// Wine can show is pinned by the port contract (tests/port) on both desktops instead.
#include "platform/sim/sim_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_drawing.h"
#include "platform/sim/sim_icons.h"
#include "platform/sim/sim_input.h"
#include "platform/sim/sim_own_windows.h"
#include "platform/sim/sim_programs.h"
#include "port/window_log.h"
#include "support/logged.h"

namespace {

using namespace platform;
using port_test::WindowLog;
using sim::ForeignWindow;
using sim::ReceivedMessage;
using sim::SimWindows;

constexpr int32_t kList = 1001;
constexpr int32_t kLink = 1002;
constexpr int32_t kCheck = 1003;
constexpr int32_t kStatic = 1004;
constexpr int32_t kOpenInner = 1005;

DialogTemplate mainTemplate(uint32_t extraStyle = WS_VISIBLE) {
  return {100,
          "Main",
          10,
          20,
          200,
          100,
          WS_POPUP | WS_CAPTION | WS_SYSMENU | extraStyle,
          0,
          "MS Shell Dlg",
          9,
          {{ControlClass::Button, IDOK, "OK", 5, 5, 50, 14, BS_DEFPUSHBUTTON},
           {ControlClass::Button, IDCANCEL, "Cancel", 60, 5, 50, 14, BS_PUSHBUTTON},
           {ControlClass::ListView, kList, "", 5, 25, 190, 60, LVS_REPORT | LVS_SINGLESEL},
           {ControlClass::Link, kLink, "<a>site</a>", 5, 88, 60, 10, 0},
           {ControlClass::Button, kCheck, "Check", 120, 5, 60, 14, BS_AUTOCHECKBOX},
           {ControlClass::Static, kStatic, "text", 120, 88, 60, 10, SS_LEFT},
           {ControlClass::Button, kOpenInner, "More", 120, 25, 60, 14, BS_PUSHBUTTON}}};
}

DialogTemplate pageTemplate() {
  return {200,
          "",
          4,
          6,
          100,
          40,
          WS_CHILD | WS_VISIBLE | DS_CONTROL,
          0,
          "MS Shell Dlg",
          9,
          {{ControlClass::Static, kStatic, "page", 0, 0, 40, 10, SS_LEFT}}};
}

class SimWindowsTest : public ::testing::Test {
 protected:
  sim::SimClock clock;
  uint32_t& now = clock.now;
  std::vector<std::string>& actions = clock.actions;
  SimWindows wm{clock};
  sim::SimPrograms programs{wm};
  sim::SimIcons icons{wm};
  sim::SimDialogs dialogs{wm, icons};
  sim::SimOwnWindows own{wm};
  sim::SimInput input{wm, dialogs};
  sim::SimDrawing drawing{wm};

  ForeignWindow foreign(const char* title, Rect rect = {100, 100, 500, 400}) {
    ForeignWindow w;
    w.processId = 0x2222;
    w.title = title;
    w.rect = rect;
    return w;
  }
  static std::string name(Hwnd window) {
    char text[16];
    snprintf(text, sizeof text, "h%x", window.value);
    return text;
  }
};

// --- Other programs' windows ---------------------------------------------------------------

TEST_F(SimWindowsTest, ATopmostStyleSetByATestMovesIntoTheBand) {
  const Hwnd a = wm.addWindow(foreign("a"));
  const Hwnd c = wm.addWindow(foreign("c"));
  EXPECT_EQ(wm.enumWindows(), (std::vector<Hwnd>{c, a}));
  wm.setExStyle(a, WS_EX_TOPMOST);
  EXPECT_EQ(wm.enumWindows(), (std::vector<Hwnd>{a, c}));
}

TEST_F(SimWindowsTest, HandlesAreNeverReusedUnlessATestAsks) {
  const Hwnd first = wm.addWindow(foreign("first"));
  drawing.deleteBitmap(drawing.printWindowPart(first, {0, 0, 10, 10}, {10, 10}, 0));
  programs.setHung(first, true);
  wm.postMessage(first, WM_CLOSE, 0, 0);
  wm.closeWindow(first);
  EXPECT_FALSE(wm.isWindow(first));
  EXPECT_TRUE(wm.enumWindows().empty());
  const Hwnd second = wm.addWindow(foreign("second"));
  EXPECT_NE(second, first);
  EXPECT_NE(second, SimWindows::kDesktop);

  EXPECT_EQ(wm.addWindowWithHandle(first, foreign("again")), first);
  EXPECT_EQ(wm.getWindowText(first, 256), "again");
  // What the fakes kept of the gone window is not the new one's.
  now += 6000;
  EXPECT_FALSE(wm.isHungAppWindow(first));
  EXPECT_TRUE(wm.received(first).empty());
  EXPECT_EQ(drawing.printsOf(first), 0u);
  EXPECT_THROW(wm.addWindowWithHandle(second, foreign("clash")), std::invalid_argument);
  EXPECT_NE(wm.addWindow(foreign("third")), first);
}

TEST_F(SimWindowsTest, ForeignWindowFacts) {
  wm.workArea = {0, 40, 1920, 1080};  // task bar at the top
  ForeignWindow w = foreign("Calculator", {100, 100, 500, 400});
  w.style |= WS_DISABLED;
  const Hwnd h = wm.addWindow(w);

  EXPECT_EQ(wm.getWindowText(h, 5), "Calc");  // room for 4 bytes and the terminator
  EXPECT_EQ(wm.getWindowText(h, 1), "");
  EXPECT_EQ(wm.getWindowText(h, 0), "");
  EXPECT_EQ(wm.getWindowProcessId(h), 0x2222u);
  EXPECT_FALSE(wm.isWindowEnabled(h));

  Rect client;
  ASSERT_TRUE(wm.getClientRect(h, client));
  EXPECT_EQ(client, (Rect{0, 0, 394, 271}));  // 3 px borders, 23 px caption

  // The normal rectangle is in workspace coordinates.
  WindowPlacement placement;
  ASSERT_TRUE(wm.getWindowPlacement(h, placement));
  EXPECT_EQ(placement.showCmd, static_cast<uint32_t>(SW_SHOWNORMAL));
  EXPECT_EQ(placement.normalPosition, (Rect{100, 60, 500, 360}));

  wm.setRect(h, {-32000, -32000, -31840, -31972});
  wm.setIconic(h, true);
  wm.setNormalRect(h, {10, 10, 210, 110});
  ASSERT_TRUE(wm.getWindowPlacement(h, placement));
  EXPECT_EQ(placement.showCmd, static_cast<uint32_t>(SW_SHOWMINIMIZED));
  EXPECT_EQ(placement.normalPosition, (Rect{10, 10, 210, 110}));
  EXPECT_NE(wm.getWindowLong(h, GWL_STYLE) & WS_MINIMIZE, 0u);
  ASSERT_TRUE(wm.getClientRect(h, client));
  EXPECT_EQ(client, Rect{});

  // The program restoring it puts it back where the placement says, on the screen.
  wm.showWindow(h, SW_RESTORE);
  EXPECT_FALSE(wm.isIconic(h));
  Rect rect;
  wm.getWindowRect(h, rect);
  EXPECT_EQ(rect, (Rect{10, 50, 210, 150}));

  WindowPlacement wrongLength;
  wrongLength.length = 0;
  EXPECT_FALSE(wm.getWindowPlacement(h, wrongLength));
}

TEST_F(SimWindowsTest, MessagesToOtherProgramsAreRecordedAndAnsweredZero) {
  const Hwnd h = wm.addWindow(foreign("other"));
  EXPECT_EQ(wm.sendMessage(h, WM_CLOSE, 0, 0), 0);
  EXPECT_TRUE(wm.postMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 7));
  EXPECT_EQ(wm.received(h),
            (std::vector<ReceivedMessage>{{WM_CLOSE, 0, 0, false, 0},
                                          {WM_SYSCOMMAND, SC_MINIMIZE, 7, true, 0}}));
  // Plain data: nothing acted on them.
  EXPECT_TRUE(wm.isWindow(h));
  EXPECT_FALSE(wm.isIconic(h));
  EXPECT_FALSE(own.destroyWindow(h));
  wm.closeWindow(h);
  EXPECT_FALSE(wm.postMessage(h, WM_NULL, 0, 0));
  EXPECT_EQ(wm.received(h).size(), 2u);  // still readable once gone
}

TEST_F(SimWindowsTest, ProcessesAnswerEmptyWhenTheyCannotBeOpened) {
  const uint32_t editor = programs.addProcess("editor.exe", "C:\\Apps\\editor.exe");
  const uint32_t service = programs.addProcess("svc.exe", "C:\\Windows\\svc.exe", false);
  EXPECT_NE(editor, service);
  EXPECT_EQ(programs.baseName(editor), "editor.exe");
  EXPECT_EQ(programs.imagePath(editor), "C:\\Apps\\editor.exe");
  EXPECT_EQ(programs.baseName(service), "");
  EXPECT_EQ(programs.imagePath(service), "");
  EXPECT_EQ(programs.baseName(0x7777), "");
  EXPECT_EQ(programs.baseName(wm.ownProcessId), "ZENTA.exe");
}

// --- Creating the program's dialogs --------------------------------------------------------

// A dialog unit is 1.5 px here, whatever the font; a test finds a dialog by its template.
TEST_F(SimWindowsTest, DialogUnitsAreOneAndAHalfPixels) {
  WindowLog plain(own);
  const Hwnd dlg = dialogs.createDialog(mainTemplate(0), {}, &plain);
  EXPECT_EQ(dialogs.findDialog(100), dlg);
  wm.showWindow(dlg, SW_SHOW);
  EXPECT_TRUE(support::logged(actions, "show " + name(dlg) + " 5"));
  Rect rect, client;
  wm.getWindowRect(dlg, rect);
  wm.getClientRect(dlg, client);
  EXPECT_EQ(rect, (Rect{12, 4, 318, 183}));
  EXPECT_EQ(client, (Rect{0, 0, 300, 150}));
  wm.getWindowRect(dialogs.getDlgItem(dlg, IDOK), rect);
  EXPECT_EQ(rect, (Rect{22, 37, 97, 58}));
  // The program makes no page inside another program's window.
  WindowLog page(own);
  EXPECT_FALSE(dialogs.createDialog(pageTemplate(), wm.addWindow(foreign("x")), &page));
}

// --- Timers --------------------------------------------------------------------------------

TEST_F(SimWindowsTest, TimersFireAtTheirTimesInOrder) {
  WindowLog main(own);
  std::vector<std::string> ticks;
  main.on = [&](Hwnd, uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
    if (message == WM_TIMER) ticks.push_back(std::to_string(wParam) + "@" + std::to_string(now));
    return std::nullopt;
  };
  const Hwnd dlg = dialogs.createDialog(mainTemplate(), {}, &main);
  now = 1000;
  wm.setTimer(dlg, 1, 200);
  wm.setTimer(dlg, 2, 500);

  wm.advance(450);
  EXPECT_EQ(ticks, (std::vector<std::string>{"1@1200", "1@1400"}));
  EXPECT_EQ(now, 1450u);

  ticks.clear();
  wm.advance(550);  // both due at 2000: the one set first goes first
  EXPECT_EQ(ticks, (std::vector<std::string>{"2@1500", "1@1600", "1@1800", "1@2000", "2@2000"}));
  EXPECT_EQ(now, 2000u);

  // Re-setting restarts the period from now; killing stops it.
  wm.setTimer(dlg, 2, 300);
  wm.killTimer(dlg, 1);
  ticks.clear();
  wm.advance(700);
  EXPECT_EQ(ticks, (std::vector<std::string>{"2@2300", "2@2600"}));
  EXPECT_FALSE(wm.killTimer(dlg, 1));
}

TEST_F(SimWindowsTest, TimersSurviveTheTickCountWrapping) {
  WindowLog main(own);
  std::vector<uint32_t> ticks;
  main.on = [&](Hwnd, uint32_t message, WParam, LParam) -> std::optional<LResult> {
    if (message == WM_TIMER) ticks.push_back(now);
    return std::nullopt;
  };
  now = 0xFFFFFF00u;
  const Hwnd dlg = dialogs.createDialog(mainTemplate(), {}, &main);
  wm.setTimer(dlg, 1, 0x180);
  wm.advance(0x400);
  EXPECT_EQ(ticks, (std::vector<uint32_t>{0x80u, 0x200u}));
  EXPECT_EQ(now, 0x300u);
}

// --- Modal dialogs -------------------------------------------------------------------------

TEST_F(SimWindowsTest, ModalScriptDrivesTheDialogToItsEnd) {
  WindowLog main(own), box(own);
  const Hwnd owner = dialogs.createDialog(mainTemplate(), {}, &main);
  box.on = [&](Hwnd h, uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
    if (message == WM_COMMAND && (wParam & 0xFFFF) == static_cast<WParam>(IDOK)) {
      dialogs.endDialog(h, 42);
      return 0;
    }
    return std::nullopt;
  };
  DialogTemplate boxTemplate = mainTemplate(0);
  boxTemplate.id = 500;
  dialogs.modalScripts[500] = [&](Hwnd dlg) {
    EXPECT_FALSE(dialogs.clickButton(owner, IDOK));  // the owner takes no input meanwhile
    wm.advance(3000);
    EXPECT_TRUE(dialogs.clickButton(dlg, IDOK));
  };
  EXPECT_EQ(dialogs.runModalDialog(boxTemplate, owner, &box), 42);
  EXPECT_EQ(now, 3000u);
  EXPECT_TRUE(support::logged(actions, "modal 500 begin"));
  EXPECT_TRUE(support::logged(actions, "modal 500 end 42"));
  EXPECT_FALSE(support::logged(actions, "modal 500 left open"));
}

TEST_F(SimWindowsTest, UnscriptedModalIsCancelledOrReportedLeftOpen) {
  WindowLog box(own);
  box.on = [&](Hwnd h, uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
    if (message == WM_COMMAND && wParam == static_cast<WParam>(IDCANCEL)) {
      dialogs.endDialog(h, IDCANCEL);
      return 0;
    }
    return std::nullopt;
  };
  EXPECT_EQ(dialogs.runModalDialog(mainTemplate(), {}, &box), IDCANCEL);
  EXPECT_FALSE(support::logged(actions, "modal 100 left open"));

  WindowLog stubborn(own);  // ignores Cancel
  EXPECT_EQ(dialogs.runModalDialog(mainTemplate(), {}, &stubborn), -1);
  EXPECT_TRUE(support::logged(actions, "modal 100 left open"));
  EXPECT_EQ(stubborn.log.back().message, WM_NCDESTROY);

  // The fallback script is told which template it got.
  std::vector<int32_t> ids;
  dialogs.anyModal = [&](int32_t id, Hwnd dlg) {
    ids.push_back(id);
    dialogs.endDialog(dlg, 9);
  };
  EXPECT_EQ(dialogs.runModalDialog(mainTemplate(), {}, &stubborn), 9);
  EXPECT_EQ(ids, std::vector<int32_t>{100});
}

TEST_F(SimWindowsTest, NestedModalDialogs) {
  DialogTemplate outerTemplate = mainTemplate();
  outerTemplate.id = 600;
  DialogTemplate innerTemplate = mainTemplate();
  innerTemplate.id = 601;

  WindowLog outer(own), inner(own);
  outer.on = [&](Hwnd h, uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
    if (message == WM_COMMAND && (wParam & 0xFFFF) == static_cast<WParam>(kOpenInner)) {
      const intptr_t answer = dialogs.runModalDialog(innerTemplate, h, &inner);
      dialogs.endDialog(h, answer + 100);
      return 0;
    }
    return std::nullopt;
  };
  inner.on = [&](Hwnd h, uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
    if (message == WM_COMMAND && (wParam & 0xFFFF) == static_cast<WParam>(IDOK)) {
      dialogs.endDialog(h, 7);
      return 0;
    }
    return std::nullopt;
  };
  dialogs.modalScripts[600] = [&](Hwnd dlg) { dialogs.clickButton(dlg, kOpenInner); };
  dialogs.modalScripts[601] = [&](Hwnd dlg) {
    EXPECT_FALSE(wm.isWindowEnabled(dialogs.findDialog(600)));
    dialogs.clickButton(dlg, IDOK);
  };
  actions.clear();
  EXPECT_EQ(dialogs.runModalDialog(outerTemplate, {}, &outer), 107);
  std::vector<std::string> modal;
  std::copy_if(actions.begin(), actions.end(), std::back_inserter(modal),
               [](const std::string& a) { return a.rfind("modal", 0) == 0; });
  EXPECT_EQ(modal, (std::vector<std::string>{"modal 600 begin", "modal 601 begin",
                                             "modal 601 end 7", "modal 600 end 107"}));
  EXPECT_FALSE(dialogs.findDialog(600));
  EXPECT_FALSE(dialogs.findDialog(601));
}

// --- Controls ------------------------------------------------------------------------------

TEST_F(SimWindowsTest, ClickingButtonsAndLinks) {
  WindowLog main(own);
  uint32_t checkedDuringCommand = 99;
  main.on = [&](Hwnd h, uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
    if (message == WM_COMMAND && (wParam & 0xFFFF) == static_cast<WParam>(kCheck)) {
      checkedDuringCommand =
          static_cast<uint32_t>(wm.sendMessage(dialogs.getDlgItem(h, kCheck), 0x00F0, 0, 0));
    }
    return std::nullopt;
  };
  const Hwnd dlg = dialogs.createDialog(mainTemplate(), {}, &main);
  const Hwnd ok = dialogs.getDlgItem(dlg, IDOK);
  main.log.clear();

  ASSERT_TRUE(dialogs.clickButton(dlg, IDOK));
  ASSERT_EQ(main.count(WM_COMMAND), 1u);
  EXPECT_EQ(main.last(WM_COMMAND)->wParam, static_cast<WParam>(IDOK) | (WParam{BN_CLICKED} << 16));
  EXPECT_EQ(main.last(WM_COMMAND)->lParam, static_cast<LParam>(ok.value));

  // An auto check box is toggled before its parent hears of it.
  ASSERT_TRUE(dialogs.clickButton(dlg, kCheck));
  EXPECT_EQ(checkedDuringCommand, 1u);
  EXPECT_EQ(dialogs.control(dialogs.getDlgItem(dlg, kCheck))->checked, 1u);

  ASSERT_TRUE(dialogs.clickLink(dlg, kLink));
  ASSERT_EQ(main.last(WM_NOTIFY)->wParam, static_cast<WParam>(kLink));

  // Disabled or hidden controls, or a disabled dialog, take no clicks.
  main.log.clear();
  wm.enableWindow(ok, false);
  EXPECT_FALSE(dialogs.clickButton(dlg, IDOK));
  wm.enableWindow(ok, true);
  wm.enableWindow(dlg, false);
  EXPECT_FALSE(dialogs.clickButton(dlg, IDOK));
  wm.enableWindow(dlg, true);
  EXPECT_FALSE(dialogs.clickButton(dlg, kStatic));  // not a button
  wm.showWindow(dlg, SW_HIDE);
  EXPECT_FALSE(dialogs.clickButton(dlg, IDOK));
  EXPECT_EQ(main.count(WM_COMMAND), 0u);
}

// What the list view's model keeps beside what the port reads back.
TEST_F(SimWindowsTest, ListViewModelKeepsColumnsImagesAndTheSelectedRow) {
  WindowLog plain(own);
  const Hwnd dlg = dialogs.createDialog(mainTemplate(), {}, &plain);
  const Hwnd list = dialogs.getDlgItem(dlg, kList);
  sim::ListViewModel* model = dialogs.listView(list);
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(dialogs.listView(dialogs.getDlgItem(dlg, IDOK)), nullptr);
  dialogs.listViewInsertColumn(list, 0, "Title", 200);
  dialogs.listViewInsertColumn(list, 1, "Program", 120);
  EXPECT_EQ(model->columns[1].heading, "Program");
  dialogs.listViewInsertItem(list, 0, "first", 3);
  dialogs.listViewInsertItem(list, 1, "last", 0);
  dialogs.listViewSetItemText(list, 1, 1, "b.exe");
  dialogs.listViewSetItemText(list, 1, 2, "lost");  // no such column: not kept
  EXPECT_EQ(model->rows[1].cells.size(), 2u);
  EXPECT_EQ(model->rows[0].image, 3);
  dialogs.listViewSelectRow(list, 1);
  EXPECT_EQ(model->hotItem, 1);
  EXPECT_EQ(model->ensuredVisible, 1);
  dialogs.listViewSelectRow(list, 0);  // single selection: the other row lets go
  EXPECT_EQ(model->selectedRow(), 0);
  EXPECT_FALSE(model->rows[1].selected);
}

TEST_F(SimWindowsTest, ListRedrawIsCountedAndRowClicksNotifyTheDialog) {
  WindowLog main(own);
  int32_t markAtClick = -2;
  NotifyHeader header;
  main.on = [&](Hwnd h, uint32_t message, WParam, LParam lParam) -> std::optional<LResult> {
    if (message == WM_NOTIFY) {
      header = *reinterpret_cast<const NotifyHeader*>(lParam);
      markAtClick = dialogs.listViewGetSelectionMark(dialogs.getDlgItem(h, kList));
    }
    return std::nullopt;
  };
  const Hwnd dlg = dialogs.createDialog(mainTemplate(), {}, &main);
  const Hwnd list = dialogs.getDlgItem(dlg, kList);
  for (int scan = 0; scan < 2; ++scan) {
    wm.sendMessage(list, WM_SETREDRAW, 0, 0);
    dialogs.listViewDeleteAllItems(list);
    dialogs.listViewInsertItem(list, 0, "a", 0);
    dialogs.listViewInsertItem(list, 1, "b", 0);
    EXPECT_FALSE(dialogs.listView(list)->redraw);
    wm.sendMessage(list, WM_SETREDRAW, 1, 0);
  }
  EXPECT_EQ(dialogs.listView(list)->redrawCount, 2);
  EXPECT_TRUE(dialogs.listView(list)->redraw);

  EXPECT_TRUE(dialogs.clickListRow(list, 1));
  EXPECT_EQ(markAtClick, 1);
  EXPECT_EQ(header.from, list);
  EXPECT_EQ(header.idFrom, static_cast<uint64_t>(kList));
  EXPECT_EQ(header.code, NM_CLICK);
  EXPECT_FALSE(dialogs.clickListRow(list, 2));  // below the last row
}

// --- Menus, GDI ----------------------------------------------------------------------------

TEST_F(SimWindowsTest, PopupMenuAnswerArrivesOnTheNextPump) {
  WindowLog main(own);
  const Hwnd dlg = dialogs.createDialog(mainTemplate(), {}, &main);
  const MenuTemplate menu{10, "tray", {{40001, "Show"}, {0, nullptr}, {40002, "Exit"}}};

  own.menuAnswers = {40002, 0, 40003};
  main.log.clear();
  EXPECT_TRUE(own.trackPopupMenu(menu, 0, {300, 400}, dlg));
  EXPECT_TRUE(support::logged(actions, "menu tray at 300,400"));
  EXPECT_EQ(main.count(WM_COMMAND), 0u);
  wm.pumpMessages();
  ASSERT_EQ(main.count(WM_COMMAND), 1u);
  EXPECT_EQ(main.last(WM_COMMAND)->wParam, 40002u);

  EXPECT_FALSE(own.trackPopupMenu(menu, 0, {0, 0}, dlg));  // dismissed
  EXPECT_FALSE(own.trackPopupMenu(menu, 0, {0, 0}, dlg));  // the test asked for a missing item
  EXPECT_TRUE(support::logged(actions, "menu tray has no item 40003"));
  EXPECT_FALSE(own.trackPopupMenu(menu, 0, {0, 0}, dlg));  // no answers left
  wm.pumpMessages();
  EXPECT_EQ(main.count(WM_COMMAND), 1u);
}

TEST_F(SimWindowsTest, SystemMenuKeepsWhatIsAppended) {
  WindowLog plain(own);
  const Hwnd dlg = dialogs.createDialog(mainTemplate(), {}, &plain);
  EXPECT_TRUE(own.appendSystemMenu(dlg, MF_SEPARATOR, 0, ""));
  EXPECT_TRUE(own.appendSystemMenu(dlg, MF_STRING, 0x110, "About"));
  ASSERT_EQ(own.systemMenu(dlg).size(), 2u);
  EXPECT_EQ(own.systemMenu(dlg)[1].id, 0x110u);
  EXPECT_EQ(own.systemMenu(dlg)[1].text, "About");
}

TEST_F(SimWindowsTest, BrushesAreTrackedUntilDeleted) {
  const BrushHandle red = drawing.createSolidBrush(rgb(255, 0, 0));
  const BrushHandle blue = drawing.createSolidBrush(rgb(0, 0, 255));
  EXPECT_NE(red, blue);
  EXPECT_NE(red, drawing.blackBrush());
  EXPECT_EQ(drawing.brushColor(blue), rgb(0, 0, 255));
  EXPECT_EQ(drawing.liveBrushes(), 2u);
  drawing.deleteBrush(red);
  EXPECT_FALSE(drawing.brushColor(red));
  EXPECT_EQ(drawing.liveBrushes(), 1u);
  drawing.deleteBrush(drawing.blackBrush());
  EXPECT_TRUE(std::none_of(actions.begin(), actions.end(), [](const std::string& a) {
    return a.rfind("delete unknown brush", 0) == 0;
  }));
  drawing.deleteBrush(red);  // twice
  EXPECT_EQ(
      std::count_if(actions.begin(), actions.end(),
                    [](const std::string& a) { return a.rfind("delete unknown brush", 0) == 0; }),
      1);

  drawing.setBkMode({0x77}, TRANSPARENT);
  drawing.setTextColor({0x77}, rgb(1, 2, 3));
  EXPECT_EQ(drawing.bkMode({0x77}), TRANSPARENT);
  EXPECT_EQ(drawing.textColor({0x77}), rgb(1, 2, 3));
  EXPECT_FALSE(drawing.bkMode({0x78}));
}

}  // namespace
