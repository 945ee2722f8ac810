#include "controller/control_dlg.h"

#include <cstring>

#include "base/diagnostic_log.h"
#include "base/program_folder.h"
#include "dialogs/alpha_setting_dlg.h"
#include "dialogs/limit_dlg.h"
#include "dialogs/location_setting_dlg.h"
#include "res/dialogs.h"
#include "res/strings.h"

using namespace platform;

CControlDlg::CControlDlg(const Ports& ports, DisplayEnvironment& environment)
    : ui::Dialog(ports, res::controlDialog()),
      listViews_(ports.listViews),
      drawing_(ports.drawing),
      system_(ports.system),
      profile_(ports.profile),
      input_(ports.input),
      messageBoxes_(ports.messageBoxes),
      processes_(ports.processes),
      screen_(ports.screen),
      settingsFile_(ports.files, ports.system),
      dialogPorts_(ports),
      checks_(ports.checks),
      previewPorts_(ports.preview),
      environment_(environment),
      settingsPath_(pathInCurrentDirectory(ports.system, kSettingsFileName)),
      icons_(ports.icons, ports.shell),
      valueBrush_(ports.drawing, rgb(255, 255, 180)),
      pageBrush_(ports.drawing, rgb(230, 230, 230)) {}

bool CControlDlg::onInitDialog() {
  ui::Dialog::onInitDialog();
  settings.loadSettings(settingsFile_, settingsPath_);
  // The switch that would let previews take taskbar buttons away stays off.
  environment_.taskbar().removalEnabled = false;
  listView_.attach(listViews_, messages(), item(res::IDC_THUMB_LIST));
  listView_.setExtendedStyle(LVS_EX_FULLROWSELECT);
  listView_.insertColumn(0, "Title", 220);
  listView_.insertColumn(1, "ProcessName", 100);
  listView_.insertColumn(2, "WinHandle", 100);
  listViews_.listViewSetImageList(listView_.hwnd(), icons_.imageList(), LVSIL_SMALL);
  arrange();
  showSettings();
  showTransparency();
  if (!registerHoverKey("HOVERキーの登録が重複しています.他のキーに変更してください.")) {
    // The default serves this run; the record keeps the user's key, and so does the file.
    const SettingsRecord defaults;
    if ((settings.hvModifiers != defaults.hvModifiers || settings.hvHotKey != defaults.hvHotKey) &&
        input_.registerHotKey(hwnd(), kHoverHotKey, static_cast<uint32_t>(defaults.hvModifiers),
                              static_cast<uint32_t>(defaults.hvHotKey))) {
      diag::print("HOVER KEY: the default for this run\n");
    }
  }
  return true;
}

// --- Settings on the page. ---

void CControlDlg::showSettings() {
  setItemText(res::IDC_LOCATION_TEXT, locationCaption(settings.location));
  setItemText(res::IDC_SIZE_TEXT, sizeWord(settings.size));
  const std::pair<int32_t, int32_t> numbers[] = {
      {res::IDC_TOP_MARGIN, settings.topMargin},     {res::IDC_LEFT_MARGIN, settings.leftMargin},
      {res::IDC_RIGHT_MARGIN, settings.rightMargin}, {res::IDC_BOTTOM_MARGIN, settings.bottomMargin},
      {res::IDC_LIMIT_TEXT, settings.limit},         {res::IDC_INTERVAL_TEXT, settings.updateInterval},
  };
  for (const auto& [id, value] : numbers) {
    setItemText(id, std::to_string(value));
  }
  setItemText(res::IDC_STATUS_CODE, statusCode());
}

void CControlDlg::showTransparency() {
  setItemText(res::IDC_ALPHA_TEXT, std::to_string(settings.transparent));
}

