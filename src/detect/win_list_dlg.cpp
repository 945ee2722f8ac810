#include "detect/win_list_dlg.h"

#include "res/dialogs.h"

using namespace platform;

CWinListDlg::CWinListDlg(const Ports& ports, WindowDetector& detector)
    : ui::Dialog(ports, res::winListDialog()), listViews_(ports.listViews), detector_(detector) {}

CWinListDlg::~CWinListDlg() {
  detector_.removeObserver(this);
  detector_.setOwnPage({});
}

bool CWinListDlg::onInitDialog() {
  ui::Dialog::onInitDialog();
  listView_.attach(listViews_, messages(), item(res::IDC_WINLIST));
  listView_.setExtendedStyle(LVS_EX_FULLROWSELECT);
  listView_.insertColumn(0, "Title", 150);
  listView_.insertColumn(1, "ProcessName", 100);
  detector_.setOwnPage(hwnd());
  detector_.addObserver(this);
  return true;
}

void CWinListDlg::onDestroy() {
  // The detector goes on without its page: nothing more reaches the list view.
  detector_.removeObserver(this);
  detector_.setOwnPage({});
  listView_ = {};
}

void CWinListDlg::knownListChanged() {
  if (!listView_.attached()) return;
  const bool listed = isVisible();
  if (!listed && listView_.itemCount() == 0) return;
  listView_.setRedraw(false);
  listView_.deleteAllItems();
  if (listed) {
    for (const WindowEntry& entry : detector_.knownList()) {
      const int32_t row = listView_.appendRow(entry.title);
      listView_.setItemText(row, 1, entry.processName);
    }
  }
  listView_.setRedraw(true);
}
