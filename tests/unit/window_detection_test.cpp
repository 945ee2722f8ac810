#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

#include "detect/win_list_dlg.h"
#include "detect/window_detector.h"
#include "detect/window_test.h"
#include "support/log_capture.h"
#include "support/program_run.h"

using platform::Hwnd;
using support::addAppWindow;

namespace {

class Recorder : public CWinListListener {
 public:
  void AddWindow(const std::vector<WindowEntry>* list) override {
    record("add", list, whileAdding);
  }
  void DelWindow(const std::vector<WindowEntry>* list) override {
    record("del", list, whileRemoving);
  }
  std::vector<std::string> events;
  // What the program does inside a report (once), as a message box's loop would let it.
  std::function<void()> whileAdding;
  std::function<void()> whileRemoving;

 private:
  void record(const char* what, const std::vector<WindowEntry>* list,
              std::function<void()>& during) {
    std::string line = what;
    for (const WindowEntry& entry : *list) line += " " + entry.title;
    events.push_back(line);
    if (during) std::exchange(during, nullptr)();
  }
};

// A plain window lending its timer to the detector, as the main panel does.
class DetectorHostWindow : public ui::Window, public DetectorHost {
 public:
  using ui::Window::Window;
  bool create() {
    platform::CreateWindowArgs args;
    args.style = platform::WS_POPUP;
    return ownWindows().createWindow(args, this) && isWindow();
  }
  bool setDetectorTimer(uintptr_t id, uint32_t period) override { return setTimer(id, period); }
  void killDetectorTimer(uintptr_t id) override { killTimer(id); }
  WindowDetector* detector = nullptr;

 protected:
  platform::LResult windowProc(uint32_t message, platform::WParam wParam,
                               platform::LParam lParam) override {
    if (message == platform::WM_TIMER) detector->onTimer(static_cast<uintptr_t>(wParam));
    return ui::Window::windowProc(message, wParam, lParam);
  }
};

class DetectionTest : public ::testing::Test {
 protected:
  DetectionTest()
      : context(desk->platform()),
        host(context.platform),
        detector(WindowDetector::Ports(context.platform), host) {
    host.detector = &detector;
    detector.listeners.push_back(&recorder);
  }
  void start() {
    ASSERT_TRUE(host.create());
    detector.start();
  }
  WindowVerdict verdict(Hwnd window) {
    WindowEntry entry;
    ProcessNames names(desk->programs);
    return testWindow(desk->windows, names, context.platform.dwm, window, host.hwnd(), entry);
  }
  std::vector<std::string> eventsAfter(uint32_t ms) {
    recorder.events.clear();
    desk->advance(ms);
    return recorder.events;
  }

  std::unique_ptr<sim::SimDesktop> desk = sim::SimDesktop::singleMonitor();
  AppContext context;
  Recorder recorder;
  DetectorHostWindow host;
  WindowDetector detector;
};

using Events = std::vector<std::string>;

}  // namespace

