// The simulated window manager: the program's dialogs and their controls, modal loops, the
// user's clicks, menus, painting calls and the screen.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/sim/sim_window.h"
#include "platform/sim/sim_window_manager.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kBmGetCheck = 0x00F0;  // BM_GETCHECK
constexpr uint32_t kBmSetCheck = 0x00F1;  // BM_SETCHECK
constexpr uint32_t kButtonTypeMask = 0xF;

int32_t dialogUnits(int32_t value) {
  return value * 3 / 2;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Dialogs.

Hwnd SimWindowManager::makeDialog(const DialogTemplate& dialog, Hwnd parent,
                                  MessageHandler* handler) {
  const bool child = (dialog.style & WS_CHILD) != 0;
  Window* p = parent ? live(parent) : nullptr;
  if ((parent && p == nullptr) || (child && (p == nullptr || !p->own))) return {};

  Window& w = newWindow(nextHandle());
  const Hwnd h = w.handle;
  w.own = true;
  w.processId = ownProcessId;
  w.text = dialog.caption != nullptr ? dialog.caption : "";
  w.style = dialog.style & ~WS_VISIBLE;  // shown after WM_INITDIALOG
  w.exStyle = dialog.exStyle | ((dialog.style & DS_MODALFRAME) != 0 ? WS_EX_DLGMODALFRAME : 0);
  w.handler = handler;
  w.dialog = true;
  w.templateId = dialog.id;

  // The template places the client area: in the parent's client area for a child, in the
  // owner's for an owned dialog, on the screen otherwise.
  Point client{dialogUnits(dialog.x), dialogUnits(dialog.y)};
  if (p != nullptr) {
    const Point base = clientOrigin(*p);
    client = {client.x + base.x, client.y + base.y};
  }
  const Rect in = insets(w);
  Rect r{client.x - in.left, client.y - in.top, client.x + dialogUnits(dialog.cx) + in.right,
         client.y + dialogUnits(dialog.cy) + in.bottom};
  if (child) {
    w.parent = parent;
    p->children.push_back(h);
  } else {
    w.owner = parent;
    if ((dialog.style & DS_CENTER) != 0) {
      r = {0, 0, r.width(), r.height()};
      const int32_t x = workArea.left + (workArea.width() - r.width()) / 2;
      const int32_t y = workArea.top + (workArea.height() - r.height()) / 2;
      r = {x, y, x + r.width(), y + r.height()};
    }
    // Windows keeps a new top-level dialog on the work area.
    const int32_t dx = std::max(workArea.left - r.left, std::min(0, workArea.right - r.right));
    const int32_t dy = std::max(workArea.top - r.top, std::min(0, workArea.bottom - r.bottom));
    r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    placeOnTop(w);
  }
  w.rect = r;

  const Point origin = clientOrigin(w);
  for (const ControlTemplate& c : dialog.controls) {
    Window& control = newWindow(nextHandle());
    control.own = true;
    control.processId = ownProcessId;
    control.text = c.text != nullptr ? c.text : "";
    control.style = c.style | WS_CHILD | WS_VISIBLE;
    control.exStyle = c.exStyle;
    control.parent = h;
    control.controlId = c.id;
    control.control = std::make_unique<ControlModel>();
    control.control->controlClass = c.controlClass;
    control.className = controlClassName(c.controlClass);
    control.control->id = c.id;
    const int32_t x = origin.x + dialogUnits(c.x);
    const int32_t y = origin.y + dialogUnits(c.y);
    control.rect = {x, y, x + dialogUnits(c.cx), y + dialogUnits(c.cy)};
    if (c.controlClass == ControlClass::UpDown && (c.style & UDS_AUTOBUDDY) != 0 &&
        !w.children.empty()) {
      control.control->buddy = w.children.back();
    }
    w.children.push_back(control.handle);
  }

  const WParam firstControl = dialog.controls.empty() ? 0 : w.children.front().value;
  dispatch(h, WM_INITDIALOG, firstControl, 0);
  if (live(h) != nullptr && (dialog.style & WS_VISIBLE) != 0) show(h, SW_SHOW);
  return live(h) != nullptr ? h : Hwnd{};
}

Hwnd SimWindowManager::createDialog(const DialogTemplate& dialog, Hwnd parent,
                                    MessageHandler* handler) {
  ++portCalls;
  const Hwnd h = makeDialog(dialog, parent, handler);
  char text[64];
  snprintf(text, sizeof text, "dialog %d h%x", dialog.id, h.value);
  actions_.push_back(text);
  return h;
}

intptr_t SimWindowManager::runModalDialog(const DialogTemplate& dialog, Hwnd parent,
                                          MessageHandler* handler) {
  ++portCalls;
  const std::string name = "modal " + std::to_string(dialog.id);
  actions_.push_back(name + " begin");
  const Hwnd h = (dialog.style & WS_CHILD) != 0 ? Hwnd{} : makeDialog(dialog, parent, handler);
  if (!h) {
    actions_.push_back(name + " end -1");
    return -1;
  }
  // The owner takes no input while the dialog is up; endDialog gives it back.
  if (Window* owner = live(parent);
      owner != nullptr && owner->own && (owner->style & WS_DISABLED) == 0) {
    owner->style |= WS_DISABLED;
    find(h)->ownerToEnable = parent;
  }

  auto over = [this, h] {
    Window* d = live(h);
    return d == nullptr || d->ended;
  };
  if (!over() && !live(h)->visible()) show(h, SW_SHOWNORMAL);
  pumpUntil(over);
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
      Window* cancel = item(h, IDCANCEL);
      dispatch(h, WM_COMMAND, static_cast<WParam>(IDCANCEL),
               cancel == nullptr ? 0 : static_cast<LParam>(cancel->handle.value));
    }
    pumpUntil(over);
  }

  Window* d = find(h);
  if (d->alive && !d->ended) {
    actions_.push_back(name + " left open");
    d->ended = true;
    d->result = -1;
  }
  const intptr_t result = d->ended ? d->result : -1;
  if (Window* owner = live(d->ownerToEnable)) owner->style &= ~WS_DISABLED;
  d->ownerToEnable = {};
  if (d->alive) destroy(h);
  actions_.push_back(name + " end " + std::to_string(result));
  return result;
}

