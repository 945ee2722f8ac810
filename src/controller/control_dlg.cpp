#include "controller/control_dlg.h"

#include "detect/exclusion_data.h"
#include "res/dialogs.h"

CControlDlg::CControlDlg(AppContext& context)
    : ui::Dialog(context.platform.windows, res::controlDialog()), context_(context) {}

void CControlDlg::saveExclusions() {
  if (CExclusionData* store = CExclusionData::existingInstance()) store->saveFile();
}
