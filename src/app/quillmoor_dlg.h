// The main panel: a modal dialog that stays hidden behind its tray icon for the program's
// whole run. It hosts the control page and the exclusion page, owns the detector, reacts to
// power and composition events, and ends the program.
#pragma once

#include "app/home_link_dialog.h"
#include "app/tray_icon.h"
#include "base/app_context.h"
#include "controller/control_dlg.h"
#include "detect/win_list_dlg.h"
#include "dialogs/limit_dlg.h"
#include "display/display_environment.h"

class CQuillmoorDlg : public HomeLinkDialog, public CWinListListener {
 public:
  static constexpr uint32_t kTrayMessage = platform::WM_USER + 100;
  static constexpr uintptr_t kWatchdogTimer = 103;

  CQuillmoorDlg(AppContext& context, DisplayEnvironment& environment, CExclusionData& rules);

  void AddWindow(const std::vector<WindowEntry>* list) override;
  void DelWindow(const std::vector<WindowEntry>* list) override;

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

  platform::IconHandle appIcon_;
  platform::IconHandle trayIcon_;
  CWinListDlg winListPage_;
  CControlDlg controlPage_;
  CLimitDlg limitPage_;
  TrayIcon tray_;
  bool panelShown_ = false;
  platform::Bool composition_ = 0;
  platform::Margins glassMargins_;
  uint32_t taskbarCreatedMessage_ = 0;
};
