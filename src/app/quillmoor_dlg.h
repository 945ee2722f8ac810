// The main panel: a modal dialog that stays hidden behind its tray icon for the program's
// whole run. It owns the previews' roster and the window detector (and lends them its window
// for their timers and the hover hot-key), relays the detector's reports to the roster, hosts
// the control page, the exclusion page and the detection page, reacts to power and composition
// events, and ends the program.
#pragma once

#include "app/about_dlg.h"
#include "app/console_exit.h"
#include "app/home_link_dialog.h"
#include "app/tray_icon.h"
#include "base/command_line.h"
#include "base/platform_checks.h"
#include "base/version_string.h"
#include "controller/control_dlg.h"
#include "controller/preview_roster.h"
#include "detect/win_list_dlg.h"
#include "detect/window_detector.h"
#include "dialogs/limit_dlg.h"
#include "display/display_environment.h"

class CQuillmoorDlg : public HomeLinkDialog,
                      public CWinListListener,
                      public DetectorHost,
                      public ExclusionRulesListener,
                      public RosterHost,
                      public RosterObserver {
 public:
  static constexpr uint32_t kTrayMessage = platform::WM_USER + 100;
  static constexpr uintptr_t kWatchdogTimer = 103;

  // A home-link dialog's services; the icons, the (guarded) DWM, the cursor, drawing and the
  // screen's metrics; and the ports of the pages and the About box it makes.
  struct Ports : HomeLinkDialog::Ports {
    Ports(const platform::Platform& p, PlatformChecks& checks, VersionString& version)
        : HomeLinkDialog::Ports(p),
          icons(p.icons),
          dwm(p.dwm),
          input(p.input),
          drawing(p.drawing),
          screen(p.screen),
          messageBoxes(p.messageBoxes),
          detector(p),
          winListPage(p),
          roster(p, checks),
          controller(p, checks),
          exclusions(p),
          about(p, version) {}
    platform::Icons& icons;
    platform::Dwm& dwm;
    platform::Input& input;
    platform::Drawing& drawing;
    platform::Screen& screen;
    platform::MessageBoxes& messageBoxes;
    WindowDetector::Ports detector;
    CWinListDlg::Ports winListPage;
    PreviewRoster::Ports roster;
    CControlDlg::Ports controller;
    CLimitDlg::Ports exclusions;
    CAboutDlg::Ports about;
  };

  // `switches` are the command line's (debug mode shows the detection page); `settings`, read
  // at start-up, are saved to `settingsPath`.
  CQuillmoorDlg(const Ports& ports, const Switches& switches, DisplayEnvironment& environment,
                CExclusionData& rules, SettingsRecord& settings, std::string settingsPath);

  void AddWindow(const std::vector<WindowEntry>* list) override;
  void DelWindow(const std::vector<WindowEntry>* list) override;
  // A rule changed or went: the windows the rules kept from a preview and now let through are
  // offered again at the next scan, so they get their previews without being reopened.
  void rulesChanged() override;

  // DetectorHost: the detector's timer is the panel's.
  bool setDetectorTimer(uintptr_t id, uint32_t period) override { return setTimer(id, period); }
  void killDetectorTimer(uintptr_t id) override { killTimer(id); }
  // RosterHost: the roster's timers and hot-key are the panel's.
  bool setRosterTimer(uintptr_t id, uint32_t period) override { return setTimer(id, period); }
  void killRosterTimer(uintptr_t id) override { killTimer(id); }
  bool registerRosterHotKey(int32_t id, uint32_t modifiers, uint32_t key) override;
  void unregisterRosterHotKey(int32_t id) override;
  // RosterObserver: a window excluded from the roster gave the rules a new one.
  void exclusionAdded() override { limitPage_.rulesAdded(); }

  // Told the panel's window once the panel can take its exit command.
  void setConsoleExit(ConsoleExit* exit) { consoleExit_ = exit; }
  // The rules are written once on the way out: in the session's end notice, which the tray's
  // exit and the console's ending events send too and after which the process may be ended at
  // once; or else after the loop, should it end any other way.
  void saveRulesAtExit();

  bool panelShown() const { return panelShown_; }
  const platform::Margins& glassMargins() const { return glassMargins_; }
  PreviewRoster& roster() { return roster_; }
  WindowDetector& detector() { return detector_; }
  CWinListDlg& winListPage() { return winListPage_; }
  CControlDlg& controlPage() { return controlPage_; }
  CLimitDlg& limitPage() { return limitPage_; }

 protected:
  ui::Answer onOtherMessage(uint32_t message, platform::WParam wParam,
                            platform::LParam lParam) override;
  ui::Answer onEndSession(platform::WParam wParam, platform::LParam lParam) override;
  void onPowerBroadcast(platform::WParam event) override;
  ui::Answer onSysCommand(platform::WParam command) override;
  ui::Answer onPaint() override;
  ui::Answer onQueryDragIcon() override;
  ui::Answer onWindowPosChanging(platform::WindowPos* position) override;
  ui::Answer onMove() override;
  void onCompositionChanged() override;
  bool onInitDialog() override;
  void onOK() override;
  void onCancel() override;
  bool onCommand(uint32_t id, uint32_t code, platform::Hwnd control) override;
  void onTimer(uintptr_t id) override;
  void onHotKey(uintptr_t id) override;
  void onDestroy() override;
  platform::BrushHandle onCtlColor(platform::DeviceContext dc, platform::Hwnd control,
                                   ui::CtlColor kind, platform::BrushHandle base) override;
  void postNcDestroy() override;

 private:
  platform::LResult onTrayNotify(platform::WParam wParam, platform::LParam lParam);
  void showPanel();
  void setPanelVisible(bool shown);
  void updateGlass();
  void placeWinListPage();
  void onExit();
  void paintMinimised();
  // A monitor, a work area or a DPI changed: the grid is laid out on the displays as they are.
  void displaysChanged();

  platform::Dwm& dwm_;
  platform::Input& input_;
  platform::Drawing& drawing_;
  platform::Screen& screen_;
  platform::MessageBoxes& messageBoxes_;
  CAboutDlg::Ports aboutPorts_;
  Switches switches_;
  platform::IconHandle appIcon_;
  platform::IconHandle trayIcon_;
  PreviewRoster roster_;     // before the pages, which show it
  WindowDetector detector_;  // ... as does the detection page
  CWinListDlg winListPage_;
  CControlDlg controlPage_;
  CLimitDlg limitPage_;
  TrayIcon tray_;
  // Every preview closes; what their windows were too busy for is waited for a while.
  void closePreviews();
  bool exitPutBackDone_ = false;
  KeptWindowsJournal* journal_;  // windows to put back; null without one
  DisplayEnvironment& environment_;
  ConsoleExit* consoleExit_ = nullptr;
  bool panelShown_ = false;
  bool hiddenInPlace_ = false;  // by Escape or the close box: the panel is still "shown"
  bool rulesSavedAtExit_ = false;
  bool pagesMade_ = false;             // the three pages exist: the tray icon's clicks are handled
  bool displaysChangedEarly_ = false;  // before the pages existed: applied once they do
  bool composition_ = false;
  platform::Margins glassMargins_;
  uint32_t taskbarCreatedMessage_ = 0;
};
