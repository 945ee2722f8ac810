// Web reload of one preview's target: while it is on, an F5 key press is posted to the
// browser's page window every interval, the first one a second after switching on. Only three
// browsers are known, by their exact executable names. Nothing is saved: a new preview starts
// off, at 30 seconds.
//
// The preview owns it and forwards its reload timer and the three menu commands.
#pragma once

#include <string>

#include "platform/platform.h"
#include "settings/setting_ranges.h"
#include "thumbnail/thumbnail_listener.h"
#include "ui/dialog.h"

class WebReload {
 public:
  static constexpr uintptr_t kTimer = 110;

  // Other programs' windows and messages to them, the clock's sleep, and the framework's
  // services for the interval dialog.
  struct Ports {
    explicit Ports(const platform::Platform& p)
        : windows(p.windows), messages(p.messages), system(p.system), dialogs(p) {}
    platform::Windows& windows;
    platform::Messages& messages;
    platform::System& system;
    ui::DialogPorts dialogs;
  };

  // `preview` is the window whose timer drives the reload; its handle is read when needed.
  WebReload(const Ports& ports, const ui::Window& preview, platform::Hwnd target,
            const std::string& exeName);

  // One of the three browsers web reload knows.
  static bool supports(const std::string& exeName);

  bool on() const { return on_; }

  void switchOn();
  // A hidden target is left enabled, whatever the reload did to it.
  void switchOff(ThumbState state);
  // The interval dialog, modally over the preview. The preview may be closed while it is up:
  // then nothing more is done, this object being gone with it.
  void editInterval();
  // The reload timer: one reload when on, then the next period, in every case.
  void onTimer();

 private:
  enum class Browser { None, Explorer, Firefox, Chrome };
  static Browser browserOf(const std::string& exeName);

  void restart(uint32_t milliseconds);
  void reloadExplorer();
  void reloadFirefox();
  void reloadChrome();
  void postF5(platform::Hwnd receiver);
  // The target answers within a second; logged when it does not.
  bool answers();

  platform::Windows& windows_;
  platform::Messages& messages_;
  platform::System& system_;
  ui::DialogPorts dialogPorts_;
  const ui::Window& preview_;
  platform::Hwnd target_;
  Browser browser_;
  bool on_ = false;
  int32_t interval_ = setting::kReloadInterval.initial;  // seconds
};
