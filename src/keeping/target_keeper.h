// Keeps a minimised target window live for its preview: restored but invisible (moved far
// off the screen, or fully transparent in place) and disabled, and puts it back afterwards.
// A browser window (Chromium, Gecko) would stop drawing there: it is kept where its engine
// judges it visible and the user sees nothing of it (visible_place.h), placed again at each
// poll when it was moved or covered; no WM_SETREDRAW reaches it, which would hide it.
//
// Custody: before the first change the window's own state (styles, layered attributes,
// placement, enabled) is recorded in the journal, and nothing is changed when that record
// cannot be written. The record is taken from a state the program did not cause: a loose
// record of an earlier run or a closed preview is adopted as it stands and the window put back
// from it, never read anew from a window we changed. Whatever undoes our changes (a
// double-click, the preview closing, the program ending) is the one put-back (put_back.h).
//
// Every operation first probes the target: one that does not answer within a second is left
// alone, and not asked again for a while, so a hung program costs ours at most a second now
// and then. Each change waits at most a second too (the port's contract); one the target was
// too busy for stops its sequence, which the next poll takes up again at that step (each
// step is whole in itself, so making it twice does no harm). Nothing here sleeps for a target
// that does not answer.
#pragma once

#include <optional>

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

  // At a normal start: remembers styles and placement; a window an earlier run still holds is
  // put back from its record, and one parked off screen without a record is fetched.
  void saveTarget();
  // A minimised target: record, disable, restore it invisibly. False when it was left as it
  // was (gone, not answering, no longer minimised, or its record could not be written); true
  // once that has begun (the poll finishes what the target was too busy for).
  bool hideTarget();
  // The one put-back: minimised again, with its own styles and normal rectangle. False when
  // the target was too busy to finish: the poll goes on with it while the preview lives, the
  // journal once it has closed.
  bool restoreTarget();
  // The user asked for the target (a double-click) while it was too busy to be put back: it
  // is restored and moved home as soon as the put-back ends.
  void showWhenBack() { showWhenBack_ = true; }
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
  // How long the probes have gone unanswered: from the first unanswered one to the latest,
  // with none answered between; 0 once one is answered.
  uint32_t unansweredMs() const { return silent_ ? silentLast_ - silentSince_ : 0; }
  // The system says the target reads its messages again: its silence is over, whatever the
  // last probe met.
  void heardOf() { silent_ = false; }
  // The target is in our custody: changed (or about to be) and not put back since.
  bool holdsTarget() const { return own_.has_value(); }

  // The transparent method (layered mode or more than one monitor) or the off-screen one.
  bool transparentMethod() const { return environment_.transparentMethod(); }
  const platform::Rect& normalRect() const { return placement_.normalPosition; }
  platform::Hwnd target() const { return target_; }
  // What draws the target, once a hide has looked.
  EngineKind engine() const { return engine_; }

 private:
  enum class Job { None, Hide, Replace, PutBack };
  enum class Method { OffScreen, Transparent, InSight };
  // The hide's steps, in their order; each method skips those it has no use for.
  enum class HideStep {
    Disable,
    Layer,
    Transparent,
    StopRedraw,
    Restore,
    LearnPlace,  // the normal rectangle, read where the restored window lies at its own place
    Place,       // off screen, or in sight for a browser
    Opaque,
    Redraw,
    DropTab,
    Done,
  };
  // A held target moved from one method to another (displaysChanged).
  enum class ReplaceStep { Layer, Transparent, Home, Park, Opaque, Done };

  Method chooseMethod();
  // A browser window kept in sight: placed again when it was moved or covered. False when
  // it could not be placed (busy, or no place is left).
  bool keepInSight();

  bool alive() const;
  // The target answers within a second (or is gone, which every operation checks anyway).
  // For the poll, false at once while it is left alone after not answering; the user's
  // double-click and the close ask it all the same.
  bool responsive(bool polled = false);
  void backOff();
  // False when the target did not answer.
  bool send(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  // False (logged, and the target left alone a while) when the change had to wait.
  bool made(bool answered, const char* step);
  bool setLong(int32_t index, uint32_t value, const char* step);
  // The steps of `job_` from `step_` on; false when one had to wait for the target.
  bool runJob();
  bool hideStep(HideStep step);
  bool replaceStep(ReplaceStep step);
  bool learnPlace();
  // The put-back job; true when it ended (put back, or the window gone).
  bool putBack();
  // A loose record of this window becomes ours, and the window goes back from it.
  bool adoptLoose();
  // Writes the record; false (logged once) when it could not be written.
  bool record();
  platform::Rect homeOnScreen() const;

  DisplayEnvironment& environment_;
  platform::Windows& windows_;
  platform::Messages& messages_;
  platform::Monitors& monitors_;
  platform::MessageBoxes& messageBoxes_;
  platform::System& system_;
  platform::Processes& processes_;
  KeptWindowsJournal* journal_;
  platform::Hwnd target_;
  // The window's own state, as recorded before our first change (or adopted): held while set.
  std::optional<KeptWindow> own_;
  platform::WindowPlacement placement_;   // its own placement, as last known; held, the record's
  Job job_ = Job::None;                   // a sequence the target was too busy to finish
  int step_ = 0;                          // its next step
  Method jobMethod_ = Method::OffScreen;  // the method the target is kept by
  EngineKind engine_ = EngineKind::None;
  bool engineKnown_ = false;
  platform::Rect place_;  // where a browser window was kept in sight
  // No place was left (covered by windows that stay above): looked for again after a while.
  bool noPlace_ = false;
  platform::Dword noPlaceAt_ = 0;
  platform::Dword quietUntil_ = 0;  // tick count before which the target is not asked
  bool quiet_ = false;
  bool silent_ = false;  // no probe answered since silentSince_, the latest at silentLast_
  platform::Dword silentSince_ = 0;
  platform::Dword silentLast_ = 0;
  uint32_t jobRuns_ = 0;  // sequences begun: one begun inside a step ends the one around it
  bool givenUp_ = false;
  bool showWhenBack_ = false;
  bool methodStale_ = false;  // the displays changed during a sequence: chosen again after it
  platform::Dword recordRefusedAt_ = 0;  // when the journal last could not be written
  bool recordRefused_ = false;
  platform::Rect desktopRect_;
};
