#include "dialogs/location_setting_dlg.h"

#include "base/diagnostic_log.h"
#include "res/dialogs.h"
#include "res/strings.h"
#include "settings/setting_ranges.h"

using namespace platform;

namespace {

// Modifiers alone, or nothing: no hot-key that could be registered or read back.
constexpr const char* kNoKeyText =
    "HoverKey設定にキーがありません。修飾キーと一緒に押すキーを入力してください.";

}  // namespace

CLocationSettingDlg::CLocationSettingDlg(const Ports& ports)
    : ui::Dialog(ports, res::locationSettingDialog()),
      input_(ports.input),
      messageBoxes_(ports.messageBoxes),
      hotKey_(CHotKeyExCtrl::Ports(ports, ports.input, ports.drawing)) {}

bool CLocationSettingDlg::onInitDialog() {
  topSpin_.attach(*this, res::IDC_TOP_MARGIN_SPIN, res::IDC_TOP_MARGIN_EDIT);
  leftSpin_.attach(*this, res::IDC_LEFT_MARGIN_SPIN, res::IDC_LEFT_MARGIN_EDIT);
  rightSpin_.attach(*this, res::IDC_RIGHT_MARGIN_SPIN, res::IDC_RIGHT_MARGIN_EDIT);
  bottomSpin_.attach(*this, res::IDC_BOTTOM_MARGIN_SPIN, res::IDC_BOTTOM_MARGIN_EDIT);
  limitSpin_.attach(*this, res::IDC_LIMIT_SPIN, res::IDC_LIMIT_EDIT);
  const std::pair<ui::SpinButton*, SettingRange> ranges[] = {{&topSpin_, setting::kTopMargin},
                                                             {&leftSpin_, setting::kLeftMargin},
                                                             {&rightSpin_, setting::kRightMargin},
                                                             {&bottomSpin_, setting::kBottomMargin},
                                                             {&limitSpin_, setting::kLimit}};
  for (const auto& [spin, range] : ranges) spin->setRange(range.lowest, range.highest);
  topSpin_.setPosition(topMargin);
  leftSpin_.setPosition(leftMargin);
  rightSpin_.setPosition(rightMargin);
  bottomSpin_.setPosition(bottomMargin);
  limitSpin_.setPosition(limit);
  hotKey_.subclassDlgItem(*this, res::IDC_HOVER_KEY);
  hotKey_.setHotKey(static_cast<uint16_t>(hoverKey), static_cast<uint32_t>(hoverModifiers));
  return ui::Dialog::onInitDialog();  // the buttons from the members
}

void CLocationSettingDlg::doDataExchange(ui::DataExchange& exchange) {
  exchange.radio(res::IDC_LOC_TOP, location);
  exchange.radio(res::IDC_SIZE_SMALL, size);
  exchange.check(res::IDC_FRAME_CHECK, frame);
}

bool CLocationSettingDlg::testHotKey(int32_t modifiers, int32_t key) {
  diag::print("Modifiers=%d\n", modifiers);
  diag::print("HotKey = %d\n", key);
  if (key != 0 && key == heldKey && modifiers == heldModifiers) return true;
  const bool free = input_.registerHotKey(hwnd(), kTestHotKeyId, static_cast<uint32_t>(modifiers),
                                          static_cast<uint32_t>(key));
  input_.unregisterHotKey(hwnd(), kTestHotKeyId);
  return free;
}

void CLocationSettingDlg::typedHotKey(int32_t& key, int32_t& modifiers) const {
  uint16_t typedKey = 0;
  uint16_t typedModifiers = 0;
  hotKey_.getHotKey(typedKey, typedModifiers);
  key = typedKey;
  modifiers = typedModifiers;
}

void CLocationSettingDlg::tell(const char* text) {
  messageBoxes_.show(hwnd(), text, kAppTitle, MB_OK);
}

void CLocationSettingDlg::onOK() {
  int32_t key = 0;
  int32_t modifiers = 0;
  typedHotKey(key, modifiers);
  if (key != hoverKey || modifiers != hoverModifiers) {
    if (key == 0) {
      tell(kNoKeyText);
      return;
    }
    if (!testHotKey(modifiers, key)) {
      tell(
          "HoverKey設定は既に他のアプリケーションで使用されています。"
          "他の組み合わせに変更してください.");
      return;
    }
    hoverKey = key;
    hoverModifiers = modifiers;
  }
  topMargin = topSpin_.positionFor(topMargin);
  leftMargin = leftSpin_.positionFor(leftMargin);
  rightMargin = rightSpin_.positionFor(rightMargin);
  bottomMargin = bottomSpin_.positionFor(bottomMargin);
  limit = limitSpin_.positionFor(limit);
  const int32_t frameIn = frame;
  ui::Dialog::onOK();
  if ((frame != 0) == (frameIn != 0)) frame = frameIn;  // shown as checked, left so
}

bool CLocationSettingDlg::onCommand(uint32_t id, uint32_t code, Hwnd) {
  if (id != static_cast<uint32_t>(res::IDC_HOVER_KEY_TEST) || code != BN_CLICKED) return false;
  checkHotKey();
  return true;
}

void CLocationSettingDlg::checkHotKey() {
  int32_t key = 0;
  int32_t modifiers = 0;
  typedHotKey(key, modifiers);
  if (key == hoverKey && modifiers == hoverModifiers) {
    tell("現在の設定です。");
  } else if (key == 0) {
    tell(kNoKeyText);
  } else if (testHotKey(modifiers, key)) {
    tell("設定可能です.");
  } else {
    tell(
        "このキーの組み合わせは既に他のアプリケーションで使用されています。"
        "他の組み合わせに変更してください.");
  }
}
