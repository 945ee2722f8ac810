// A dialog that carries the link to the maker's home page (control 1114): the main panel and
// the About box. A click on the link, or Enter on it, opens the page in the default browser.
#pragma once

#include "ui/dialog.h"

class HomeLinkDialog : public ui::Dialog {
 public:
  // The framework's services and the shell that opens the page.
  struct Ports : ui::DialogPorts {
    explicit Ports(const platform::Platform& p) : DialogPorts(p), shell(p.shell) {}
    platform::Shell& shell;
  };

  HomeLinkDialog(const Ports& ports, const platform::DialogTemplate& dialogTemplate)
      : ui::Dialog(ports, dialogTemplate), shell_(ports.shell) {}

 protected:
  bool onNotify(const platform::NotifyHeader& header, platform::LResult& result) override;

  platform::Shell& shell_;
};
