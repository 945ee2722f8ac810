#include "ui/dialog.h"

namespace ui {

using namespace platform;

void DataExchange::text(int32_t id, std::string& value) {
  if (saving_) {
    value = dialog_.itemText(id);
  } else {
    dialog_.setItemText(id, value);
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

void Dialog::onCancel() { endDialog(IDCANCEL); }

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
      if (onCommand(id, hiWord(wParam), Hwnd{static_cast<uint32_t>(lParam)})) return 0;
      break;
    }
    case WM_NOTIFY: {
      LResult result = 0;
      const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
      if (header != nullptr && onNotify(*header, result)) return result;
      break;
    }
    case WM_TIMER:
      onTimer(static_cast<uintptr_t>(wParam));
      break;
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
  return defaultProc(message, wParam, lParam);
}

}  // namespace ui
