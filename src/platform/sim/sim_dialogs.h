// The simulated dialog manager: the program's dialogs built from templates, their controls,
// modal loops answered by scripts, list views, and the user's clicks and typing into controls.
//
// What it models:
// - Dialogs built from templates (dialog unit = 1.5 px), their controls as child windows with
//   their system class names, one MessageHandler per dialog; WM_INITDIALOG before the dialog
//   is shown. The dialog manager's default processing: WM_CLOSE posts IDCANCEL (only while
//   Cancel is usable, as on Windows; Wine 8 posts it even so); WM_DPICHANGED scales the dialog
//   where the system does (dpiChanged, sim_dialog_scaling.cpp).
// - Modal loops: the loop shows the dialog once what WM_INITDIALOG posted has been delivered
//   (as Windows' loop does when it first finds its queue empty); then the script for the
//   template's id runs inside the loop, where the program's messages go on arriving; the
//   script may move the clock (timers fire), send messages or close windows. The owner takes
//   no input while the dialog is up.
// - Controls' state: check boxes (auto check boxes toggle on click), radio groups, up-down
//   controls with their buddies, static icons, list views in report view (rows, columns,
//   selection, WM_SETREDRAW, their image lists: a list view without LVS_SHAREIMAGELISTS
//   destroys its image lists with itself, as Windows does).
// Not modelled: real input (tests click through the API below, which honours disabled and
// hidden controls), a dialog's first focus (nothing has the focus until a test gives it),
// creation messages other than WM_INITDIALOG.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/list_views.h"
#include "platform/sim/sim_icons.h"
#include "platform/sim/sim_list_view.h"
#include "platform/sim/sim_windows.h"

namespace sim {

class SimDialogs : public platform::Dialogs, public platform::ListViews, SimWindowsListener {
 public:
  // List views hand their image lists back to `icons` when they go.
  SimDialogs(SimWindows& windows, SimIcons& icons);

  // ===== Test API =====
  // The newest live dialog made from the template with this id; 0 when none.
  platform::Hwnd findDialog(int32_t templateId) const;
  // Modal dialogs: the script for the template's id runs once the dialog is up (else
  // `anyModal`, else the user "closes" it: WM_COMMAND IDCANCEL). A dialog not ended by then
  // ends with -1 and "modal N left open" is recorded.
  std::map<int32_t, std::function<void(platform::Hwnd)>> modalScripts;
  std::function<void(int32_t id, platform::Hwnd)> anyModal;

  // The user's clicks. Each returns false, sending nothing, when the control is missing,
  // disabled or hidden, or its dialog is disabled.
  // A button takes the focus, then WM_COMMAND id | BN_CLICKED << 16 goes to its dialog.
  bool clickButton(platform::Hwnd dialog, int32_t id);
  bool clickLink(platform::Hwnd dialog, int32_t id);    // WM_NOTIFY NM_CLICK
  bool clickListRow(platform::Hwnd list, int32_t row);  // selects, then WM_NOTIFY NM_CLICK
  // An auto radio button clicked checks itself and clears the others of its group (from a
  // WS_GROUP control to the next). An up-down control's arrows clicked `steps` times (up
  // positive): it reads its buddy as UDM_GETPOS does, steps within its range and writes the
  // buddy; false as for clicks.
  bool clickSpin(platform::Hwnd dialog, int32_t id, int32_t steps);
  // What the user types into an edit box replaces its text.
  bool typeText(platform::Hwnd dialog, int32_t id, const std::string& text);

  // Controls, read back. Null for unknown handles.
  ControlModel* control(platform::Hwnd control);
  ListViewModel* listView(platform::Hwnd list);

  // A dialog's default processing of WM_DPICHANGED (sim_dialog_scaling.cpp): the desktop
  // answers it with scaleDialog where the system scales dialogs (per-monitor v2), given the
  // new DPI and the suggested rectangle.
  std::function<void(platform::Hwnd, uint32_t dpi, const platform::Rect& suggested)> dpiChanged;
  // What the dialog manager does then: the dialog takes the suggested rectangle; each child
  // keeps its place and size in the client area scaled by dpi / old, and gets a font for `dpi`
  // (WM_SETFONT), as does the dialog; a child dialog (a page) lays out its own children so.
  void scaleDialog(platform::Hwnd dialog, const platform::Rect& suggested, uint32_t old,
                   uint32_t dpi);
  // The DPI of the font the system last gave the window; 0 while it has the one it was made
  // with.
  uint32_t fontDpi(platform::Hwnd window) const;

