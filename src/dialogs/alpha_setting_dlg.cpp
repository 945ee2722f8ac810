#include "dialogs/alpha_setting_dlg.h"

#include "res/dialogs.h"

CAlphaSettingDlg::CAlphaSettingDlg(const Ports& ports)
    : NumberDialog(ports, res::alphaSettingDialog(),
                   {res::IDC_ALPHA_SPIN, res::IDC_ALPHA_EDIT, kLowest, kHighest}, alphaPercent) {}
