// "除外条件設定": the conditions of one exclusion rule. It only edits the values the caller
// puts in and reads back after OK.
#pragma once

#include <string>

#include "ui/dialog.h"

class CLimitSettingDlg : public ui::Dialog {
 public:
  // The framework's services only.
  using Ports = ui::DialogPorts;
  explicit CLimitSettingDlg(const Ports& ports);

  int32_t fullNameFlag = 0;
  int32_t pnameFlag = 0;
  int32_t titleFlag = 0;
  std::string tpart;
  std::string title;  // the rule's whole title: the start of a part when there is none

 protected:
  void doDataExchange(ui::DataExchange& exchange) override;
  bool onCommand(uint32_t id, uint32_t code, platform::Hwnd control) override;
};
