#include "keeping/target_keeper.h"

#include <algorithm>

#include "base/diagnostic_log.h"
#include "display/workspace.h"
#include "keeping/answers.h"
#include "keeping/visible_place.h"
#include "res/strings.h"

using namespace platform;

namespace {

// How long a target that did not answer is left alone.
constexpr uint32_t kQuietMs = 2000;
// How long a target that answered is given to end its minimising.
constexpr uint32_t kMinimiseMs = 200;
constexpr int32_t kOffScreen = 10000;
// Open questions only a real Windows machine settles, each switched here:
// whether an engine draws a window left layered at alpha 0 (then the transparent method
// would serve browsers too);
constexpr bool kEnginesDrawAtAlphaZero = false;
// whether WS_EX_TRANSPARENT on a kept browser window harms its program (it keeps one kept
// window from occluding another at the same place).
constexpr bool kKeptWindowsTransparent = true;

// The place Windows parks minimised windows at.
bool isParkingPlace(const Rect& r) {
  return r.left <= -32000 || (r.right < 0 && r.bottom < 0);
}

}  // namespace

TargetKeeper::TargetKeeper(const Ports& ports, DisplayEnvironment& environment, Hwnd target)
    : environment_(environment),
      windows_(ports.windows),
      messages_(ports.messages),
      monitors_(ports.monitors),
      messageBoxes_(ports.messageBoxes),
      system_(ports.system),
      processes_(ports.processes),
      journal_(ports.journal),
      target_(target) {
  windows_.getWindowRect(ports.screen.getDesktopWindow(), desktopRect_);
}

TargetKeeper::~TargetKeeper() {
  // Not put back (it did not answer): the journal's own put-back takes it from here.
  if (journal_ != nullptr) journal_->release(target_);
}

void TargetKeeper::journal() {
  if (journal_ == nullptr) return;
  KeptWindow k;
  k.window = target_;
  k.processId = windows_.getWindowProcessId(target_);
  k.image = processes_.baseName(k.processId);
  k.style = savedStyle_;
  k.exStyle = savedExStyle_;
  k.ownLayered = ownLayered_;
  k.layeredKey = layeredKey_;
  k.layeredAlpha = layeredAlpha_;
  k.layeredFlags = layeredFlags_;
  k.weDisabled = weDisabled_;
  k.placement = savedPlacement_;
  journal_->record(k);
}

bool TargetKeeper::alive() const {
  return windows_.isWindow(target_);
}

bool TargetKeeper::responsive(bool polled) {
  if (polled && quiet_ && static_cast<int32_t>(system_.tickCount() - quietUntil_) < 0) {
    return false;
  }
  quiet_ = false;
  if (answers(messages_, target_)) return true;
  diag::print("target 0x%08x does not answer: left as it is\n", target_.value);
  backOff();
  return false;
}

void TargetKeeper::backOff() {
  quiet_ = true;
  quietUntil_ = system_.tickCount() + kQuietMs;
}

bool TargetKeeper::send(uint32_t message, WParam wParam, LParam lParam) {
  // Answered a moment ago: a second at most, and none once the system knows it hangs. Blocked:
  // nothing sent to us meanwhile can cut a sequence in half (the probe before it can).
  return made(messages_
                  .sendMessageTimeout(target_, message, wParam, lParam,
                                      SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerWaitMs)
                  .answered,
              "message");
}

bool TargetKeeper::made(bool answered, const char* step) {
  if (answered || messages_.lastError() != ERROR_TIMEOUT || !alive()) return true;
  diag::print("target 0x%08x is busy (%s): the rest is left for later\n", target_.value, step);
  backOff();
  return false;
}

bool TargetKeeper::setLong(int32_t index, uint32_t value, const char* step) {
  return made(windows_.setWindowLong(target_, index, value) != 0, step);
}

void TargetKeeper::addTab() {
  if (!environment_.taskbar().addTab(target_)) {
    messageBoxes_.show({}, "タスクバーへの登録でエラーが発生しました", kAppTitle, MB_OK);
  }
}

