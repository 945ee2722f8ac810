// Keeps a minimised target window live for its preview: restored but invisible (moved far
// off the screen, or fully transparent in place) and disabled, and puts it back afterwards.
//
// Every operation first probes the target: one that does not answer within a second is left
// alone, so a hung program never blocks ours for longer than that.
#pragma once

#include "platform/platform.h"
#include "display/display_environment.h"
#include "thumbnail/thumbnail_listener.h"

class TargetKeeper {
 public:
  // Other programs' windows and messages to them, the desktop window, the monitors (for
  // workspace coordinates), message boxes and sleep.
  struct Ports {
    explicit Ports(const platform::Platform& p)
        : windows(p.windows),
          messages(p.messages),
          screen(p.screen),
          monitors(p.monitors),
          messageBoxes(p.messageBoxes),
          system(p.system) {}
    platform::Windows& windows;
    platform::Messages& messages;
    platform::Screen& screen;
    platform::Monitors& monitors;
    platform::MessageBoxes& messageBoxes;
    platform::System& system;
  };

  TargetKeeper(const Ports& ports, DisplayEnvironment& environment, platform::Hwnd target);

  // At a normal start: remembers styles and placement; fetches back a window still parked
  // off screen by an earlier run.
  void saveTarget();
  // A minimised target: remember, disable, restore it invisibly. False when it was left as it
  // was (gone, not answering, or no longer minimised).
  bool hideTarget();
  // Minimised again, with its own styles and normal rectangle; enabled again only if we were
  // the ones who disabled it.
  void restoreTarget();
  // Moves the target to its normal rectangle when it is elsewhere; a maximised one stays.
  void moveTargetHome();
  // The 500 ms poll, for a target the caller has just seen alive: a Normal target found
  // minimised becomes Hidden.
  void pollTargetState(ThumbState& state);
  // The preview is closing: from now on the target is never taken over, only put back. An
  // operation whose wait for the target let the closing in stops there.
  void giveUp() { givenUp_ = true; }
  // The target is held hidden: taken over by hideTarget and not put back since.
  bool holdsTarget() const { return holding_; }

  // The transparent method (layered mode or more than one monitor) or the off-screen one.
  bool transparentMethod() const { return environment_.transparentMethod(); }
  const platform::Rect& normalRect() const { return savedPlacement_.normalPosition; }
  platform::Hwnd target() const { return target_; }

 private:
  bool alive() const;
  // The target answers within a second (or is gone, which every operation checks anyway).
  bool responsive() const;
  void send(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  void setLayeredAlphaZero(uint32_t exStyle);
  void minimise();
  void applySavedStyles();
  void addTab();
  platform::Rect homeOnScreen() const;

  DisplayEnvironment& environment_;
  platform::Windows& windows_;
  platform::Messages& messages_;
  platform::Monitors& monitors_;
  platform::MessageBoxes& messageBoxes_;
  platform::System& system_;
  platform::Hwnd target_;
  uint32_t savedStyle_ = 0;
  uint32_t savedExStyle_ = 0;
  platform::WindowPlacement savedPlacement_;
  bool weDisabled_ = false;  // the target was enabled until hideTarget disabled it
  bool givenUp_ = false;
  bool holding_ = false;
  platform::Rect desktopRect_;
};
