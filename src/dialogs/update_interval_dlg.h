// "更新間隔設定": the web-reload interval of one preview in seconds. It only edits the value
// the caller puts in and reads back after OK.
#pragma once

#include "ui/dialog.h"
#include "ui/spin_button.h"

class CUpdateIntervalDlg : public ui::Dialog {
 public:
  static constexpr int32_t kLowest = 10;
  static constexpr int32_t kHighest = 1800;

  // The framework's services only.
  using Ports = ui::DialogPorts;
  explicit CUpdateIntervalDlg(const Ports& ports);

  int32_t interval = 30;

 protected:
  bool onInitDialog() override;
  void onOK() override;

 private:
  ui::SpinButton spin_;
};
