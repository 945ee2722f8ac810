#include <gtest/gtest.h>

#include <algorithm>

#include "display/multi_display.h"
#include "display/taskbar_control.h"
#include "platform/sim/sim_desktop.h"
#include "support/log_capture.h"

TEST(MultiDisplay, PrimaryFirstWhateverTheEnumerationOrder) {
  auto desk = sim::SimDesktop::twoMonitorsPrimarySecond();
  LogCapture log(*desk);
  CMultiDisplay display(desk->platform().monitors);
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
  sim::SimDesktop desk;
  CMultiDisplay display(desk.platform().monitors);
  display.enumMonitors();
  EXPECT_EQ(display.monitorCount, 0);
  EXPECT_TRUE(display.monitors.empty());
}

TEST(TaskBarControl, RemovalIsRefusedSilentlyWhileDisabled) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->shell.taskbarButtons = {0x40};
  CTaskBarControl taskbar(desk->platform().shell);
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
  auto desk = sim::SimDesktop::singleMonitor();
  {
    CTaskBarControl taskbar(desk->platform().shell);
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
  auto desk = sim::SimDesktop::singleMonitor();
  desk->shell.comInitFails = true;
  {
    CTaskBarControl taskbar(desk->platform().shell);
    EXPECT_FALSE(taskbar.addTab({0x40}));
  }
  EXPECT_EQ(desk->shell.comInitCount, 0);
  EXPECT_EQ(std::count(desk->actions.begin(), desk->actions.end(), "com uninit"), 0);
}

TEST(TaskBarControl, WithoutTheShellObjectBothOperationsFail) {
  auto desk = sim::SimDesktop::singleMonitor();
  desk->shell.taskbarListFails = true;
  CTaskBarControl taskbar(desk->platform().shell);
  EXPECT_FALSE(taskbar.addTab({0x40}));
  EXPECT_FALSE(taskbar.deleteTab({0x40}));
  taskbar.removalEnabled = false;
  EXPECT_TRUE(taskbar.deleteTab({0x40}));
}
