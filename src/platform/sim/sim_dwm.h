// The simulated Desktop Window Manager: desktop composition, the thumbnails registered with
// it, window attributes and glass frames.
//
// What it models: registrations need composition on, a live top-level source and a live
// top-level destination of the program's own; properties merge by flag. Extended frame bounds
// are the window rectangle less `frameInset` (other programs' windows, and the program's own
// top-level windows with WS_THICKFRAME, WS_CAPTION's dialog frame or WS_EX_DLGMODALFRAME, as
// Windows 10 leaves most of such a frame invisible; its popups without a frame have none) and
// need composition; DWMWA_CLOAKED is unknown before version 6.2 (E_INVALIDARG), as on
// Windows 7. With composition switched off, registrations stay listed but updates and size
// queries fail; a registration outlives its windows until unregistered.
// Not modelled: thumbnails drawn.
#pragma once

#include <cstdint>
#include <map>
#include <set>

#include "platform/dwm.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_windows.h"

namespace sim {

// A thumbnail registered with the Desktop Window Manager.
struct SimThumbnail {
  platform::Hwnd destination;
  platform::Hwnd source;
  platform::ThumbnailProperties properties;  // flags: the fields ever given
};

class SimDwm : public platform::Dwm {
 public:
  // The version comes from `system`; the windows are those of `windows`.
  SimDwm(SimSystem& system, SimWindows& windows) : system_(system), windows_(windows) {}

  // ===== Test API =====
  bool dwmLoaded = false;  // the library was bound (first DWM call)
  bool compositionEnabled = true;
  platform::HResult compositionQueryResult = platform::S_OK;
  std::map<uint32_t, platform::Margins> glassFrames;         // window -> extended margins
  std::map<platform::ThumbnailId, SimThumbnail> thumbnails;  // live registrations by id
  std::set<uint32_t> thumbnailsRefused;  // sources whose registration fails (E_INVALIDARG)
  // Sources registered, but whose property updates fail (E_INVALIDARG).
  std::set<uint32_t> thumbnailUpdatesRefused;
  int thumbnailPropertyUpdates = 0;       // every update call
  platform::Rect frameInset{7, 0, 7, 7};  // invisible borders: left, top, right, bottom
  std::map<uint32_t, uint32_t> cloaked;   // window -> DWMWA_CLOAKED value
  // Calls into the Desktop Window Manager, each a round trip to another process.
  uint64_t dwmCalls = 0;

  // ===== platform::Dwm =====
  platform::HResult isCompositionEnabled(bool* enabled) override;
  platform::HResult getWindowAttribute(platform::Hwnd window, platform::Dword attribute,
                                       void* value, platform::Dword size) override;
  platform::HResult registerThumbnail(platform::Hwnd destination, platform::Hwnd source,
                                      platform::ThumbnailId* thumbnail) override;
  platform::HResult unregisterThumbnail(platform::ThumbnailId thumbnail) override;
  platform::HResult updateThumbnailProperties(platform::ThumbnailId thumbnail,
                                              const platform::ThumbnailProperties& given) override;
  platform::HResult querySourceSize(platform::ThumbnailId thumbnail, platform::Size* size) override;
  platform::HResult extendFrameIntoClientArea(platform::Hwnd window,
                                              const platform::Margins& margins) override;

 private:
  void bindDwm(const char* call);

  SimSystem& system_;
  SimWindows& windows_;
  platform::ThumbnailId nextThumbnail_ = 0;
};

}  // namespace sim
