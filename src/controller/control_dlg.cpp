#include "controller/control_dlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/diagnostic_log.h"
#include "dialogs/alpha_setting_dlg.h"
#include "dialogs/location_setting_dlg.h"
#include "res/dialogs.h"
#include "res/strings.h"

using namespace platform;

namespace {

std::string handleText(Hwnd hwnd) {
  char text[16];
  snprintf(text, sizeof text, "0x%08x", hwnd.value);
  return text;
}

}  // namespace

CControlDlg::CControlDlg(const Ports& ports, PreviewRoster& roster, DisplayEnvironment& environment,
                         std::string settingsPath)
    : ui::Dialog(ports, res::controlDialog()),
      listViews_(ports.listViews),
      drawing_(ports.drawing),
      system_(ports.system),
      input_(ports.input),
      messageBoxes_(ports.messageBoxes),
      settingsFile_(ports.files, ports.system),
      dialogPorts_(ports),
      checks_(ports.checks),
      roster_(roster),
      settings_(roster.settings()),
      environment_(environment),
      settingsPath_(std::move(settingsPath)),
      icons_(ports.icons, ports.shell),
      valueBrush_(ports.drawing, rgb(255, 255, 180)),
      pageBrush_(ports.drawing, rgb(230, 230, 230)) {
  roster_.addObserver(this);
}

CControlDlg::~CControlDlg() {
  roster_.removeObserver(this);
}

bool CControlDlg::onInitDialog() {
  ui::Dialog::onInitDialog();
  listView_.attach(listViews_, messages(), item(res::IDC_THUMB_LIST));
  listView_.setExtendedStyle(LVS_EX_FULLROWSELECT);
  listView_.insertColumn(0, "Title", 220);
  listView_.insertColumn(1, "ProcessName", 100);
  listView_.insertColumn(2, "WinHandle", 100);
  listViews_.listViewSetImageList(listView_.hwnd(), icons_.imageList(), LVSIL_SMALL);
  refreshList();
  showSettings();
  showTransparency();
  return true;
}

// --- The rows: one per preview, in grid order. ---

void CControlDlg::refreshList() {
  if (!listView_.attached()) return;
  const Hwnd remembered = rowWindow(listView_.selectionMark());
  listView_.setRedraw(false);
  listView_.deleteAllItems();
  rows_.clear();
  for (const ThumbnailSlot& slot : roster_.slots()) {
    if (!slot.inUse()) continue;
    const WindowEntry& window = slot.window;
    const int32_t image = icons_.getIconIndex(window.imagePath);
    const int32_t row = listView_.appendRow(window.title, image);
    listView_.setItemText(row, 1, window.processName);
    listView_.setItemText(row, 2, handleText(window.hwnd));  // shown, never read back
    rows_.push_back(window.hwnd);
  }
  if (remembered) {
    const auto kept = std::find(rows_.begin(), rows_.end(), remembered);
    if (kept != rows_.end()) listView_.selectRow(static_cast<int32_t>(kept - rows_.begin()));
  }
  listView_.setRedraw(true);
}

Hwnd CControlDlg::rowWindow(int32_t row) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return {};
  return rows_[static_cast<size_t>(row)];
}

void CControlDlg::excludeRow(int32_t row) {
  const Hwnd target = rowWindow(row);
  if (target) roster_.exclude(target);
}

// --- Settings on the page. ---

void CControlDlg::showSettings() {
  setItemText(res::IDC_LOCATION_TEXT, locationCaption(settings_.location));
  setItemText(res::IDC_SIZE_TEXT, sizeWord(settings_.size));
  const std::pair<int32_t, int32_t> numbers[] = {
      {res::IDC_TOP_MARGIN, settings_.topMargin},
      {res::IDC_LEFT_MARGIN, settings_.leftMargin},
      {res::IDC_RIGHT_MARGIN, settings_.rightMargin},
      {res::IDC_BOTTOM_MARGIN, settings_.bottomMargin},
      {res::IDC_LIMIT_TEXT, settings_.limit},
      {res::IDC_INTERVAL_TEXT, settings_.updateInterval},
  };
  for (const auto& [id, value] : numbers) {
    setItemText(id, std::to_string(value));
  }
  setItemText(res::IDC_STATUS_CODE, statusCode());
}

void CControlDlg::showTransparency() {
  setItemText(res::IDC_ALPHA_TEXT, std::to_string(settings_.transparent));
}

std::string CControlDlg::statusCode() {
  std::string code = environment_.transparentMethod() ? "L" : "P";
  if (checks_.isOsVersionAtLeast(6, 0, 0) && isCompositionOn()) code += "A";
  if (settings_.frame != 0) code += "F";
  return code;
}

bool CControlDlg::isCompositionOn() {
  const System::RegistryRead read =
      system_.readRegistryValue(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\DWM",
                                KEY_ALL_ACCESS, "Composition", 4);
  if (read.error != ERROR_SUCCESS || read.data.size() != 4) return false;
  uint32_t value = 0;
  memcpy(&value, read.data.data(), 4);
  if (value != 1) return false;
  diag::print("AERO!\n");
  return true;
}

// --- Buttons. ---

bool CControlDlg::onCommand(uint32_t id, uint32_t, Hwnd) {
  switch (id) {
    case res::IDC_ARRANGE:
      roster_.arrange();
      return true;
    case res::IDC_EXCLUDE:
      onExcludeButton();
      return true;
    case res::IDC_MOVE_UP:
      onUpButton();
      return true;
    case res::IDC_MOVE_DOWN:
      onDownButton();
      return true;
    case res::IDC_MOVE_HEAD:
      onHeadButton();
      return true;
    case res::IDC_MOVE_TAIL:
      onTailButton();
      return true;
    case res::IDC_CHANGE_PROPERTIES:
      onChangeProperties();
      return true;
    case res::IDC_CHANGE_ALPHA:
      onChangeTransparency();
      return true;
    default:
      return false;
  }
}

