// The simulated icons: the program's icon resources, icons handed out by the shell, other
// programs' windows' icons, and image lists of small icons.
//
// What it models: icons handed out by newIcon() are live until destroyIcon; image lists copy
// icons in, by index. A list view without LVS_SHAREIMAGELISTS destroys its image lists with
// itself, as Windows does ("image list destroy ... with list view", sim_dialogs.h). Another
// program's window answers WM_GETICON with its icon, unless its thread is hung; then its
// class's icon, else the system's application icon.
// Not modelled: icon sizes and pictures.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "platform/icons.h"
#include "platform/sim/sim_windows.h"

namespace sim {

// An image list of the program's, as created and filled.
struct SimImageList {
  int32_t cx = 0;
  int32_t cy = 0;
  uint32_t flags = 0;
  std::vector<platform::IconHandle> icons;  // by image index; Windows copies them in
  std::optional<platform::ColorRef> bkColor;
};

class SimIcons : public platform::Icons, SimWindowsListener {
 public:
  explicit SimIcons(SimWindows& windows);

  // ===== Test API =====
  platform::IconHandle newIcon();  // a fresh icon the caller owns, as the shell hands out
  size_t liveIcons() const { return icons_.size(); }
  int failImageListAdds = 0;  // so many next imageListAddIcon calls fail
  const SimImageList* imageList(platform::ImageListHandle list) const;  // null once destroyed
  static constexpr platform::IconHandle kErrorIcon{0x0B007F01};         // IDI_HAND
  static constexpr platform::IconHandle kApplicationIcon{0x0B007F00};   // IDI_APPLICATION

  // ===== platform::Icons =====
  platform::IconHandle loadIcon(int32_t resourceId) override;
  platform::IconHandle errorIcon() override { return kErrorIcon; }
  void destroyIcon(platform::IconHandle icon) override;
  platform::IconHandle windowIcon(platform::Hwnd window) override;
  platform::ImageListHandle createImageList(int32_t cx, int32_t cy, uint32_t flags, int32_t initial,
                                            int32_t grow) override;
  void destroyImageList(platform::ImageListHandle list) override;
  void setImageListBkColor(platform::ImageListHandle list, platform::ColorRef color) override;
  int32_t imageListAddIcon(platform::ImageListHandle list, platform::IconHandle icon) override;

  // ===== For the fakes =====
  // A list view that owned `images` went with them (SimDialogs).
  void destroyedWithList(platform::ImageListHandle images, platform::Hwnd list);

 private:
  struct WindowIcons {
    platform::IconHandle icon;
    platform::IconHandle classIcon;
  };
  bool usableIcon(platform::IconHandle icon) const;
  void recordMade(platform::Hwnd window) override { windowIcons_.erase(window.value); }
  void foreignAdded(platform::Hwnd window, const ForeignWindow& facts) override {
    windowIcons_[window.value] = {facts.icon, facts.classIcon};
  }

  SimWindows& windows_;
  std::set<uint64_t> icons_;  // live icons from newIcon()
  uint64_t nextIcon_ = 0x0D000010;
  std::map<uint64_t, SimImageList> imageLists_;
  uint64_t nextImageList_ = 0x0E000010;
  std::map<uint32_t, WindowIcons> windowIcons_;  // other programs' windows
};

}  // namespace sim
