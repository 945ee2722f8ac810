// Keeps a minimised target window live for its preview: restored but invisible (moved far
// off the screen, or fully transparent in place) and disabled, and puts it back afterwards.
// A browser window (Chromium, Gecko) would stop drawing there: it is kept where its engine
// judges it visible and the user sees nothing of it (visible_place.h), placed again at each
// poll when it was moved or covered; no WM_SETREDRAW reaches it, which would hide it.
//
// Every operation first probes the target: one that does not answer within a second is left
// alone, and not asked again for a while, so a hung program costs ours at most a second now
// and then. Each change to the target waits at most a second too (the port's contract); one
// the target was too busy for stops its sequence, which the next poll takes up again at that
// step (each step is whole in itself, so making it twice does no harm). Nothing here sleeps
// for a target that does not answer.
#pragma once

#include "display/display_environment.h"
#include "keeping/engine_kind.h"
#include "keeping/kept_windows_journal.h"
#include "platform/platform.h"

class TargetKeeper {
 public:
  // Other programs' windows and messages to them, the desktop window, the monitors (for
  // workspace coordinates), message boxes and sleep; the journal, where the program keeps one.
  struct Ports {
    explicit Ports(const platform::Platform& p)
        : windows(p.windows),
          messages(p.messages),
          screen(p.screen),
          monitors(p.monitors),
          messageBoxes(p.messageBoxes),
          system(p.system),
          processes(p.processes) {}
    platform::Windows& windows;
    platform::Messages& messages;
    platform::Screen& screen;
    platform::Monitors& monitors;
    platform::MessageBoxes& messageBoxes;
    platform::System& system;
    platform::Processes& processes;
    KeptWindowsJournal* journal = nullptr;
  };

  TargetKeeper(const Ports& ports, DisplayEnvironment& environment, platform::Hwnd target);
  ~TargetKeeper();
  TargetKeeper(const TargetKeeper&) = delete;
  TargetKeeper& operator=(const TargetKeeper&) = delete;

  // At a normal start: remembers styles and placement; fetches back a window still parked
  // off screen by an earlier run.
  void saveTarget();
  // A minimised target: remember, disable, restore it invisibly. False when it was left as it
  // was (gone, not answering, or no longer minimised); true once that has begun (the poll
  // finishes what the target was too busy for, restoreTarget undoes it).
  bool hideTarget();
  // Minimised again, with its own styles and normal rectangle; enabled again only if we were
  // the ones who disabled it. Interrupted by a busy target, the poll finishes it; when the
  // preview is closing there is no poll, and the rest is not made.
  void restoreTarget();
  // Moves the target to its normal rectangle when it is elsewhere; a maximised one stays.
  void moveTargetHome();
  // The 500 ms poll, for a target the caller has just seen alive: a sequence left unfinished
  // goes on; a shown target found minimised is hidden. Whether the target is hidden now.
  bool pollTargetState(bool hidden);
  // The monitors or the work area changed: a held target goes at once where a fresh hide
  // would keep it now (off screen or transparent in place, a browser window at a visible
  // place); a hide under way takes the new method for its remaining steps.
  void displaysChanged();
  // The preview is closing: from now on the target is never taken over, only put back. An
  // operation whose wait for the target let the closing in stops there.
  void giveUp() { givenUp_ = true; }
  // The poll's probe: the target answers within a second; false at once while it is left
  // alone after not answering.
  bool answersPoll() { return responsive(true); }
  // The target is held hidden: taken over by hideTarget and not put back since.
  bool holdsTarget() const { return holding_; }

  // The transparent method (layered mode or more than one monitor) or the off-screen one.
  bool transparentMethod() const { return environment_.transparentMethod(); }
  const platform::Rect& normalRect() const { return savedPlacement_.normalPosition; }
  platform::Hwnd target() const { return target_; }
  // What draws the target, once a hide has looked.
  EngineKind engine() const { return engine_; }

 private:
  // Replace: a held target moved from one method to another (displaysChanged).
  enum class Job { None, Hide, Restore, Replace };
  enum class Method { OffScreen, Transparent, InSight };

  Method chooseMethod();
  // A browser window kept in sight: placed again when it was moved or covered.
  void keepInSight();

  bool alive() const;
  // The target answers within a second (or is gone, which every operation checks anyway).
  // For the poll, false at once while it is left alone after not answering; the user's
  // double-click and the close ask it all the same.
  bool responsive(bool polled = false);
  void backOff();
  // False when the target did not answer.
  bool send(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  // False (logged, and the target left alone a while) when the change timed out.
  bool made(bool answered, const char* step);
  bool setLong(int32_t index, uint32_t value, const char* step);
  // The steps of `job_` from `step_` on; false when one had to wait for the target.
  bool runJob();
  bool hideStep(int step);
  bool restoreStep(int step);
  bool replaceStep(int step);
  bool minimise();
  uint32_t ownStyle() const;
  void addTab();
  platform::Rect homeOnScreen() const;
  // The journal learns what undoes our changes, before the first one and when it changes.
  void journal();

  DisplayEnvironment& environment_;
  platform::Windows& windows_;
  platform::Messages& messages_;
  platform::Monitors& monitors_;
  platform::MessageBoxes& messageBoxes_;
  platform::System& system_;
  platform::Processes& processes_;
  KeptWindowsJournal* journal_;
  platform::Hwnd target_;
  uint32_t savedStyle_ = 0;
  uint32_t savedExStyle_ = 0;
  // Its own layered attributes, when its program had set them.
  bool ownLayered_ = false;
  platform::ColorRef layeredKey_ = 0;
  uint8_t layeredAlpha_ = 0;
  platform::Dword layeredFlags_ = 0;
  platform::WindowPlacement savedPlacement_;
  bool weDisabled_ = false;               // the target was enabled until hideTarget disabled it
  Job job_ = Job::None;                   // a sequence the target was too busy to finish
  int step_ = 0;                          // its next step
  Method jobMethod_ = Method::OffScreen;  // the method it began with
  EngineKind engine_ = EngineKind::None;
  bool engineKnown_ = false;
  platform::Rect place_;            // where a browser window was kept in sight
  bool jobMaximised_ = false;       // a restore of a maximised target
  platform::Dword quietUntil_ = 0;  // tick count before which the target is not asked
  bool quiet_ = false;
  uint32_t jobRuns_ = 0;  // sequences begun: one begun inside a step ends the one around it
  bool givenUp_ = false;
  bool holding_ = false;
  bool methodStale_ = false;  // the displays changed during a sequence: chosen again after it
  platform::Rect desktopRect_;
};
