#include "ui/dialog.h"

#include <algorithm>

namespace ui {

using namespace platform;

void DataExchange::text(int32_t id, std::string& value) {
  if (saving_) {
    value = dialog_.itemText(id);
  } else {
    dialog_.setItemText(id, value);
  }
}

void DataExchange::check(int32_t id, int32_t& value) {
  const Hwnd box = dialog_.item(id);
  if (saving_) {
    value = dialog_.messages().sendMessage(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  } else {
    dialog_.messages().sendMessage(box, BM_SETCHECK, value != 0 ? BST_CHECKED : 0, 0);
  }
}

void DataExchange::radio(int32_t firstId, int32_t& value) {
  const std::vector<ControlTemplate>& controls = dialog_.dialogTemplate().controls;
  auto at = std::find_if(controls.begin(), controls.end(),
                         [firstId](const ControlTemplate& c) { return c.id == firstId; });
  if (saving_) value = -1;
  int32_t index = 0;
  for (auto c = at; c != controls.end(); ++c, ++index) {
    const bool radioButton =
        c->controlClass == ControlClass::Button && (c->style & 0xFu) == BS_AUTORADIOBUTTON;
    if (!radioButton || (c != at && (c->style & WS_GROUP) != 0)) break;
    const Hwnd button = dialog_.item(c->id);
    if (saving_) {
      if (dialog_.messages().sendMessage(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
    } else {
      dialog_.messages().sendMessage(button, BM_SETCHECK, index == value ? BST_CHECKED : 0, 0);
    }
  }
}

intptr_t Dialog::doModal(Hwnd parent) {
  return dialogs_.runModalDialog(template_, parent, this);
}

bool Dialog::create(Hwnd parent) {
  return static_cast<bool>(dialogs_.createDialog(template_, parent, this));
}

void Dialog::updateData(bool saving) {
  DataExchange exchange(*this, saving);
  doDataExchange(exchange);
}

bool Dialog::onInitDialog() {
  updateData(false);
  return true;
}

void Dialog::onOK() {
  updateData(true);
  endDialog(IDOK);
}

void Dialog::onCancel() {
  endDialog(IDCANCEL);
}

LResult Dialog::windowProc(uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return onInitDialog() ? 1 : 0;
    case WM_COMMAND: {
      const uint32_t id = loWord(wParam);
      if (id == IDOK) {
        onOK();
        return 0;
      }
      if (id == IDCANCEL) {
        onCancel();
        return 0;
      }
      break;  // other commands: onCommand
    }
    case WM_NOTIFY: {
      LResult result = 0;
      const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
      if (header != nullptr && onNotify(*header, result)) return result;
      break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      const BrushHandle base{static_cast<uint64_t>(defaultProc(message, wParam, lParam))};
      const BrushHandle brush =
          onCtlColor(DeviceContext{wParam}, Hwnd{static_cast<uint32_t>(lParam)},
                     static_cast<CtlColor>(message - WM_CTLCOLORMSGBOX), base);
      return static_cast<LResult>(brush.value);
    }
    default:
      break;
  }
  return Window::windowProc(message, wParam, lParam);
}

}  // namespace ui