bool SimWindowManager::endDialog(Hwnd dialog, intptr_t result) {
  ++portCalls;
  Window* d = live(dialog);
  if (d == nullptr || !d->dialog) return false;
  d->ended = true;
  d->result = result;
  if (Window* owner = live(d->ownerToEnable)) owner->style &= ~WS_DISABLED;
  d->ownerToEnable = {};
  if (d->visible()) {
    changePosition(dialog,
                   {dialog,
                    {},
                    0,
                    0,
                    0,
                    0,
                    SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW});
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Controls.

SimWindowManager::Window* SimWindowManager::item(Hwnd dialog, int32_t id) const {
  Window* d = live(dialog);
  if (d == nullptr) return nullptr;
  for (Hwnd child : d->children) {
    Window* c = live(child);
    if (c != nullptr && c->controlId == id) return c;
  }
  return nullptr;
}

Hwnd SimWindowManager::getDlgItem(Hwnd dialog, int32_t id) {
  ++portCalls;
  Window* c = item(dialog, id);
  return c == nullptr ? Hwnd{} : c->handle;
}

int32_t SimWindowManager::getDlgCtrlId(Hwnd control) {
  ++portCalls;
  Window* c = live(control);
  return c == nullptr || !c->parent ? 0 : c->controlId;
}

std::string SimWindowManager::getDlgItemText(Hwnd dialog, int32_t id) {
  ++portCalls;
  Window* c = item(dialog, id);
  return c == nullptr ? std::string() : c->text;
}

bool SimWindowManager::setDlgItemText(Hwnd dialog, int32_t id, const std::string& text) {
  ++portCalls;
  Window* c = item(dialog, id);
  if (c == nullptr) return false;
  c->text = text;
  return true;
}

LResult SimWindowManager::controlProc(Window& control, uint32_t message, WParam wParam,
                                      LParam lParam) {
  ControlModel& model = *control.control;
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
      return windowDefault(control.handle, message, wParam, lParam);
  }
}

Hwnd SimWindowManager::subclassDlgItem(Hwnd dialog, int32_t id, MessageHandler* handler) {
  ++portCalls;
  Window* c = item(dialog, id);
  if (c == nullptr || handler == nullptr || c->handler != nullptr) return {};
  c->handler = handler;
  return c->handle;
}

ControlModel* SimWindowManager::control(Hwnd control) {
  Window* c = live(control);
  return c == nullptr ? nullptr : c->control.get();
}

ListViewModel* SimWindowManager::listView(Hwnd list) {
  return ownList(list);
}

SimWindowManager::Window* SimWindowManager::userTarget(Hwnd dialog, int32_t id,
                                                       ControlClass controlClass) {
  Window* c = item(dialog, id);
  if (c == nullptr || !c->control || c->control->controlClass != controlClass) return nullptr;
  return visibleChain(*c) && enabledChain(*c) ? c : nullptr;
}

bool SimWindowManager::clickButton(Hwnd dialog, int32_t id) {
  Window* button = userTarget(dialog, id, ControlClass::Button);
  if (button == nullptr) return false;
  setFocusTo(button->handle);  // a button takes the focus when it is pressed
  if (live(button->handle) == nullptr) return false;
  if ((button->style & kButtonTypeMask) == BS_AUTOCHECKBOX) {
    button->control->checked = button->control->checked != 0 ? 0 : 1;
  }
  if ((button->style & kButtonTypeMask) == BS_AUTORADIOBUTTON) checkRadio(*button);
  const WParam command = static_cast<uint16_t>(id) | (static_cast<WParam>(BN_CLICKED) << 16);
  dispatch(dialog, WM_COMMAND, command, static_cast<LParam>(button->handle.value));
  return true;
}

const char* SimWindowManager::controlClassName(ControlClass controlClass) {
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

void SimWindowManager::checkRadio(Window& button) {
  Window* dialog = live(button.parent);
  if (dialog == nullptr) return;
  const auto& siblings = dialog->children;
  auto at = std::find(siblings.begin(), siblings.end(), button.handle);
  auto first = at;
  while (first != siblings.begin() && (live(*first)->style & WS_GROUP) == 0) --first;
  for (auto i = first; i != siblings.end(); ++i) {
    if (i != first && (live(*i)->style & WS_GROUP) != 0) break;
    Window* other = live(*i);
    if (other->control && (other->style & kButtonTypeMask) == BS_AUTORADIOBUTTON) {
      other->control->checked = 0;
    }
  }
  button.control->checked = 1;
}

bool SimWindowManager::readBuddy(Window& spin) {
  ControlModel& model = *spin.control;
  Window* buddy = live(model.buddy);
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

void SimWindowManager::writeBuddy(Window& spin) {
  Window* buddy = live(spin.control->buddy);
  if ((spin.style & UDS_SETBUDDYINT) != 0 && buddy != nullptr) {
    buddy->text = std::to_string(spin.control->position);
  }
}

bool SimWindowManager::clickSpin(Hwnd dialog, int32_t id, int32_t steps) {
  Window* spin = userTarget(dialog, id, ControlClass::UpDown);
  if (spin == nullptr) return false;
  ControlModel& model = *spin->control;
  readBuddy(*spin);
  const int32_t low = std::min(model.low, model.high);
  const int32_t high = std::max(model.low, model.high);
  model.position = std::clamp(model.position + steps, low, high);
  writeBuddy(*spin);
  return true;
}

bool SimWindowManager::typeText(Hwnd dialog, int32_t id, const std::string& text) {
  Window* edit = userTarget(dialog, id, ControlClass::Edit);
  if (edit == nullptr || (edit->style & ES_READONLY) != 0) return false;
  edit->text = text;
  return true;
}

bool SimWindowManager::clickLink(Hwnd dialog, int32_t id) {
  Window* link = userTarget(dialog, id, ControlClass::Link);
  if (link == nullptr) return false;
  NotifyHeader header{link->handle, static_cast<uint64_t>(id), NM_CLICK};
  dispatch(dialog, WM_NOTIFY, static_cast<WParam>(id), reinterpret_cast<LParam>(&header));
  return true;
}

bool SimWindowManager::clickListRow(Hwnd list, int32_t row) {
  Window* c = live(list);
  ListViewModel* model = ownList(list);
  if (model == nullptr || !visibleChain(*c) || !enabledChain(*c)) return false;
  if (row < 0 || row >= static_cast<int32_t>(model->rows.size())) return false;
  selectRow(*model, true, row);
  NotifyHeader header{list, static_cast<uint64_t>(c->controlId), NM_CLICK};
  dispatch(c->parent, WM_NOTIFY, static_cast<WParam>(c->controlId),
           reinterpret_cast<LParam>(&header));
  return true;
}

// ---------------------------------------------------------------------------------------------
// List views.

ListViewModel* SimWindowManager::ownList(Hwnd list) {
  Window* c = live(list);
  if (c == nullptr || !c->control || c->control->controlClass != ControlClass::ListView) {
    return nullptr;
  }
  return &c->control->list;
}

void SimWindowManager::selectRow(ListViewModel& list, bool exclusive, int32_t row) {
  list.selectionMark = row;
  if (row < 0 || row >= static_cast<int32_t>(list.rows.size())) return;
  for (ListViewRow& r : list.rows) {
    if (exclusive) r.selected = false;
    r.focused = false;
  }
  list.rows[static_cast<size_t>(row)].selected = true;
  list.rows[static_cast<size_t>(row)].focused = true;
}

void SimWindowManager::listViewSetExtendedStyle(Hwnd list, uint32_t style) {
  ++portCalls;
  if (ListViewModel* m = ownList(list)) m->extendedStyle = style;
}

void SimWindowManager::listViewInsertColumn(Hwnd list, int32_t index, const std::string& heading,
                                            int32_t width) {
  ++portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr || index < 0) return;
  const size_t at = std::min(static_cast<size_t>(index), m->columns.size());
  m->columns.insert(m->columns.begin() + static_cast<ptrdiff_t>(at), {heading, width});
}

int32_t SimWindowManager::listViewInsertItem(Hwnd list, int32_t row, const std::string& text,
                                             int32_t image) {
  ++portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr || row < 0) return -1;
  const int32_t at = std::min(row, static_cast<int32_t>(m->rows.size()));
  ListViewRow added;
  added.cells.push_back({text});
  added.image = image;
  m->rows.insert(m->rows.begin() + at, added);
  // The selection mark follows its row.
  if (m->selectionMark >= at) ++m->selectionMark;
  return at;
}

void SimWindowManager::listViewSetItemText(Hwnd list, int32_t row, int32_t column,
                                           const std::string& text) {
  ++portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr || row < 0 || row >= static_cast<int32_t>(m->rows.size()) || column < 0) {
    return;
  }
  // Text for a column that does not exist is never shown; keep it out of the model.
  if (column > 0 && column >= static_cast<int32_t>(m->columns.size())) return;
  auto& cells = m->rows[static_cast<size_t>(row)].cells;
  if (cells.size() <= static_cast<size_t>(column)) cells.resize(static_cast<size_t>(column) + 1);
  cells[static_cast<size_t>(column)] = {text};
}

