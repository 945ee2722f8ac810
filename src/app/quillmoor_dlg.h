// The main panel: a modal dialog that stays hidden behind its tray icon for the program's
// whole run. It hosts the control page and the exclusion page, owns the detector, reacts to
// power and composition events, and ends the program.
#pragma once

#include "app/about_dlg.h"
#include "app/console_exit.h"
#include "app/home_link_dialog.h"
#include "app/tray_icon.h"
#include "base/command_line.h"
#include "base/platform_checks.h"
#include "base/version_string.h"
#include "controller/control_dlg.h"
#include "detect/win_list_dlg.h"
#include "dialogs/limit_dlg.h"
#include "display/display_environment.h"

class CQuillmoorDlg : public HomeLinkDialog,
                      public CWinListListener,
                      public ExclusionRulesListener {
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
          detector(p),
          controller(p, checks),
          exclusions(p),
          about(p, version) {}
    platform::Icons& icons;
    platform::Dwm& dwm;
    platform::Input& input;
    platform::Drawing& drawing;
    platform::Screen& screen;
    CWinListDlg::Ports detector;
    CControlDlg::Ports controller;
    CLimitDlg::Ports exclusions;
    CAboutDlg::Ports about;
  };

  // `switches` are the command line's (debug mode shows the detection page).
  CQuillmoorDlg(const Ports& ports, const Switches& switches, DisplayEnvironment& environment,
                CExclusionData& rules);

  void AddWindow(const std::vector<WindowEntry>* list) override;
  void DelWindow(const std::vector<WindowEntry>* list) override;
  // A rule changed or went: the windows the rules kept from a preview and now let through are
  // offered again at the next scan, so they get their previews without being reopened.
  void rulesChanged() override;

  // Told the panel's window once the panel can take its exit command.
  void setConsoleExit(ConsoleExit* exit) { consoleExit_ = exit; }
  // The rules are written once on the way out: in the session's end notice, which the tray's
  // exit and the console's ending events send too and after which the process may be ended at
  // once; or else after the loop, should it end any other way.
  void saveRulesAtExit();

  bool panelShown() const { return panelShown_; }
  const platform::Margins& glassMargins() const { return glassMargins_; }
  CWinListDlg& winListPage() { return winListPage_; }
  CControlDlg& controlPage() { return controlPage_; }
  CLimitDlg& limitPage() { return limitPage_; }

 protected:
  platform::LResult windowProc(uint32_t message, platform::WParam wParam,
                               platform::LParam lParam) override;
  bool onInitDialog() override;
  void onOK() override;
  void onCancel() override;
  bool onCommand(uint32_t id, uint32_t code, platform::Hwnd control) override;
  void onTimer(uintptr_t id) override;
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
  CAboutDlg::Ports aboutPorts_;
  Switches switches_;
  platform::IconHandle appIcon_;
  platform::IconHandle trayIcon_;
  CWinListDlg winListPage_;
  CControlDlg controlPage_;
  CLimitDlg limitPage_;
  TrayIcon tray_;
  KeptWindowsJournal* journal_;  // windows to put back; null without one
  DisplayEnvironment& environment_;
  ConsoleExit* consoleExit_ = nullptr;
  bool panelShown_ = false;
  bool rulesSavedAtExit_ = false;
  bool pagesMade_ = false;  // the three pages exist: the tray icon's clicks are handled
  platform::Bool composition_ = 0;
  platform::Margins glassMargins_;
  uint32_t taskbarCreatedMessage_ = 0;
};
