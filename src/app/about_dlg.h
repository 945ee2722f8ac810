// The About box: product name, version and the link to the maker's home page.
#pragma once

#include "app/home_link_dialog.h"
#include "base/version_string.h"

class CAboutDlg : public HomeLinkDialog {
 public:
  // A home-link dialog's services, the icons, and the version text of the executable.
  struct Ports : HomeLinkDialog::Ports {
    Ports(const platform::Platform& p, VersionString& v)
        : HomeLinkDialog::Ports(p), icons(p.icons), version(v) {}
    platform::Icons& icons;
    VersionString& version;
  };

  explicit CAboutDlg(const Ports& ports);

  std::string versionText;

 protected:
  bool onInitDialog() override;
  void doDataExchange(ui::DataExchange& exchange) override;

 private:
  platform::Icons& icons_;
  VersionString& version_;
};

// "Ver.:1, 0, 0, 1" as the About box shows it: "," becomes "-", then ";" becomes ".".
std::string aboutVersion(const std::string& versionString);