  // ===== platform::Dialogs =====
  platform::Hwnd createDialog(const platform::DialogTemplate& dialog, platform::Hwnd parent,
                              platform::MessageHandler* handler) override;
  intptr_t runModalDialog(const platform::DialogTemplate& dialog, platform::Hwnd parent,
                          platform::MessageHandler* handler) override;
  bool endDialog(platform::Hwnd dialog, intptr_t result) override;
  platform::Hwnd getDlgItem(platform::Hwnd dialog, int32_t id) override;
  platform::Hwnd subclassDlgItem(platform::Hwnd dialog, int32_t id,
                                 platform::MessageHandler* handler) override;
  int32_t getDlgCtrlId(platform::Hwnd control) override;
  std::string getDlgItemText(platform::Hwnd dialog, int32_t id) override;
  bool setDlgItemText(platform::Hwnd dialog, int32_t id, const std::string& text) override;

  // ===== platform::ListViews =====
  void listViewSetExtendedStyle(platform::Hwnd list, uint32_t style) override;
  void listViewInsertColumn(platform::Hwnd list, int32_t index, const std::string& heading,
                            int32_t width) override;
  int32_t listViewInsertItem(platform::Hwnd list, int32_t row, const std::string& text,
                             int32_t image) override;
  void listViewSetItemText(platform::Hwnd list, int32_t row, int32_t column,
                           const std::string& text) override;
  std::string listViewGetItemText(platform::Hwnd list, int32_t row, int32_t column) override;
  int32_t listViewItemCount(platform::Hwnd list) override;
  void listViewDeleteAllItems(platform::Hwnd list) override;
  int32_t listViewGetSelectionMark(platform::Hwnd list) override;
  void listViewSelectRow(platform::Hwnd list, int32_t row) override;
  void listViewSetImageList(platform::Hwnd list, platform::ImageListHandle images,
                            uint32_t which) override;

  // ===== For the fakes =====
  bool isDialog(platform::Hwnd window) const { return dialogs_.count(window.value) != 0; }
  // The dialog's child with this control id (children that are no controls have id 0).
  SimWindow* item(platform::Hwnd dialog, int32_t id) const;

 private:
  struct Dialog {
    int32_t templateId = 0;
    bool ended = false;
    intptr_t result = 0;
    platform::Hwnd ownerToEnable;  // a modal dialog's owner, disabled while it is up
  };
  // The dialog manager's procedure and the controls' own, which the window table reaches
  // after the program's handler.
  using Proc = platform::LResult (SimDialogs::*)(platform::Hwnd, uint32_t, platform::WParam,
                                                 platform::LParam);
  class ClassProc : public platform::MessageHandler {
   public:
    ClassProc(SimDialogs& dialogs, Proc proc) : dialogs_(dialogs), proc_(proc) {}
    platform::LResult onMessage(platform::Hwnd window, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam) override {
      return (dialogs_.*proc_)(window, message, wParam, lParam);
    }

   private:
    SimDialogs& dialogs_;
    Proc proc_;
  };

  platform::Hwnd makeDialog(const platform::DialogTemplate& dialog, platform::Hwnd parent,
                            platform::MessageHandler* handler);
  platform::LResult dialogProc(platform::Hwnd dialog, uint32_t message, platform::WParam wParam,
                               platform::LParam lParam);
  platform::LResult controlProc(platform::Hwnd control, uint32_t message, platform::WParam wParam,
                                platform::LParam lParam);
  ControlModel* model(platform::Hwnd control);  // of a live control
  SimWindow* userTarget(platform::Hwnd dialog, int32_t id, platform::ControlClass controlClass);
  ListViewModel* ownList(platform::Hwnd list);
  // The common control's reading of its buddy: thousands separators dropped, a decimal number
  // with nothing after it and within the range becomes the position (an empty text reads 0).
  bool readBuddy(SimWindow& spin);
  void writeBuddy(SimWindow& spin);
  void checkRadio(SimWindow& button);
  void relayoutForDpi(platform::Hwnd dialog, uint32_t old, uint32_t dpi);
  static const char* controlClassName(platform::ControlClass controlClass);
  static void selectRow(ListViewModel& list, bool exclusive, int32_t row);
  void freed(platform::Hwnd window) override;  // a list view's image lists go with it

  SimWindows& windows_;
  SimIcons& icons_;
  ClassProc dialogProc_{*this, &SimDialogs::dialogProc};
  ClassProc controlProc_{*this, &SimDialogs::controlProc};
  std::map<uint32_t, Dialog> dialogs_;
  std::map<uint32_t, ControlModel> controls_;
  std::map<uint32_t, uint32_t> fontDpi_;
};

}  // namespace sim