TEST_F(DetectionTest, EachRuleOfTheWindowTestDropsItsWindows) {
  start();
  EXPECT_EQ(verdict(addAppWindow(*desk, "Editor", "ed.exe")), WindowVerdict::Accepted);
  EXPECT_EQ(verdict(host.hwnd()), WindowVerdict::OwnPage);
  for (uint32_t style : {platform::WS_VISIBLE | platform::WS_MINIMIZEBOX,
                         platform::WS_VISIBLE | platform::WS_SYSMENU,
                         platform::WS_SYSMENU | platform::WS_MINIMIZEBOX}) {
    sim::ForeignWindow w;
    w.processId = desk->programs.addProcess("a.exe", "C:\\a.exe");
    w.title = "t";
    w.rect = {0, 0, 10, 10};
    w.style = style;
    EXPECT_EQ(verdict(desk->windows.addWindow(w)), WindowVerdict::NotAppWindow) << style;
  }
  EXPECT_EQ(verdict(addAppWindow(*desk, "", "ed.exe")), WindowVerdict::NoTitle);
  EXPECT_EQ(verdict(addAppWindow(*desk, "Program Manager", "explorer.exe")),
            WindowVerdict::ProgramManager);
  EXPECT_EQ(verdict(addAppWindow(*desk, "Program Manager ", "explorer.exe")),
            WindowVerdict::Accepted);
  EXPECT_EQ(verdict(addAppWindow(*desk, "Mine", "ZENTA.exe")), WindowVerdict::OwnProgram);
  EXPECT_EQ(verdict(addAppWindow(*desk, "Other case", "zenta.exe")), WindowVerdict::Accepted);
  sim::ForeignWindow locked;
  locked.processId = desk->programs.addProcess("admin.exe", "C:\\admin.exe", false);
  locked.title = "Elevated";
  locked.rect = {0, 0, 10, 10};
  EXPECT_EQ(verdict(desk->windows.addWindow(locked)), WindowVerdict::NoProcessName);
  EXPECT_EQ(verdict(addAppWindow(*desk, "Flat", "a.exe", {5, 5, 5, 100})),
            WindowVerdict::EmptyRect);
  EXPECT_EQ(verdict(addAppWindow(*desk, "Thin", "a.exe", {5, 5, 100, 5})),
            WindowVerdict::EmptyRect);
  EXPECT_EQ(verdict(Hwnd{0x7FFFFFF0}), WindowVerdict::NotAppWindow);  // gone before the test
}

TEST_F(DetectionTest, MinimisedWindowsAreJudgedByTheirRestoredRectangle) {
  start();
  Hwnd good = addAppWindow(*desk, "Min", "a.exe");
  desk->windows.setNormalRect(good, {0, 0, 300, 200});
  desk->windows.setIconic(good, true);
  EXPECT_EQ(verdict(good), WindowVerdict::Accepted);
  Hwnd flat = addAppWindow(*desk, "Min flat", "a.exe");
  desk->windows.setNormalRect(flat, {0, 0, 0, 200});
  desk->windows.setIconic(flat, true);
  EXPECT_EQ(verdict(flat), WindowVerdict::EmptyRect);
}

TEST_F(DetectionTest, NewWindowsAreHandedOverOnePerTickAndGoneOnesTogether) {
  Hwnd a = addAppWindow(*desk, "A", "a.exe");
  addAppWindow(*desk, "B", "b.exe");
  Hwnd c = addAppWindow(*desk, "C", "c.exe");
  start();
  EXPECT_EQ(eventsAfter(999), Events{});
  // Enumeration is top first: C, B, A.
  EXPECT_EQ(eventsAfter(1), Events{"add C"});
  // Every tick scans, queue or not: both closed windows go in one report at the next tick,
  // before the next new window; A, closed while it waited, is never handed over.
  desk->windows.closeWindow(c);
  desk->windows.closeWindow(a);
  EXPECT_EQ(eventsAfter(1000), (Events{"del C A", "add B"}));
  // Windows found while others wait join the queue behind them, in scan order; one forgotten
  // while it waits is still handed over once.
  const Hwnd d = addAppWindow(*desk, "D", "d.exe");
  const Hwnd e = addAppWindow(*desk, "E", "e.exe");
  addAppWindow(*desk, "F", "f.exe");
  EXPECT_EQ(eventsAfter(1000), Events{"add F"});
  desk->windows.closeWindow(d);
  detector.forget({e});
  addAppWindow(*desk, "G", "g.exe");
  EXPECT_EQ(eventsAfter(1000), (Events{"del D", "add E"}));
  EXPECT_EQ(eventsAfter(1000), Events{"add G"});
  EXPECT_EQ(eventsAfter(5000), Events{});
}

