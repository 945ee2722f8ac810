// Dialogs built from templates: modal, modeless pop-up or child page.
#pragma once

#include <string>

#include "platform/dialog_template.h"
#include "ui/window.h"

namespace ui {

// The kind of control a WM_CTLCOLOR* message is about (read-only edits come as Static).
enum class CtlColor { MessageBox, Edit, ListBox, Button, Dialog, ScrollBar, Static };

class Dialog;

// Moves values between a dialog's controls and the members that callers read and write.
class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saving) : dialog_(dialog), saving_(saving) {}
  bool saving() const { return saving_; }
  void text(int32_t id, std::string& value);
  // A check box as 0 or 1.
  void check(int32_t id, int32_t& value);
  // A radio group as the index of its checked button, -1 when none is: the buttons from
  // `firstId` up to the next control that starts a group (WS_GROUP) or is no radio button.
  void radio(int32_t firstId, int32_t& value);

 private:
  Dialog& dialog_;
  bool saving_;
};

// What a dialog of the framework needs from the port.
struct DialogPorts : WindowPorts {
  DialogPorts(const WindowPorts& window, platform::Dialogs& d) : WindowPorts(window), dialogs(d) {}
  DialogPorts(const platform::Platform& p)  // NOLINT: implicit, so a class passes its platform
      : DialogPorts(WindowPorts(p), p.dialogs) {}
  platform::Dialogs& dialogs;
};

class Dialog : public Window {
 public:
  Dialog(const DialogPorts& ports, const platform::DialogTemplate& dialogTemplate)
      : Window(ports), dialogs_(ports.dialogs), template_(dialogTemplate) {}

  // Runs the dialog modally; the value given to endDialog, or -1.
  intptr_t doModal(Hwnd parent);
  // Creates the dialog modelessly (a child page when the template says so).
  bool create(Hwnd parent);
  void endDialog(intptr_t result) { dialogs_.endDialog(hwnd(), result); }

  platform::Dialogs& dialogs() const { return dialogs_; }
  Hwnd item(int32_t id) const { return dialogs_.getDlgItem(hwnd(), id); }
  std::string itemText(int32_t id) const { return dialogs_.getDlgItemText(hwnd(), id); }
  void setItemText(int32_t id, const std::string& text) {
    dialogs_.setDlgItemText(hwnd(), id, text);
  }
  // Controls into members (saving) or members into controls.
  void updateData(bool saving);
  const platform::DialogTemplate& dialogTemplate() const { return template_; }

 protected:
  LResult windowProc(uint32_t message, WParam wParam, LParam lParam) override;

  // Members into controls; return true to let the system set the focus.
  virtual bool onInitDialog();
  virtual void doDataExchange(DataExchange&) {}
  // Enter and Escape (and the close box, through the default processing).
  virtual void onOK();
  virtual void onCancel();
  // A notification from a control; true when handled, with its result.
  virtual bool onNotify(const platform::NotifyHeader&, LResult&) { return false; }
  // Colours: called after the default processing chose `defaultBrush`.
  virtual platform::BrushHandle onCtlColor(platform::DeviceContext, Hwnd, CtlColor,
                                           platform::BrushHandle defaultBrush) {
    return defaultBrush;
  }

 private:
  platform::Dialogs& dialogs_;
  const platform::DialogTemplate& template_;
};

}  // namespace ui
