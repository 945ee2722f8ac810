#include "keeping/put_back.h"

#include "base/diagnostic_log.h"
#include "display/workspace.h"
#include "keeping/answers.h"

using namespace platform;

namespace {

// Beyond this a restored window lies where only a keeper parks it (10000 right and below).
constexpr int32_t kParkedBeyond = 9000;

class Steps {
 public:
  Steps(const PutBackPorts& ports, const KeptWindow& kept)
      : p_(ports), w_(ports.windows), k_(kept) {}

  enum class Step {
    OutOfSight,  // layered at alpha 0, so that nothing of what follows shows
    Home,        // at its normal rectangle while still restored
    Minimise,
    Placement,  // its own placement, where the system lets another program set it
    Redraw,     // drawing again, should a keeper have stopped it
    OwnExStyle,
    OwnLayered,  // its own layered attributes, not our alpha 0
    OwnStyle,
    Enable,
    Count,
  };

  // False when the window's program was too busy for the step.
  bool make(Step step) {
    const Hwnd h = k_.window;
    switch (step) {
      case Step::OutOfSight:
        if (w_.isIconic(h)) return true;
        return setLong(GWL_EXSTYLE, w_.getWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED) &&
               made(w_.setLayeredWindowAttributes(h, 0, 0, LWA_ALPHA));
      case Step::Home: {
        // A maximised window keeps its place; a rectangle never read at its own place is
        // not one to move it to.
        if (w_.isIconic(h) || w_.isZoomed(h) || !k_.normalKnown) return true;
        const Rect home = workspace::toScreen(p_.monitors, k_.placement.normalPosition, k_.exStyle);
        return made(w_.moveWindow(h, home.left, home.top, home.width(), home.height(), false));
      }
      case Step::Minimise:
        if (w_.isIconic(h)) return true;
        if (!send(WM_SYSCOMMAND, SC_MINIMIZE)) return false;
        // A disabled window may ignore the command (Wine does).
        return w_.isIconic(h) || made(w_.showWindow(h, SW_SHOWMINNOACTIVE));
      case Step::Placement:
        // Refused for another program's window by Wine: home was set above.
        return !k_.normalKnown || made(w_.setWindowPlacement(h, k_.placement));
      case Step::Redraw:
        return send(WM_SETREDRAW, 1);
      case Step::OwnExStyle: {
        // Layered by its own program without attributes we could read: it loses ours by
        // going opaque a moment, and sets its own again as it would after a new WS_EX_LAYERED.
        const bool unknownLayered = (k_.exStyle & WS_EX_LAYERED) != 0 && !k_.ownLayered;
        return (!unknownLayered || setLong(GWL_EXSTYLE, k_.exStyle & ~WS_EX_LAYERED)) &&
               setLong(GWL_EXSTYLE, k_.exStyle);
      }
      case Step::OwnLayered:
        return !k_.ownLayered || made(w_.setLayeredWindowAttributes(
                                     h, k_.layeredKey, k_.layeredAlpha, k_.layeredFlags));
      case Step::OwnStyle: {
        // Its state bits stay as they are now, but for the disabling that was ours.
        constexpr uint32_t kState = WS_MINIMIZE | WS_MAXIMIZE | WS_DISABLED;
        uint32_t style = (k_.style & ~kState) | (w_.getWindowLong(h, GWL_STYLE) & kState);
        if (k_.weDisabled) style &= ~WS_DISABLED;
        return setLong(GWL_STYLE, style);
      }
      case Step::Enable:
        return !k_.weDisabled || w_.isWindowEnabled(h) || made(w_.enableWindow(h, true));
      case Step::Count:
        break;
    }
    return true;
  }

  static const char* name(Step step) {
    static constexpr const char* kNames[] = {"out of sight", "home",      "minimise",
                                             "placement",    "redraw",    "own ex-style",
                                             "own layered",  "own style", "enable"};
    return kNames[static_cast<int>(step)];
  }

 private:
  // A change that failed for another reason than waiting (a refusal) is as far as it goes.
  bool made(bool done) const {
    return done || p_.messages.lastError() != ERROR_TIMEOUT || !w_.isWindow(k_.window);
  }
  bool setLong(int32_t index, uint32_t value) const {
    return made(w_.setWindowLong(k_.window, index, value) != 0);
  }
  bool send(uint32_t message, WParam wParam) const {
    return made(p_.messages
                    .sendMessageTimeout(k_.window, message, wParam, 0,
                                        SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerWaitMs)
                    .answered);
  }

  const PutBackPorts& p_;
  Windows& w_;
  const KeptWindow& k_;
};

}  // namespace

bool sameWindow(const PutBackPorts& p, const KeptWindow& kept) {
  return p.windows.isWindow(kept.window) &&
         p.windows.getWindowProcessId(kept.window) == kept.processId &&
         p.processes.baseName(kept.processId) == kept.image;
}

bool showsOurChanges(const PutBackPorts& p, const KeptWindow& k) {
  Windows& w = p.windows;
  const Hwnd h = k.window;
  if (k.weDisabled && !w.isWindowEnabled(h)) return true;
  const uint32_t ex = w.getWindowLong(h, GWL_EXSTYLE);
  if ((ex & WS_EX_TRANSPARENT) != 0 && (k.exStyle & WS_EX_TRANSPARENT) == 0) return true;
  if ((ex & WS_EX_LAYERED) != 0) {
    if ((k.exStyle & WS_EX_LAYERED) == 0) return true;
    ColorRef key = 0;
    uint8_t alpha = 0;
    Dword flags = 0;
    if (k.ownLayered && w.getLayeredWindowAttributes(h, key, alpha, flags) &&
        (key != k.layeredKey || alpha != k.layeredAlpha || flags != k.layeredFlags)) {
      return true;
    }
  }
  // Parked: where it lies, or where it would be restored (minimised there, as a poll racing a
  // crash's put-back leaves it), unless that is where its own record puts it.
  const auto parked = [](const Rect& r) {
    return r.left >= kParkedBeyond && r.top >= kParkedBeyond;
  };
  Rect r;
  if (!w.isIconic(h)) return w.getWindowRect(h, r) && parked(r);
  WindowPlacement now;
  return w.getWindowPlacement(h, now) && parked(now.normalPosition) &&
         !parked(k.placement.normalPosition);
}

PutBack putBackWindow(const PutBackPorts& p, const KeptWindow& kept, CTaskBarControl* taskbar,
                      PutBackMode mode) {
  const bool quiet = mode == PutBackMode::Crash;
  if (!quiet && !sameWindow(p, kept)) return PutBack::Gone;
  if (!answers(p.messages, kept.window)) return PutBack::NotAnswering;
  Steps steps(p, kept);
  using Step = Steps::Step;
  for (int i = 0; i < static_cast<int>(Step::Count); ++i) {
    const Step step = static_cast<Step>(i);
    if (!p.windows.isWindow(kept.window)) return PutBack::Gone;
    if (!steps.make(step)) {
      if (!quiet) {
        diag::print("window 0x%08x is busy (%s): put back later\n", kept.window.value,
                    Steps::name(step));
      }
      return PutBack::Busy;
    }
  }
  if (taskbar != nullptr) taskbar->addTab(kept.window);
  return PutBack::Done;
}
