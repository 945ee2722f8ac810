// The detection page (shown only in debug mode): a view of the window detector's known list,
// one row per window with its process. It shows the list while it is visible; hidden, it is
// emptied once and then left alone.
#pragma once

#include "detect/window_detector.h"
#include "ui/dialog.h"
#include "ui/list_view.h"

class CWinListDlg : public ui::Dialog, public DetectorObserver {
 public:
  // The framework's services and the list view.
  struct Ports : ui::DialogPorts {
    explicit Ports(const platform::Platform& p) : DialogPorts(p), listViews(p.listViews) {}
    platform::ListViews& listViews;
  };

  CWinListDlg(const Ports& ports, WindowDetector& detector);
  ~CWinListDlg() override;

  // DetectorObserver.
  void knownListChanged() override;

 protected:
  bool onInitDialog() override;
  void onDestroy() override;

 private:
  platform::ListViews& listViews_;
  WindowDetector& detector_;
  ui::ListView listView_;
};
