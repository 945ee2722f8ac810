// The main panel: a modal dialog that stays hidden behind its tray icon for the program's
// whole run. It hosts the control page and the exclusion page, owns the detector, reacts to
// power and composition events, and ends the program.
#pragma once

#include "base/app_context.h"
#include "controller/control_dlg.h"
#include "detect/win_list_dlg.h"
#include "dialogs/limit_dlg.h"
#include "platform/shell.h"
#include "ui/dialog.h"

class CQuillmoorDlg : public ui::Dialog, public CWinListListener {
 public:
  static constexpr uint32_t kTrayMessage = platform::WM_USER + 100;
  static constexpr uintptr_t kWatchdogTimer = 103;

  explicit CQuillmoorDlg(AppContext& context);

  void AddWindow(const std::vector<WindowEntry>* list) override;
  void DelWindow(const std::vector<WindowEntry>* list) override;

  int32_t panelShown() const { return panelShown_; }
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
  bool onNotify(const platform::NotifyHeader& header, platform::LResult& result) override;
  void onTimer(uintptr_t id) override;
  platform::BrushHandle onCtlColor(platform::DeviceContext dc, platform::Hwnd control,
                                   ui::CtlColor kind, platform::BrushHandle base) override;
  void postNcDestroy() override;

 private:
  platform::LResult onTrayNotify(platform::WParam wParam, platform::LParam lParam);
  void showPanel();
  void setPanelVisible(int32_t shown);
  void initTrayData();
  void addTrayIcon();
  void updateGlass();
  void placeWinListPage();
  void onExit();
  void paintMinimised();

  AppContext& context_;
  platform::IconHandle appIcon_;
  platform::IconHandle trayIcon_;
  CWinListDlg winListPage_;
  CControlDlg controlPage_;
  CLimitDlg limitPage_;
  platform::TrayIconData trayData_;
  bool trayBusyLogged_ = false;  // a busy shell's time-out is logged once until it answers
  int32_t panelShown_ = 0;
  platform::Bool composition_ = 0;
  platform::Margins glassMargins_;
  uint32_t taskbarCreatedMessage_ = 0;
};
