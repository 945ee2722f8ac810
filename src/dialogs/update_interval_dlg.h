// "更新間隔設定": the web-reload interval of one preview in seconds.
#pragma once

#include "dialogs/number_dialog.h"
#include "settings/setting_ranges.h"

class CUpdateIntervalDlg : public NumberDialog {
 public:
  static constexpr int32_t kLowest = setting::kReloadInterval.lowest;
  static constexpr int32_t kHighest = setting::kReloadInterval.highest;

  explicit CUpdateIntervalDlg(const Ports& ports);

  int32_t interval = setting::kReloadInterval.initial;

 protected:
  // The interval is always within the range, whatever was put in.
  void onOK() override;
};
