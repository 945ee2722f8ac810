// The previews' roster and the control page over it, in a host dialog, without the main panel
// around them: the fixture the controller's and the settings dialogs' tests share.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/program_folder.h"
#include "controller/control_dlg.h"
#include "controller/preview_roster.h"
#include "res/dialogs.h"
#include "support/program_run.h"
#include "thumbnail/thumbnail.h"

// A plain window lending itself to the roster, as the main panel does.
class RosterHostWindow : public ui::Window, public RosterHost {
 public:
  explicit RosterHostWindow(const platform::Platform& p) : ui::Window(p), input_(p.input) {}
  bool create() {
    platform::CreateWindowArgs args;
    args.style = platform::WS_POPUP;
    return ownWindows().createWindow(args, this) && isWindow();
  }
  bool setRosterTimer(uintptr_t id, uint32_t period) override { return setTimer(id, period); }
  void killRosterTimer(uintptr_t id) override { killTimer(id); }
  bool registerRosterHotKey(int32_t id, uint32_t modifiers, uint32_t key) override {
    return input_.registerHotKey(hwnd(), id, modifiers, key);
  }
  void unregisterRosterHotKey(int32_t id) override { input_.unregisterHotKey(hwnd(), id); }
  PreviewRoster* roster = nullptr;

 protected:
  platform::LResult windowProc(uint32_t message, platform::WParam wParam,
                               platform::LParam lParam) override {
    if (message == platform::WM_TIMER) roster->onTimer(static_cast<uintptr_t>(wParam));
    if (message == platform::WM_HOTKEY) roster->onHotKey();
    return ui::Window::windowProc(message, wParam, lParam);
  }

 private:
  platform::Input& input_;
};

// The roster alone on its host window: no dialog, no list view.
class RosterTest : public ::testing::Test {
 protected:
  RosterTest()
      : context(desk->platform()),
        environment(desk->platform().monitors, desk->platform().shell, false),
        rules(desk->platform(), "C:\\ExclusionData.ini"),
        host(desk->platform()),
        roster(PreviewRoster::Ports(context.platform, context.checks), environment, settings, rules,
               host) {
    settings.loadSettings(desk->platform(),
                          pathInCurrentDirectory(desk->platform().system, kSettingsFileName));
    host.roster = &roster;
    EXPECT_TRUE(host.create());
  }
  // A new window of another program, offered to the roster as the detector would.
  WindowEntry offer(const std::string& title, platform::Rect rect = {0, 0, 400, 300}) {
    const platform::Hwnd h = support::addAppWindow(*desk, title, "app.exe", rect);
    WindowEntry entry{h, desk->windows.getWindowProcessId(h), title, "app.exe"};
    roster.entryWindow(entry);
    return entry;
  }

  std::unique_ptr<sim::SimDesktop> desk = sim::SimDesktop::singleMonitor();
  AppContext context;
  DisplayEnvironment environment;
  SettingsRecord settings;
  CExclusionData rules;
  RosterHostWindow host;
  PreviewRoster roster;
};

// The control page over the roster.
class ControlPageTest : public RosterTest {
 protected:
  ControlPageTest()
      : page(CControlDlg::Ports(context.platform, context.checks), roster, environment,
             pathInCurrentDirectory(desk->platform().system, kSettingsFileName)) {
    roster.start();
    host.showWindow(platform::SW_SHOW);  // the page's buttons take clicks when it is seen
    page.create(host.hwnd());
    page.showWindow(platform::SW_SHOW);
  }

  CControlDlg page;
};
