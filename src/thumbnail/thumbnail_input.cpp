// What the user does to a preview: the pointer (enter, leave, drags), the wheel and the
// arrow keys (zoom and pan), the context menu and its commands, the double-click.
#include <algorithm>

#include "base/diagnostic_log.h"
#include "keeping/answers.h"
#include "res/dialogs.h"
#include "res/strings.h"
#include "thumbnail/thumbnail.h"

using namespace platform;

namespace {

// The signed 16-bit halves of a message argument.
int32_t lowWord(uint64_t value) {
  return static_cast<int16_t>(value & 0xFFFF);
}
int32_t highWord(uint64_t value) {
  return static_cast<int16_t>((value >> 16) & 0xFFFF);
}

}  // namespace

bool Cthumbnail::cursorInside() const {
  const Point at = input_.getCursorPos();
  const Rect r = windowRect();
  return at.x >= r.left && at.x < r.right && at.y >= r.top && at.y < r.bottom;
}

ui::Answer Cthumbnail::onLeftButtonDoubleClick() {
  if (!activateTarget()) return 0;
  return ui::kDefault;
}

ui::Answer Cthumbnail::onLeftButtonDown(LParam at) {
  if (!zoom_.zoomed()) {
    // The system's move loop drags the preview like a caption until the button is up.
    sendMessage(WM_NCLBUTTONDOWN, static_cast<WParam>(HTCAPTION), at);
    return 0;
  }
  onLeftDown(at);
  return ui::kDefault;
}

ui::Answer Cthumbnail::onLeftButtonUp() {
  input_.releaseCapture();
  dragging_ = false;
  return ui::kDefault;
}

ui::Answer Cthumbnail::onRightButtonUp() {
  onContextMenu();
  return ui::kDefault;
}

bool Cthumbnail::onCommand(uint32_t id, uint32_t, Hwnd) {
  onMenuCommand(id);
  return true;
}

void Cthumbnail::onLeftDown(LParam at) {
  input_.setCapture(hwnd());
  dragRemainderX_ = dragRemainderY_ = 0.0;
  dragPoint_ = {lowWord(at), highWord(at)};
  dragging_ = true;
}

void Cthumbnail::onMouseMove(WParam keys, LParam at) {
  if (dragging_ && zoom_.zoomed()) {
    const int32_t x = lowWord(at), y = highWord(at);
    if ((keys & MK_LBUTTON) == 0) {
      input_.releaseCapture();
      dragging_ = false;
    } else if (x != dragPoint_.x || y != dragPoint_.y) {
      const Rect client = clientRect();
      if (client.width() > 0 && client.height() > 0) {
        // Client pixels become source pixels; what is less than one is carried to the next
        // move, so a slow drag still pans. The content follows the pointer.
        const double fx =
            static_cast<double>(zoom_.shown().width()) * (dragPoint_.x - x) / client.width() +
            dragRemainderX_;
        const double fy =
            static_cast<double>(zoom_.shown().height()) * (dragPoint_.y - y) / client.height() +
            dragRemainderY_;
        const auto ix = static_cast<int32_t>(fx);
        const auto iy = static_cast<int32_t>(fy);
        dragRemainderX_ = fx - ix;
        dragRemainderY_ = fy - iy;
        zoom_.addPan(ix, iy);
        ownWindows().invalidateRect(hwnd(), true);
      }
      dragPoint_ = {x, y};
    }
  }
  if (mouseIn_ || !cursorInside()) return;
  mouseIn_ = true;
  diag::print("●MounseIn %s\n", title_.c_str());
  applyAlpha();
  input_.setArrowCursor();  // the class has no cursor of its own
  applyZOrder();
  // No leave notification is relied on: a poll notices the pointer gone.
  setTimer(kLeaveTimer, 200);
}

void Cthumbnail::onMouseWheel(WParam wParam) {
  WParam keys = wParam & 0xFFFF;
  // Under composition both axes always zoom together.
  if (composition_) keys &= ~static_cast<WParam>(MK_SHIFT | MK_CONTROL);
  if (!mouseIn_) return;
  const int32_t steps = highWord(wParam) / static_cast<int32_t>(WHEEL_DELTA);
  if ((keys & MK_CONTROL) != 0) {
    zoom_.addZoom(-steps, 0);
  } else if ((keys & MK_SHIFT) != 0) {
    zoom_.addZoom(0, -steps);
  } else {
    zoom_.addZoom(-steps, -steps);
  }
  ownWindows().invalidateRect(hwnd(), true);
}

