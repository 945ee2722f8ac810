#include "app/about_dlg.h"

#include <algorithm>
#include <cstdio>

#include "res/dialogs.h"
#include "res/resource.h"
#include "res/strings.h"

using namespace platform;

std::string aboutVersion(const std::string& versionString) {
  std::string text = versionString;
  std::replace(text.begin(), text.end(), ',', '-');
  std::replace(text.begin(), text.end(), ';', '.');
  return text;
}

CAboutDlg::CAboutDlg(const Ports& ports)
    : HomeLinkDialog(ports, res::aboutDialog()), icons_(ports.icons), version_(ports.version) {}

bool CAboutDlg::onInitDialog() {
  ui::Dialog::onInitDialog();
  ownWindows().setWindowText(hwnd(), "Quillmoor for Tundra");
  char text[512];
  snprintf(text, sizeof text, "Quillmoor for Tundra %s %s",
           aboutVersion(version_.getVersionString()).c_str(), "[PORTABLE版]");
  versionText = text;
  updateData(false);
  messages().sendMessage(item(res::IDC_ABOUT_ICON), STM_SETICON,
                         icons_.loadIcon(IDR_MAINFRAME).value, 0);
  return true;
}

void CAboutDlg::doDataExchange(ui::DataExchange& exchange) {
  exchange.text(res::IDC_VERSION_TEXT, versionText);
}
