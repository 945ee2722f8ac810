// The steps that keep a target live, by method, and the places a browser window is kept at.
#include <algorithm>

#include "base/diagnostic_log.h"
#include "display/workspace.h"
#include "keeping/target_keeper.h"
#include "keeping/visible_place.h"
#include "res/strings.h"

using namespace platform;

namespace {

constexpr int32_t kOffScreen = 10000;
// Open questions only a real Windows machine settles, each switched here:
// whether an engine draws a window left layered at alpha 0 (then the transparent method
// would serve browsers too);
constexpr bool kEnginesDrawAtAlphaZero = false;
// whether WS_EX_TRANSPARENT on a kept browser window harms its program (it keeps one kept
// window from occluding another at the same place).
constexpr bool kKeptWindowsTransparent = true;

}  // namespace

bool TargetKeeper::hideStep(HideStep step) {
  const uint32_t ownEx = own_->exStyle;
  switch (step) {
    case HideStep::Disable:
      return setLong(GWL_STYLE, windows_.getWindowLong(target_, GWL_STYLE) | WS_DISABLED,
                     "disable");
    case HideStep::Layer:
      return setLong(GWL_EXSTYLE, ownEx | WS_EX_LAYERED, "layered");
    case HideStep::Transparent:
      return made(windows_.setLayeredWindowAttributes(target_, 0, 0, LWA_ALPHA), "alpha");
    case HideStep::StopRedraw:
      return jobMethod_ == Method::InSight || send(WM_SETREDRAW, 0, 0);
    case HideStep::Restore:
      return made(windows_.showWindow(target_, SW_SHOWNOACTIVATE), "show");
    case HideStep::LearnPlace:
      return learnPlace();
    case HideStep::Place: {
      if (jobMethod_ == Method::Transparent) return true;
      if (jobMethod_ == Method::InSight) {
        if (keepInSight()) return true;
        if (!noPlace_) return false;  // busy: the next poll places it
        // Nowhere its engine would see it: transparent in place, out of the user's sight.
        jobMethod_ = Method::Transparent;
        return true;
      }
      const Rect home = homeOnScreen();
      return made(windows_.setWindowPos(target_, {}, home.left + kOffScreen, home.top + kOffScreen,
                                        0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
                  "off screen");
    }
    case HideStep::Opaque:
      if (jobMethod_ == Method::InSight && kKeptWindowsTransparent) {
        return setLong(GWL_EXSTYLE, (ownEx & ~WS_EX_LAYERED) | WS_EX_TRANSPARENT, "opaque");
      }
      return jobMethod_ == Method::Transparent ||
             setLong(GWL_EXSTYLE, ownEx & ~WS_EX_LAYERED, "opaque");
    case HideStep::Redraw:
      return jobMethod_ == Method::InSight || send(WM_SETREDRAW, 1, 0);
    case HideStep::DropTab:
      if (alive() && !environment_.taskbar().deleteTab(target_)) {
        messageBoxes_.show({}, "タスクバーから削除でエラーが発生しました", kAppTitle, MB_OK);
      }
      return true;
    case HideStep::Done:
      break;
  }
  return true;
}

bool TargetKeeper::learnPlace() {
  if (own_->normalKnown || windows_.isZoomed(target_)) return true;
  WindowPlacement now;
  if (!windows_.getWindowPlacement(target_, now)) return true;
  own_->placement.normalPosition = now.normalPosition;
  own_->normalKnown = true;
  placement_.normalPosition = now.normalPosition;
  if (record()) return true;
  // Moved away now, it could not be brought home from the file: put back instead.
  job_ = Job::PutBack;
  return true;
}

bool TargetKeeper::replaceStep(ReplaceStep step) {
  const Rect home = homeOnScreen();
  const bool transparent = jobMethod_ == Method::Transparent;
  // To transparent: invisible first, then home. To off screen: away first, then opaque there.
  switch (step) {
    case ReplaceStep::Layer:
      return !transparent || setLong(GWL_EXSTYLE, own_->exStyle | WS_EX_LAYERED, "layered");
    case ReplaceStep::Transparent:
      return !transparent ||
             made(windows_.setLayeredWindowAttributes(target_, 0, 0, LWA_ALPHA), "alpha");
    case ReplaceStep::Home:
      return !transparent || made(windows_.setWindowPos(target_, {}, home.left, home.top, 0, 0,
                                                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
                                  "home");
    case ReplaceStep::Park:
      return transparent ||
             made(windows_.setWindowPos(target_, {}, home.left + kOffScreen, home.top + kOffScreen,
                                        0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
                  "off screen");
    case ReplaceStep::Opaque:
      return transparent || setLong(GWL_EXSTYLE, own_->exStyle & ~WS_EX_LAYERED, "opaque");
    case ReplaceStep::Done:
      break;
  }
  return true;
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

bool TargetKeeper::keepInSight() {
  if (!windows_.isWindowVisible(target_) || windows_.isIconic(target_)) return false;
  const visible_place::Screen screen = visible_place::readScreen(monitors_);
  Rect now;
  windows_.getWindowRect(target_, now);
  const std::vector<visible_place::Place> places =
      visible_place::places(screen, now.width(), now.height());
  const bool atAPlace = std::any_of(places.begin(), places.end(),
                                    [&](const visible_place::Place& p) { return p.rect == now; });
  if (atAPlace && visible_place::judgedVisible(windows_, screen, target_)) return true;
  // Moved (by its program, into a changed work area), covered, or the monitors changed: placed
  // again once it answers.
  if (!responsive(true)) return false;
  for (const visible_place::Place& place : places) {
    if (now != place.rect &&
        !made(windows_.setWindowPos(target_, {}, place.rect.left, place.rect.top, 0, 0,
                                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
              "in sight")) {
      return false;
    }
    windows_.getWindowRect(target_, now);
    bool visible = visible_place::judgedVisible(windows_, screen, target_);
    if (!visible) {
      // Covered by an ordinary window: above them all, never topmost, never activated.
      if (!made(windows_.setWindowPos(target_, kHwndTop, 0, 0, 0, 0,
                                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE),
                "raise")) {
        return false;
      }
      visible = visible_place::judgedVisible(windows_, screen, target_);
    }
    if (visible) {
      if (place_ != now) {
        diag::print("target 0x%08x kept in sight: %s at %d,%d\n", target_.value, place.where,
                    now.left, now.top);
      }
      place_ = now;
      return true;
    }
  }
  // Every place is covered by windows that stay above (topmost bars on both edges, say).
  if (!noPlace_) {
    diag::print("target 0x%08x: no place left where its engine sees it\n", target_.value);
  }
  noPlace_ = true;
  noPlaceAt_ = system_.tickCount();
  return false;
}
