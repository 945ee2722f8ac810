// "透明度設定": the opacity of the previews in percent. It only edits the value the caller
// puts in and reads back after OK.
#pragma once

#include "ui/dialog.h"
#include "ui/spin_button.h"

class CAlphaSettingDlg : public ui::Dialog {
 public:
  static constexpr int32_t kLowest = 20;
  static constexpr int32_t kHighest = 100;

  // The framework's services only.
  using Ports = ui::DialogPorts;
  explicit CAlphaSettingDlg(const Ports& ports);

  int32_t alphaPercent = 80;

 protected:
  bool onInitDialog() override;
  void onOK() override;

 private:
  ui::SpinButton spin_;
};
