// The window detector, which is also the detection page (shown only in debug mode). Once a
// second it finds the windows that may get a preview and reports which appeared and which
// went away. Every tick scans, so a window that went is reported at the next tick; new
// windows wait in a queue and are handed over one per tick, in scan order.
//
// A listener may suspend, resume or forget while it is called: the lists are settled before
// each call, and a tick whose detection was suspended meanwhile does nothing further.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "detect/process_names.h"
#include "detect/verdict_log.h"
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

  // Stops detection and reports every known window as gone (a window being handed over
  // right then is reported once its hand-over is done).
  void goSuspend();
  // Detection goes on; the next tick scans afresh.
  void returnSuspend();
  // Detection ends for good (the end of the session): no tick runs and nothing more is
  // reported, not even the windows it knows.
  void stop();
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
  VerdictLog verdicts_;
  ui::ListView listView_;
  std::vector<WindowEntry> scanList_;
  // Every window of the last scan, queued or handed over.
  std::vector<WindowEntry> knownList_;
  // Known windows not handed over yet, in scan order.
  std::deque<WindowEntry> addedQueue_;
  platform::Hwnd handingOver_;  // the window a listener is being given, if any
  uint64_t suspensions_ = 0;    // goSuspend calls so far: tells a tick one came meanwhile
  bool suspended_ = false;
  bool stopped_ = false;
};
