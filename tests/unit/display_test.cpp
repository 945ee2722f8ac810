#include <gtest/gtest.h>

#include <algorithm>

#include "display/multi_display.h"
#include "display/taskbar_control.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_displays.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_icons.h"
#include "platform/sim/sim_programs.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_windows.h"
#include "support/log_capture.h"

namespace {

// The monitors are the displays fake's, on the window table and the system (its version and
// the log's console).
struct DisplaysDesk {
  sim::SimClock clock;
  sim::SimFileSystem files;
  sim::SimSystem system{clock, files};
  sim::SimWindows windows{clock};
  sim::SimDisplays displays{system, windows};
};

// The taskbar's buttons are the shell's, which stands on the window table, other programs
// and icons.
struct ShellDesk {
  sim::SimClock clock;
  std::vector<std::string>& actions = clock.actions;
  sim::SimWindows windows{clock};
  sim::SimPrograms programs{windows};
  sim::SimIcons icons{windows};
  sim::SimShell shell{windows, programs, icons};
};

}  // namespace

TEST(MultiDisplay, PrimaryFirstWhateverTheEnumerationOrder) {
  auto desk = std::make_unique<DisplaysDesk>();
  // The primary monitor enumerated second.
  desk->displays.monitors = {{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, false, "\\\\.\\DISPLAY2"},
                             {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true, "\\\\.\\DISPLAY1"}};
  LogCapture log(desk->system);
  CMultiDisplay display(desk->displays);
  display.enumMonitors();
  ASSERT_EQ(display.monitorCount, 2);
  ASSERT_EQ(display.monitors.size(), 2u);
  EXPECT_EQ(display.monitors[0].flags, platform::MONITORINFOF_PRIMARY);
  EXPECT_EQ(display.monitors[0].monitor, (platform::Rect{0, 0, 1920, 1080}));
  EXPECT_EQ(display.monitors[0].size, sizeof(MonitorRecord));
  EXPECT_STREQ(display.monitors[0].device, "\\\\.\\DISPLAY1");
  EXPECT_EQ(display.monitors[1].monitor, (platform::Rect{-1280, 0, 0, 1024}));
  // Four lines per monitor, in enumeration order, values as top, left, bottom, right.
  EXPECT_EQ(log.text(),
            "rcMonitor top=0, left=-1280, bottom=1024, right=0\n"
            "rcWork top=0, left=-1280, bottom=1024, right=0\n"
            "Flag = 0\n"
            "rcMonitor top=0, left=-1280, bottom=1024, right=0\n"
            "rcMonitor top=0, left=0, bottom=1080, right=1920\n"
            "rcWork top=0, left=0, bottom=1040, right=1920\n"
            "Flag = 1\n"
            "rcMonitor top=0, left=0, bottom=1080, right=1920\n");
}

TEST(MultiDisplay, NoMonitorCountsZero) {
  DisplaysDesk desk;
  CMultiDisplay display(desk.displays);
  display.enumMonitors();
  EXPECT_EQ(display.monitorCount, 0);
  EXPECT_TRUE(display.monitors.empty());
}

TEST(TaskBarControl, RemovalIsRefusedSilentlyWhileDisabled) {
  auto desk = std::make_unique<ShellDesk>();
  desk->shell.taskbarButtons = {0x40};
  CTaskBarControl taskbar(desk->shell);
  EXPECT_TRUE(taskbar.removalEnabled);
  taskbar.removalEnabled = false;
  EXPECT_TRUE(taskbar.deleteTab({0x40}));
  EXPECT_EQ(desk->shell.taskbarButtons.count(0x40), 1u);
  taskbar.removalEnabled = true;
  EXPECT_TRUE(taskbar.deleteTab({0x40}));
  EXPECT_EQ(desk->shell.taskbarButtons.count(0x40), 0u);
  EXPECT_TRUE(taskbar.addTab({0x40}));
  EXPECT_TRUE(taskbar.addTab({0x40}));
  EXPECT_EQ(desk->shell.taskbarButtons.count(0x40), 1u);
}

TEST(TaskBarControl, ComLivesExactlyAsLongAsTheObject) {
  auto desk = std::make_unique<ShellDesk>();
  {
    CTaskBarControl taskbar(desk->shell);
    EXPECT_EQ(desk->shell.comInitCount, 1);
    EXPECT_TRUE(desk->shell.taskbarListAlive);
  }
  EXPECT_EQ(desk->shell.comInitCount, 0);
  EXPECT_FALSE(desk->shell.taskbarListAlive);
  // The list is released before COM is uninitialised.
  auto release = std::find(desk->actions.begin(), desk->actions.end(), "taskbar release");
  auto uninit = std::find(desk->actions.begin(), desk->actions.end(), "com uninit");
  EXPECT_LT(release, uninit);
}

TEST(TaskBarControl, AFailedComInitialisationIsNotUndone) {
  auto desk = std::make_unique<ShellDesk>();
  desk->shell.comInitFails = true;
  {
    CTaskBarControl taskbar(desk->shell);
    EXPECT_FALSE(taskbar.addTab({0x40}));
  }
  EXPECT_EQ(desk->shell.comInitCount, 0);
  EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "com uninit"), 0);
}

TEST(TaskBarControl, WithoutTheShellObjectBothOperationsFail) {
  auto desk = std::make_unique<ShellDesk>();
  desk->shell.taskbarListFails = true;
  CTaskBarControl taskbar(desk->shell);
  EXPECT_FALSE(taskbar.addTab({0x40}));
  EXPECT_FALSE(taskbar.deleteTab({0x40}));
  taskbar.removalEnabled = false;
  EXPECT_TRUE(taskbar.deleteTab({0x40}));
}