void TargetKeeper::saveTarget() {
  if (!alive()) return;
  savedStyle_ = windows_.getWindowLong(target_, GWL_STYLE) & ~WS_MINIMIZE;
  savedExStyle_ = windows_.getWindowLong(target_, GWL_EXSTYLE);
  windows_.getWindowPlacement(target_, savedPlacement_);
  weDisabled_ = false;
  if (transparentMethod()) return;
  Rect r;
  windows_.getWindowRect(target_, r);
  if ((savedStyle_ & WS_DISABLED) == 0 || r.right <= 9000 || r.bottom <= 9000) return;
  // Still parked off screen by an earlier run that could not put it back: fetch it.
  if (!responsive()) return;
  savedStyle_ &= ~WS_DISABLED;
  if (!setLong(GWL_STYLE, windows_.getWindowLong(target_, GWL_STYLE) & ~WS_DISABLED, "enable") ||
      !made(windows_.setWindowPos(target_, {}, (desktopRect_.width() - r.width()) / 2,
                                  (desktopRect_.height() - r.height()) / 2, 0, 0,
                                  SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
            "fetch")) {
    return;
  }
  windows_.getWindowPlacement(target_, savedPlacement_);
  addTab();
}

Rect TargetKeeper::homeOnScreen() const {
  return workspace::toScreen(monitors_, savedPlacement_.normalPosition, savedExStyle_);
}

bool TargetKeeper::hideTarget() {
  // Asked again after the probe: the preview may have closed while it waited.
  if (givenUp_ || !alive() || !responsive() || givenUp_) return false;
  const uint32_t style = windows_.getWindowLong(target_, GWL_STYLE);
  // Restored meanwhile (by the user, say): there is nothing to keep live.
  if ((style & WS_MINIMIZE) == 0) return false;
  savedStyle_ = style & ~WS_MINIMIZE;
  savedExStyle_ = windows_.getWindowLong(target_, GWL_EXSTYLE);
  weDisabled_ = (style & WS_DISABLED) == 0;
  windows_.getWindowPlacement(target_, savedPlacement_);
  ownLayered_ =
      (savedExStyle_ & WS_EX_LAYERED) != 0 &&
      windows_.getLayeredWindowAttributes(target_, layeredKey_, layeredAlpha_, layeredFlags_);
  journal();
  holding_ = true;  // from here on, closing the preview puts it back
  job_ = Job::Hide;
  step_ = 0;
  jobMethod_ = chooseMethod();
  if (jobMethod_ != Method::Transparent) {
    const Rect& n = savedPlacement_.normalPosition;
    diag::print("top=%d, bottom=%d, left=%d, right=%d\n", n.top, n.bottom, n.left, n.right);
  }
  runJob();
  return true;
}

bool TargetKeeper::hideStep(int step) {
  switch (step) {
    case 0:
      return setLong(GWL_STYLE, windows_.getWindowLong(target_, GWL_STYLE) | WS_DISABLED,
                     "disable");
    case 1:
      return setLong(GWL_EXSTYLE, savedExStyle_ | WS_EX_LAYERED, "layered");
    case 2:
      return made(windows_.setLayeredWindowAttributes(target_, 0, 0, LWA_ALPHA), "alpha");
    case 3:
      return jobMethod_ == Method::InSight || send(WM_SETREDRAW, 0, 0);
    case 4: {
      if (!made(windows_.showWindow(target_, SW_SHOWNOACTIVATE), "show")) return false;
      // Some systems report the parking place as the normal rectangle of another program's
      // minimised window; the restored window knows where it belongs.
      if (isParkingPlace(savedPlacement_.normalPosition)) {
        Rect now;
        windows_.getWindowRect(target_, now);
        savedPlacement_.normalPosition = workspace::fromScreen(monitors_, now, savedExStyle_);
        journal();
      }
      return true;
    }
    case 5: {
      if (jobMethod_ == Method::Transparent) return true;
      if (jobMethod_ == Method::InSight) {
        keepInSight();
        return true;
      }
      const Rect home = homeOnScreen();
      return made(windows_.setWindowPos(target_, {}, home.left + kOffScreen, home.top + kOffScreen,
                                        0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
                  "off screen");
    }
    case 6:
      if (jobMethod_ == Method::InSight && kKeptWindowsTransparent) {
        return setLong(GWL_EXSTYLE, (savedExStyle_ & ~WS_EX_LAYERED) | WS_EX_TRANSPARENT, "opaque");
      }
      return jobMethod_ == Method::Transparent ||
             setLong(GWL_EXSTYLE, savedExStyle_ & ~WS_EX_LAYERED, "opaque");
    case 7:
      return jobMethod_ == Method::InSight || send(WM_SETREDRAW, 1, 0);
    default:
      if (alive() && !environment_.taskbar().deleteTab(target_)) {
        messageBoxes_.show({}, "タスクバーから削除でエラーが発生しました", kAppTitle, MB_OK);
      }
      return true;
  }
}

bool TargetKeeper::runJob() {
  constexpr int kSteps = 9;  // of either sequence, the taskbar last
  const uint32_t run = ++jobRuns_;
  for (; job_ != Job::None && step_ < kSteps; ++step_) {
    if (!alive()) break;
    const bool done = job_ == Job::Hide      ? hideStep(step_)
                      : job_ == Job::Restore ? restoreStep(step_)
                                             : replaceStep(step_);
    // A message box's loop let the preview close, and the close put the target back.
    if (run != jobRuns_) return false;
    if (!done) return false;
  }
  // Put back whole (or gone): nothing is left to undo.
  if (job_ == Job::Restore && journal_ != nullptr) journal_->forget(target_);
  job_ = Job::None;
  step_ = 0;
  return true;
}

bool TargetKeeper::minimise() {
  if (!send(WM_SYSCOMMAND, SC_MINIMIZE, 0)) return false;
  // A disabled window may ignore the command (Wine does): minimise it directly.
  return windows_.isIconic(target_) ||
         made(windows_.showWindow(target_, SW_SHOWMINNOACTIVE), "minimise");
}

uint32_t TargetKeeper::ownStyle() const {
  // The window's state bits stay as they are now: minimised, maximised, and disabled by its
  // own program (a modal dialog of its own may have come or gone meanwhile).
  constexpr uint32_t kState = WS_MINIMIZE | WS_MAXIMIZE | WS_DISABLED;
  uint32_t style = (savedStyle_ & ~kState) | (windows_.getWindowLong(target_, GWL_STYLE) & kState);
  if (weDisabled_) style &= ~WS_DISABLED;
  return style;
}

bool TargetKeeper::restoreStep(int step) {
  const Rect home = homeOnScreen();
  const bool offScreen = jobMethod_ != Method::Transparent;  // browsers' way back too
  // Off screen: made transparent first, then home while invisible. Transparent: it already is.
  switch (step) {
    case 0:
      return offScreen
                 ? setLong(GWL_EXSTYLE,
                           windows_.getWindowLong(target_, GWL_EXSTYLE) | WS_EX_LAYERED, "layered")
                 : send(WM_SETREDRAW, 0, 0);
    case 1:
      return !offScreen ||
             made(windows_.setLayeredWindowAttributes(target_, 0, 0, LWA_ALPHA), "alpha");
    case 2:
      // A maximised target keeps its maximised place; its placement brings the normal one back.
      // Home first, still invisible: where the placement cannot be set, it is right all the same.
      return jobMaximised_ || made(windows_.moveWindow(target_, home.left, home.top, home.width(),
                                                       home.height(), false),
                                   "home");
    case 3:
      if (!minimise()) return false;
      if (!offScreen) system_.sleep(kMinimiseMs);  // it answered: the minimising ends first
      return true;
    case 4:
      // Wine refuses another program's placement (no time-out): home was set above.
      return made(windows_.setWindowPlacement(target_, savedPlacement_), "placement");
    case 5:
      return offScreen || send(WM_SETREDRAW, 1, 0);
    case 6:
      if (!setLong(GWL_EXSTYLE, savedExStyle_, "styles")) return false;
      // Layered by its own program: its own attributes, not our alpha 0.
      return !ownLayered_ || made(windows_.setLayeredWindowAttributes(target_, layeredKey_,
                                                                      layeredAlpha_, layeredFlags_),
                                  "own layered");
    case 7:
      if (!setLong(GWL_STYLE, ownStyle(), "styles")) return false;
      if (weDisabled_ && !windows_.isWindowEnabled(target_) &&
          !made(windows_.enableWindow(target_, true), "enable")) {
        return false;
      }
      weDisabled_ = false;
      return true;
    default:
      addTab();
      return true;
  }
}

void TargetKeeper::displaysChanged() {
  if (!holding_ || givenUp_ || !alive()) return;
  const Method method = chooseMethod();
  // A hide that has not yet moved the target: its first steps are the same for both methods.
  if (job_ == Job::Hide && step_ <= 5 && jobMethod_ != Method::InSight &&
      method != Method::InSight) {
    jobMethod_ = method;
    return;
  }
  if (job_ != Job::None) {
    methodStale_ = true;
    return;
  }
  methodStale_ = false;
  if (method == Method::InSight) {
    keepInSight();
    return;
  }
  if (method == jobMethod_) return;
  diag::print("target 0x%08x kept %s now\n", target_.value,
              method == Method::Transparent ? "transparent in place" : "off screen");
  job_ = Job::Replace;
  step_ = 0;
  jobMethod_ = method;
  if (responsive(true)) runJob();
}

bool TargetKeeper::replaceStep(int step) {
  const Rect home = homeOnScreen();
  if (jobMethod_ == Method::Transparent) {
    // Invisible first, then home.
    switch (step) {
      case 0:
        return setLong(GWL_EXSTYLE, savedExStyle_ | WS_EX_LAYERED, "layered");
      case 1:
        return made(windows_.setLayeredWindowAttributes(target_, 0, 0, LWA_ALPHA), "alpha");
      case 2:
        return made(windows_.setWindowPos(target_, {}, home.left, home.top, 0, 0,
                                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
                    "home");
      default:
        return true;
    }
  }
  // Off the screen first, then opaque there.
  switch (step) {
    case 0:
      return made(windows_.setWindowPos(target_, {}, home.left + kOffScreen, home.top + kOffScreen,
                                        0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
                  "off screen");
    case 1:
      return setLong(GWL_EXSTYLE, savedExStyle_ & ~WS_EX_LAYERED, "opaque");
    default:
      return true;
  }
}

void TargetKeeper::restoreTarget() {
  if (!alive() || !responsive()) return;
  // Put back once: a closing that comes in during what follows finds nothing held.
  holding_ = false;
  // Whatever of a hide was left undone is undone with the rest.
  job_ = Job::Restore;
  step_ = 0;
  jobMethod_ = chooseMethod();
  jobMaximised_ = windows_.isZoomed(target_);
  runJob();
}

void TargetKeeper::moveTargetHome() {
  if (!alive()) return;
  if (windows_.isZoomed(target_)) {
    diag::print("target 0x%08x is maximised: left as it is\n", target_.value);
    return;
  }
  Rect r;
  windows_.getWindowRect(target_, r);
  const Rect home = homeOnScreen();
  if (r.top == home.top && r.left == home.left) {
    diag::print("□SamePOS！\n");
    return;
  }
  diag::print("▼DifferentPOS top=%d,left=%d,bottom=%d,right=%d\n", r.top, r.left, r.bottom,
              r.right);
  if (responsive()) {
    made(windows_.moveWindow(target_, home.left, home.top, home.width(), home.height(), true),
         "home");
  }
}

bool TargetKeeper::pollTargetState(bool hidden) {
  if (job_ != Job::None) {
    // What the target was too busy for goes on once it answers again; a hide only while the
    // preview is open.
    if (responsive(true) && !(givenUp_ && job_ == Job::Hide)) runJob();
    if (job_ == Job::None && methodStale_) displaysChanged();
    return hidden;
  }
  if (!hidden) {
    if (!windows_.isIconic(target_) || !responsive(true)) return hidden;
    // It answered: its minimising is given time to end. hideTarget looks again: the user may
    // have restored it during the wait.
    system_.sleep(kMinimiseMs);
    if (hideTarget()) hidden = true;
  } else if (windows_.isIconic(target_) && responsive(true) && !givenUp_) {
    // Minimised again while hidden (its taskbar button, say): restored where it was kept,
    // transparent or off screen, it stays live and out of sight.
    made(windows_.showWindow(target_, SW_SHOWNOACTIVATE), "show");
  }
  if (hidden && jobMethod_ == Method::InSight && holding_ && !givenUp_ && job_ == Job::None) {
    keepInSight();
  }
  return hidden;
}

TargetKeeper::Method TargetKeeper::chooseMethod() {
  if (!engineKnown_) {
    engine_ = engineOf(windows_, target_);
    engineKnown_ = true;
    if (engine_ != EngineKind::None) {
      diag::print("target 0x%08x is drawn by %s\n", target_.value, engineName(engine_));
    }
  }
  if (keepsDrawingInSight(engine_) && !(kEnginesDrawAtAlphaZero && transparentMethod())) {
    return Method::InSight;
  }
  return transparentMethod() ? Method::Transparent : Method::OffScreen;
}

void TargetKeeper::keepInSight() {
  if (!windows_.isWindowVisible(target_) || windows_.isIconic(target_)) return;
  const visible_place::Screen screen = visible_place::readScreen(monitors_);
  Rect now;
  windows_.getWindowRect(target_, now);
  const std::vector<visible_place::Place> places =
      visible_place::places(screen, now.width(), now.height());
  const bool atAPlace = std::any_of(places.begin(), places.end(),
                                    [&](const visible_place::Place& p) { return p.rect == now; });
  if (atAPlace && visible_place::judgedVisible(windows_, screen, target_)) return;
  // Moved (by its program, into a changed work area), covered, or the monitors changed: placed
  // again once it answers.
  if (!responsive(true)) return;
  for (const visible_place::Place& place : places) {
    if (now != place.rect &&
        !made(windows_.setWindowPos(target_, {}, place.rect.left, place.rect.top, 0, 0,
                                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
              "in sight")) {
      return;
    }
    windows_.getWindowRect(target_, now);
    bool visible = visible_place::judgedVisible(windows_, screen, target_);
    if (!visible) {
      // Covered by an ordinary window: above them all, never topmost, never activated.
      if (!made(windows_.setWindowPos(target_, kHwndTop, 0, 0, 0, 0,
                                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE),
                "raise")) {
        return;
      }
      visible = visible_place::judgedVisible(windows_, screen, target_);
    }
    if (visible) {
      if (place_ != now) {
        diag::print("target 0x%08x kept in sight: %s at %d,%d\n", target_.value, place.where,
                    now.left, now.top);
      }
      place_ = now;
      return;
    }
  }
  diag::print("target 0x%08x: no place left where its engine sees it\n", target_.value);
}