void CControlDlg::saveSettings() {
  if (settings_.saveSettings(settingsFile_, settingsPath_)) return;
  const std::string text = "設定をファイルに保存できませんでした.\n" + settingsPath_;
  messageBoxes_.show(hwnd(), text.c_str(), kAppTitle, MB_OK);
}

void CControlDlg::onChangeProperties() {
  CLocationSettingDlg dialog(
      CLocationSettingDlg::Ports(dialogPorts_, input_, messageBoxes_, drawing_));
  SettingsRecord& s = settings_;
  // The ten values the dialog edits, as (record field, dialog member).
  const std::pair<int32_t*, int32_t*> values[] = {
      {&s.location, &dialog.location},
      {&s.size, &dialog.size},
      {&s.topMargin, &dialog.topMargin},
      {&s.leftMargin, &dialog.leftMargin},
      {&s.rightMargin, &dialog.rightMargin},
      {&s.bottomMargin, &dialog.bottomMargin},
      {&s.limit, &dialog.limit},
      {&s.frame, &dialog.frame},
      {&s.hvHotKey, &dialog.hoverKey},
      {&s.hvModifiers, &dialog.hoverModifiers},
  };
  for (const auto& [field, member] : values) *member = *field;
  if (const auto held = roster_.heldHoverKey()) {
    dialog.heldModifiers = held->first;
    dialog.heldKey = held->second;
  }
  if (dialog.doModal(hwnd()) != IDOK) return;
  bool changed = false;
  for (const auto& [field, member] : values) changed = changed || *member != *field;
  if (!changed) {
    saveSettings();
    return;
  }
  const bool frameChanged = s.frame != dialog.frame;
  const bool keyChanged = s.hvHotKey != dialog.hoverKey || s.hvModifiers != dialog.hoverModifiers;
  for (const auto& [field, member] : values) *field = *member;
  s.updateThumbSize();
  if (frameChanged) roster_.applyFrameSetting();
  environment_.taskbar().removalEnabled = false;
  showSettings();
  roster_.arrange();
  if (keyChanged && !roster_.reregisterHoverKey()) {
    messageBoxes_.show(hwnd(), "ホットキーの登録が重複しています.他のキーに変更してください ",
                       kAppTitle, MB_OK);
  }
  saveSettings();
}

void CControlDlg::onChangeTransparency() {
  CAlphaSettingDlg dialog(dialogPorts_);
  dialog.alphaPercent = settings_.transparent;
  if (dialog.doModal(hwnd()) != IDOK || dialog.alphaPercent == settings_.transparent) return;
  settings_.transparent = dialog.alphaPercent;
  roster_.applyOpacity();
  showTransparency();
  saveSettings();
}

int32_t CControlDlg::selectedRow(const char* prompt) {
  const int32_t row = listView_.selectionMark();
  if (row == -1) messageBoxes_.show(hwnd(), prompt, kAppTitle, MB_OK);
  return row;
}

void CControlDlg::onHeadButton() {
  const int32_t row = selectedRow("移動するウィンドウを選択してください。");
  const Hwnd target = row > 0 ? rowWindow(row) : Hwnd{};
  if (target) roster_.moveToHead(target);
}

void CControlDlg::onUpButton() {
  const int32_t row = selectedRow("移動するウィンドウを選択してください。");
  const Hwnd target = row > 0 ? rowWindow(row) : Hwnd{};
  if (target) roster_.moveForward(target);
}

void CControlDlg::onDownButton() {
  const int32_t row = selectedRow("移動するウィンドウを選択してください。");
  const int32_t last = static_cast<int32_t>(roster_.slots().size()) - 1;
  const Hwnd target = row != -1 && row != last ? rowWindow(row) : Hwnd{};
  if (target) roster_.moveBackward(target);
}

void CControlDlg::onTailButton() {
  const int32_t row = selectedRow("移動するウィンドウを選択してください。");
  const Hwnd target = row != -1 ? rowWindow(row) : Hwnd{};
  if (target) roster_.moveToTail(target);
}

void CControlDlg::onExcludeButton() {
  const int32_t row = selectedRow("除外するウィンドウを選択してください。");
  if (row != -1) excludeRow(row);
}

// --- Colours. ---

BrushHandle CControlDlg::onCtlColor(DeviceContext dc, Hwnd control, ui::CtlColor kind,
                                    BrushHandle base) {
  switch (kind) {
    case ui::CtlColor::Dialog:
    case ui::CtlColor::Button:
      return pageBrush_.handle();
    case ui::CtlColor::Static: {
      drawing_.setBkMode(dc, TRANSPARENT);
      switch (dialogs().getDlgCtrlId(control)) {
        case res::IDC_LOCATION_TEXT:
        case res::IDC_SIZE_TEXT:
        case res::IDC_TOP_MARGIN:
        case res::IDC_LEFT_MARGIN:
        case res::IDC_RIGHT_MARGIN:
        case res::IDC_BOTTOM_MARGIN:
        case res::IDC_ALPHA_TEXT:
        case res::IDC_LIMIT_TEXT:
        case res::IDC_INTERVAL_TEXT:
        case res::IDC_STATUS_CODE:
          return valueBrush_.handle();
        case res::IDC_MARGIN_LABEL:
        case res::IDC_LIMIT_LABEL:
          drawing_.setTextColor(dc, rgb(0, 0, 255));
          return pageBrush_.handle();
        default:
          return pageBrush_.handle();
      }
    }
    default:
      return base;
  }
}
