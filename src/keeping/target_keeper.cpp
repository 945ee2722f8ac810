#include "keeping/target_keeper.h"

#include "base/diagnostic_log.h"
#include "display/workspace.h"
#include "keeping/answers.h"
#include "keeping/put_back.h"
#include "res/strings.h"

using namespace platform;

namespace {

// How long a target that did not answer is left alone.
constexpr uint32_t kQuietMs = 2000;
// How long a target that answered is given to end its minimising.
constexpr uint32_t kMinimiseMs = 200;
// How long a window stays minimised after its record could not be written.
constexpr uint32_t kRecordRetryMs = 30000;
// How long a browser window with no place left is not placed again.
constexpr uint32_t kNoPlaceRetryMs = 10000;

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
  if (journal_ != nullptr && own_) journal_->release(target_);
}

bool TargetKeeper::record() {
  if (journal_ == nullptr) return true;
  if (journal_->record(*own_)) {
    recordRefused_ = false;
    return true;
  }
  if (!recordRefused_) {
    diag::print("target 0x%08x stays minimised: %s cannot be written\n", target_.value,
                KeptWindowsJournal::kFileName);
  }
  recordRefused_ = true;
  recordRefusedAt_ = system_.tickCount();
  return false;
}

bool TargetKeeper::alive() const {
  return windows_.isWindow(target_);
}

bool TargetKeeper::responsive(bool polled) {
  if (polled && quiet_ && static_cast<int32_t>(system_.tickCount() - quietUntil_) < 0) {
    return false;
  }
  quiet_ = false;
  if (answers(messages_, target_)) {
    silent_ = false;
    return true;
  }
  diag::print("target 0x%08x does not answer: left as it is\n", target_.value);
  backOff();
  return false;
}

