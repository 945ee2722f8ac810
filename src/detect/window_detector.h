// The window detector. Once a second it finds the windows that may get a preview and reports
// which appeared and which went away. Every tick scans, so a window that went is reported at
// the next tick; new windows wait in a queue and are handed over one per tick, in scan order.
// It owns no window: its timer belongs to a host window, which hands WM_TIMER back. The
// detection page shows its known list through DetectorObserver.
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
#include "platform/platform.h"

// The window whose timer the detector uses; it passes WM_TIMER to onTimer.
class DetectorHost {
 public:
  virtual bool setDetectorTimer(uintptr_t id, uint32_t period) = 0;
  virtual void killDetectorTimer(uintptr_t id) = 0;

 protected:
  ~DetectorHost() = default;
};

class DetectorObserver {
 public:
  // The known list was settled afresh: by a scan (titles may have changed), a suspend or a
  // forget.
  virtual void knownListChanged() = 0;

 protected:
  ~DetectorObserver() = default;
};

class WindowDetector {
 public:
  static constexpr uintptr_t kTimerId = 101;
  static constexpr uint32_t kPeriod = 1000;

  // The window queries, process names and the (guarded) DWM.
  struct Ports {
    explicit Ports(const platform::Platform& p)
        : windows(p.windows), processes(p.processes), dwm(p.dwm) {}
    platform::Windows& windows;
    platform::Processes& processes;
    platform::Dwm& dwm;
  };

  WindowDetector(const Ports& ports, DetectorHost& host);
  WindowDetector(const WindowDetector&) = delete;
  WindowDetector& operator=(const WindowDetector&) = delete;

  // The first tick a period from now.
  void start();
  // The host's WM_TIMER.
  void onTimer(uintptr_t id);

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

  // The detection page: the scan passes it over without a question. None to forget it.
  void setOwnPage(platform::Hwnd page) { ownPage_ = page; }

  std::vector<CWinListListener*> listeners;
  void addObserver(DetectorObserver* observer) { observers_.push_back(observer); }
  void removeObserver(DetectorObserver* observer) { std::erase(observers_, observer); }

  // Every window of the last scan, queued or handed over, in scan order.
  const std::vector<WindowEntry>& knownList() const { return knownList_; }

 private:
  void tick();
  void scan();
  void compare(std::vector<WindowEntry> scanned);
  void handOver();
  void knownListChanged();

  platform::Windows& windows_;
  platform::Dwm& dwm_;
  DetectorHost& host_;
  ProcessNames processNames_;
  VerdictLog verdicts_;
  std::vector<DetectorObserver*> observers_;
  platform::Hwnd ownPage_;
  std::vector<WindowEntry> knownList_;
  // Known windows not handed over yet, in scan order.
  std::deque<WindowEntry> addedQueue_;
  platform::Hwnd handingOver_;  // the window a listener is being given, if any
  uint64_t suspensions_ = 0;    // goSuspend calls so far: tells a tick one came meanwhile
  bool suspended_ = false;
  bool stopped_ = false;
};
