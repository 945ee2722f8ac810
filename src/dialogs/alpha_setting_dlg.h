// "透明度設定": the opacity of the previews in percent.
#pragma once

#include "dialogs/number_dialog.h"

class CAlphaSettingDlg : public NumberDialog {
 public:
  static constexpr int32_t kLowest = 20;
  static constexpr int32_t kHighest = 100;

  explicit CAlphaSettingDlg(const Ports& ports);

  int32_t alphaPercent = 80;
};
