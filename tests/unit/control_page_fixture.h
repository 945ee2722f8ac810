// The control page on its own, in a host dialog, without the main panel around it: the
// fixture the controller's and the settings dialogs' tests share.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controller/control_dlg.h"
#include "res/dialogs.h"
#include "support/program_run.h"
#include "thumbnail/thumbnail.h"

class ControlPageTest : public ::testing::Test {
 protected:
  ControlPageTest()
      : context(desk->platform()),
        environment(desk->platform().monitors, desk->platform().shell, false),
        host(desk->platform(), res::winListDialog()),
        page(CControlDlg::Ports(context.platform, context.checks), environment) {
    host.create({});
    host.showWindow(platform::SW_SHOW);
    page.create(host.hwnd());
    page.showWindow(platform::SW_SHOW);
  }
  // A new window of another program, offered to the page as the detector would.
  WindowEntry offer(const std::string& title, platform::Rect rect = {0, 0, 400, 300}) {
    const platform::Hwnd h = support::addAppWindow(*desk, title, "app.exe", rect);
    WindowEntry entry{h, desk->windows.getWindowProcessId(h), title, "app.exe"};
    page.entryWindow(entry);
    return entry;
  }

  std::unique_ptr<sim::SimDesktop> desk = sim::SimDesktop::singleMonitor();
  AppContext context;
  DisplayEnvironment environment;
  ui::Dialog host;
  CControlDlg page;
};
