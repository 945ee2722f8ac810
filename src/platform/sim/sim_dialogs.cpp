// The simulated dialog manager: dialogs from templates, their default processing, modal loops.
// Controls and the user's clicks: sim_controls.cpp; list views: sim_list_views.cpp; scaling
// to a new DPI: sim_dialog_scaling.cpp.
#include "platform/sim/sim_dialogs.h"

#include <algorithm>
#include <cstdio>

namespace sim {

using namespace platform;

namespace {

int32_t dialogUnits(int32_t value) {
  return value * 3 / 2;
}

}  // namespace

SimDialogs::SimDialogs(SimWindows& windows, SimIcons& icons) : windows_(windows), icons_(icons) {
  windows_.listen(*this);
}

Hwnd SimDialogs::makeDialog(const DialogTemplate& dialog, Hwnd parent, MessageHandler* handler) {
  const bool child = (dialog.style & WS_CHILD) != 0;
  SimWindow* p = parent ? windows_.live(parent) : nullptr;
  if (handler == nullptr || (parent && p == nullptr) || (child && (p == nullptr || !p->own))) {
    return {};
  }

  SimWindow& w = windows_.newWindow(windows_.nextHandle());
  const Hwnd h = w.handle;
  w.own = true;
  w.processId = windows_.ownProcessId;
  w.text = dialog.caption != nullptr ? dialog.caption : "";
  w.style = dialog.style & ~WS_VISIBLE;  // shown after WM_INITDIALOG
  w.exStyle = dialog.exStyle | ((dialog.style & DS_MODALFRAME) != 0 ? WS_EX_DLGMODALFRAME : 0);
  w.handler = handler;
  w.classProc = &dialogProc_;
  w.className = "#32770";
  dialogs_[h.value].templateId = dialog.id;

  // The template places the client area: in the parent's client area for a child, in the
  // owner's for an owned dialog, on the screen otherwise.
  Point client{dialogUnits(dialog.x), dialogUnits(dialog.y)};
  if (p != nullptr) {
    const Point base = windows_.clientOrigin(*p);
    client = {client.x + base.x, client.y + base.y};
  }
  const Rect in = windows_.insets(w);
  Rect r{client.x - in.left, client.y - in.top, client.x + dialogUnits(dialog.cx) + in.right,
         client.y + dialogUnits(dialog.cy) + in.bottom};
  if (child) {
    w.parent = parent;
    p->children.push_back(h);
  } else {
    w.owner = parent;
    if ((dialog.style & DS_CENTER) != 0) {
      r = {0, 0, r.width(), r.height()};
      const int32_t x = windows_.workArea.left + (windows_.workArea.width() - r.width()) / 2;
      const int32_t y = windows_.workArea.top + (windows_.workArea.height() - r.height()) / 2;
      r = {x, y, x + r.width(), y + r.height()};
    }
    // Windows keeps a new top-level dialog on the work area.
    const int32_t dx =
        std::max(windows_.workArea.left - r.left, std::min(0, windows_.workArea.right - r.right));
    const int32_t dy =
        std::max(windows_.workArea.top - r.top, std::min(0, windows_.workArea.bottom - r.bottom));
    r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    windows_.placeOnTop(w);
  }
  w.rect = r;

  const Point origin = windows_.clientOrigin(w);
  for (const ControlTemplate& c : dialog.controls) {
    SimWindow& control = windows_.newWindow(windows_.nextHandle());
    control.own = true;
    control.processId = windows_.ownProcessId;
    control.text = c.text != nullptr ? c.text : "";
    control.style = c.style | WS_CHILD | WS_VISIBLE;
    control.exStyle = c.exStyle;
    control.parent = h;
    control.control = true;
    control.classProc = &controlProc_;
    ControlModel& model = controls_[control.handle.value];
    model.controlClass = c.controlClass;
    control.className = controlClassName(c.controlClass);
    model.id = c.id;
    const int32_t x = origin.x + dialogUnits(c.x);
    const int32_t y = origin.y + dialogUnits(c.y);
    control.rect = {x, y, x + dialogUnits(c.cx), y + dialogUnits(c.cy)};
    if (c.controlClass == ControlClass::UpDown && (c.style & UDS_AUTOBUDDY) != 0 &&
        !w.children.empty()) {
      model.buddy = w.children.back();
    }
    w.children.push_back(control.handle);
  }

  const WParam firstControl = dialog.controls.empty() ? 0 : w.children.front().value;
  windows_.dispatch(h, WM_INITDIALOG, firstControl, 0);
  if (windows_.live(h) != nullptr && (dialog.style & WS_VISIBLE) != 0) windows_.show(h, SW_SHOW);
  return windows_.live(h) != nullptr ? h : Hwnd{};
}

Hwnd SimDialogs::createDialog(const DialogTemplate& dialog, Hwnd parent, MessageHandler* handler) {
  ++windows_.portCalls;
  const Hwnd h = makeDialog(dialog, parent, handler);
  char text[64];
  snprintf(text, sizeof text, "dialog %d h%x", dialog.id, h.value);
  windows_.clock().actions.push_back(text);
  return h;
}

intptr_t SimDialogs::runModalDialog(const DialogTemplate& dialog, Hwnd parent,
                                    MessageHandler* handler) {
  ++windows_.portCalls;
  const std::string name = "modal " + std::to_string(dialog.id);
  windows_.clock().actions.push_back(name + " begin");
  const Hwnd h = (dialog.style & WS_CHILD) != 0 ? Hwnd{} : makeDialog(dialog, parent, handler);
  if (!h) {
    windows_.clock().actions.push_back(name + " end -1");
    return -1;
  }
  // The owner takes no input while the dialog is up; endDialog gives it back.
  if (SimWindow* owner = windows_.live(parent);
      owner != nullptr && owner->own && (owner->style & WS_DISABLED) == 0) {
    owner->style |= WS_DISABLED;
    dialogs_[h.value].ownerToEnable = parent;
  }

  auto over = [this, h] { return windows_.live(h) == nullptr || dialogs_[h.value].ended; };
  // The loop shows the dialog once it first finds nothing waiting: what WM_INITDIALOG posted
  // arrives while the dialog is still hidden.
  windows_.pumpUntil(over);
  if (!over() && !windows_.live(h)->visible()) windows_.show(h, SW_SHOWNORMAL);
  windows_.pumpUntil(over);
  if (!over()) {
    auto script = modalScripts.find(dialog.id);
    if (script != modalScripts.end()) {
      const auto run = script->second;  // the script may edit the map
      run(h);
    } else if (anyModal) {
      const auto run = anyModal;
      run(dialog.id, h);
    } else {
      // What a user closing the box amounts to.
      SimWindow* cancel = item(h, IDCANCEL);
      windows_.dispatch(h, WM_COMMAND, static_cast<WParam>(IDCANCEL),
                        cancel == nullptr ? 0 : static_cast<LParam>(cancel->handle.value));
    }
    windows_.pumpUntil(over);
  }

  const bool alive = windows_.live(h) != nullptr;
  Dialog& d = dialogs_[h.value];
  if (alive && !d.ended) {
    windows_.clock().actions.push_back(name + " left open");
    d.ended = true;
    d.result = -1;
  }
  const intptr_t result = d.ended ? d.result : -1;
  if (SimWindow* owner = windows_.live(d.ownerToEnable)) owner->style &= ~WS_DISABLED;
  d.ownerToEnable = {};
  if (alive) windows_.destroy(h);
  windows_.clock().actions.push_back(name + " end " + std::to_string(result));
  return result;
}

bool SimDialogs::endDialog(Hwnd dialog, intptr_t result) {
  ++windows_.portCalls;
  SimWindow* d = windows_.live(dialog);
  if (d == nullptr || !isDialog(dialog)) return false;
  Dialog& state = dialogs_[dialog.value];
  state.ended = true;
  state.result = result;
  if (SimWindow* owner = windows_.live(state.ownerToEnable)) owner->style &= ~WS_DISABLED;
  state.ownerToEnable = {};
  if (d->visible()) {
    windows_.changePosition(
        dialog, {dialog,
                 {},
                 0,
                 0,
                 0,
                 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW});
  }
  return true;
}

Hwnd SimDialogs::findDialog(int32_t templateId) const {
  // Handles only grow (reused ones are never own), so the last match is the newest.
  Hwnd newest;
  for (const auto& [value, d] : dialogs_) {
    if (windows_.live(Hwnd{value}) != nullptr && d.templateId == templateId) newest = Hwnd{value};
  }
  return newest;
}

LResult SimDialogs::dialogProc(Hwnd dialog, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_CLOSE: {
      ++windows_.portCalls;
      // The default dialog procedure posts the command, and only while Cancel is usable.
      SimWindow* cancel = item(dialog, IDCANCEL);
      if (cancel != nullptr && (cancel->style & WS_DISABLED) != 0) return 0;
      windows_.postMessage(dialog, WM_COMMAND, static_cast<WParam>(IDCANCEL),
                           cancel == nullptr ? 0 : static_cast<LParam>(cancel->handle.value));
      return 0;
    }
    case WM_DPICHANGED:
      ++windows_.portCalls;
      if (dpiChanged && lParam != 0) {
        const Rect suggested = *reinterpret_cast<const Rect*>(lParam);
        dpiChanged(dialog, static_cast<uint32_t>(wParam & 0xFFFF), suggested);
      }
      return 0;
    default:
      return windows_.windowDefault(dialog, message, wParam, lParam);
  }
}

}  // namespace sim