TEST_F(DetectionTest, TitleChangesAndReusedHandlesReportNothing) {
  Hwnd a = addAppWindow(*desk, "Old title", "a.exe");
  start();
  EXPECT_EQ(eventsAfter(1000), Events{"add Old title"});
  desk->windows.setTitle(a, "New title");
  EXPECT_EQ(eventsAfter(3000), Events{});
  desk->windows.closeWindow(a);
  sim::ForeignWindow again;
  again.processId = desk->programs.addProcess("b.exe", "C:\\b.exe");
  again.title = "Someone else";
  again.rect = {0, 0, 50, 50};
  desk->windows.addWindowWithHandle(a, again);
  EXPECT_EQ(eventsAfter(3000), Events{});
}

TEST_F(DetectionTest, EachWindowsProcessIsAskedForItsNameOnce) {
  const Hwnd a = addAppWindow(*desk, "A", "a.exe");
  const Hwnd b = addAppWindow(*desk, "B", "b.exe");
  start();
  desk->advance(10000);
  EXPECT_EQ(desk->programs.baseNameQueries, 2u);
  // A handle that comes back with another process is another window; a window that went is
  // forgotten, so its handle is asked about afresh.
  desk->windows.closeWindow(a);
  sim::ForeignWindow again;
  again.processId = desk->programs.addProcess("c.exe", "C:\\c.exe");
  again.title = "C";
  again.rect = {0, 0, 50, 50};
  desk->windows.addWindowWithHandle(a, again);
  desk->windows.closeWindow(b);
  desk->advance(3000);
  sim::ForeignWindow back = again;
  back.title = "B again";
  desk->windows.addWindowWithHandle(b, back);
  desk->advance(3000);
  EXPECT_EQ(desk->programs.baseNameQueries, 4u);
  // A process that cannot be opened is asked again at each scan: it may be starting up.
  sim::ForeignWindow locked = again;
  locked.processId = desk->programs.addProcess("admin.exe", "C:\\admin.exe", false);
  LogCapture log(desk->system);
  const Hwnd admin = desk->windows.addWindow(locked);
  desk->advance(3000);
  EXPECT_GE(desk->programs.baseNameQueries, 6u);
  // ... but logged once, with the reason it is left out.
  char line[64];
  snprintf(line, sizeof line, "Scan skipped (no process name) handle=0x%08x\n", admin.value);
  EXPECT_EQ(log.text(), line);
}

TEST_F(DetectionTest, SuspendReportsEverythingGoneAndResumeFindsItAgain) {
  addAppWindow(*desk, "A", "a.exe");
  addAppWindow(*desk, "B", "b.exe");
  start();
  EXPECT_EQ(eventsAfter(1000), Events{"add B"});
  recorder.events.clear();
  // A is known from the scan though still queued: reported gone, never handed over.
  detector.goSuspend();
  EXPECT_EQ(recorder.events, Events{"del B A"});
  EXPECT_EQ(eventsAfter(5000), Events{});
  recorder.events.clear();
  detector.goSuspend();
  EXPECT_EQ(recorder.events, Events{"del"});  // an empty list, which listeners ignore
  detector.returnSuspend();
  detector.returnSuspend();
  EXPECT_EQ(eventsAfter(1000), Events{"add B"});
  EXPECT_EQ(eventsAfter(1000), Events{"add A"});

  // A suspend inside a report: what it reported gone stays gone, and comes back after resume.
  const Hwnd c = addAppWindow(*desk, "C", "c.exe");
  EXPECT_EQ(eventsAfter(1000), Events{"add C"});
  desk->windows.closeWindow(c);
  recorder.whileRemoving = [&] { detector.goSuspend(); };
  EXPECT_EQ(eventsAfter(1000), (Events{"del C", "del B A"}));
  detector.returnSuspend();
  EXPECT_EQ(eventsAfter(1000), Events{"add B"});
  EXPECT_EQ(eventsAfter(1000), Events{"add A"});
  // Inside a hand-over, the window being taken is reported gone once its hand-over is done.
  addAppWindow(*desk, "D", "d.exe");
  recorder.whileAdding = [&] { detector.goSuspend(); };
  EXPECT_EQ(eventsAfter(1000), (Events{"add D", "del B A", "del D"}));
  EXPECT_EQ(eventsAfter(3000), Events{});
}

