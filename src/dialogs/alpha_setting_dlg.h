// "透明度設定": the opacity of the previews in percent.
#pragma once

#include "dialogs/number_dialog.h"
#include "settings/setting_ranges.h"

class CAlphaSettingDlg : public NumberDialog {
 public:
  static constexpr int32_t kLowest = setting::kTransparent.lowest;
  static constexpr int32_t kHighest = setting::kTransparent.highest;

  explicit CAlphaSettingDlg(const Ports& ports);

  int32_t alphaPercent = 80;
};