std::string CControlDlg::statusCode() {
  std::string code = environment_.transparentMethod() ? "L" : "P";
  if (checks_.isOsVersionAtLeast(6, 0, 0) && isCompositionOn()) code += "A";
  if (settings.frame != 0) code += "F";
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

// --- Hover hot-key mode. ---

bool CControlDlg::registerHoverKey(const char* failureText) {
  if (input_.registerHotKey(hwnd(), kHoverHotKey, static_cast<uint32_t>(settings.hvModifiers),
                             static_cast<uint32_t>(settings.hvHotKey))) {
    return true;
  }
  diag::print("RegisterHotKey() Error=%d\n", static_cast<int>(messages().lastError()));
  messageBoxes_.show(hwnd(), failureText, kAppTitle, MB_OK);
  return false;
}

void CControlDlg::setHover(bool on) {
  for (ThumbnailSlot& slot : roster_) {
    if (!slot.inUse()) continue;
    slot.thumbnail->hover = on;
    slot.thumbnail->applyZOrder();
  }
}

void CControlDlg::onHotKey() {
  if (hoverCountdown_ == 0) {
    setHover(true);
    diag::print("HOTKEY ON! THUMBNAIL HOVER START\n");
    setTimer(kHoverTimer, 100);  // the countdown runs only while hover mode lasts
  }
  hoverCountdown_ = 5;  // each auto-repeat of the held keys re-arms it
}

void CControlDlg::onTimer(uintptr_t id) {
  if (id == kPollTimer) {
    pollPreviews();
    return;
  }
  if (id != kHoverTimer || hoverCountdown_ <= 0) return;
  if (--hoverCountdown_ == 0) {
    killTimer(kHoverTimer);
    setHover(false);
    diag::print("HOVER END\n");
  }
}

void CControlDlg::onHotKey(uintptr_t id) {
  if (id == kHoverHotKey) onHotKey();
}

void CControlDlg::onDestroy() { input_.unregisterHotKey(hwnd(), kHoverHotKey); }

// --- Buttons. ---

bool CControlDlg::onCommand(uint32_t id, uint32_t, Hwnd) {
  switch (id) {
    case res::IDC_ARRANGE:
      arrange();
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
  if (settings.saveSettings(settingsFile_, settingsPath_)) return;
  const std::string text = "設定をファイルに保存できませんでした.\n" + settingsPath_;
  messageBoxes_.show(hwnd(), text.c_str(), kAppTitle, MB_OK);
}

void CControlDlg::onChangeProperties() {
  CLocationSettingDlg dialog(CLocationSettingDlg::Ports(dialogPorts_, input_, messageBoxes_, drawing_));
  SettingsRecord& s = settings;
  // The ten values the dialog edits, as (record field, dialog member).
  const std::pair<int32_t*, int32_t*> values[] = {
      {&s.location, &dialog.location},       {&s.size, &dialog.size},
      {&s.topMargin, &dialog.topMargin},     {&s.leftMargin, &dialog.leftMargin},
      {&s.rightMargin, &dialog.rightMargin}, {&s.bottomMargin, &dialog.bottomMargin},
      {&s.limit, &dialog.limit},             {&s.frame, &dialog.frame},
      {&s.hvHotKey, &dialog.hoverKey},       {&s.hvModifiers, &dialog.hoverModifiers},
  };
  for (const auto& [field, member] : values) *member = *field;
  if (dialog.doModal(hwnd()) != IDOK) return;
  bool changed = false;
  for (const auto& [field, member] : values) changed = changed || *member != *field;
  if (!changed) {
    saveSettings();
    return;
  }
  const bool frameChanged = s.frame != dialog.frame;
  for (const auto& [field, member] : values) *field = *member;
  s.updateThumbSize();
  if (frameChanged) {
    for (ThumbnailSlot& slot : roster_) {
      if (slot.inUse()) slot.thumbnail->applyFrameSetting();
    }
  }
  environment_.taskbar().removalEnabled = false;
  showSettings();
  arrange();
  input_.unregisterHotKey(hwnd(), kHoverHotKey);
  registerHoverKey("ホットキーの登録が重複しています.他のキーに変更してください ");
  saveSettings();
}

void CControlDlg::onChangeTransparency() {
  CAlphaSettingDlg dialog(dialogPorts_);
  dialog.alphaPercent = settings.transparent;
  if (dialog.doModal(hwnd()) != IDOK || dialog.alphaPercent == settings.transparent) return;
  settings.transparent = dialog.alphaPercent;
  for (ThumbnailSlot& slot : roster_) {
    if (slot.inUse()) slot.thumbnail->setAlpha(settings.opacityByte());
  }
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
  const Hwnd target = row > 0 ? rowHandle(row) : Hwnd{};
  if (target) moveToHead(target);
}

void CControlDlg::onUpButton() {
  const int32_t row = selectedRow("移動するウィンドウを選択してください。");
  const Hwnd target = row > 0 ? rowHandle(row) : Hwnd{};
  if (target) moveForward(target);
}

void CControlDlg::onDownButton() {
  const int32_t row = selectedRow("移動するウィンドウを選択してください。");
  const int32_t last = static_cast<int32_t>(roster_.size()) - 1;
  const Hwnd target = row != -1 && row != last ? rowHandle(row) : Hwnd{};
  if (target) moveBackward(target);
}

void CControlDlg::onTailButton() {
  const int32_t row = selectedRow("移動するウィンドウを選択してください。");
  const Hwnd target = row != -1 ? rowHandle(row) : Hwnd{};
  if (target) moveToTail(target);
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

void CControlDlg::postNcDestroy() { closeAll(); }