std::string SimWindowManager::listViewGetItemText(Hwnd list, int32_t row, int32_t column) {
  ++portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr || row < 0 || column < 0) return {};
  return m->text(static_cast<size_t>(row), static_cast<size_t>(column));
}

int32_t SimWindowManager::listViewItemCount(Hwnd list) {
  ++portCalls;
  ListViewModel* m = ownList(list);
  return m == nullptr ? 0 : static_cast<int32_t>(m->rows.size());
}

void SimWindowManager::listViewDeleteAllItems(Hwnd list) {
  ++portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr) return;
  m->rows.clear();
  m->selectionMark = -1;
  m->hotItem = -1;
}

int32_t SimWindowManager::listViewGetSelectionMark(Hwnd list) {
  ++portCalls;
  ListViewModel* m = ownList(list);
  return m == nullptr ? -1 : m->selectionMark;
}

void SimWindowManager::listViewSelectRow(Hwnd list, int32_t row) {
  ++portCalls;
  ListViewModel* m = ownList(list);
  if (m == nullptr) return;
  selectRow(*m, (live(list)->style & LVS_SINGLESEL) != 0, row);
  m->hotItem = row;
  if (row >= 0 && row < static_cast<int32_t>(m->rows.size())) m->ensuredVisible = row;
}

