// The exclusion page: owns the working list of exclusion rules (the list in force), shows
// it, shows the conditions of the rule clicked in the list, and changes or deletes that rule.
#pragma once

#include "detect/exclusion_data.h"
#include "ui/brush.h"
#include "ui/dialog.h"
#include "ui/list_view.h"

// Told when the user changed or deleted a rule, so that windows the rules kept from a preview
// may be judged again.
class ExclusionRulesListener {
 public:
  virtual void rulesChanged() = 0;

 protected:
  ~ExclusionRulesListener() = default;
};

class CLimitDlg : public ui::Dialog {
 public:
  // `store` is the rules as loaded and saved; the page copies every change into it.
  // The framework's services, the list view, drawing, message boxes, and the file services
  // the working list is made with (it never reads or writes a file itself).
  struct Ports : ui::DialogPorts {
    explicit Ports(const platform::Platform& p)
        : DialogPorts(p),
          listViews(p.listViews),
          drawing(p.drawing),
          messageBoxes(p.messageBoxes),
          rulesFile(p) {}
    platform::ListViews& listViews;
    platform::Drawing& drawing;
    platform::MessageBoxes& messageBoxes;
    RulesFilePorts rulesFile;
  };

  CLimitDlg(const Ports& ports, CExclusionData& store);

  // Working list := the store's rules; the list is rebuilt.
  void readExclusionData();
  // The store's rules := the working list, and the store writes its file; the user is told
  // when it could not.
  void writeExclusionData();
  bool isAllowed(const std::string& title, const std::string& processName) const {
    return workingList_.isAllowed(title, processName);
  }
  std::optional<size_t> matchingRule(const std::string& title,
                                     const std::string& processName) const {
    return workingList_.matchingRule(title, processName);
  }
  // A rule for the whole title and the process name, in front, unless an identical one exists.
  void addExclusion(const std::string& title, const std::string& processName);

  void refreshExclusionList();
  void showItem(int32_t index);

  // "条件変更" and "条件削除", on the rule at the list's selection mark.
  void onChangeCondition();
  void onDeleteCondition();
  void setListener(ExclusionRulesListener* listener) { listener_ = listener; }

  const std::vector<ExclusionItem>& rules() const { return workingList_.items; }
  CExclusionData& store() { return store_; }

 protected:
  bool onInitDialog() override;
  void onOK() override {}      // a page is never ended by Enter
  void onCancel() override {}  // ... or Escape
  bool onCommand(uint32_t id, uint32_t code, platform::Hwnd control) override;
  bool onNotify(const platform::NotifyHeader& header, platform::LResult& result) override;
  platform::BrushHandle onCtlColor(platform::DeviceContext dc, platform::Hwnd control,
                                   ui::CtlColor kind, platform::BrushHandle base) override;

 private:
  platform::ListViews& listViews_;
  // The marked row, or -1 after telling the user to choose one.
  int32_t selectedIndex();
  void rulesChanged();

  platform::Drawing& drawing_;
  platform::MessageBoxes& messageBoxes_;
  ui::DialogPorts dialogPorts_;
  CExclusionData& store_;
  ExclusionRulesListener* listener_ = nullptr;
  ui::ListView listView_;
  CExclusionData workingList_;
  ui::Brush yellow_;
  ui::Brush green_;
  ui::Brush red_;
  ui::Brush grey_;
};
