#include "dialogs/update_interval_dlg.h"

#include <algorithm>

#include "res/dialogs.h"

CUpdateIntervalDlg::CUpdateIntervalDlg(const Ports& ports)
    : NumberDialog(ports, res::updateIntervalDialog(),
                   {res::IDC_INTERVAL_SPIN, res::IDC_INTERVAL_EDIT, kLowest, kHighest}, interval) {}

void CUpdateIntervalDlg::onOK() {
  NumberDialog::onOK();
  interval = std::clamp(interval, kLowest, kHighest);
}