// ---------------------------------------------------------------------------------------------
// Menus.

bool SimWindowManager::hasSystemMenu(Hwnd window) {
  ++portCalls;
  Window* w = live(window);
  return w != nullptr && w->own && (w->style & WS_SYSMENU) != 0;
}

bool SimWindowManager::appendSystemMenu(Hwnd window, uint32_t flags, uint32_t id,
                                        const std::string& text) {
  ++portCalls;
  if (!hasSystemMenu(window)) return false;
  live(window)->systemMenu.push_back({flags, id, text});
  return true;
}

const std::vector<SystemMenuItem>& SimWindowManager::systemMenu(Hwnd window) const {
  static const std::vector<SystemMenuItem> kNone;
  Window* w = live(window);
  return w == nullptr ? kNone : w->systemMenu;
}

bool SimWindowManager::trackPopupMenu(const MenuTemplate& popup, uint32_t, Point at, Hwnd owner) {
  ++portCalls;
  const std::string name = popup.name != nullptr ? popup.name : std::to_string(popup.id);
  actions_.push_back("menu " + name + " at " + std::to_string(at.x) + "," + std::to_string(at.y));
  lastMenu = popup;
  runWhileMenu();
  uint32_t answer = 0;
  if (!menuAnswers.empty()) {
    answer = menuAnswers.front();
    menuAnswers.pop_front();
  }
  Window* w = live(owner);
  if (w == nullptr) actions_.push_back("menu " + name + " closed with its owner");
  if (answer == 0 || w == nullptr || !w->own) return false;
  // The item the user picks, in a submenu or not; a grayed one cannot be chosen.
  std::function<const MenuItemTemplate*(const std::vector<MenuItemTemplate>&)> find =
      [&](const std::vector<MenuItemTemplate>& items) -> const MenuItemTemplate* {
    for (const MenuItemTemplate& i : items) {
      if (i.text != nullptr && i.submenu.empty() && i.id == answer) return &i;
      if (const MenuItemTemplate* inner = find(i.submenu)) return inner;
    }
    return nullptr;
  };
  const MenuItemTemplate* chosen = find(popup.items);
  if (chosen == nullptr) {
    actions_.push_back("menu " + name + " has no item " + std::to_string(answer));
    return false;
  }
  if (chosen->grayed) {
    actions_.push_back("menu " + name + " item " + std::to_string(answer) + " grayed");
    return false;
  }
  // Windows posts the command once the menu has closed.
  return postMessage(owner, WM_COMMAND, answer, 0);
}

