#include "keeping/window_put_back.h"

#include "base/diagnostic_log.h"
#include "display/workspace.h"
#include "keeping/answers.h"

using namespace platform;

namespace {

class Steps {
 public:
  Steps(const PutBackPorts& ports, Hwnd window) : p_(ports), window_(window) {}

  // False when the change had to wait for the window's thread (it may still come later).
  bool made(bool done) const {
    return done || p_.messages.lastError() != ERROR_TIMEOUT || !p_.windows.isWindow(window_);
  }
  bool setLong(int32_t index, uint32_t value) const {
    return made(p_.windows.setWindowLong(window_, index, value) != 0);
  }
  bool send(uint32_t message, WParam wParam) const {
    return made(p_.messages
                    .sendMessageTimeout(window_, message, wParam, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                                        kAnswerWaitMs)
                    .answered);
  }

 private:
  const PutBackPorts& p_;
  Hwnd window_;
};

}  // namespace

PutBack putBackWindow(const PutBackPorts& p, const KeptWindow& kept, CTaskBarControl* taskbar) {
  Windows& w = p.windows;
  const Hwnd h = kept.window;
  if (!w.isWindow(h) || w.getWindowProcessId(h) != kept.processId ||
      p.processes.baseName(kept.processId) != kept.image) {
    diag::print("window 0x%08x of %s is gone or another program's: not touched\n", h.value,
                kept.image.c_str());
    return PutBack::Gone;
  }
  if (!answers(p.messages, h)) return PutBack::NotAnswering;
  const Steps s(p, h);
  if (!w.isIconic(h)) {
    // Out of sight first (it may be neither off screen nor transparent yet), then home and
    // minimised, as the user left it.
    if (!s.setLong(GWL_EXSTYLE, w.getWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED) ||
        !s.made(w.setLayeredWindowAttributes(h, 0, 0, LWA_ALPHA))) {
      return PutBack::Busy;
    }
    if (!w.isZoomed(h)) {
      const Rect home =
          workspace::toScreen(p.monitors, kept.placement.normalPosition, kept.exStyle);
      if (!s.made(w.moveWindow(h, home.left, home.top, home.width(), home.height(), false))) {
        return PutBack::Busy;
      }
    }
    if (!s.send(WM_SYSCOMMAND, SC_MINIMIZE)) return PutBack::Busy;
    // A disabled window may ignore the command (Wine does).
    if (!w.isIconic(h) && !s.made(w.showWindow(h, SW_SHOWMINNOACTIVE))) return PutBack::Busy;
  }
  // Refused for another program's window by Wine: home was set above.
  // Layered by its own program without attributes we could read: it loses ours by going
  // opaque a moment, and sets its own again as it would after a fresh WS_EX_LAYERED.
  const bool unknownLayered = (kept.exStyle & WS_EX_LAYERED) != 0 && !kept.ownLayered;
  if (!s.made(w.setWindowPlacement(h, kept.placement)) || !s.send(WM_SETREDRAW, 1) ||
      (unknownLayered && !s.setLong(GWL_EXSTYLE, kept.exStyle & ~WS_EX_LAYERED)) ||
      !s.setLong(GWL_EXSTYLE, kept.exStyle)) {
    return PutBack::Busy;
  }
  if (kept.ownLayered && !s.made(w.setLayeredWindowAttributes(h, kept.layeredKey, kept.layeredAlpha,
                                                              kept.layeredFlags))) {
    return PutBack::Busy;
  }
  // Its state bits stay as they are now, but for the disabling that was ours.
  constexpr uint32_t kState = WS_MINIMIZE | WS_MAXIMIZE | WS_DISABLED;
  uint32_t style = (kept.style & ~kState) | (w.getWindowLong(h, GWL_STYLE) & kState);
  if (kept.weDisabled) style &= ~WS_DISABLED;
  if (!s.setLong(GWL_STYLE, style)) return PutBack::Busy;
  if (kept.weDisabled && !w.isWindowEnabled(h) && !s.made(w.enableWindow(h, true))) {
    return PutBack::Busy;
  }
  if (taskbar != nullptr) taskbar->addTab(h);
  diag::print("window 0x%08x put back from the journal\n", h.value);
  return PutBack::Done;
}
