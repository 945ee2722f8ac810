// The program's own dialogs, built from templates, and their controls by id.
#pragma once

#include <string>

#include "platform/dialog_template.h"
#include "platform/window_types.h"

namespace platform {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Modeless: the dialog (a child when the template has WS_CHILD) is created and
  // WM_INITDIALOG delivered before this returns; 0 on failure, also without a handler.
  virtual Hwnd createDialog(const DialogTemplate& dialog, Hwnd parent, MessageHandler* handler) = 0;
  // Modal: returns the result given to endDialog, or -1 when the dialog could not be made
  // (also without a handler).
  virtual intptr_t runModalDialog(const DialogTemplate& dialog, Hwnd parent,
                                  MessageHandler* handler) = 0;
  virtual bool endDialog(Hwnd dialog, intptr_t result) = 0;
  virtual Hwnd getDlgItem(Hwnd dialog, int32_t id) = 0;
  // Subclasses a control of the dialog: its messages reach `handler` first, whose defaultProc
  // is the control's own procedure, until WM_NCDESTROY. 0 when there is no such control or
  // it already has a handler.
  virtual Hwnd subclassDlgItem(Hwnd dialog, int32_t id, MessageHandler* handler) = 0;
  virtual int32_t getDlgCtrlId(Hwnd control) = 0;
  virtual std::string getDlgItemText(Hwnd dialog, int32_t id) = 0;
  virtual bool setDlgItemText(Hwnd dialog, int32_t id, const std::string& text) = 0;
};

}  // namespace platform
