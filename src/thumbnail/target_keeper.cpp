#include "thumbnail/target_keeper.h"

#include "app/diagnostic_log.h"
#include "display/multi_display.h"
#include "display/taskbar_control.h"
#include "res/strings.h"

using namespace platform;

namespace {

constexpr uint32_t kProbeMs = 1000;
constexpr int32_t kOffScreen = 10000;

// The place Windows parks minimised windows at.
bool isParkingPlace(const Rect& r) { return r.left <= -32000 || (r.right < 0 && r.bottom < 0); }

}  // namespace

TargetKeeper::TargetKeeper(AppContext& context, Hwnd target)
    : context_(context), windows_(context.platform.windows), target_(target) {
  windows_.getWindowRect(windows_.getDesktopWindow(), desktopRect_);
}

bool TargetKeeper::transparentMethod() const {
  const CMultiDisplay* display = CMultiDisplay::existingInstance();
  return context_.switches.layeredMode == 1 || (display != nullptr && display->monitorCount > 1);
}

bool TargetKeeper::alive() const { return windows_.isWindow(target_); }

bool TargetKeeper::responsive() const {
  if (windows_.sendMessageTimeout(target_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kProbeMs).answered) {
    return true;
  }
  diag::print("target 0x%08x does not answer: left as it is\n", target_.value);
  return false;
}

void TargetKeeper::send(uint32_t message, WParam wParam, LParam lParam) {
  // Answered a moment ago: a second at most, and none once the system knows it hangs.
  windows_.sendMessageTimeout(target_, message, wParam, lParam, SMTO_ABORTIFHUNG, kProbeMs);
}

void TargetKeeper::setLayeredAlphaZero(uint32_t exStyle) {
  windows_.setWindowLong(target_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  windows_.setLayeredWindowAttributes(target_, 0, 0, LWA_ALPHA);
}

void TargetKeeper::addTab() {
  CTaskBarControl* taskbar = CTaskBarControl::existingInstance();
  if (taskbar != nullptr && taskbar->addTab(target_) == 0) {
    context_.platform.messageBoxes.show({}, "タスクバーへの登録でエラーが発生しました", kAppTitle,
                                        MB_OK);
  }
}

void TargetKeeper::saveTarget() {
  if (!alive()) return;
  savedStyle_ = windows_.getWindowLong(target_, GWL_STYLE) & ~WS_MINIMIZE;
  savedExStyle_ = windows_.getWindowLong(target_, GWL_EXSTYLE);
  windows_.getWindowPlacement(target_, savedPlacement_);
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

void TargetKeeper::hideTarget() {
  if (!alive() || !responsive()) return;
  const uint32_t style = windows_.getWindowLong(target_, GWL_STYLE);
  const uint32_t exStyle = windows_.getWindowLong(target_, GWL_EXSTYLE);
  savedStyle_ = style & ~WS_MINIMIZE;
  savedExStyle_ = exStyle;
  windows_.setWindowLong(target_, GWL_STYLE, style | WS_DISABLED);
  windows_.getWindowPlacement(target_, savedPlacement_);
  const bool minimised = (style & WS_MINIMIZE) != 0;
  const bool offScreen = !transparentMethod();
  if (offScreen) {
    const Rect& n = savedPlacement_.normalPosition;
    diag::print("top=%d, bottom=%d, left=%d, right=%d\n", n.top, n.bottom, n.left, n.right);
  }
  if (minimised) {
    setLayeredAlphaZero(exStyle);
    send(WM_SETREDRAW, 0, 0);
    windows_.showWindow(target_, SW_SHOWNORMAL);
    // Some systems report the parking place as the normal rectangle of another program's
    // minimised window; the restored window knows where it belongs.
    if (isParkingPlace(savedPlacement_.normalPosition)) {
      windows_.getWindowRect(target_, savedPlacement_.normalPosition);
    }
    if (offScreen) {
      const Rect& n = savedPlacement_.normalPosition;
      windows_.setWindowPos(target_, kHwndTop, n.left + kOffScreen, n.top + kOffScreen, 0, 0,
                            SWP_NOSIZE);
      windows_.setWindowLong(target_, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    }
    send(WM_SETREDRAW, 1, 0);
  }
  CTaskBarControl* taskbar = CTaskBarControl::existingInstance();
  if (alive() && taskbar != nullptr && taskbar->deleteTab(target_) == 0) {
    context_.platform.messageBoxes.show({}, "タスクバーから削除でエラーが発生しました", kAppTitle,
                                        MB_OK);
  }
}

void TargetKeeper::minimise() {
  send(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  // A disabled window may ignore the command (Wine does): minimise it directly.
  if (!windows_.isIconic(target_)) windows_.showWindow(target_, SW_MINIMIZE);
}

void TargetKeeper::applySavedStyles() {
  windows_.setWindowLong(target_, GWL_EXSTYLE, savedExStyle_);
  // Keep the minimised state bit: the style must not contradict the window's real state.
  const uint32_t state = windows_.getWindowLong(target_, GWL_STYLE) & WS_MINIMIZE;
  windows_.setWindowLong(target_, GWL_STYLE, savedStyle_ | state);
  if (!windows_.isWindowEnabled(target_)) windows_.enableWindow(target_, true);
}

void TargetKeeper::restoreTarget() {
  if (!alive() || !responsive()) return;
  const Rect& n = savedPlacement_.normalPosition;
  if (!transparentMethod()) {
    setLayeredAlphaZero(windows_.getWindowLong(target_, GWL_EXSTYLE));
    // Home first, still invisible: where the placement cannot be set, it is right all the same.
    windows_.moveWindow(target_, n.left, n.top, n.width(), n.height(), false);
    minimise();
    windows_.setWindowPlacement(target_, savedPlacement_);
    applySavedStyles();
  } else {
    send(WM_SETREDRAW, 0, 0);
    windows_.moveWindow(target_, n.left, n.top, n.width(), n.height(), false);
    minimise();
    context_.platform.system.sleep(200);
    windows_.setWindowPlacement(target_, savedPlacement_);
    send(WM_SETREDRAW, 1, 0);
    applySavedStyles();
  }
  if (alive()) addTab();
}

void TargetKeeper::moveTargetHome() {
  if (!alive()) return;
  Rect r;
  windows_.getWindowRect(target_, r);
  const Rect& n = savedPlacement_.normalPosition;
  if (r.top == n.top && r.left == n.left) {
    diag::print("□SamePOS！\n");
    return;
  }
  diag::print("▼DifferentPOS top=%d,left=%d,bottom=%d,right=%d\n", r.top, r.left, r.bottom,
              r.right);
  if (responsive()) windows_.moveWindow(target_, n.left, n.top, n.width(), n.height(), true);
}

void TargetKeeper::pollTargetState(ThumbState& state) {
  if (!alive()) return;
  if (state == ThumbState::Normal) {
    if (!windows_.isIconic(target_)) return;
    context_.platform.system.sleep(200);
    hideTarget();
    state = ThumbState::Hidden;
  } else if (state == ThumbState::Hidden && windows_.isIconic(target_) && responsive()) {
    // Minimised again while hidden (its taskbar button, say): restored where it was kept,
    // transparent or off screen, it stays live and out of sight.
    windows_.showWindow(target_, SW_SHOWNORMAL);
  }
}
