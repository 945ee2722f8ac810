#include "dialogs/limit_dlg.h"

#include <algorithm>

#include "base/diagnostic_log.h"
#include "detect/rule_text.h"
#include "dialogs/limit_setting_dlg.h"
#include "platform/cp932.h"
#include "res/dialogs.h"
#include "res/strings.h"
#include "text/mbcs.h"

using namespace platform;

CLimitDlg::CLimitDlg(const Ports& ports, CExclusionData& store)
    : ui::Dialog(ports, res::limitDialog()),
      listViews_(ports.listViews),
      drawing_(ports.drawing),
      messageBoxes_(ports.messageBoxes),
      dialogPorts_(ports),
      store_(store),
      yellow_(ports.drawing, rgb(255, 255, 180)),
      green_(ports.drawing, rgb(0, 255, 0)),
      red_(ports.drawing, rgb(255, 0, 0)),
      grey_(ports.drawing, rgb(230, 230, 230)) {}

bool CLimitDlg::onInitDialog() {
  ui::Dialog::onInitDialog();
  listView_.attach(listViews_, messages(), item(res::IDC_LIMIT_LIST));
  listView_.setExtendedStyle(LVS_EX_FULLROWSELECT);
  listView_.insertColumn(0, "ProcessName", 100);
  listView_.insertColumn(1, "Title", 150);
  refreshExclusionList();
  return true;
}

void CLimitDlg::saveRules() {
  if (store_.saveFile()) return;
  const std::string text = "除外条件をファイルに保存できませんでした.\n" + store_.filePath;
  messageBoxes_.show(hwnd(), text.c_str(), kAppTitle, MB_OK);
}

void CLimitDlg::rulesAdded() {
  refreshExclusionList();
  saveRules();
}

void CLimitDlg::refreshExclusionList() {
  if (!listView_.attached()) return;  // the page's window does not exist yet
  int32_t mark = listView_.selectionMark();
  // The mark follows the rule the user chose: a rule added from a preview's menu goes in
  // front. A rule changed in place, or deleted, is not found: the mark keeps its row.
  if (mark >= 0 && static_cast<size_t>(mark) < shown_.size()) {
    const int32_t now = indexOf(shown_[static_cast<size_t>(mark)]);
    if (now >= 0) mark = now;
  }
  shown_ = store_.items;
  listView_.setRedraw(false);
  listView_.deleteAllItems();
  for (const ExclusionItem& rule : store_.items) {
    const int32_t row = listView_.appendRow(rule.pnameFlag != 0 ? rule.pname : std::string());
    listView_.setItemText(row, 1, rule.titleFlag != 0 ? rule.title : std::string());
  }
  // A mark past the end (the last rule was deleted) marks nothing: the next change or delete
  // asks for a choice instead of acting on no rule.
  if (mark != -1 && mark < listView_.itemCount()) listView_.selectRow(mark);
  listView_.setRedraw(true);
  showItem(mark);
}

void CLimitDlg::showItem(int32_t index) {
  Windows& wm = windows();
  if (index < 0 || static_cast<size_t>(index) >= store_.items.size()) {
    for (int32_t id : {res::IDC_LIMIT_TITLE_STATE, res::IDC_LIMIT_PNAME_STATE,
                       res::IDC_LIMIT_MATCH_KIND, res::IDC_LIMIT_TPART}) {
      setItemText(id, "");
    }
    return;
  }
  const ExclusionItem& rule = store_.items[static_cast<size_t>(index)];
  const bool titleOn = rule.titleFlag != 0;
  setItemText(res::IDC_LIMIT_TITLE_STATE, titleOn ? "タイトル有効" : "タイトル無効");
  wm.enableWindow(item(res::IDC_LIMIT_MATCH_KIND), titleOn);
  wm.enableWindow(item(res::IDC_LIMIT_TPART), titleOn);
  setItemText(res::IDC_LIMIT_PNAME_STATE,
              rule.pnameFlag != 0 ? "プロセス名有効" : "プロセス名無効");
  setItemText(res::IDC_LIMIT_MATCH_KIND,
              rule.fullNameFlag != 0 ? "フルネーム一致" : "部分文字列一致");
  setItemText(res::IDC_LIMIT_TPART, rule.tpart);
}

int32_t CLimitDlg::selectedIndex() {
  const int32_t index = listView_.selectionMark();
  if (index == -1) {
    messageBoxes_.show(hwnd(), "除外条件を一覧で選択してください", kAppTitle, MB_OK);
  }
  return index;
}