void Cthumbnail::onKeyDown(WParam key) {
  if (!mouseIn_) return;
  const int32_t step = input_.getKeyState(VK_SHIFT) < 0 ? 1 : 4;
  switch (static_cast<int32_t>(key)) {
    case VK_LEFT:
      zoom_.addPan(-step, 0);
      break;
    case VK_RIGHT:
      zoom_.addPan(step, 0);
      break;
    case VK_UP:
      zoom_.addPan(0, -step);
      break;
    case VK_DOWN:
      zoom_.addPan(0, step);
      break;
    default:
      return;
  }
  ownWindows().invalidateRect(hwnd(), true);
}

void Cthumbnail::onContextMenu() {
  // The user's own right-click: a menu needs its window in the foreground to close properly.
  windows().setForegroundWindow(hwnd());
  const Point at = input_.getCursorPos();
  MenuTemplate menu = res::thumbnailMenu();
  // Web reload knows only these three programs, by their exact names.
  const bool browser = WebReload::supports(exeName_);
  for (MenuItemTemplate& item : menu.items) {
    for (MenuItemTemplate& sub : item.submenu) {
      switch (sub.id) {
        case res::ID_THUMB_RELOAD_ON:
          sub.grayed = !browser || reload_.on();
          break;
        case res::ID_THUMB_RELOAD_OFF:
          sub.grayed = !browser || !reload_.on();
          break;
        case res::ID_THUMB_RELOAD_INTERVAL:
          sub.grayed = !browser;
          break;
        default:
          break;
      }
    }
  }
  ownWindows().trackPopupMenu(menu, 0 /* TPM_LEFTALIGN */, at, hwnd());
}

void Cthumbnail::onMenuCommand(uint32_t id) {
  switch (id) {
    case res::ID_THUMB_RELOAD_ON:
      reload_.switchOn();
      return;
    case res::ID_THUMB_RELOAD_OFF:
      reload_.switchOff(state_);
      return;
    case res::ID_THUMB_RELOAD_INTERVAL:
      // The preview may be closed while the dialog is up: nothing may touch it afterwards.
      reload_.editInterval();
      return;
    case res::ID_THUMB_COPY: {
      const Rect client = clientRect();
      const Size size{client.width(), client.height()};
      if (pictures_) {
        copy_.copyPicture(hwnd(), size, picture_.shown(size));
        return;
      }
      // The part of the target shown is known only while the DWM draws it.
      copy_.copy(hwnd(), size, targetWnd_, thumbnail_.held() ? currentSource_ : Rect{});
      return;
    }
    default:
      break;
  }
  if (listener_ == nullptr) return;
  if (id == res::ID_THUMB_ARRANGE) {
    listener_->onArrange();
    return;
  }
  // The rest name the target: a target gone meanwhile is dropped.
  if (!targetIsWindow()) return;
  switch (id) {
    case res::ID_THUMB_MOVE_HEAD:
      listener_->onMoveHead(targetWnd_);
      break;
    case res::ID_THUMB_MOVE_FORWARD:
      listener_->onMoveForward(targetWnd_);
      break;
    case res::ID_THUMB_MOVE_BACKWARD:
      listener_->onMoveBackward(targetWnd_);
      break;
    case res::ID_THUMB_MOVE_TAIL:
      listener_->onMoveTail(targetWnd_);
      break;
    case res::ID_THUMB_EXCLUDE:
      listener_->onExclude(targetWnd_);
      break;
    default:
      break;
  }
}

void Cthumbnail::onLeavePoll() {
  if (mouseIn_ && cursorInside()) return;
  killTimer(kLeaveTimer);  // idle again until the pointer comes back
  if (!mouseIn_) return;
  mouseIn_ = false;
  diag::print("■MouseOUT %s\n", title_.c_str());
  applyAlpha();
  applyZOrder();
}

bool Cthumbnail::activateTarget() {
  if (!targetIsWindow()) return true;
  if (!answers(messages(), targetWnd_)) {
    messageBoxes_.show(hwnd(), "対象のウィンドが現在ビジー状態です。操作をSkipしました", kAppTitle,
                       MB_OK);
    return false;
  }
  if (!isWindow()) return false;  // closed during the wait: its target is put back already
  if (state_ == ThumbState::Hidden) {
    if (!keeper_.restoreTarget()) {
      // Too busy to be put back whole: it stays hidden until it is, then comes forward.
      keeper_.showWhenBack();
      return true;
    }
    messages().sendMessageTimeout(targetWnd_, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG,
                                  kAnswerWaitMs);
    keeper_.moveTargetHome();
    state_ = ThumbState::Normal;
  } else {
    windows().setForegroundWindow(targetWnd_);
  }
  return true;
}
