// "更新間隔設定": the web-reload interval of one preview in seconds.
#pragma once

#include "dialogs/number_dialog.h"

class CUpdateIntervalDlg : public NumberDialog {
 public:
  static constexpr int32_t kLowest = 10;
  static constexpr int32_t kHighest = 1800;

  explicit CUpdateIntervalDlg(const Ports& ports);

  int32_t interval = 30;

 protected:
  // The interval is always within the range, whatever was put in.
  void onOK() override;
};
