// The control page, which is also the thumbnail controller.
#pragma once

#include "app/app_context.h"
#include "ui/dialog.h"

class CLimitDlg;

class CControlDlg : public ui::Dialog {
 public:
  explicit CControlDlg(AppContext& context);

  // The exclusion page whose rules decide which windows get a preview.
  void setLimitPage(CLimitDlg* page) { limitPage_ = page; }
  CLimitDlg* limitPage() const { return limitPage_; }

  // Has the exclusion rule store write its file (at the end of the Windows session).
  void saveExclusions();

 protected:
  void onOK() override {}
  void onCancel() override {}

 private:
  AppContext& context_;
  CLimitDlg* limitPage_ = nullptr;
};
