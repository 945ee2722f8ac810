// The About box: product name, version and the link to the maker's home page.
#pragma once

#include "base/app_context.h"
#include "ui/dialog.h"

class CAboutDlg : public ui::Dialog {
 public:
  explicit CAboutDlg(AppContext& context);

  std::string versionText;

 protected:
  bool onInitDialog() override;
  void doDataExchange(ui::DataExchange& exchange) override;
  bool onNotify(const platform::NotifyHeader& header, platform::LResult& result) override;

 private:
  AppContext& context_;
};

// "Ver.:1, 0, 0, 1" as the About box shows it: "," becomes "-", then ";" becomes ".".
std::string aboutVersion(const std::string& versionString);

// Opens the maker's home page in the default browser (both links do this).
void openHomePage(AppContext& context, platform::Hwnd owner);

// Whether a notification is a click on the home-page link.
bool isHomeLinkClick(const platform::NotifyHeader& header);
