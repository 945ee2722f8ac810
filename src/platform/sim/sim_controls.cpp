// The simulated dialog manager: the program's controls, their own procedure, and the user's
// clicks and typing into them.
#include <algorithm>
#include <cstdlib>

#include "platform/sim/sim_dialogs.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kBmGetCheck = 0x00F0;  // BM_GETCHECK
constexpr uint32_t kBmSetCheck = 0x00F1;  // BM_SETCHECK
constexpr uint32_t kButtonTypeMask = 0xF;

}  // namespace

SimWindow* SimDialogs::item(Hwnd dialog, int32_t id) const {
  SimWindow* d = windows_.live(dialog);
  if (d == nullptr) return nullptr;
  for (Hwnd child : d->children) {
    SimWindow* c = windows_.live(child);
    if (c == nullptr) continue;
    const auto model = controls_.find(child.value);
    if ((model == controls_.end() ? 0 : model->second.id) == id) return c;
  }
  return nullptr;
}

Hwnd SimDialogs::getDlgItem(Hwnd dialog, int32_t id) {
  ++windows_.portCalls;
  SimWindow* c = item(dialog, id);
  return c == nullptr ? Hwnd{} : c->handle;
}

int32_t SimDialogs::getDlgCtrlId(Hwnd control) {
  ++windows_.portCalls;
  SimWindow* c = windows_.live(control);
  if (c == nullptr || !c->parent) return 0;
  const ControlModel* m = model(control);
  return m == nullptr ? 0 : m->id;
}

std::string SimDialogs::getDlgItemText(Hwnd dialog, int32_t id) {
  ++windows_.portCalls;
  SimWindow* c = item(dialog, id);
  return c == nullptr ? std::string() : c->text;
}

bool SimDialogs::setDlgItemText(Hwnd dialog, int32_t id, const std::string& text) {
  ++windows_.portCalls;
  SimWindow* c = item(dialog, id);
  if (c == nullptr) return false;
  c->text = text;
  return true;
}

ControlModel* SimDialogs::model(Hwnd control) {
  if (windows_.live(control) == nullptr) return nullptr;
  const auto found = controls_.find(control.value);
  return found == controls_.end() ? nullptr : &found->second;
}

LResult SimDialogs::controlProc(Hwnd handle, uint32_t message, WParam wParam, LParam lParam) {
  SimWindow& control = *windows_.live(handle);  // the table reaches it only while it lives
  ControlModel& model = controls_[handle.value];
  switch (message) {
    case WM_SETREDRAW:
      if (model.controlClass == ControlClass::ListView) {
        model.list.redraw = wParam != 0;
        if (wParam != 0) ++model.list.redrawCount;
      }
      return 0;
    case STM_SETICON:
      if (model.controlClass == ControlClass::Static) {
        const IconHandle previous = model.icon;
        model.icon = IconHandle{wParam};
        return static_cast<LResult>(previous.value);
      }
      return 0;
    case kBmGetCheck:
      return model.controlClass == ControlClass::Button ? model.checked : 0;
    case kBmSetCheck:
      if (model.controlClass == ControlClass::Button) model.checked = static_cast<uint32_t>(wParam);
      return 0;
    case UDM_SETRANGE32:
      if (model.controlClass != ControlClass::UpDown) return 0;
      model.low = static_cast<int32_t>(wParam);
      model.high = static_cast<int32_t>(lParam);
      return 0;
    case UDM_SETPOS32: {
      if (model.controlClass != ControlClass::UpDown) return 0;
      const int32_t previous = model.position;
      model.position = std::clamp(static_cast<int32_t>(lParam), std::min(model.low, model.high),
                                  std::max(model.low, model.high));
      writeBuddy(control);
      return previous;
    }
    case UDM_GETPOS: {
      if (model.controlClass != ControlClass::UpDown) return 0;
      const bool read = readBuddy(control);
      return static_cast<LResult>(static_cast<uint16_t>(model.position)) | (read ? 0 : 0x10000);
    }
    default:
      return windows_.windowDefault(control.handle, message, wParam, lParam);
  }
}

Hwnd SimDialogs::subclassDlgItem(Hwnd dialog, int32_t id, MessageHandler* handler) {
  ++windows_.portCalls;
  SimWindow* c = item(dialog, id);
  if (c == nullptr || handler == nullptr || c->handler != nullptr) return {};
  c->handler = handler;
  return c->handle;
}

ControlModel* SimDialogs::control(Hwnd control) {
  SimWindow* c = windows_.live(control);
  return c == nullptr ? nullptr : model(control);
}

ListViewModel* SimDialogs::listView(Hwnd list) {
  return ownList(list);
}

SimWindow* SimDialogs::userTarget(Hwnd dialog, int32_t id, ControlClass controlClass) {
  SimWindow* c = item(dialog, id);
  const ControlModel* m = c == nullptr ? nullptr : model(c->handle);
  if (m == nullptr || m->controlClass != controlClass) return nullptr;
  return windows_.visibleChain(*c) && windows_.enabledChain(*c) ? c : nullptr;
}