void CLimitDlg::onChangeCondition() {
  const int32_t index = selectedIndex();
  if (index < 0 || static_cast<size_t>(index) >= store_.items.size()) return;
  const ExclusionItem before = store_.items[static_cast<size_t>(index)];
  CLimitSettingDlg dialog(dialogPorts_);
  dialog.titleFlag = before.titleFlag;
  dialog.pnameFlag = before.pnameFlag;
  dialog.fullNameFlag = before.fullNameFlag;
  dialog.tpart = before.tpart;
  dialog.title = before.title;
  if (dialog.doModal(hwnd()) != IDOK) return;
  // A preview's menu may have added a rule meanwhile: the rule is found again.
  const int32_t now = indexOf(before);
  if (now < 0) return;
  ExclusionItem& rule = store_.items[static_cast<size_t>(now)];
  rule.titleFlag = dialog.titleFlag;
  rule.pnameFlag = dialog.pnameFlag;
  rule.fullNameFlag = dialog.fullNameFlag;
  // A longer part could not be read back from the file; no title is that long anyway.
  rule.tpart = rule_text::cut(dialog.tpart, rule_text::kMaxBytes, isCp932LeadByte);
  refreshExclusionList();
  showItem(now);
  saveRules();
  rulesChanged();
}

void CLimitDlg::onDeleteCondition() {
  const int32_t index = selectedIndex();
  if (index == -1) return;
  const bool known = static_cast<size_t>(index) < store_.items.size();
  const ExclusionItem before = known ? store_.items[static_cast<size_t>(index)] : ExclusionItem{};
  if (messageBoxes_.show(hwnd(), "除外条件を削除しますか？", kAppTitle, MB_YESNO) != IDYES) {
    return;
  }
  // A preview's menu may have added a rule meanwhile: the rule is found again.
  const int32_t now = known ? indexOf(before) : -1;
  if (now < 0) return;
  store_.items.erase(store_.items.begin() + now);
  refreshExclusionList();
  saveRules();
  rulesChanged();
}

int32_t CLimitDlg::indexOf(const ExclusionItem& rule) const {
  const auto found = std::find(store_.items.begin(), store_.items.end(), rule);
  return found == store_.items.end() ? -1 : static_cast<int32_t>(found - store_.items.begin());
}

void CLimitDlg::rulesChanged() {
  diag::print("ExclusionData: %d rules after a change\n", static_cast<int>(store_.items.size()));
  if (listener_ != nullptr) listener_->rulesChanged();
}

bool CLimitDlg::onCommand(uint32_t id, uint32_t code, Hwnd) {
  if (code != BN_CLICKED) return false;
  if (id == static_cast<uint32_t>(res::IDC_LIMIT_CHANGE)) {
    onChangeCondition();
    return true;
  }
  if (id == static_cast<uint32_t>(res::IDC_LIMIT_DELETE)) {
    onDeleteCondition();
    return true;
  }
  return false;
}

bool CLimitDlg::onNotify(const NotifyHeader& header, LResult& result) {
  if (header.idFrom != static_cast<uint64_t>(res::IDC_LIMIT_LIST) || header.code != NM_CLICK) {
    return false;
  }
  const int32_t mark = listView_.selectionMark();
  if (mark != -1) showItem(mark);
  result = 0;
  return true;
}

BrushHandle CLimitDlg::onCtlColor(DeviceContext dc, Hwnd control, ui::CtlColor kind,
                                  BrushHandle base) {
  switch (kind) {
    case ui::CtlColor::Dialog:
    case ui::CtlColor::Button:
      return grey_.handle();
    case ui::CtlColor::Static: {
      drawing_.setBkMode(dc, TRANSPARENT);
      const int32_t id = dialogs().getDlgCtrlId(control);
      if (id == res::IDC_LIMIT_TITLE_STATE || id == res::IDC_LIMIT_PNAME_STATE) {
        const std::string text = itemText(id);
        if (text.empty()) return yellow_.handle();
        const bool on = text::findPart(text, "有効", isCp932LeadByte) != std::string::npos;
        return on ? green_.handle() : red_.handle();
      }
      if (id == res::IDC_LIMIT_TPART || id == res::IDC_LIMIT_MATCH_KIND) return yellow_.handle();
      return grey_.handle();
    }
    default:
      return base;
  }
}
