// The exclusion page: a view of the rules store (the rules in force). It shows the rules and
// the conditions of the one clicked in the list, changes or deletes that rule, and saves the
// store after each change.
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
  // The framework's services, the list view, drawing and message boxes.
  struct Ports : ui::DialogPorts {
    explicit Ports(const platform::Platform& p)
        : DialogPorts(p),
          listViews(p.listViews),
          drawing(p.drawing),
          messageBoxes(p.messageBoxes) {}
    platform::ListViews& listViews;
    platform::Drawing& drawing;
    platform::MessageBoxes& messageBoxes;
  };

  // `store` is the one list of rules, as loaded and saved; the page edits it in place.
  CLimitDlg(const Ports& ports, CExclusionData& store);

  // Rules were put into the store elsewhere (a window excluded): the list shows them and the
  // store writes its file.
  void rulesAdded();

  void refreshExclusionList();
  void showItem(int32_t index);

  // "条件変更" and "条件削除", on the rule at the list's selection mark.
  void onChangeCondition();
  void onDeleteCondition();
  void setListener(ExclusionRulesListener* listener) { listener_ = listener; }

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
  // The store writes its file at once, so that a crash or a kill loses no rule (the exit
  // writes it again); the user is told when it could not.
  void saveRules();
  void rulesChanged();
  // Where the rule stands in the store now; -1 when it is gone.
  int32_t indexOf(const ExclusionItem& rule) const;

  platform::Drawing& drawing_;
  platform::MessageBoxes& messageBoxes_;
  ui::DialogPorts dialogPorts_;
  CExclusionData& store_;
  ExclusionRulesListener* listener_ = nullptr;
  std::vector<ExclusionItem> shown_;  // the rules the list shows, row by row
  ui::ListView listView_;
  ui::Brush yellow_;
  ui::Brush green_;
  ui::Brush red_;
  ui::Brush grey_;
};