bool SimDialogs::clickButton(Hwnd dialog, int32_t id) {
  SimWindow* button = userTarget(dialog, id, ControlClass::Button);
  if (button == nullptr) return false;
  windows_.setFocusTo(button->handle);  // a button takes the focus when it is pressed
  if (windows_.live(button->handle) == nullptr) return false;
  if ((button->style & kButtonTypeMask) == BS_AUTOCHECKBOX) {
    ControlModel& m = *model(button->handle);
    m.checked = m.checked != 0 ? 0 : 1;
  }
  if ((button->style & kButtonTypeMask) == BS_AUTORADIOBUTTON) checkRadio(*button);
  const WParam command = static_cast<uint16_t>(id) | (static_cast<WParam>(BN_CLICKED) << 16);
  windows_.dispatch(dialog, WM_COMMAND, command, static_cast<LParam>(button->handle.value));
  return true;
}

const char* SimDialogs::controlClassName(ControlClass controlClass) {
  switch (controlClass) {
    case ControlClass::Button:
      return "Button";
    case ControlClass::Static:
      return "Static";
    case ControlClass::Edit:
      return "Edit";
    case ControlClass::ListView:
      return "SysListView32";
    case ControlClass::UpDown:
      return "msctls_updown32";
    case ControlClass::HotKey:
      return "msctls_hotkey32";
    case ControlClass::Link:
      return "SysLink";
  }
  return "";
}

void SimDialogs::checkRadio(SimWindow& button) {
  SimWindow* dialog = windows_.live(button.parent);
  if (dialog == nullptr) return;
  const auto& siblings = dialog->children;
  auto at = std::find(siblings.begin(), siblings.end(), button.handle);
  auto first = at;
  while (first != siblings.begin() && (windows_.live(*first)->style & WS_GROUP) == 0) --first;
  for (auto i = first; i != siblings.end(); ++i) {
    if (i != first && (windows_.live(*i)->style & WS_GROUP) != 0) break;
    SimWindow* other = windows_.live(*i);
    if (ControlModel* m = model(other->handle);
        m != nullptr && (other->style & kButtonTypeMask) == BS_AUTORADIOBUTTON) {
      m->checked = 0;
    }
  }
  model(button.handle)->checked = 1;
}

bool SimDialogs::readBuddy(SimWindow& spin) {
  ControlModel& model = *this->model(spin.handle);
  SimWindow* buddy = windows_.live(model.buddy);
  if ((spin.style & UDS_SETBUDDYINT) == 0 || buddy == nullptr) return false;
  std::string digits;
  for (char ch : buddy->text) {
    if (ch != ',') digits += ch;
  }
  char* end = nullptr;
  const long value = strtol(digits.c_str(), &end, 10);
  const int32_t low = std::min(model.low, model.high);
  const int32_t high = std::max(model.low, model.high);
  if (*end != '\0' || value < low || value > high) return false;
  model.position = static_cast<int32_t>(value);
  return true;
}

void SimDialogs::writeBuddy(SimWindow& spin) {
  const ControlModel& model = *this->model(spin.handle);
  SimWindow* buddy = windows_.live(model.buddy);
  if ((spin.style & UDS_SETBUDDYINT) != 0 && buddy != nullptr) {
    buddy->text = std::to_string(model.position);
  }
}

bool SimDialogs::clickSpin(Hwnd dialog, int32_t id, int32_t steps) {
  SimWindow* spin = userTarget(dialog, id, ControlClass::UpDown);
  if (spin == nullptr) return false;
  ControlModel& model = *this->model(spin->handle);
  readBuddy(*spin);
  const int32_t low = std::min(model.low, model.high);
  const int32_t high = std::max(model.low, model.high);
  model.position = std::clamp(model.position + steps, low, high);
  writeBuddy(*spin);
  return true;
}

bool SimDialogs::typeText(Hwnd dialog, int32_t id, const std::string& text) {
  SimWindow* edit = userTarget(dialog, id, ControlClass::Edit);
  if (edit == nullptr || (edit->style & ES_READONLY) != 0) return false;
  edit->text = text;
  return true;
}

bool SimDialogs::clickLink(Hwnd dialog, int32_t id) {
  SimWindow* link = userTarget(dialog, id, ControlClass::Link);
  if (link == nullptr) return false;
  NotifyHeader header{link->handle, static_cast<uint64_t>(id), NM_CLICK};
  windows_.dispatch(dialog, WM_NOTIFY, static_cast<WParam>(id), reinterpret_cast<LParam>(&header));
  return true;
}

bool SimDialogs::clickListRow(Hwnd list, int32_t row) {
  SimWindow* c = windows_.live(list);
  ListViewModel* model = ownList(list);
  if (model == nullptr || !windows_.visibleChain(*c) || !windows_.enabledChain(*c)) return false;
  if (row < 0 || row >= static_cast<int32_t>(model->rows.size())) return false;
  selectRow(*model, true, row);
  const int32_t id = this->model(list)->id;
  NotifyHeader header{list, static_cast<uint64_t>(id), NM_CLICK};
  windows_.dispatch(c->parent, WM_NOTIFY, static_cast<WParam>(id),
                    reinterpret_cast<LParam>(&header));
  return true;
}

}  // namespace sim
