// One preview: a small borderless layered window showing a live, scaled image of another
// top-level window (the target) through the Desktop Window Manager's thumbnail service.
// The controller creates it on the heap; it deletes itself when its window is destroyed.
#pragma once

#include <string>

#include "base/app_context.h"
#include "settings/settings.h"
#include "thumbnail/target_keeper.h"
#include "thumbnail/thumbnail_listener.h"
#include "ui/window.h"

// One axis of the zoomed source: `share` percent (0..100) of `size`, at least one pixel,
// centred, shifted by `pan` and kept inside the source; the pan is written back at the limits.
void zoomAxis(int32_t share, int32_t size, int32_t& pan, int32_t& zoomed, int32_t& start);

class Cthumbnail : public ui::Window {
 public:
  static constexpr uintptr_t kPollTimer = 112;
  static constexpr uintptr_t kLeaveTimer = 104;
  static constexpr uintptr_t kReloadTimer = 110;

  // Creates the window at once. `settings` is the controller's record (for FRAME).
  Cthumbnail(AppContext& context, const SettingsRecord& settings, platform::Hwnd target,
             std::string title, std::string exeName, const platform::Rect& slot, uint8_t alpha,
             CthumbnailListener* listener);

  // The controller's operations.
  void moveToSlot(const platform::Rect& cell);
  void setAlpha(uint8_t a);
  void applyFrameSetting();
  void applyZOrder();
  bool destroyWindow() override;

  // Fits the preview into its cell with the source's aspect; only the source's size counts.
  void fitToSlot(const platform::Rect& source, bool move);
  // The zoomed source rectangle from the zoom and pan values, kept inside the source.
  void computeZoomSource();
  void resetZoom();

  ThumbState state = ThumbState::None;
  ThumbState prevState = ThumbState::None;
  int32_t hover = 0;
  int32_t mouseIn = 0;
  int32_t zoomX = 100, zoomY = 100;
  int32_t zoomWidth = 0, zoomHeight = 0;
  int32_t sourceX = 0, sourceY = 0;
  int32_t panX = 0, panY = 0;

  platform::Hwnd targetWnd() const { return targetWnd_; }
  const std::string& title() const { return title_; }
  const platform::Rect& slotRect() const { return slotRect_; }
  uint8_t alpha() const { return alpha_; }
  platform::ThumbnailId thumbnailId() const { return thumbnailId_; }
  const platform::Rect& currentSource() const { return currentSource_; }
  TargetKeeper& keeper() { return keeper_; }

 protected:
  platform::LResult windowProc(uint32_t message, platform::WParam wParam,
                               platform::LParam lParam) override;
  void postNcDestroy() override;

 private:
  void onCreate();
  // Double-click: the target comes to the front (restored first when hidden); false when it
  // did not answer and was left alone.
  bool activateTarget();
  void onPaint();
  void registerThumbnail();
  void unregisterThumbnail();
  void fitHeightToSource();
  void setSourceRect(const platform::Rect& r);
  void setFrame(bool on);
  void applyAlpha();
  void trackTargetRect();
  void refitToTarget();
  bool targetIsWindow() const;
  platform::Rect targetFrame() const;  // visible frame bounds, else the window rectangle

  AppContext& context_;
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
  platform::Rect lastTargetRect_;
  bool onVista_ = false;
  platform::Bool composition_ = 0;
  platform::ThumbnailId thumbnailId_ = 0;
  platform::Rect currentSource_;
  platform::ColorRef backColor_ = platform::rgb(220, 220, 220);
};
