// One preview: a small borderless layered window showing a live, scaled image of another
// top-level window (the target) through the Desktop Window Manager's thumbnail service.
// Its owner (the controller's roster slot) holds it through the pointer that create() gives.
// Closing it destroys its window; the object goes when its owner lets it go and none of its
// own code runs (ui/window.h). A preview whose window is destroyed by someone else (a close
// request, say) tells its listener, which lets it go.
#pragma once

#include <memory>
#include <string>

#include "base/platform_checks.h"
#include "base/thumbnail_registration.h"
#include "display/display_environment.h"
#include "keeping/target_keeper.h"
#include "settings/settings.h"
#include "thumbnail/answer_mark.h"
#include "thumbnail/life_signs.h"
#include "thumbnail/preview_copy.h"
#include "thumbnail/preview_picture.h"
#include "thumbnail/thumbnail_listener.h"
#include "thumbnail/web_reload.h"
#include "thumbnail/zoom_view.h"
#include "ui/window.h"

class Cthumbnail : public ui::Window {
 public:
  static constexpr uintptr_t kLeaveTimer = 104;
  static constexpr uintptr_t kReloadTimer = WebReload::kTimer;

  // The framework's services, drawing, the pointer, the (guarded) DWM, the version checks, message
  // boxes, and what its target keeper uses.
  struct Ports : ui::WindowPorts {
    Ports(const platform::Platform& p, PlatformChecks& c)
        : WindowPorts(p),
          drawing(p.drawing),
          dwm(p.dwm),
          messageBoxes(p.messageBoxes),
          input(p.input),
          checks(c),
          keeper(p),
          copy(p),
          picture(p),
          lifeSigns(p),
          reload(p) {}
    platform::Drawing& drawing;
    platform::Dwm& dwm;
    platform::MessageBoxes& messageBoxes;
    platform::Input& input;
    PlatformChecks& checks;
    TargetKeeper::Ports keeper;
    PreviewCopy::Ports copy;
    PreviewPicture::Ports picture;
    LifeSigns::Ports lifeSigns;
    WebReload::Ports reload;
  };

  // A preview with its window, or nothing when the window could not be created. `settings`
  // is the controller's record (for FRAME).
  static ui::Owned<Cthumbnail> create(const Ports& ports, DisplayEnvironment& environment,
                                      const SettingsRecord& settings, platform::Hwnd target,
                                      std::string title, std::string exeName,
                                      const platform::Rect& slot, uint8_t alpha,
                                      CthumbnailListener* listener);
  // A preview let go while its window exists closes first (a hidden target is put back).
  ~Cthumbnail() override;

  // The controller's operations.
  void moveToSlot(const platform::Rect& cell);
  void setAlpha(uint8_t a);
  void applyFrameSetting();
  void applyZOrder();
  // Closes the preview for `reason` (Closing or ClosingAnimated): records the state it was
  // in and destroys the window, putting a hidden target back.
  void close(ThumbState reason);
  bool destroyWindow() override;
  // The 500 ms look at a living target: its state, then its rectangle. The controller calls
  // it for all its previews from one timer: one wake-up a period, however many there are.
  // Its waits for the target may let the preview be closed and let go meanwhile.
  void poll();
  // The monitors or the work area changed: a hidden target is kept again as a fresh hide
  // would keep it now. Like poll, its waits may let the preview be closed meanwhile.
  void displaysChanged();

  // Fits the preview into its cell with the source's aspect; only the source's size counts.
  void fitToSlot(const platform::Rect& source, bool move);
  // The whole source shown again; a pan drag ends.
  void resetZoom();
  // The hover hot-key mode: lifted above every window while it lasts.
  void setHover(bool on);

  ThumbState state() const { return state_; }
  bool pointerIn() const { return mouseIn_; }

  platform::Hwnd targetWnd() const { return targetWnd_; }
  const std::string& title() const { return title_; }
  const platform::Rect& slotRect() const { return slotRect_; }
  uint8_t alpha() const { return alpha_; }
  platform::ThumbnailId thumbnailId() const { return thumbnail_.id(); }
  const platform::Rect& currentSource() const { return currentSource_; }
  // The preview shows pictures the program takes (no thumbnail drawn for it).
  bool showsPictures() const { return pictures_; }
  TargetKeeper& keeper() { return keeper_; }

