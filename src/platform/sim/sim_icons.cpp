// The simulated icons: icons the program owns, other programs' windows' icons and image lists
// of small icons.
#include "platform/sim/sim_icons.h"

#include <cstdio>

namespace sim {

using namespace platform;

namespace {

constexpr uint64_t kResourceIcons = 0x0C000000u;  // loadIcon's handles
constexpr uint64_t kResourceIconsEnd = 0x0C010000u;

std::string handleText(const char* prefix, uint64_t value) {
  char text[32];
  snprintf(text, sizeof text, "%s%llx", prefix, static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

SimIcons::SimIcons(SimWindows& windows) : windows_(windows) {
  windows_.listen(*this);
}

IconHandle SimIcons::newIcon() {
  nextIcon_ += 4;
  icons_.insert(nextIcon_);
  return IconHandle{nextIcon_};
}

void SimIcons::destroyIcon(IconHandle icon) {
  ++windows_.portCalls;
  if (icons_.erase(icon.value) != 0) {
    windows_.clock().actions.push_back("destroy icon " + handleText("i", icon.value));
  } else {
    // Shared icons (errorIcon, resources) and icons already destroyed.
    windows_.clock().actions.push_back("destroy unknown icon " + handleText("i", icon.value));
  }
}

bool SimIcons::usableIcon(IconHandle icon) const {
  return icon == kErrorIcon || icons_.count(icon.value) != 0 ||
         (icon.value >= kResourceIcons && icon.value < kResourceIconsEnd);
}

ImageListHandle SimIcons::createImageList(int32_t cx, int32_t cy, uint32_t flags, int32_t,
                                          int32_t) {
  ++windows_.portCalls;
  nextImageList_ += 4;
  SimImageList& list = imageLists_[nextImageList_];
  list.cx = cx;
  list.cy = cy;
  list.flags = flags;
  windows_.clock().actions.push_back("image list create " + handleText("il", nextImageList_) + " " +
                                     std::to_string(cx) + "x" + std::to_string(cy));
  return ImageListHandle{nextImageList_};
}

void SimIcons::destroyImageList(ImageListHandle list) {
  ++windows_.portCalls;
  if (imageLists_.erase(list.value) != 0) {
    windows_.clock().actions.push_back("image list destroy " + handleText("il", list.value));
  } else if (list.value != 0) {
    windows_.clock().actions.push_back("destroy unknown image list " +
                                       handleText("il", list.value));
  }
}

void SimIcons::setImageListBkColor(ImageListHandle list, ColorRef color) {
  ++windows_.portCalls;
  auto found = imageLists_.find(list.value);
  if (found != imageLists_.end()) found->second.bkColor = color;
}

int32_t SimIcons::imageListAddIcon(ImageListHandle list, IconHandle icon) {
  ++windows_.portCalls;
  auto found = imageLists_.find(list.value);
  if (found == imageLists_.end() || !usableIcon(icon)) return -1;
  if (failImageListAdds > 0) {
    --failImageListAdds;
    return -1;
  }
  found->second.icons.push_back(icon);
  return static_cast<int32_t>(found->second.icons.size() - 1);
}

const SimImageList* SimIcons::imageList(ImageListHandle list) const {
  auto found = imageLists_.find(list.value);
  return found == imageLists_.end() ? nullptr : &found->second;
}

void SimIcons::destroyedWithList(ImageListHandle images, Hwnd list) {
  if (imageLists_.erase(images.value) != 0) {
    windows_.clock().actions.push_back("image list destroy " + handleText("il", images.value) +
                                       " with list view " + handleText("h", list.value));
  }
}

IconHandle SimIcons::windowIcon(Hwnd window) {
  ++windows_.portCalls;
  SimWindow* w = windows_.live(window);
  if (w == nullptr) return {};
  if (w->own) return {};
  ++windows_.crossProcessMessages;
  // WM_GETICON waits for the window's thread: a hung one answers nothing.
  const WindowIcons& icons = windowIcons_[window.value];
  if (icons.icon.value != 0 && !windows_.threads().hung(window)) return icons.icon;
  return icons.classIcon.value != 0 ? icons.classIcon : kApplicationIcon;
}

IconHandle SimIcons::loadIcon(int32_t resourceId) {
  ++windows_.portCalls;
  return IconHandle{0x0C000000u + static_cast<uint32_t>(resourceId)};
}

}  // namespace sim
