#include "dialogs/alpha_setting_dlg.h"

#include "res/dialogs.h"

CAlphaSettingDlg::CAlphaSettingDlg(const Ports& ports)
    : ui::Dialog(ports, res::alphaSettingDialog()) {}

bool CAlphaSettingDlg::onInitDialog() {
  ui::Dialog::onInitDialog();
  spin_.attach(*this, res::IDC_ALPHA_SPIN, res::IDC_ALPHA_EDIT);
  spin_.setRange(kLowest, kHighest);
  spin_.setPosition(alphaPercent);
  return true;
}

void CAlphaSettingDlg::onOK() {
  alphaPercent = spin_.position();
  endDialog(platform::IDOK);
}