void TargetKeeper::backOff() {
  const Dword now = system_.tickCount();
  if (!silent_) silentSince_ = now;
  silent_ = true;
  silentLast_ = now;
  quiet_ = true;
  quietUntil_ = now + kQuietMs;
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

bool TargetKeeper::adoptLoose() {
  if (journal_ == nullptr) return false;
  std::optional<KeptWindow> loose = journal_->adopt(target_);
  if (!loose) return false;
  own_ = *loose;
  placement_ = own_->placement;
  const PutBackPorts ports{windows_, messages_, processes_, monitors_};
  if (!showsOurChanges(ports, *own_)) {
    // Back already: what it shows now is its own again.
    journal_->forget(target_);
    own_.reset();
    return false;
  }
  diag::print("target 0x%08x is still held by an earlier run: put back first\n", target_.value);
  job_ = Job::PutBack;
  step_ = 0;
  putBack();
  return true;
}

void TargetKeeper::saveTarget() {
  if (!alive() || adoptLoose()) return;
  windows_.getWindowPlacement(target_, placement_);
  if (transparentMethod()) return;
  const uint32_t style = windows_.getWindowLong(target_, GWL_STYLE);
  Rect r;
  windows_.getWindowRect(target_, r);
  if ((style & WS_DISABLED) == 0 || r.right <= 9000 || r.bottom <= 9000) return;
  // Still parked off screen by an earlier run that left no record: fetch it.
  if (!responsive()) return;
  if (!setLong(GWL_STYLE, windows_.getWindowLong(target_, GWL_STYLE) & ~WS_DISABLED, "enable") ||
      !made(windows_.setWindowPos(target_, {}, (desktopRect_.width() - r.width()) / 2,
                                  (desktopRect_.height() - r.height()) / 2, 0, 0,
                                  SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
            "fetch")) {
    return;
  }
  windows_.getWindowPlacement(target_, placement_);
  if (!environment_.taskbar().addTab(target_)) {
    messageBoxes_.show({}, "タスクバーへの登録でエラーが発生しました", kAppTitle, MB_OK);
  }
}

Rect TargetKeeper::homeOnScreen() const {
  return workspace::toScreen(monitors_, placement_.normalPosition, own_ ? own_->exStyle : 0);
}

bool TargetKeeper::hideTarget() {
  // Asked again after the probe: the preview may have closed while it waited.
  if (givenUp_ || !alive() || !responsive() || givenUp_) return false;
  if (job_ == Job::PutBack) return true;  // held, and on its way back first
  if (adoptLoose()) return true;
  const uint32_t style = windows_.getWindowLong(target_, GWL_STYLE);
  // Restored meanwhile (by the user, say): there is nothing to keep live.
  if ((style & WS_MINIMIZE) == 0) return false;
  if (recordRefused_ && system_.tickCount() - recordRefusedAt_ < kRecordRetryMs) return false;
  KeptWindow k;
  k.window = target_;
  k.processId = windows_.getWindowProcessId(target_);
  k.image = processes_.baseName(k.processId);
  k.style = style & ~WS_MINIMIZE;
  k.exStyle = windows_.getWindowLong(target_, GWL_EXSTYLE);
  k.weDisabled = (style & WS_DISABLED) == 0;
  k.ownLayered =
      (k.exStyle & WS_EX_LAYERED) != 0 &&
      windows_.getLayeredWindowAttributes(target_, k.layeredKey, k.layeredAlpha, k.layeredFlags);
  windows_.getWindowPlacement(target_, k.placement);
  // Read by another process, a minimised window's normal rectangle may be where it is parked
  // (Wine answers so): then it is learnt once the window lies restored at its own place.
  Rect parked;
  windows_.getWindowRect(target_, parked);
  const Rect& n = k.placement.normalPosition;
  k.normalKnown =
      n != parked && n != workspace::fromScreen(monitors_, parked, k.exStyle) && n.left > -32000;
  own_ = k;
  placement_ = k.placement;
  if (!record()) {
    if (journal_ != nullptr) journal_->forget(target_);
    own_.reset();
    return false;
  }
  job_ = Job::Hide;
  step_ = 0;
  jobMethod_ = chooseMethod();
  if (jobMethod_ != Method::Transparent) {
    diag::print("top=%d, bottom=%d, left=%d, right=%d\n", n.top, n.bottom, n.left, n.right);
  }
  runJob();
  return true;
}

bool TargetKeeper::runJob() {
  const uint32_t run = ++jobRuns_;
  while (job_ == Job::Hide || job_ == Job::Replace) {
    const bool hide = job_ == Job::Hide;
    const int last = hide ? static_cast<int>(HideStep::Done) : static_cast<int>(ReplaceStep::Done);
    if (step_ >= last) break;
    if (!alive()) break;
    const bool done = hide ? hideStep(static_cast<HideStep>(step_))
                           : replaceStep(static_cast<ReplaceStep>(step_));
    // A message box's loop let the preview close, and the close put the target back.
    if (run != jobRuns_) return false;
    if (!done) return false;
    if (job_ == Job::Hide || job_ == Job::Replace) ++step_;
  }
  if (job_ == Job::PutBack) return putBack();
  job_ = Job::None;
  step_ = 0;
  return true;
}

bool TargetKeeper::putBack() {
  const PutBackPorts ports{windows_, messages_, processes_, monitors_};
  const PutBack result = putBackWindow(ports, *own_, nullptr);
  switch (result) {
    case PutBack::NotAnswering:
      diag::print("target 0x%08x does not answer: put back later\n", target_.value);
      backOff();
      return false;
    case PutBack::Busy:
      backOff();
      return false;
    case PutBack::Done:
    case PutBack::Gone:
      break;
  }
  if (journal_ != nullptr) journal_->forget(target_);
  own_.reset();
  job_ = Job::None;
  step_ = 0;
  // Back whole before the box: its loop may close the preview, which then finds nothing held.
  if (result == PutBack::Done && !environment_.taskbar().addTab(target_)) {
    messageBoxes_.show({}, "タスクバーへの登録でエラーが発生しました", kAppTitle, MB_OK);
  }
  return true;
}

bool TargetKeeper::restoreTarget() {
  if (!own_ || !alive()) return true;
  // Whatever of a hide was left undone is undone with the rest.
  job_ = Job::PutBack;
  step_ = 0;
  ++jobRuns_;  // a sequence waiting inside a step ends there
  return putBack();
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
  if (job_ == Job::PutBack) {
    // On its way back: goes on once it answers; the user's double-click then has its way.
    if (!responsive(true) || !putBack()) return hidden;
    if (showWhenBack_) {
      showWhenBack_ = false;
      messages_.sendMessageTimeout(target_, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG,
                                   kAnswerWaitMs);
      moveTargetHome();
    }
    return false;
  }
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
  const bool placeWanted = !noPlace_ || system_.tickCount() - noPlaceAt_ >= kNoPlaceRetryMs;
  if (hidden && jobMethod_ == Method::InSight && holdsTarget() && !givenUp_ && job_ == Job::None &&
      placeWanted) {
    if (keepInSight()) noPlace_ = false;
  }
  return hidden;
}

void TargetKeeper::displaysChanged() {
  noPlace_ = false;
  if (!holdsTarget() || givenUp_ || !alive() || job_ == Job::PutBack) return;
  const Method method = chooseMethod();
  // A hide that has not yet moved the target: its first steps are the same for both methods.
  if (job_ == Job::Hide && step_ <= static_cast<int>(HideStep::LearnPlace) &&
      jobMethod_ != Method::InSight && method != Method::InSight) {
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