TEST_F(DetectionTest, ThePageListsTheLatestScanOnlyWhileVisible) {
  addAppWindow(*desk, "A", "a.exe");
  start();
  CWinListDlg page(CWinListDlg::Ports(context.platform), detector);
  ASSERT_TRUE(page.create(host.hwnd()));
  sim::ListViewModel* list = desk->dialogs.listView(page.item(res::IDC_WINLIST));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->columns.size(), 2u);
  EXPECT_EQ(list->columns[0].heading, "Title");
  EXPECT_EQ(list->columns[1].width, 100);
  EXPECT_EQ(list->extendedStyle, platform::LVS_EX_FULLROWSELECT);
  desk->advance(1000);
  EXPECT_TRUE(list->rows.empty());  // hidden page: the scan empties it and adds nothing
  page.showWindow(platform::SW_SHOW);
  desk->advance(1000);  // every tick scans
  ASSERT_EQ(list->rows.size(), 1u);
  EXPECT_EQ(list->text(0, 0), "A");
  EXPECT_EQ(list->text(0, 1), "a.exe");
  const int redraws = list->redrawCount;
  desk->advance(1000);
  EXPECT_EQ(list->redrawCount, redraws + 1);  // redrawn once per scan
  EXPECT_EQ(list->rows.size(), 1u);
  // It shows what the detector knows: nothing while suspended.
  detector.goSuspend();
  EXPECT_TRUE(list->rows.empty());
  detector.returnSuspend();
  desk->advance(1000);
  EXPECT_EQ(list->rows.size(), 1u);
  // Hidden again: emptied at the next scan, then left alone.
  page.showWindow(platform::SW_HIDE);
  desk->advance(1000);
  EXPECT_TRUE(list->rows.empty());
  const int hiddenRedraws = list->redrawCount;
  desk->advance(5000);
  EXPECT_EQ(list->redrawCount, hiddenRedraws);
}

TEST_F(DetectionTest, DetectionGoesOnWhenItsPageCloses) {
  addAppWindow(*desk, "A", "a.exe");
  start();
  auto page = std::make_unique<CWinListDlg>(CWinListDlg::Ports(context.platform), detector);
  ASSERT_TRUE(page->create(host.hwnd()));
  EXPECT_EQ(eventsAfter(1000), Events{"add A"});
  // Closed and opened again, the page is told once per scan.
  ASSERT_TRUE(page->destroyWindow());
  addAppWindow(*desk, "B", "b.exe");
  EXPECT_EQ(eventsAfter(1000), Events{"add B"});
  ASSERT_TRUE(page->create(host.hwnd()));
  page->showWindow(platform::SW_SHOW);
  sim::ListViewModel* list = desk->dialogs.listView(page->item(res::IDC_WINLIST));
  ASSERT_NE(list, nullptr);
  desk->advance(1000);
  EXPECT_EQ(list->rows.size(), 2u);
  const int redraws = list->redrawCount;
  desk->advance(1000);
  EXPECT_EQ(list->redrawCount, redraws + 1);
  // The page gone for good: scans, suspends and forgets go on without it.
  page.reset();
  addAppWindow(*desk, "C", "c.exe");
  EXPECT_EQ(eventsAfter(1000), Events{"add C"});
  detector.forget({});
  detector.goSuspend();
  detector.returnSuspend();
  EXPECT_EQ(eventsAfter(1000), Events{"add C"});
}

TEST_F(DetectionTest, TheTickRestartsItsPeriodAfterItsWork) {
  start();
  EXPECT_EQ(desk->windows.timerPeriod(host.hwnd(), WindowDetector::kTimerId), 1000u);
  desk->advance(1000);
  EXPECT_EQ(desk->windows.timerDue(host.hwnd(), WindowDetector::kTimerId), desk->now + 1000);
}
