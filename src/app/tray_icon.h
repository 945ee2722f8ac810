// The program's entry in the notification area. Added once the panel's window exists, added
// again whenever the shell has lost it, and removed by remove() or, at the latest, with the
// object.
#pragma once

#include <string>

#include "platform/shell.h"

class TrayIcon {
 public:
  explicit TrayIcon(platform::Shell& shell) : shell_(shell) {}
  ~TrayIcon() { remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The record: `window` gets `callbackMessage` for the mouse on the icon.
  void init(platform::Hwnd window, platform::IconHandle icon, uint32_t callbackMessage,
            const std::string& tip);
  // Adds the icon. A busy shell may add it late: then it is only modified, and otherwise the
  // watchdog tries again rather than this waiting for the shell.
  void add();
  // The watchdog, once a second: an icon the shell no longer knows is added again. It asks
  // the shell in full only when its tray window changed (a restart), after a failed update,
  // or once a minute; otherwise the check costs one look-up.
  void watch();
  static constexpr int kSecondsBetweenFullChecks = 60;
  // Takes the icon away (nothing once it is gone).
  void remove();

 private:
  void shown(platform::Hwnd tray);

  platform::Shell& shell_;
  platform::TrayIconData data_;
  bool placed_ = false;      // init ran and remove has not
  bool busyLogged_ = false;  // a busy shell's time-out is logged once until it answers
  // The shell's tray window when the last add or update succeeded; none after a failure.
  platform::Hwnd shownIn_;
  int quietSeconds_ = 0;  // since the last full check
};
