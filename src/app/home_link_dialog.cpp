#include "app/home_link_dialog.h"

#include "res/dialogs.h"
#include "res/strings.h"

using namespace platform;

bool HomeLinkDialog::onNotify(const NotifyHeader& header, LResult& result) {
  if (header.idFrom != static_cast<uint64_t>(res::IDC_HOME_LINK) ||
      (header.code != NM_CLICK && header.code != NM_RETURN)) {
    return false;
  }
  shell_.shellExecute(hwnd(), "open", kHomePage, SW_SHOWNORMAL);
  result = 0;
  return true;
}