 protected:
  void postNcDestroy() override;
  void onCreate() override;
  ui::Answer onWindowPosChanging(platform::WindowPos* position) override;
  ui::Answer onPrintClient(platform::DeviceContext dc) override;
  ui::Answer onPaint() override;
  ui::Answer onEraseBackground(platform::DeviceContext dc) override;
  ui::Answer onSize() override;
  void onCompositionChanged() override;
  ui::Answer onNcHitTest() override;
  void onTimer(uintptr_t id) override;
  // The pointer: entering is seen on a move over the preview, leaving by the leave timer,
  // which runs only while the pointer is in.
  void onMouseMove(platform::WParam keys, platform::LParam at) override;
  ui::Answer onLeftButtonDoubleClick() override;
  ui::Answer onLeftButtonDown(platform::LParam at) override;
  ui::Answer onLeftButtonUp() override;
  ui::Answer onRightButtonUp() override;
  void onMouseWheel(platform::WParam wParam) override;
  void onKeyDown(platform::WParam key) override;
  // Excluding closes and deletes this preview: nothing may touch it afterwards.
  bool onCommand(uint32_t id, uint32_t code, platform::Hwnd control) override;

 private:
  Cthumbnail(const Ports& ports, DisplayEnvironment& environment, const SettingsRecord& settings,
             platform::Hwnd target, std::string title, std::string exeName,
             const platform::Rect& slot, uint8_t alpha, CthumbnailListener* listener);

  // Left button: a caption drag of the preview, or a pan drag of the zoomed view.
  void onLeftDown(platform::LParam at);
  // The context menu, and its commands for the controller.
  void onContextMenu();
  void onMenuCommand(uint32_t id);
  void onLeavePoll();
  bool cursorInside() const;
  // Double-click: the target comes to the front (restored first when hidden); false when it
  // did not answer and was left alone.
  bool activateTarget();
  void paint();
  // A hidden store app is suspended by the system: its preview says so in a word instead of
  // showing a picture that no longer changes.
  void showPaused(bool paused);
  // The target does not answer (AnswerMark): a badge in the bottom-left corner, drawn over the
  // picture, or in a strip the thumbnail leaves free (the DWM draws over the preview's own
  // painting).
  void markChanged();
  void drawMark();
  // The thumbnail's destination within `client` (the strip or the client changed).
  void placeThumbnail(const platform::Rect& client);
  // Where the thumbnail is drawn within `client`: all of it, or above the mark's strip.
  platform::Rect thumbnailDestination(const platform::Rect& client) const;
  // The part of the target shown (relative to its window rectangle, as a thumbnail's source
  // is): its visible frame, or the zoomed part of it. Thumbnails and pictures alike.
  platform::Rect shownSource();
  platform::Rect shownSource(const platform::Rect& window);  // its window rectangle known
  // Thumbnail or pictures, after a registration was tried.
  void choosePictures();
  void refreshPicture();
  void registerThumbnail();
  void unregisterThumbnail();
  void fitHeightToSource();
  void setSourceRect(const platform::Rect& r);
  void setFrame(bool on);
  void applyAlpha();
  // The target's rectangle read and followed; false when there is none (it went).
  bool trackTargetRect();
  void refitToTarget(const platform::Rect& r);
  bool targetIsWindow() const;
  platform::Rect targetFrame() const;  // visible frame bounds, else the window rectangle

  ThumbState state_ = ThumbState::None;
  bool hover_ = false;    // the hover hot-key mode
  bool mouseIn_ = false;  // the pointer is over the preview
  ZoomView zoom_;
  bool dragging_ = false;                    // a pan drag of the zoomed view
  ThumbState prevState_ = ThumbState::None;  // the state before closing

  platform::Drawing& drawing_;
  platform::Dwm& dwm_;
  platform::MessageBoxes& messageBoxes_;
  platform::Input& input_;
  DisplayEnvironment& environment_;
  const SettingsRecord& settings_;
  CthumbnailListener* listener_;
  std::string title_;
  std::string exeName_;
  platform::Rect slotRect_;
  int32_t winWidth_ = 0;
  int32_t winHeight_ = 0;
  uint8_t alpha_;
  platform::Hwnd targetWnd_;
  TargetKeeper keeper_;
  PreviewCopy copy_;
  PreviewPicture picture_;
  LifeSigns lifeSigns_;
  AnswerMark mark_;
  int32_t markStrip_ = 0;  // the height the thumbnail leaves to the mark, as last drawn
  bool pictures_ = false;
  WebReload reload_;
  platform::Rect lastTargetRect_;  // as the last poll read it
  bool paused_ = false;            // showing kPausedText instead of the thumbnail
  bool polled_ = false;            // the target lived when the preview was made; until it closes
  bool composition_ = false;
  ThumbnailRegistration thumbnail_;
  platform::Rect currentSource_;
  platform::Point dragPoint_;  // where the pan drag last was, client coordinates
  double dragRemainderX_ = 0.0, dragRemainderY_ = 0.0;  // source pixels not yet panned
  platform::ColorRef backColor_ = platform::rgb(220, 220, 220);
};
