// The simulated window table: changes of state and place, through the position protocol for
// the program's own windows, as plain facts for other programs' windows (whose threads may
// keep a change waiting: SimThreads::changeReaches).
#include <algorithm>
#include <cstdio>

#include "platform/sim/sim_texts.h"
#include "platform/sim/sim_windows.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;

Rect offset(Rect r, int32_t dx, int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

bool SimWindows::placeAt(Hwnd window, const Rect& screen, uint32_t flags) {
  Point base;
  if (SimWindow* w = live(window)) {
    if (SimWindow* parent = live(w->parent)) base = clientOrigin(*parent);
  }
  return changePosition(window, {window,
                                 {},
                                 screen.left - base.x,
                                 screen.top - base.y,
                                 screen.width(),
                                 screen.height(),
                                 flags});
}

bool SimWindows::changePosition(Hwnd window, WindowPos pos) {
  SimWindow* w = live(window);
  if (w == nullptr) return false;
  pos.hwnd = window;
  if (w->own) {
    dispatch(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LParam>(&pos));
    w = live(window);
    if (w == nullptr) return false;
  }
  bringForwardIfActivating(*w, pos);
  // What is left after the handler, with the redundant show or hide dropped as Windows does:
  // a visible window cannot be shown, a hidden one cannot be hidden.
  const uint32_t flags = pos.flags & ~(w->visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if ((flags & SWP_NOZORDER) == 0 && !w->parent && window != kDesktop) {
    restack(*w, pos.insertAfter);
  }
  Point base;  // children are placed in their parent's client area
  if (SimWindow* parent = live(w->parent)) base = clientOrigin(*parent);
  Rect r = w->rect;
  if ((flags & SWP_NOMOVE) == 0) r = offset(r, base.x + pos.x - r.left, base.y + pos.y - r.top);
  if ((flags & SWP_NOSIZE) == 0) {
    r.right = r.left + std::max(0, pos.cx);
    r.bottom = r.top + std::max(0, pos.cy);
  }
  const bool moved = r.left != w->rect.left || r.top != w->rect.top;
  const bool sized = r.width() != w->rect.width() || r.height() != w->rect.height();
  const Rect before = w->rect;
  moveWindowTo(*w, r);
  if (!w->own && !w->iconic() && !w->zoomed()) w->normalRect = toWorkspace(*w, r);
  if (w->own && (sized || ((flags & SWP_SHOWWINDOW) != 0 && !w->visible()))) invalidate(*w);
  if (w->own) noteFrameChange(*w, flags);
  if ((flags & SWP_SHOWWINDOW) != 0) {
    w->style |= WS_VISIBLE;
  } else if ((flags & SWP_HIDEWINDOW) != 0) {
    w->style &= ~WS_VISIBLE;
    deactivate(*w);
  }
  if (activatesOnPosition(*w, pos.flags)) activate(*w);
  if (!w->own) return true;
  WindowPos done = pos;
  done.x = r.left - base.x;
  done.y = r.top - base.y;
  done.cx = r.width();
  done.cy = r.height();
  done.flags = flags | (moved ? 0 : SWP_NOMOVE) | (sized ? 0 : SWP_NOSIZE);
  dispatch(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LParam>(&done));
  w = live(window);
  if ((moved || sized) && w != nullptr && !w->parent && !w->iconic() && before != kMinimizedRect &&
      ownWindowMoved) {
    ownWindowMoved(window, before);
  }
  return true;
}

bool SimWindows::show(Hwnd window, int32_t command) {
  ++portCalls;
  SimWindow* w = live(window);
  if (w == nullptr || window == kDesktop) return false;
  const bool wasVisible = w->visible();
  const bool minimize =
      command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
  const bool restore =
      command == SW_RESTORE || command == SW_SHOWNORMAL || command == SW_SHOWNOACTIVATE;

  if (!w->own) {  // another program's window: the facts change, nothing is sent
    if (command == SW_HIDE) {
      w->style &= ~WS_VISIBLE;
      deactivate(*w);
      return wasVisible;
    }
    const uint32_t state = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
    if (minimize) {
      minimizeForeign(*w);
    } else if (command == SW_SHOWMAXIMIZED) {
      maximizeForeign(*w);
    } else if (restore) {
      restoreForeign(*w);
    }
    const bool changed = !wasVisible || (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) != state;
    w->style |= WS_VISIBLE;
    if (changed && showActivates(command)) {
      activate(*w);
      placeOnTop(*w);
    }
    return wasVisible;
  }

  const uint32_t showFlag = wasVisible ? 0 : SWP_SHOWWINDOW;
  const uint32_t activation = showActivates(command) ? 0 : SWP_NOACTIVATE;
  if (command == SW_HIDE) {
    if (!wasVisible) return false;
    changePosition(window, {window, {}, 0, 0, 0, 0, kKeepPlace | SWP_NOACTIVATE | SWP_HIDEWINDOW});
  } else if (minimize) {
    if (w->iconic()) {
      if (!wasVisible) {
        changePosition(window, {window, {}, 0, 0, 0, 0, kKeepPlace | showFlag | activation});
      }
      return wasVisible;
    }
    // WS_MINIMIZE is set before the position messages, as Windows does.
    w->normalRect = w->rect;
    w->style |= WS_MINIMIZE;
    deactivate(*w);
    placeAt(window, kMinimizedRect, SWP_NOZORDER | showFlag | activation);
  } else if (restore && w->iconic()) {
    w->style &= ~WS_MINIMIZE;
    placeAt(window, w->normalRect, SWP_NOZORDER | showFlag | activation);
  } else if (!wasVisible) {
    changePosition(window, {window, {}, 0, 0, 0, 0, kKeepPlace | SWP_SHOWWINDOW | activation});
  }
  return wasVisible;
}

bool SimWindows::showWindow(Hwnd window, int32_t command) {
  ++portCalls;
  actions_.push_back("show " + handleText(window) + " " + std::to_string(command));
  if (!threads_->changeReaches(window, "show", WM_WINDOWPOSCHANGING,
                               [this, window, command] { showWindow(window, command); })) {
    return false;
  }
  return show(window, command);
}

bool SimWindows::setWindowPos(Hwnd window, Hwnd insertAfter, int32_t x, int32_t y, int32_t cx,
                              int32_t cy, uint32_t flags) {
  ++portCalls;
  char text[128];
  snprintf(text, sizeof text, "pos %s after %s %d,%d %dx%d flags %x", handleText(window).c_str(),
           handleText(insertAfter).c_str(), x, y, cx, cy, flags);
  actions_.push_back(text);
  if (window == kDesktop) return false;
  if (!threads_->changeReaches(window, "pos", WM_WINDOWPOSCHANGING,
                               [this, window, insertAfter, x, y, cx, cy, flags] {
                                 setWindowPos(window, insertAfter, x, y, cx, cy, flags);
                               })) {
    return false;
  }
  return changePosition(window, {window, insertAfter, x, y, cx, cy, flags});
}

bool SimWindows::moveWindow(Hwnd window, int32_t x, int32_t y, int32_t cx, int32_t cy,
                            bool repaint) {
  ++portCalls;
  char text[96];
  snprintf(text, sizeof text, "move %s %d,%d %dx%d", handleText(window).c_str(), x, y, cx, cy);
  actions_.push_back(text);
  SimWindow* w = live(window);
  if (w == nullptr || window == kDesktop) return false;
  if (!threads_->changeReaches(
          window, "move", WM_WINDOWPOSCHANGING,
          [this, window, x, y, cx, cy, repaint] { moveWindow(window, x, y, cx, cy, repaint); })) {
    return false;
  }
  w = live(window);
  if (w == nullptr) return false;
  if (repaint) invalidate(*w);
  return changePosition(window, {window, {}, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE});
}

bool SimWindows::setWindowPlacement(Hwnd window, const WindowPlacement& placement) {
  ++portCalls;
  const Rect& n = placement.normalPosition;
  char text[96];
  snprintf(text, sizeof text, "placement %s cmd %u %d,%d,%d,%d", handleText(window).c_str(),
           placement.showCmd, n.left, n.top, n.right, n.bottom);
  actions_.push_back(text);
  SimWindow* w = live(window);
  if (w == nullptr || window == kDesktop || placement.length != sizeof(WindowPlacement)) {
    return false;
  }
  if (!w->own && wineForeignPlacementFails) {
    lastErrorValue = 0;  // as measured: FALSE without an error
    return false;
  }
  if (!threads_->changeReaches(
          window, "placement", WM_WINDOWPOSCHANGING,
          [this, window, placement] { setWindowPlacement(window, placement); })) {
    return false;
  }
  w = live(window);
  if (w == nullptr) return false;
  const bool tool = (w->exStyle & WS_EX_TOOLWINDOW) != 0;
  const Rect onScreen = tool ? n
                             : Rect{n.left + workArea.left, n.top + workArea.top,
                                    n.right + workArea.left, n.bottom + workArea.top};
  if (w->own) {
    if (w->iconic()) {
      w->normalRect = onScreen;  // own windows keep it in screen coordinates
    } else {
      placeAt(window, onScreen, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  } else {
    if (!w->iconic() && !w->zoomed()) moveWindowTo(*w, onScreen);
    w->normalRect = n;
    if (w->iconic()) w->restoreToMaximized = (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
  }
  // Then the show command, as ShowWindow would carry it out (a minimised window restores to
  // the new normal rectangle).
  if (live(window) != nullptr) show(window, static_cast<int32_t>(placement.showCmd));
  return true;
}

bool SimWindows::setForegroundWindow(Hwnd window) {
  ++portCalls;
  actions_.push_back("foreground " + handleText(window));
  SimWindow* w = live(window);
  if (w == nullptr || w->parent || window == kDesktop) return false;
  if (foreground_ == window) return true;  // already active: nothing happens
  activate(*w);
  // Activation brings the window to the top through the position protocol, so its
  // WM_WINDOWPOSCHANGING sees the change (and may add SWP_SHOWWINDOW to it).
  if (w->own)
    return changePosition(window, {window, kHwndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE});
  placeOnTop(*w);
  return true;
}

uint32_t SimWindows::setWindowLong(Hwnd window, int32_t index, uint32_t value) {
  ++portCalls;
  SimWindow* w = live(window);
  if (w == nullptr || (index != GWL_STYLE && index != GWL_EXSTYLE)) return 0;
  actions_.push_back("set long " + handleText(window) + " " + std::to_string(index) + " " +
                     std::to_string(value));
  if (!threads_->changeReaches(window, "set long", WM_STYLECHANGING, [this, window, index, value] {
        setWindowLong(window, index, value);
      })) {
    return 0;
  }
  w = live(window);
  if (w == nullptr) return 0;
  uint32_t& field = index == GWL_STYLE ? w->style : w->exStyle;
  const uint32_t previous = field;
  field = value;
  if (index == GWL_STYLE) {
    field |= previous & WS_MINIMIZE;  // only restoring clears it
    if (!w->own) styleChanges_[window.value].push_back({time_.now, field});
  } else {
    // The topmost band changes only through setWindowPos.
    field = (value & ~WS_EX_TOPMOST) | (previous & WS_EX_TOPMOST);
    if ((field & WS_EX_LAYERED) == 0) w->clearLayered();
  }
  return previous;
}

bool SimWindows::enableWindow(Hwnd window, bool enable) {
  ++portCalls;
  if (!threads_->changeReaches(window, "enable", WM_ENABLE,
                               [this, window, enable] { enableWindow(window, enable); })) {
    return false;
  }
  SimWindow* w = live(window);
  if (w == nullptr) return false;
  const bool wasDisabled = (w->style & WS_DISABLED) != 0;  // EnableWindow's answer
  w->style = enable ? w->style & ~WS_DISABLED : w->style | WS_DISABLED;
  if (!w->own) styleChanges_[window.value].push_back({time_.now, w->style});
  return wasDisabled;
}

bool SimWindows::setLayeredWindowAttributes(Hwnd window, ColorRef key, uint8_t alpha, Dword flags) {
  ++portCalls;
  char text[64];
  snprintf(text, sizeof text, "layered %s alpha %u flags %x", handleText(window).c_str(),
           static_cast<unsigned>(alpha), flags);
  actions_.push_back(text);
  if (!threads_->changeReaches(window, "layered", 0, [this, window, key, alpha, flags] {
        setLayeredWindowAttributes(window, key, alpha, flags);
      })) {
    return false;
  }
  SimWindow* w = live(window);
  if (w == nullptr || (w->exStyle & WS_EX_LAYERED) == 0) return false;
  w->layeredSet = true;
  w->layeredKey = key;
  w->layeredAlphaByte = alpha;
  w->layeredFlags = flags;
  if ((flags & LWA_ALPHA) != 0) {
    w->alpha = alpha;
  } else {
    w->alpha.reset();  // a colour key alone leaves the rest opaque
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Other programs' windows as their own default processing changes them.

void SimWindows::minimizeForeign(SimWindow& w) {
  if (w.iconic()) return;
  w.restoreToMaximized = w.zoomed();
  w.style = (w.style | WS_MINIMIZE) & ~WS_MAXIMIZE;
  deactivate(w);
  w.rect = kMinimizedRect;
}

void SimWindows::maximizeForeign(SimWindow& w) {
  w.style = (w.style | WS_MAXIMIZE) & ~WS_MINIMIZE;
  w.restoreToMaximized = false;
  w.rect = maximizedRect(w);
}

void SimWindows::restoreForeign(SimWindow& w) {
  if (w.iconic() && w.restoreToMaximized) {
    maximizeForeign(w);
    return;
  }
  if (!w.iconic() && !w.zoomed()) return;
  w.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
  w.restoreToMaximized = false;
  const Rect n = w.normalRect;
  w.rect = (w.exStyle & WS_EX_TOOLWINDOW) != 0
               ? n
               : Rect{n.left + workArea.left, n.top + workArea.top, n.right + workArea.left,
                      n.bottom + workArea.top};
}

Rect SimWindows::maximizedRect(const SimWindow& w) const {
  // The work area, with the sizing borders hanging over its edges.
  const int32_t side = insets(w.style & ~WS_CAPTION, w.exStyle).left;
  return {workArea.left - side, workArea.top - side, workArea.right + side, workArea.bottom + side};
}

}  // namespace sim
