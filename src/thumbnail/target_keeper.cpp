#include "thumbnail/target_keeper.h"

#include "base/diagnostic_log.h"
#include "display/workspace.h"
#include "res/strings.h"

using namespace platform;

namespace {

constexpr uint32_t kProbeMs = 1000;
constexpr int32_t kOffScreen = 10000;

// The place Windows parks minimised windows at.
bool isParkingPlace(const Rect& r) { return r.left <= -32000 || (r.right < 0 && r.bottom < 0); }

}  // namespace

TargetKeeper::TargetKeeper(const Ports& ports, DisplayEnvironment& environment, Hwnd target)
    : environment_(environment),
      windows_(ports.windows),
      messages_(ports.messages),
      monitors_(ports.monitors),
      messageBoxes_(ports.messageBoxes),
      system_(ports.system),
      target_(target) {
  windows_.getWindowRect(ports.screen.getDesktopWindow(), desktopRect_);
}

bool TargetKeeper::alive() const { return windows_.isWindow(target_); }

bool TargetKeeper::responsive() const {
  if (messages_.sendMessageTimeout(target_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kProbeMs).answered) {
    return true;
  }
  diag::print("target 0x%08x does not answer: left as it is\n", target_.value);
  return false;
}

void TargetKeeper::send(uint32_t message, WParam wParam, LParam lParam) {
  // Answered a moment ago: a second at most, and none once the system knows it hangs. Blocked:
  // nothing sent to us meanwhile can cut an operation in half (the probe before it can).
  messages_.sendMessageTimeout(target_, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                               kProbeMs);
}

void TargetKeeper::setLayeredAlphaZero(uint32_t exStyle) {
  windows_.setWindowLong(target_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  windows_.setLayeredWindowAttributes(target_, 0, 0, LWA_ALPHA);
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
  windows_.setWindowLong(target_, GWL_STYLE, windows_.getWindowLong(target_, GWL_STYLE) &
                                                 ~WS_DISABLED);
  windows_.setWindowPos(target_, {}, (desktopRect_.width() - r.width()) / 2,
                        (desktopRect_.height() - r.height()) / 2, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  windows_.getWindowPlacement(target_, savedPlacement_);
  addTab();
}

Rect TargetKeeper::homeOnScreen() const {
  return workspace::toScreen(monitors_, savedPlacement_.normalPosition,
                             savedExStyle_);
}

bool TargetKeeper::hideTarget() {
  if (givenUp_ || !alive() || !responsive() || givenUp_) return false;
  const uint32_t style = windows_.getWindowLong(target_, GWL_STYLE);
  // Restored meanwhile (by the user, say): there is nothing to keep live.
  if ((style & WS_MINIMIZE) == 0) return false;
  const uint32_t exStyle = windows_.getWindowLong(target_, GWL_EXSTYLE);
  savedStyle_ = style & ~WS_MINIMIZE;
  savedExStyle_ = exStyle;
  weDisabled_ = (style & WS_DISABLED) == 0;
  holding_ = true;  // from here on, closing the preview puts it back
  windows_.setWindowLong(target_, GWL_STYLE, style | WS_DISABLED);
  windows_.getWindowPlacement(target_, savedPlacement_);
  const bool offScreen = !transparentMethod();
  if (offScreen) {
    const Rect& n = savedPlacement_.normalPosition;
    diag::print("top=%d, bottom=%d, left=%d, right=%d\n", n.top, n.bottom, n.left, n.right);
  }
  setLayeredAlphaZero(exStyle);
  send(WM_SETREDRAW, 0, 0);
  windows_.showWindow(target_, SW_SHOWNOACTIVATE);
  // Some systems report the parking place as the normal rectangle of another program's
  // minimised window; the restored window knows where it belongs.
  if (isParkingPlace(savedPlacement_.normalPosition)) {
    Rect now;
    windows_.getWindowRect(target_, now);
    savedPlacement_.normalPosition = workspace::fromScreen(monitors_, now, exStyle);
  }
  if (offScreen) {
    const Rect home = homeOnScreen();
    windows_.setWindowPos(target_, {}, home.left + kOffScreen, home.top + kOffScreen, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    windows_.setWindowLong(target_, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
  }
  send(WM_SETREDRAW, 1, 0);
  if (alive() && !environment_.taskbar().deleteTab(target_)) {
    messageBoxes_.show({}, "タスクバーから削除でエラーが発生しました", kAppTitle, MB_OK);
  }
  return true;
}

void TargetKeeper::minimise() {
  send(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  // A disabled window may ignore the command (Wine does): minimise it directly.
  if (!windows_.isIconic(target_)) windows_.showWindow(target_, SW_SHOWMINNOACTIVE);
}

void TargetKeeper::applySavedStyles() {
  windows_.setWindowLong(target_, GWL_EXSTYLE, savedExStyle_);
  // The window's state bits stay as they are now: minimised, maximised, and disabled by its
  // own program (a modal dialog of its own may have come or gone meanwhile).
  constexpr uint32_t kState = WS_MINIMIZE | WS_MAXIMIZE | WS_DISABLED;
  uint32_t style = (savedStyle_ & ~kState) | (windows_.getWindowLong(target_, GWL_STYLE) & kState);
  if (weDisabled_) style &= ~WS_DISABLED;
  windows_.setWindowLong(target_, GWL_STYLE, style);
  if (weDisabled_ && !windows_.isWindowEnabled(target_)) windows_.enableWindow(target_, true);
  weDisabled_ = false;
}

void TargetKeeper::restoreTarget() {
  if (!alive() || !responsive()) return;
  // Put back once: a closing that comes in during what follows finds nothing held.
  holding_ = false;
  const Rect home = homeOnScreen();
  // A maximised target keeps its maximised place; its placement brings the normal one back.
  const bool maximised = windows_.isZoomed(target_);
  if (!transparentMethod()) {
    setLayeredAlphaZero(windows_.getWindowLong(target_, GWL_EXSTYLE));
    // Home first, still invisible: where the placement cannot be set, it is right all the same.
    if (!maximised) windows_.moveWindow(target_, home.left, home.top, home.width(), home.height(), false);
    minimise();
    windows_.setWindowPlacement(target_, savedPlacement_);
    applySavedStyles();
  } else {
    send(WM_SETREDRAW, 0, 0);
    if (!maximised) windows_.moveWindow(target_, home.left, home.top, home.width(), home.height(), false);
    minimise();
    system_.sleep(200);
    windows_.setWindowPlacement(target_, savedPlacement_);
    send(WM_SETREDRAW, 1, 0);
    applySavedStyles();
  }
  if (alive()) addTab();
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
  if (responsive()) windows_.moveWindow(target_, home.left, home.top, home.width(), home.height(), true);
}

void TargetKeeper::pollTargetState(ThumbState& state) {
  if (state == ThumbState::Normal) {
    if (!windows_.isIconic(target_)) return;
    system_.sleep(200);
    // hideTarget looks again: the user may have restored it during the wait.
    if (hideTarget()) state = ThumbState::Hidden;
  } else if (state == ThumbState::Hidden && windows_.isIconic(target_) && responsive() &&
             !givenUp_) {
    // Minimised again while hidden (its taskbar button, say): restored where it was kept,
    // transparent or off screen, it stays live and out of sight.
    windows_.showWindow(target_, SW_SHOWNOACTIVATE);
  }
}
