#include "dialogs/update_interval_dlg.h"

#include <algorithm>

#include "res/dialogs.h"

CUpdateIntervalDlg::CUpdateIntervalDlg(const Ports& ports)
    : ui::Dialog(ports, res::updateIntervalDialog()) {}

bool CUpdateIntervalDlg::onInitDialog() {
  ui::Dialog::onInitDialog();
  spin_.attach(*this, res::IDC_INTERVAL_SPIN, res::IDC_INTERVAL_EDIT);
  spin_.setRange(kLowest, kHighest);
  spin_.setPosition(interval);
  return true;
}

void CUpdateIntervalDlg::onOK() {
  interval = std::clamp(spin_.position(), kLowest, kHighest);
  endDialog(platform::IDOK);
}