// ---------------------------------------------------------------------------------------------
// Icons, painting, the screen.

IconHandle SimWindowManager::loadIcon(int32_t resourceId) {
  ++portCalls;
  return IconHandle{0x0C000000u + static_cast<uint32_t>(resourceId)};
}

BrushHandle SimWindowManager::createSolidBrush(ColorRef color) {
  ++portCalls;
  nextBrush_ += 4;
  brushes_[nextBrush_] = color;
  return BrushHandle{nextBrush_};
}

void SimWindowManager::deleteBrush(BrushHandle brush) {
  ++portCalls;
  if (brushes_.erase(brush.value) != 0 || brush == kBlackBrush || brush.value == 0) return;
  char text[48];
  snprintf(text, sizeof text, "delete unknown brush %llx",
           static_cast<unsigned long long>(brush.value));
  actions_.push_back(text);
}

std::optional<ColorRef> SimWindowManager::brushColor(BrushHandle brush) const {
  auto found = brushes_.find(brush.value);
  if (found == brushes_.end()) return std::nullopt;
  return found->second;
}

void SimWindowManager::setBkMode(DeviceContext dc, int32_t mode) {
  ++portCalls;
  bkModes_[dc.value] = mode;
}

void SimWindowManager::setTextColor(DeviceContext dc, ColorRef color) {
  ++portCalls;
  textColors_[dc.value] = color;
}

std::optional<int32_t> SimWindowManager::bkMode(DeviceContext dc) const {
  auto found = bkModes_.find(dc.value);
  if (found == bkModes_.end()) return std::nullopt;
  return found->second;
}

std::optional<ColorRef> SimWindowManager::textColor(DeviceContext dc) const {
  auto found = textColors_.find(dc.value);
  if (found == textColors_.end()) return std::nullopt;
  return found->second;
}

void SimWindowManager::paintIcon(Hwnd window, IconHandle, int32_t x, int32_t y) {
  ++portCalls;
  actions_.push_back("paint icon " + std::to_string(x) + "," + std::to_string(y));
  beginEndPaint(window);
}

int32_t SimWindowManager::getSystemMetrics(int32_t index) {
  ++portCalls;
  auto found = systemMetrics.find(index);
  return found == systemMetrics.end() ? 0 : found->second;
}

bool SimWindowManager::getWorkArea(Rect& area) {
  ++portCalls;
  area = workArea;
  return true;
}

}  // namespace sim
