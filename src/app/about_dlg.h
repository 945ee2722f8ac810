// The About box: product name, version and the link to the maker's home page.
#pragma once

#include "app/home_link_dialog.h"

class CAboutDlg : public HomeLinkDialog {
 public:
  explicit CAboutDlg(AppContext& context);

  std::string versionText;

 protected:
  bool onInitDialog() override;
  void doDataExchange(ui::DataExchange& exchange) override;
};

// "Ver.:1, 0, 0, 1" as the About box shows it: "," becomes "-", then ";" becomes ".".
std::string aboutVersion(const std::string& versionString);
