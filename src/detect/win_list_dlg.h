// The window detector, which is also the detection page (shown only in debug mode). Once a
// second it finds the windows that may get a preview and reports which appeared and which
// went away; new windows are handed over one per tick.
#pragma once

#include <vector>

#include "detect/process_names.h"
#include "detect/window_entry.h"
#include "ui/dialog.h"
#include "ui/list_view.h"

class CWinListDlg : public ui::Dialog {
 public:
  static constexpr uintptr_t kTimerId = 101;
  static constexpr uint32_t kPeriod = 1000;

  // The framework's services, the list view, process names and the (guarded) DWM.
  struct Ports : ui::DialogPorts {
    explicit Ports(const platform::Platform& p)
        : DialogPorts(p), listViews(p.listViews), processes(p.processes), dwm(p.dwm) {}
    platform::ListViews& listViews;
    platform::Processes& processes;
    platform::Dwm& dwm;
  };

  explicit CWinListDlg(const Ports& ports);

  // Stops detection and reports every known window as gone.
  void goSuspend();
  // Detection goes on; the next tick scans afresh.
  void returnSuspend();
  // The next scan reports these windows as added again, if they are still there (a window is
  // otherwise reported once, and judged by the rules only then).
  void forget(const std::vector<platform::Hwnd>& windows);

  std::vector<CWinListListener*> listeners;

  bool suspended() const { return suspended_ != 0; }
  const std::vector<WindowEntry>& knownList() const { return knownList_; }

 protected:
  bool onInitDialog() override;
  void onTimer(uintptr_t id) override;

 private:
  void tick();
  void scan();
  void compare();
  void handOver();

  platform::ListViews& listViews_;
  platform::Dwm& dwm_;
  ProcessNames processNames_;
  ui::ListView listView_;
  std::vector<WindowEntry> scanList_;
  std::vector<WindowEntry> knownList_;
  std::vector<WindowEntry> addedQueue_;
  std::vector<WindowEntry> removedList_;
  size_t nextAdded_ = 0;
  std::vector<WindowEntry> oneList_;
  bool suspended_ = false;
};
