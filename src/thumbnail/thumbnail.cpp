#include "thumbnail/thumbnail.h"

#include <algorithm>

#include "base/diagnostic_log.h"
#include "base/guarded_dwm.h"
#include "display/dpi.h"
#include "keeping/answers.h"
#include "res/strings.h"
#include "thumbnail/browsers.h"

using namespace platform;

namespace {

constexpr ColorRef kGrey = rgb(200, 200, 200);
// The mark's strip beside a thumbnail before its badge was first drawn, at 96 dpi.
constexpr int64_t kMarkStripGuess = 22;

bool isTopmost(Windows& windows, Hwnd window) {
  return (windows.getWindowLong(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

}  // namespace

ui::Owned<Cthumbnail> Cthumbnail::create(const Ports& ports, DisplayEnvironment& environment,
                                         const SettingsRecord& settings, Hwnd target,
                                         std::string title, std::string exeName, const Rect& slot,
                                         uint8_t alpha, CthumbnailListener* listener) {
  ui::Owned<Cthumbnail> preview(new Cthumbnail(ports, environment, settings, target,
                                               std::move(title), std::move(exeName), slot, alpha,
                                               listener));
  CreateWindowArgs params;
  params.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  // Shown by onCreate without being activated: created visible, it would take the keyboard
  // from the user's window.
  params.style = WS_POPUP;
  params.exStyle = WS_EX_WINDOWEDGE;
  if (!preview->ownWindows().createWindow(params, preview.get()) || !preview->isWindow()) {
    return nullptr;  // a window that went during its creation has already put its target back
  }
  return preview;
}

Cthumbnail::Cthumbnail(const Ports& ports, DisplayEnvironment& environment,
                       const SettingsRecord& settings, Hwnd target, std::string title,
                       std::string exeName, const Rect& slot, uint8_t alpha,
                       CthumbnailListener* listener)
    : ui::Window(ports),
      drawing_(ports.drawing),
      dwm_(ports.dwm),
      messageBoxes_(ports.messageBoxes),
      input_(ports.input),
      environment_(environment),
      settings_(settings),
      listener_(listener),
      title_(std::move(title)),
      exeName_(std::move(exeName)),
      slotRect_(slot),
      alpha_(alpha),
      targetWnd_(target),
      keeper_(ports.keeper, environment, target),
      copy_(ports.copy),
      picture_(ports.picture, keeper_),
      lifeSigns_(ports.lifeSigns, target),
      mark_(ports.windows, target),
      reload_(ports.reload, *this, target, exeName_),
      thumbnail_(ports.dwm) {
  // The DWM is the version-guarded one: before version 6 composition stays off.
  if (ports.checks.isVistaOrLater() != 0) {
    diag::print("ON VISTA !\n");
    if (dwm_.isCompositionEnabled(&composition_) < 0) composition_ = false;
    diag::print(composition_ ? "ON AERO!\n" : "NOT AERO!\n");
  } else {
    diag::print("Before VISTA!\n");
  }
}

Cthumbnail::~Cthumbnail() {
  if (isWindow()) close(ThumbState::Closing);
}

void Cthumbnail::close(ThumbState reason) {
  prevState_ = state_;
  state_ = reason;
  destroyWindow();
}

bool Cthumbnail::targetIsWindow() const {
  return windows().isWindow(targetWnd_);
}

ui::Answer Cthumbnail::onWindowPosChanging(WindowPos* position) {
  if (position) {
    // Off the top: first out of the topmost band while still in it (applyZOrder then
    // asks for the bottom), as HWND_BOTTOM alone keeps a topmost window there under Wine.
    if (mouseIn_ || hover_) {
      position->insertAfter = kHwndTopmost;
    } else {
      position->insertAfter = isTopmost(windows(), hwnd()) ? kHwndNotopmost : kHwndBottom;
    }
  }
  return ui::kDefault;
}

ui::Answer Cthumbnail::onPrintClient(DeviceContext dc) {
  drawing_.fillRect(dc, {0, 0, winWidth_, winHeight_}, kGrey);
  return ui::kDefault;
}

ui::Answer Cthumbnail::onPaint() {
  paint();
  return 0;
}

ui::Answer Cthumbnail::onEraseBackground(DeviceContext dc) {
  // Also without composition: the class has no brush, and where the hover frame was
  // drawn would otherwise keep showing it after the frame has gone.
  drawing_.fillRect(dc, clientRect(), backColor_);
  return ui::kDefault;
}

ui::Answer Cthumbnail::onSize() {
  const LResult result = defaultProcessing();
  if (composition_) fitHeightToSource();
  return result;
}

void Cthumbnail::onCompositionChanged() {
  if (dwm_.isCompositionEnabled(&composition_) < 0) composition_ = false;
  // One registration at a time: the old one goes before a fresh one is made.
  unregisterThumbnail();
  if (composition_) registerThumbnail();
  choosePictures();
}

ui::Answer Cthumbnail::onNcHitTest() {
  // The top edge moves the preview instead of resizing it.
  const LResult hit = defaultProcessing();
  return hit == HTTOP ? HTCAPTION : hit;
}

void Cthumbnail::onTimer(uintptr_t id) {
  if (id == kLeaveTimer) {
    onLeavePoll();
  } else if (id == kReloadTimer) {
    reload_.onTimer();
  }
}

void Cthumbnail::onCreate() {
  Windows& wm = windows();
  wm.setWindowLong(hwnd(), GWL_STYLE, wm.getWindowLong(hwnd(), GWL_STYLE) & ~WS_BORDER);
  wm.setWindowLong(hwnd(), GWL_EXSTYLE,
                   wm.getWindowLong(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TOOLWINDOW);
  if (settings_.frame != 0) setFrame(true);
  applyAlpha();
  if (!targetIsWindow()) {
    setWindowPos({}, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return;
  }
  // A minimised target that cannot be hidden now starts Normal; the poll tries again.
  if (wm.isIconic(targetWnd_) && keeper_.hideTarget()) {
    state_ = ThumbState::Hidden;
    diag::print("CREATE: LAYERED START(%s)\n", title_.c_str());
  } else {
    keeper_.saveTarget();
    state_ = ThumbState::Normal;
    diag::print("CREATE: NORMAL START(%s)\n", title_.c_str());
  }
  fitToSlot(keeper_.normalRect(), true);
  resetZoom();
  ownWindows().animateWindow(hwnd(), 200, AW_CENTER);  // grows from its centre, never activated
  if (composition_) registerThumbnail();
  choosePictures();
  polled_ = true;
}

void Cthumbnail::choosePictures() {
  pictures_ = !thumbnail_.held();
  if (!pictures_) picture_.release();
  ownWindows().invalidateRect(hwnd(), true);
}

void Cthumbnail::refreshPicture() {
  if (!pictures_ || !windows().isWindowVisible(hwnd())) return;
  // The pointer over the preview, the target activated or retitled (the label shows the new
  // title): it may be about to change.
  const bool stirred = lifeSigns_.seen(picture_.resting(), title_);
  if (mouseIn_ || stirred) picture_.wake();
  const Rect client = clientRect();
  // Hovered, the preview may lie over its target, where a copy of the screen would catch it.
  // A picture that came out the same is neither drawn nor shown again.
  if (picture_.refresh(lastTargetRect_, shownSource(lastTargetRect_),
                       {client.width(), client.height()}, !mouseIn_ && !hover_) ||
      (stirred && !picture_.held())) {
    ownWindows().invalidateRect(hwnd(), false);
  }
}

void Cthumbnail::poll() {
  // One look at whether the target lives; both steps rely on it.
  if (!polled_ || !targetIsWindow()) return;
  const Frame frame(*this);
  if (state_ == ThumbState::Normal || state_ == ThumbState::Hidden) {
    state_ = keeper_.pollTargetState(state_ == ThumbState::Hidden) ? ThumbState::Hidden
                                                                   : ThumbState::Normal;
  }
  if (!polled_) return;  // closed while it waited for the target
  const bool paused = state_ == ThumbState::Hidden && keeper_.engine() == EngineKind::StoreApp &&
                      !keepsDrawingInSight(EngineKind::StoreApp);
  if (paused != paused_) showPaused(paused);
  // The target's rectangle, read once for both.
  if (trackTargetRect()) refreshPicture();
  if (mark_.poll(keeper_, paused_)) markChanged();
}

void Cthumbnail::displaysChanged() {
  if (!polled_ || state_ != ThumbState::Hidden || !targetIsWindow()) return;
  const Frame frame(*this);
  keeper_.displaysChanged();
}

void Cthumbnail::moveToSlot(const Rect& cell) {
  slotRect_ = cell;
  Rect size;
  if (windows().isIconic(targetWnd_)) {
    size = keeper_.normalRect();
  } else {
    windows().getWindowRect(targetWnd_, size);
  }
  fitToSlot(size, true);
  resetZoom();
}

void Cthumbnail::fitToSlot(const Rect& source, bool move) {
  const int32_t srcW = source.width();
  const int32_t srcH = source.height();
  const int32_t cellW = slotRect_.width();
  const int32_t cellH = slotRect_.height();
  int32_t width = cellW, height = cellH, x = slotRect_.left, y = slotRect_.top;
  // A source without area has no aspect: it fills the cell rather than divide by zero.
  if (srcW > 0 && srcH > 0) {
    const double scaleX = static_cast<double>(cellW) / srcW;
    const double scaleY = static_cast<double>(cellH) / srcH;
    if (scaleY > scaleX) {
      height = static_cast<int32_t>(srcH * scaleX);
      y = slotRect_.top + (cellH - height) / 2;
    } else {
      width = static_cast<int32_t>(srcW * scaleY);
      x = slotRect_.left + (cellW - width) / 2;
    }
  }
  winWidth_ = width;
  winHeight_ = height;
  setWindowPos(kHwndNotopmost, x, y, width, height,
               SWP_NOACTIVATE | (move ? 0u : static_cast<uint32_t>(SWP_NOMOVE)));
}

void Cthumbnail::registerThumbnail() {
  if (!thumbnail_.registerFor(hwnd(), targetWnd_)) return;
  Rect target;
  windows().getWindowRect(targetWnd_, target);
  ThumbnailProperties properties;
  properties.flags = DWM_TNP_RECTDESTINATION | DWM_TNP_RECTSOURCE | DWM_TNP_OPACITY |
                     DWM_TNP_VISIBLE | DWM_TNP_SOURCECLIENTAREAONLY;
  properties.destination = thumbnailDestination(clientRect());
  properties.source = {0, 0, target.width(), target.height()};
  properties.opacity = 255;
  properties.visible = true;
  properties.sourceClientAreaOnly = false;
  if (thumbnail_.update(properties) < 0) {
    // A registration that shows nothing: let it go, so that the preview shows pictures.
    diag::print("thumbnail of 0x%08x refused its properties\n", targetWnd_.value);
    unregisterThumbnail();
    return;
  }
  fitHeightToSource();
  currentSource_ = properties.source;
}

void Cthumbnail::unregisterThumbnail() {
  thumbnail_.release();
  currentSource_ = {};
}

void Cthumbnail::fitHeightToSource() {
  if (!thumbnail_.held()) return;
  Size size;
  if (thumbnail_.querySourceSize(&size) < 0 || size.cx <= 0) {
    return;
  }
  const double ratio = static_cast<double>(size.cy) / size.cx;
  const Rect client = clientRect();
  const int32_t newHeight = static_cast<int32_t>(client.width() * ratio);
  Rect frame{client.left, client.top, client.right, newHeight};
  ownWindows().adjustWindowRect(frame, windows().getWindowLong(hwnd(), GWL_STYLE),
                                windows().getWindowLong(hwnd(), GWL_EXSTYLE));
  const Rect now = windowRect();
  windows().moveWindow(hwnd(), now.left, now.top, now.width(), frame.height(), true);
  placeThumbnail({client.left, client.top, client.right, newHeight});
}

Rect Cthumbnail::thumbnailDestination(const Rect& client) const {
  if (!mark_.shown() || markStrip_ <= 0 || markStrip_ >= client.height()) return client;
  // Narrowed as much as it is lowered: the picture keeps its aspect above the strip.
  const int32_t height = client.height() - markStrip_;
  const int32_t width = static_cast<int32_t>(int64_t{client.width()} * height / client.height());
  const int32_t left = client.left + (client.width() - width) / 2;
  return {left, client.top, left + width, client.top + height};
}

void Cthumbnail::markChanged() {
  if (mark_.shown() && markStrip_ == 0) {
    // Until the first badge is drawn: its height at the preview's DPI, near enough.
    markStrip_ =
        static_cast<int32_t>(dpi::scale(kMarkStripGuess, environment_.dpiAt(windowRect())));
  }
  placeThumbnail(clientRect());
  ownWindows().invalidateRect(hwnd(), true);
}

void Cthumbnail::placeThumbnail(const Rect& client) {
  if (!thumbnail_.held()) return;
  ThumbnailProperties properties;
  properties.flags = DWM_TNP_RECTDESTINATION;
  properties.destination = thumbnailDestination(client);
  thumbnail_.update(properties);
}

void Cthumbnail::drawMark() {
  const uint32_t dpi = environment_.dpiAt(windowRect());
  const Rect client = clientRect();
  // Over a picture, a little inside its corner; beside a thumbnail, in the strip it leaves.
  const auto inset = pictures_ ? static_cast<int32_t>(dpi::scale(4, dpi)) : 0;
  const Size box = drawing_.drawBadge(hwnd(), kNotAnsweringText,
                                      {client.left + inset, client.bottom - inset}, dpi);
  if (!pictures_ && box.cy > 0 && box.cy != markStrip_) {
    // The strip was a guess: the whole client was erased and the badge lies where it belongs.
    markStrip_ = box.cy;
    placeThumbnail(client);
  }
}

Rect Cthumbnail::targetFrame() const {
  Rect frame;
  if (getExtendedFrameBounds(dwm_, targetWnd_, &frame) >= 0) return frame;
  windows().getWindowRect(targetWnd_, frame);
  return frame;
}

void Cthumbnail::showPaused(bool paused) {
  paused_ = paused;
  if (thumbnail_.held()) {
    ThumbnailProperties properties;
    properties.flags = DWM_TNP_VISIBLE;
    properties.visible = !paused;
    thumbnail_.update(properties);
  }
  ownWindows().invalidateRect(hwnd(), true);
}

void Cthumbnail::paint() {
  if (paused_) {
    // 4 pixels at 96 dpi from the corner, on the monitor the preview lies on.
    const auto inset = static_cast<int32_t>(dpi::scale(4, environment_.dpiAt(windowRect())));
    drawing_.paintText(hwnd(), kPausedText, {inset, inset});
    return;
  }
  if (!composition_ && state_ != ThumbState::Normal && state_ != ThumbState::Hidden) {
    drawing_.paintFill(hwnd(), kGrey);
    return;
  }
  if (targetIsWindow()) {
    // Also keeps the zoom inside the source; a picture of a new part comes at the next poll.
    const Rect source = shownSource();
    if (!pictures_) setSourceRect(source);
  }
  if (pictures_) {
    picture_.paint(hwnd(), title_);
  } else {
    defaultProc(WM_PAINT, 0, 0);  // validates: the image is the DWM's to draw
  }
  if (mark_.shown()) drawMark();
}

Rect Cthumbnail::shownSource() {
  Rect window;
  windows().getWindowRect(targetWnd_, window);
  return shownSource(window);
}

Rect Cthumbnail::shownSource(const Rect& window) {
  // Only the visible frame, zoomed or not: the source is the whole window, so the frame's
  // rectangle is shifted past the invisible borders around it (none without composition).
  Rect frame;
  if (getExtendedFrameBounds(dwm_, targetWnd_, &frame) < 0) frame = window;
  const int32_t x = frame.left - window.left;
  const int32_t y = frame.top - window.top;
  if (!zoom_.zoomed()) return {x, y, x + frame.width(), y + frame.height()};
  const Rect part = zoom_.within(frame.width(), frame.height());
  return {x + part.left, y + part.top, x + part.right, y + part.bottom};
}

void Cthumbnail::setSourceRect(const Rect& r) {
  if (r == currentSource_) return;
  ThumbnailProperties properties;
  properties.flags = DWM_TNP_RECTSOURCE;
  properties.source = r;
  if (thumbnail_.update(properties) >= 0) {
    currentSource_ = r;
  }
}

void Cthumbnail::resetZoom() {
  zoom_ = {};
  // A pan drag cannot go on over the whole source.
  if (dragging_) input_.releaseCapture();
  dragging_ = false;
}

void Cthumbnail::setHover(bool on) {
  hover_ = on;
  applyZOrder();
}

void Cthumbnail::setAlpha(uint8_t a) {
  alpha_ = a;
  applyAlpha();
}

void Cthumbnail::applyAlpha() {
  windows().setLayeredWindowAttributes(hwnd(), 0, mouseIn_ ? 255 : alpha_, LWA_ALPHA);
}

void Cthumbnail::applyFrameSetting() {
  setFrame(settings_.frame != 0);
}

void Cthumbnail::applyZOrder() {
  // Restacking must not activate: activation would take the keyboard from the user's window
  // and bring the preview to the top whatever place was asked for.
  if (mouseIn_ || hover_) {
    setWindowPos(kHwndTopmost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    setFrame(true);
  } else {
    // Out of the topmost band, then to the bottom (Windows does both at once, Wine not).
    constexpr uint32_t kRestack = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (isTopmost(windows(), hwnd())) setWindowPos(kHwndNotopmost, 0, 0, 0, 0, kRestack);
    setWindowPos(kHwndBottom, 0, 0, 0, 0, kRestack);
    if (settings_.frame == 0) setFrame(false);
  }
}

void Cthumbnail::setFrame(bool on) {
  const uint32_t style = windows().getWindowLong(hwnd(), GWL_STYLE);
  if (((style & WS_THICKFRAME) != 0) == on) return;
  diag::print(on ? "frame ON\n" : "frame OFF\n");
  windows().setWindowLong(hwnd(), GWL_STYLE, on ? style | WS_THICKFRAME : style & ~WS_THICKFRAME);
  // A nudge of the width and back makes the window show its new frame.
  const Rect r = windowRect();
  windows().moveWindow(hwnd(), r.left, r.top, r.width() + 1, r.height(), true);
  windows().moveWindow(hwnd(), r.left, r.top, r.width(), r.height(), true);
  // A style change alone leaves the old frame drawn (Wine keeps it): have it redrawn.
  setWindowPos({}, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool Cthumbnail::trackTargetRect() {
  Rect r;
  // A target gone meanwhile (during the keeper's wait, say) has no rectangle.
  if (!windows().getWindowRect(targetWnd_, r)) return false;
  if (r == lastTargetRect_) return true;
  lastTargetRect_ = r;
  picture_.wake();  // moved or resized: about to change
  refitToTarget(r);
  return true;
}

void Cthumbnail::refitToTarget(const Rect& r) {
  if (r.right < 0 && r.bottom < 0) return;  // parked while minimised
  fitToSlot({0, 0, r.width(), r.height()}, false);
}

bool Cthumbnail::destroyWindow() {
  if (state_ == ThumbState::ClosingAnimated) {
    ownWindows().animateWindow(hwnd(), 200, AW_HIDE | AW_CENTER);
  }
  unregisterThumbnail();
  killTimer(kLeaveTimer);
  killTimer(kReloadTimer);
  polled_ = false;
  return ui::Window::destroyWindow();
}

void Cthumbnail::postNcDestroy() {
  // A poll waiting for the target below this frame must not take it over any more.
  polled_ = false;
  keeper_.giveUp();
  const bool closedByOwner = state_ == ThumbState::Closing || state_ == ThumbState::ClosingAnimated;
  if (!closedByOwner) {
    // Destroyed behind the controller's back: what it was is what it is now.
    unregisterThumbnail();
    prevState_ = state_;
  }
  // The keeper's word, not the state: it may have hidden the target in a wait the state has
  // not caught up with, or put it back in one.
  if (keeper_.holdsTarget() && targetIsWindow()) {
    keeper_.restoreTarget();
    if (exeName_ == browsers::kChrome) {
      messages().sendMessageTimeout(targetWnd_, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG,
                                    kAnswerWaitMs);
      keeper_.moveTargetHome();
    }
  }
  // Last: the listener lets this object go, so nothing may touch it afterwards.
  if (!closedByOwner && listener_ != nullptr) listener_->onThumbnailGone(this);
}
