#include "dialogs/limit_setting_dlg.h"

#include "res/dialogs.h"

CLimitSettingDlg::CLimitSettingDlg(const Ports& ports)
    : ui::Dialog(ports, res::limitSettingDialog()) {}

void CLimitSettingDlg::doDataExchange(ui::DataExchange& exchange) {
  exchange.check(res::IDC_LIMIT_FULL_NAME_CHECK, fullNameFlag);
  exchange.check(res::IDC_LIMIT_PNAME_CHECK, pnameFlag);
  exchange.check(res::IDC_LIMIT_TITLE_CHECK, titleFlag);
  exchange.text(res::IDC_LIMIT_TPART, tpart);
}

bool CLimitSettingDlg::onCommand(uint32_t id, uint32_t code, platform::Hwnd) {
  if (id != static_cast<uint32_t>(res::IDC_LIMIT_FULL_NAME_CHECK) || code != platform::BN_CLICKED) {
    return false;
  }
  // Switching to a part of the title starts from the whole title, for the user to shorten.
  updateData(true);
  if (fullNameFlag == 0 && tpart.empty()) {
    tpart = title;
    updateData(false);
  }
  return true;
}
