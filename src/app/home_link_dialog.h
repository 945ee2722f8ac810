// A dialog that carries the link to the maker's home page (control 1114): the main panel and
// the About box. A click on the link, or Enter on it, opens the page in the default browser.
#pragma once

#include "base/app_context.h"
#include "ui/dialog.h"

class HomeLinkDialog : public ui::Dialog {
 public:
  HomeLinkDialog(AppContext& context, const platform::DialogTemplate& dialogTemplate)
      : ui::Dialog(context.platform, dialogTemplate), context_(context) {}

 protected:
  bool onNotify(const platform::NotifyHeader& header, platform::LResult& result) override;

  AppContext& context_;
};
